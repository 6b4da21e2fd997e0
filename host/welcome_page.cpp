#include "host/welcome_page.h"

#include "host/probe.h"

namespace host {
namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr int kListWidth = 190, kStatusHeight = 24, kMargin = 8;
constexpr int kListId = 10;

// The first window of this class inside parent, at any depth; null when none.
HWND FindDescendant(HWND parent, const wchar_t* windowClass) {
  struct Search {
    const wchar_t* cls;
    HWND found;
  } search{windowClass, nullptr};
  EnumChildWindows(
      parent,
      [](HWND wnd, LPARAM lp) CALLBACK -> BOOL {
        auto s = reinterpret_cast<Search*>(lp);
        wchar_t name[80];
        GetClassNameW(wnd, name, 80);
        if (lstrcmpiW(name, s->cls) != 0) return TRUE;
        s->found = wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT RectIn(HWND wnd, HWND parent) {
  RECT r;
  GetWindowRect(wnd, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string RectText(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// Where a window's client area lies on the screen, for the pictures taken of the page.
std::string ScreenText(HWND wnd) {
  RECT r;
  GetClientRect(wnd, &r);
  MapWindowPoints(wnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  return "on the screen " + RectText(r);
}

// Waits for a process to end while the page keeps answering messages.
bool WaitPumping(HANDLE process, DWORD timeout) {
  const ULONGLONG end = GetTickCount64() + timeout;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    DWORD r =
        MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) return true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

WelcomePage::WelcomePage(const Log& log, WelcomePageService& plugins, bool headless)
    : log_(log), plugins_(plugins) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PageProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"TWelcomePage";
  RegisterClassExW(&wc);
  wnd_ = CreateWindowExW(0, L"TWelcomePage", L"WTarn stand-in IDE - Welcome Page",
                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1000, 640, nullptr, nullptr,
                         GetModuleHandleW(nullptr), this);
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0,
                          0, 0, 0, wnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                          GetModuleHandleW(nullptr), nullptr);
  status_ = CreateWindowExW(0, L"STATIC", L"No project opened yet.", WS_CHILD | WS_VISIBLE, 0, 0, 0,
                            0, wnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  content_ = new rtl::TPanel(nullptr);
  content_->SetBevelOuter(rtl::TBevelCut::bvNone);
  content_->SetParentWindow(wnd_);
  plugins_.OnChange = [this] { ListPlugins(); };
  Layout();
  ListPlugins();
  if (!headless) ShowWindow(wnd_, SW_SHOWNORMAL);
}

WelcomePage::~WelcomePage() {
  plugins_.OnChange = nullptr;
  delete content_;
  DestroyWindow(wnd_);
}

LRESULT CALLBACK WelcomePage::PageProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(
        wnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  if (probe::Answer(msg, wp, lp)) return 0;  // a test times the IDE's thread
  auto page = reinterpret_cast<WelcomePage*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (page && page->wnd_) {
    switch (msg) {
      case WM_SIZE:
        page->Layout();
        return 0;
      case WM_TIMER:
        if (wp == kWatchTimer) page->Watch();
        return 0;
      case WM_COMMAND:
        if (LOWORD(wp) == kListId && HIWORD(wp) == LBN_DBLCLK) {
          LRESULT i = SendMessageW(page->list_, LB_GETCURSEL, 0, 0);
          if (i >= 0 && static_cast<size_t>(i) < page->plugins_.Plugins().size() &&
              page->open_id_.empty())
            page->OpenView(page->plugins_.Plugins()[static_cast<size_t>(i)]->GetPluginID());
        }
        return 0;
      case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    }
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

void WelcomePage::Layout() {
  RECT r;
  GetClientRect(wnd_, &r);
  const int h = r.bottom - kStatusHeight - 2 * kMargin;
  MoveWindow(list_, kMargin, kMargin, kListWidth, h, TRUE);
  MoveWindow(status_, kMargin, r.bottom - kStatusHeight - kMargin / 2, r.right - 2 * kMargin,
             kStatusHeight, TRUE);
  content_->SetBounds(kListWidth + 2 * kMargin, kMargin, r.right - kListWidth - 3 * kMargin, h);
}

void WelcomePage::ListPlugins() {
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  std::string names;
  for (ToolsAPI::INTAWelcomePagePlugin* p : plugins_.Plugins()) {
    const rtl::String entry = p->GetPluginName() + u"  (" + p->GetPluginID() + u")";
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rtl::W(entry)));
    names += (names.empty() ? "" : ", ") + Text(entry);
  }
  log_("welcome page:", "lists " + (names.empty() ? std::string("no plug-ins") : names));
}

ToolsAPI::Ref<ToolsAPI::INTAWelcomePageContentPluginCreator> WelcomePage::Creator(
    const rtl::String& id) const {
  return ToolsAPI::Supports<ToolsAPI::INTAWelcomePageContentPluginCreator>(
      plugins_.Find(id), ToolsAPI::IID_INTAWelcomePageContentPluginCreator);
}

void WelcomePage::OpenView(const rtl::String& PluginID) {
  auto creator = Creator(PluginID);
  if (!creator) {
    log_("welcome page:", "no content plug-in " + Text(PluginID));
    return;
  }
  log_("welcome page:", "open " + Text(PluginID) + ": GetView gives " +
                            (creator->GetView() ? "a frame" : "none") + ", icon index " +
                            std::to_string(creator->GetIconIndex()) + "; CreateView");
  rtl::TFrame* view = creator->CreateView();
  log_("welcome page:", "CreateView returned " +
                            (view ? ClassOf(view->Handle()) : std::string("none")) +
                            ", icon index now " + std::to_string(creator->GetIconIndex()));
  if (!view) return;
  open_id_ = PluginID;
  view->SetParent(content_);
  view->SetAlign(rtl::TAlign::alClient);
  if (HWND frame = FindDescendant(view->Handle(), L"TMainFrame")) {
    const rtl::TWinControl* panel1 = rtl::TWinControl::FromHandle(GetWindow(frame, GW_CHILD));
    if (panel1)
      log_("view:", "TMainFrame " + Hex(reinterpret_cast<uintptr_t>(frame)) + ", Panel1 colour " +
                        Hex(panel1->Color()) + ", parent background " +
                        (panel1->ParentBackground() ? "on" : "off"));
  }
  SetTimer(wnd_, kWatchTimer, 100, nullptr);
}

void WelcomePage::Watch() {
  HWND frame = FindDescendant(content_->Handle(), L"TMainFrame");
  if (!frame) return;
  HWND button = FindDescendant(frame, L"Button");
  if (!button_seen_ && button && (GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE)) {
    button_seen_ = true;
    log_("view:", "button \"Show PlugIn\" shown");
  }
  HWND panel1 = GetWindow(frame, GW_CHILD);
  HWND embedded = panel1 ? FindWindowExW(panel1, nullptr, L"TMainForm", nullptr) : nullptr;
  if (embedded != embedded_) {
    embedded_ = embedded;
    if (embedded)
      NoteEmbedding(panel1, embedded);
    else
      log_("view:", "the embedded window is gone");
    return;
  }
  if (!embedded) return;
  const RECT r = RectIn(embedded, panel1);
  if (!EqualRect(&r, &embedded_rect_)) {
    embedded_rect_ = r;
    RECT client;
    GetClientRect(panel1, &client);
    log_("view:", "embedded window now at " + RectText(r) + ", Panel1 client " +
                      std::to_string(client.right) + " x " + std::to_string(client.bottom) +
                      (EqualRect(&r, &client) ? ": fills it" : ": does NOT fill it") +
                      "; Panel1 " + ScreenText(panel1));
  }
  if (resize_pending_ && GetTickCount64() >= resize_due_) {
    resize_pending_ = false;
    SetWindowPos(wnd_, nullptr, 0, 0, ResizeAfterEmbedding.cx, ResizeAfterEmbedding.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    log_("welcome page:", "page resized to " + std::to_string(ResizeAfterEmbedding.cx) + " x " +
                              std::to_string(ResizeAfterEmbedding.cy));
    ResizeAfterEmbedding = {};
  }
}

void WelcomePage::NoteEmbedding(HWND panel1, HWND embedded) {
  const rtl::TWinControl* panel = rtl::TWinControl::FromHandle(panel1);
  const LONG style = GetWindowLongW(embedded, GWL_STYLE);
  embedded_rect_ = RectIn(embedded, panel1);
  RECT client;
  GetClientRect(panel1, &client);
  log_("view:", "embedded TMainForm " + Hex(reinterpret_cast<uintptr_t>(embedded)) + ": parent " +
                    (GetAncestor(embedded, GA_PARENT) == panel1 ? "is Panel1 " : "is NOT Panel1 ") +
                    ClassOf(panel1) + " " + Hex(reinterpret_cast<uintptr_t>(panel1)) +
                    ", Panel1.Tag " + Hex(panel ? static_cast<uintptr_t>(panel->Tag) : 0));
  log_("view:", "embedded style " + Hex(static_cast<DWORD>(style)) + ": WS_BORDER " +
                    ((style & WS_BORDER) ? "set" : "cleared") + ", WS_DLGFRAME " +
                    ((style & WS_DLGFRAME) ? "kept" : "gone") + ", WS_THICKFRAME " +
                    ((style & WS_THICKFRAME) ? "kept" : "gone"));
  log_("view:", "embedded window at " + RectText(embedded_rect_) + ", Panel1 client " +
                    std::to_string(client.right) + " x " + std::to_string(client.bottom) +
                    (EqualRect(&embedded_rect_, &client) ? ": fills it" : ": does NOT fill it") +
                    "; Panel1 " + ScreenText(panel1));
  DWORD pid = 0;
  GetWindowThreadProcessId(embedded, &pid);
  companion_.reset(OpenProcess(SYNCHRONIZE, FALSE, pid));
  resize_pending_ = ResizeAfterEmbedding.cx > 0 && ResizeAfterEmbedding.cy > 0;
  resize_due_ = GetTickCount64() + ResizeDelay;
}

void WelcomePage::CloseView() {
  auto creator = Creator(open_id_);
  if (!creator) return;
  KillTimer(wnd_, kWatchTimer);
  log_("welcome page:", "close " + Text(open_id_) + ": DestroyView");
  creator->DestroyView();
  log_("welcome page:",
       std::string("GetView now gives ") + (creator->GetView() ? "a frame" : "none"));
  open_id_.clear();
  embedded_ = nullptr;
  if (!companion_) return;
  const bool ended = WaitPumping(companion_.get(), 5000);
  log_("welcome page:", ended ? "the companion process has ended"
                              : "the companion process is still running after 5 s");
  companion_.reset();
}

void WelcomePage::PressShowPlugIn() {
  HWND button = content_->Handle() ? FindDescendant(content_->Handle(), L"Button") : nullptr;
  log_("welcome page:",
       button ? "presses \"Show PlugIn\"" : "finds no \"Show PlugIn\" button to press");
  if (button) SendMessageW(button, BM_CLICK, 0, 0);
}

void WelcomePage::ShowRequest(const rtl::String& Project) {
  SetWindowTextW(status_, rtl::W(u"Opened project: " + Project));
}

}  // namespace host

// TarnPlugIn.exe, the stand-in companion project manager.
//
// Started by the IDE's view as  TarnPlugIn.exe Slave "<IDE name>" "<view window>",  it keeps a
// hidden top-level "TApplication" window and a visible top-level "TMainForm" window, both
// captioned "TarnPlugIn Slave <IDE name>", ends on WM_CLOSE to either of them, and asks the
// view to open a project by sending it WM_COPYDATA 10023 with the project's UTF-16 path.
// The main window looks like the project manager it stands for: a caption band of its own
// ("Tarn project manager", and the IDE it serves), the project files (*.dproj) of the folder
// named in the settings (TARN.INI in %APPDATA%\morvane\TARN, section "Projects", key
// "Folder") with their paths, and a status line. A double click or Enter asks for the chosen
// project. It repaints itself whenever it is sized and once it notices a new parent window, as
// a window drawn inside another program's must. The program also ends once the view window is
// gone.
//
// Switches for tests, after the command line or in the environment variable
// TARNPLUGIN_SWITCHES:
//   /late=N       create the main window N ms after the start
//   /hidden       never show the main window
//   /noclose      ignore WM_CLOSE
//   /send=PATH    send request 10023 with PATH, /sendafter=N ms after the start (default 0)
//   /raw=ID:BYTES:TEXT  at that time, first send a copy-data record of identifier ID with
//                 BYTES bytes of TEXT and its zero ("*": all of them; more bytes than that are
//                 zeros); the switch may repeat, the records go in order
//   /flood=N      then send N requests 10023 in a row; the Ith (from 1) names the project
//                 C:\Flood\Größe I\ followed by I mod 300 letters ж and .dproj
//   /crash=N      end abnormally (exit code 0xC0000005) N ms after the main window is first
//                 sized inside another window; with 0 at once, inside that sizing
//   /hang=WHEN:N  stop answering messages for N ms (the window thread sleeps), once: WHEN is
//                 "shown" (right after showing the main window), "parent" (when it notices
//                 its new parent, inside the message that tells it), "size" (inside its first
//                 sizing in another window) or "embedded" (300 ms after that sizing)
// Tests may also post it the requests of companion/test_requests.h. With TARNPLUGIN_TRANSCRIPT
// set it notes what it does in that transcript.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "companion/test_requests.h"
#include "host/transcript.h"

namespace {

constexpr ULONG_PTR kOpenProjectRequest = 10023;
constexpr UINT_PTR kLateTimer = 1, kSendTimer = 2, kWatchTimer = 3, kCrashTimer = 4,
                   kHangTimer = 5;
constexpr UINT kHangAfterEmbedding = 300;
constexpr UINT kWatchInterval = 200;
constexpr int kListId = 100;
constexpr UINT kAnswerTimeout = 30000;

// A copy-data record to send as it stands, however odd.
struct RawRecord {
  ULONG_PTR id;
  std::vector<char> data;  // exactly the bytes to send
};

struct Options {
  bool slave = false;
  std::wstring ide_name;
  HWND view = nullptr;
  UINT late_ms = 0;
  bool hidden = false;
  bool no_close = false;
  bool send = false;
  std::wstring send_path;
  UINT send_after_ms = 0;
  std::vector<RawRecord> raw;
  UINT flood = 0;
  bool crash = false;
  UINT crash_ms = 0;
  std::wstring hang_when;  // empty: never
  UINT hang_ms = 0;
};

struct Companion {
  Options options;
  std::wstring caption;
  std::wstring project_folder;
  HWND application = nullptr;
  HWND main = nullptr;
  HWND list = nullptr;
  HWND parent = nullptr;  // the main window's parent when last seen
  HFONT title_font = nullptr, name_font = nullptr, text_font = nullptr;
  bool crash_armed = false;
  bool sized_inside = false;  // sized inside another window at least once
  bool hung = false;
  std::wstring transcript_file;
  uint64_t transcript_start = 0;
};

Companion app;

// An environment variable of any length; empty when it is not set.
std::wstring Environment(const wchar_t* name) {
  std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
  const DWORD n = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  value.resize(n < value.size() ? n : 0);
  return value;
}

void Note(const std::string& what) {
  transcript::Append(app.transcript_file,
                     transcript::FormatLine(app.transcript_start, "companion:", what));
}

std::string Quoted(const std::wstring& text) {
  std::string quoted(1, '"');
  quoted += transcript::Utf8(text);
  quoted += '"';
  return quoted;
}

// The arguments of a command line, the program's name first.
std::vector<std::wstring> Arguments(const std::wstring& commandLine) {
  int n = 0;
  LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &n);
  std::vector<std::wstring> args(argv, argv + (argv ? n : 0));
  LocalFree(argv);
  return args;
}

// A /raw= value ID:BYTES:TEXT as its record: the first BYTES bytes of TEXT and its zero, padded
// with zeros; "*" for BYTES takes all of them.  ParseRaw(L"7:3:ab") holds 7 and 'a', 0, 'b'.
RawRecord ParseRaw(const wchar_t* value) {
  wchar_t* end = nullptr;
  RawRecord record{std::wcstoul(value, &end, 10), {}};
  const wchar_t* bytes = *end == L':' ? end + 1 : end;
  const wchar_t* colon = std::wcschr(bytes, L':');
  const wchar_t* text = colon ? colon + 1 : L"";
  const auto* first = reinterpret_cast<const char*>(text);
  record.data.assign(first, first + (std::wcslen(text) + 1) * sizeof(wchar_t));
  if (*bytes != L'*') record.data.resize(std::wcstoul(bytes, nullptr, 10));
  return record;
}

void ReadSwitch(const std::wstring& arg, Options& options) {
  auto value = [&](const wchar_t* name) -> const wchar_t* {
    size_t len = std::wcslen(name);
    return arg.compare(0, len, name) == 0 ? arg.c_str() + len : nullptr;
  };
  if (const wchar_t* v = value(L"/late=")) options.late_ms = std::wcstoul(v, nullptr, 10);
  if (const wchar_t* v = value(L"/sendafter="))
    options.send_after_ms = std::wcstoul(v, nullptr, 10);
  if (const wchar_t* v = value(L"/send=")) options.send = true, options.send_path = v;
  if (const wchar_t* v = value(L"/raw=")) options.raw.push_back(ParseRaw(v));
  if (const wchar_t* v = value(L"/flood=")) options.flood = std::wcstoul(v, nullptr, 10);
  if (const wchar_t* v = value(L"/crash="))
    options.crash = true, options.crash_ms = std::wcstoul(v, nullptr, 10);
  if (const wchar_t* v = value(L"/hang=")) {
    const wchar_t* colon = std::wcschr(v, L':');
    options.hang_when.assign(v, colon ? colon : v + std::wcslen(v));
    options.hang_ms = colon ? std::wcstoul(colon + 1, nullptr, 10) : 0;
  }
  if (arg == L"/hidden") options.hidden = true;
  if (arg == L"/noclose") options.no_close = true;
}

Options ReadOptions() {
  Options options;
  std::vector<std::wstring> args = Arguments(GetCommandLineW());
  size_t next = 1;
  if (args.size() >= 4 && args[1] == L"Slave") {
    options.slave = true;
    options.ide_name = args[2];
    options.view =
        reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoul(args[3].c_str(), nullptr, 10)));
    next = 4;
  }
  for (; next < args.size(); ++next) ReadSwitch(args[next], options);
  std::vector<std::wstring> extra = Arguments(L"x " + Environment(L"TARNPLUGIN_SWITCHES"));
  for (size_t i = 1; i < extra.size(); ++i) ReadSwitch(extra[i], options);
  return options;
}

std::wstring ProjectFolder() {
  std::wstring ini = Environment(L"APPDATA");
  if (!ini.empty() && ini.back() != L'\\') ini += L'\\';
  ini += L"morvane\\TARN\\TARN.INI";
  wchar_t folder[MAX_PATH];
  DWORD n = GetPrivateProfileStringW(L"Projects", L"Folder", L"", folder, MAX_PATH, ini.c_str());
  return std::wstring(folder, n);
}

void ListProjects() {
  if (app.project_folder.empty()) return;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((app.project_folder + L"\\*.dproj").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do SendMessageW(app.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
  while (FindNextFileW(find, &found));
  FindClose(find);
}

// Sends the view a copy-data record; false when it did not answer (it is gone, or hangs).
bool SendRecord(ULONG_PTR id, size_t bytes, const void* data, DWORD_PTR& answer) {
  COPYDATASTRUCT record{id, static_cast<DWORD>(bytes), const_cast<void*>(data)};
  answer = 0;
  return SendMessageTimeoutW(app.options.view, WM_COPYDATA, reinterpret_cast<WPARAM>(app.main),
                             reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, kAnswerTimeout,
                             &answer) != 0;
}

// Request 10023 for a project: its path with the terminating zero.
bool SendProjectRequest(const std::wstring& path, DWORD_PTR& answer) {
  return SendRecord(kOpenProjectRequest, (path.size() + 1) * sizeof(wchar_t), path.c_str(), answer);
}

// Asks the view to open a project: WM_COPYDATA 10023 with the zero-terminated path.
void RequestProject(const std::wstring& path) {
  if (!app.options.view) return;
  DWORD_PTR answer;
  const bool answered = SendProjectRequest(path, answer);
  Note("sent copy-data 10023 " + Quoted(path) +
       (answered ? " (result " + std::to_string(answer) + ")" : " (no answer)"));
}

// The project of the Ith request of a flood.
std::wstring FloodPath(UINT i) {
  return L"C:\\Flood\\Gr\u00F6\u00DFe " + std::to_wstring(i) + L"\\" +
         std::wstring(i % 300, L'\u0436') + L".dproj";
}

// The requests for tests: the raw records, then the flood, then the project of /send.
void SendRequests() {
  if (!app.options.view) return;
  for (const RawRecord& r : app.options.raw) {
    DWORD_PTR answer;
    const bool answered = SendRecord(r.id, r.data.size(), r.data.data(), answer);
    Note("sent copy-data " + std::to_string(r.id) + " of " + std::to_string(r.data.size()) +
         " bytes" + (answered ? " (result " + std::to_string(answer) + ")" : " (no answer)"));
  }
  if (app.options.flood > 0) {
    UINT answered_zero = 0;
    for (UINT i = 1; i <= app.options.flood; ++i) {
      DWORD_PTR answer;
      if (SendProjectRequest(FloodPath(i), answer) && answer == 0) ++answered_zero;
    }
    Note("flood of " + std::to_string(app.options.flood) +
         " requests 10023: " + std::to_string(answered_zero) + " answered with 0");
  }
  if (app.options.send) RequestProject(app.options.send_path);
}

// Ends as a crash would: at once, with the exit code of an access violation.
void Crash() {
  Note("ends abnormally");
  TerminateProcess(GetCurrentProcess(), EXCEPTION_ACCESS_VIOLATION);
}

// With /hang at this moment, the window thread stops answering for a while, once.
void HangAt(const wchar_t* when) {
  if (app.hung || app.options.hang_when != when) return;
  app.hung = true;
  Note("hangs for " + std::to_string(app.options.hang_ms) + " ms (" + transcript::Utf8(when) + ")");
  Sleep(app.options.hang_ms);
  Note("answers again");
}

// The first sizing inside another window arms the crash of /crash and the hang "embedded".
void OnSizedInside(HWND wnd) {
  if (app.sized_inside || GetAncestor(wnd, GA_PARENT) == GetDesktopWindow()) return;
  app.sized_inside = true;
  HangAt(L"size");
  if (app.options.hang_when == L"embedded")
    SetTimer(app.application, kHangTimer, kHangAfterEmbedding, nullptr);
  if (!app.options.crash) return;
  if (app.options.crash_ms == 0)
    Crash();
  else
    SetTimer(app.application, kCrashTimer, app.options.crash_ms, nullptr);
}

void RequestChosenProject() {
  LRESULT i = SendMessageW(app.list, LB_GETCURSEL, 0, 0);
  if (i == LB_ERR) return;
  std::wstring name(static_cast<size_t>(SendMessageW(app.list, LB_GETTEXTLEN, i, 0)), L'\0');
  SendMessageW(app.list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name.data()));
  RequestProject(app.project_folder + L"\\" + name);
}

// WM_CLOSE to either window ends the program, unless told to ignore it.
LRESULT OnClose(HWND wnd, const char* which) {
  Note(std::string("WM_CLOSE to ") + which + (app.options.no_close ? " (ignored)" : ""));
  if (app.options.no_close) return 0;
  DestroyWindow(wnd);
  if (wnd == app.application) app.application = nullptr;
  PostQuitMessage(0);
  return 0;
}

// The look: a caption band, rows of two lines (name, path) and a status line.
constexpr int kBandHeight = 46, kStatusHeight = 24, kRowHeight = 38;
constexpr COLORREF kBand = RGB(0x1E, 0x5A, 0x8C), kBandText = RGB(0xFF, 0xFF, 0xFF),
                   kBandNote = RGB(0xB8, 0xD4, 0xEC), kRowShade = RGB(0xEE, 0xF3, 0xF9),
                   kSelected = RGB(0xC9, 0xDD, 0xF2), kNameText = RGB(0x14, 0x23, 0x33),
                   kPathText = RGB(0x5E, 0x6B, 0x78), kStatus = RGB(0xE2, 0xE7, 0xED);

HFONT Font(int height, int weight) {
  return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                     L"Tahoma");
}

void Fill(HDC dc, RECT r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Text(HDC dc, HFONT font, COLORREF colour, const std::wstring& text, RECT r, UINT format) {
  SelectObject(dc, font);
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            format | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// The caption band and the status line; the list fills what lies between them.
void PaintFrame(HWND wnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(wnd, &ps);
  RECT r;
  GetClientRect(wnd, &r);
  RECT band{0, 0, r.right, kBandHeight}, status{0, r.bottom - kStatusHeight, r.right, r.bottom};
  Fill(dc, band, kBand);
  Text(dc, app.title_font, kBandText, L"Tarn project manager", {14, 0, r.right, kBandHeight},
       DT_LEFT);
  const std::wstring serves =
      app.options.slave ? L"inside " + app.options.ide_name : L"on its own";
  Text(dc, app.text_font, kBandNote, serves, {0, 0, r.right - 14, kBandHeight}, DT_RIGHT);
  Fill(dc, status, kStatus);
  const LRESULT n = SendMessageW(app.list, LB_GETCOUNT, 0, 0);
  const std::wstring count = std::to_wstring(n) + (n == 1 ? L" project" : L" projects") +
                             (app.project_folder.empty() ? L"" : L" in " + app.project_folder) +
                             L"  \u00B7  double-click opens one in the IDE";
  Text(dc, app.text_font, kPathText, count, {10, status.top, r.right - 10, r.bottom}, DT_LEFT);
  EndPaint(wnd, &ps);
}

// One row of the list: the project's name over its full path, every other row shaded.
void DrawRow(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = item.itemState & ODS_SELECTED;
  Fill(item.hDC, item.rcItem,
       selected ? kSelected : item.itemID % 2 ? kRowShade : GetSysColor(COLOR_WINDOW));
  std::wstring name(static_cast<size_t>(SendMessageW(app.list, LB_GETTEXTLEN, item.itemID, 0)),
                    L'\0');
  SendMessageW(app.list, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(name.data()));
  RECT top = item.rcItem, bottom = item.rcItem;
  top.left = bottom.left = item.rcItem.left + 14;
  top.bottom = bottom.top = item.rcItem.top + kRowHeight / 2 + 1;
  Text(item.hDC, app.name_font, kNameText, name.substr(0, name.rfind(L'.')), top, DT_LEFT);
  Text(item.hDC, app.text_font, kPathText, app.project_folder + L"\\" + name, bottom, DT_LEFT);
}

// Everything drawn again at once: after a size change or a new parent, whose own repaint may
// have covered the window.
void RepaintAll(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Repaints once the main window has a new parent (the view re-parented it).
void NoticeParent() {
  HWND parent = app.main ? GetAncestor(app.main, GA_PARENT) : nullptr;
  if (!app.main || parent == app.parent) return;
  app.parent = parent;
  if (parent != GetDesktopWindow()) HangAt(L"parent");
  RepaintAll(app.main);
}

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      MoveWindow(app.list, 0, kBandHeight, LOWORD(lp),
                 std::max(0, HIWORD(lp) - kBandHeight - kStatusHeight), TRUE);
      RepaintAll(wnd);
      OnSizedInside(wnd);
      return 0;
    case WM_WINDOWPOSCHANGED:
      NoticeParent();
      break;
    case WM_PAINT:
      PaintFrame(wnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // PaintFrame and the list cover every pixel
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = kRowHeight;
      return TRUE;
    case WM_DRAWITEM:
      DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) == kListId && HIWORD(wp) == LBN_DBLCLK) RequestChosenProject();
      return 0;
    case WM_VKEYTOITEM:
      if (LOWORD(wp) == VK_RETURN) RequestChosenProject();
      return -1;
    case WM_CLOSE:
      return OnClose(wnd, "TMainForm");
    case WM_DESTROY:
      app.main = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

void CreateMainWindow() {
  app.main = CreateWindowExW(0, L"TMainForm", app.caption.c_str(),
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                             640, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  app.parent = GetAncestor(app.main, GA_PARENT);
  app.title_font = Font(19, FW_BOLD);
  app.name_font = Font(14, FW_BOLD);
  app.text_font = Font(12, FW_NORMAL);
  app.list = CreateWindowExW(0, L"LISTBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY |
                                 LBS_WANTKEYBOARDINPUT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                 LBS_NOINTEGRALHEIGHT,
                             0, 0, 0, 0, app.main,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                             GetModuleHandleW(nullptr), nullptr);
  ListProjects();
  char style[16];
  std::snprintf(style, sizeof style, "0x%08lX", GetWindowLongW(app.main, GWL_STYLE));
  Note("main window TMainForm " + Quoted(app.caption) + ", style " + style +
       (app.options.hidden ? ", kept hidden" : ", shown"));
  if (!app.options.hidden) ShowWindow(app.main, SW_SHOWNORMAL);
  HangAt(L"shown");
}

// A test's request: the main window now, shown or hidden, or its end.
void TestRequest(WPARAM request) {
  if (request == companion_test::kEndMain) {
    if (app.main) DestroyWindow(app.main);
  } else if (!app.main) {
    KillTimer(app.application, kLateTimer);
    app.options.hidden = request == companion_test::kHiddenMain;
    CreateMainWindow();
  }
}

LRESULT CALLBACK ApplicationProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == companion_test::Message()) {
    TestRequest(wp);
    return 0;
  }
  switch (msg) {
    case WM_TIMER:
      if (wp == kLateTimer) {
        KillTimer(wnd, kLateTimer);
        CreateMainWindow();
      } else if (wp == kSendTimer) {
        KillTimer(wnd, kSendTimer);
        SendRequests();
      } else if (wp == kCrashTimer) {
        Crash();
      } else if (wp == kHangTimer) {
        KillTimer(wnd, kHangTimer);
        HangAt(L"embedded");
      } else if (wp == kWatchTimer) {
        NoticeParent();
        if (app.options.view && !IsWindow(app.options.view)) {
          Note("the view window is gone");
          PostQuitMessage(0);
        }
      }
      return 0;
    case WM_CLOSE:
      return OnClose(wnd, "TApplication");
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

void RegisterWindowClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// The command line after the program's name, as the program received it.
std::wstring Parameters() {
  std::wstring line = GetCommandLineW();
  size_t end = line[0] == L'"' ? line.find(L'"', 1) : line.find(L' ');
  end = end == std::wstring::npos ? line.size() : line.find_first_not_of(L' ', end + 1);
  return end == std::wstring::npos ? std::wstring() : line.substr(end);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  app.transcript_file = Environment(transcript::kFileVariable);
  app.transcript_start =
      std::wcstoull(Environment(transcript::kStartVariable).c_str(), nullptr, 10);
  app.options = ReadOptions();
  app.caption = app.options.slave ? L"TarnPlugIn Slave " + app.options.ide_name : L"TarnPlugIn";
  app.project_folder = ProjectFolder();
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  Note("started " + Quoted(self) + " with parameters: " + transcript::Utf8(Parameters()));

  RegisterWindowClass(L"TApplication", ApplicationProc);
  RegisterWindowClass(L"TMainForm", MainProc);
  app.application = CreateWindowExW(0, L"TApplication", app.caption.c_str(), WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (app.options.late_ms > 0)
    SetTimer(app.application, kLateTimer, app.options.late_ms, nullptr);
  else
    CreateMainWindow();
  if (app.options.send || !app.options.raw.empty() || app.options.flood > 0)
    SetTimer(app.application, kSendTimer, app.options.send_after_ms, nullptr);
  SetTimer(app.application, kWatchTimer, kWatchInterval, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (app.main) DestroyWindow(app.main);
  if (app.application) DestroyWindow(app.application);
  for (HFONT font : {app.title_font, app.name_font, app.text_font})
    if (font) DeleteObject(font);
  Note("ended");
  return 0;
}

#include "tests/plugin/plugin_fixture.h"

#include <tlhelp32.h>

#include <sstream>

#include "host/probe.h"

namespace plugin_test {

TestWindow::TestWindow(const wchar_t* window_class, const wchar_t* caption, bool visible) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = window_class;
  RegisterClassExW(&wc);
  wnd_ = CreateWindowExW(0, window_class, caption, WS_POPUP | WS_BORDER, 0, 0, 300, 200, nullptr,
                         nullptr, GetModuleHandleW(nullptr), this);
  if (visible) ShowWindow(wnd_, SW_SHOWNA);
  style_at_creation = static_cast<DWORD>(GetWindowLongW(wnd_, GWL_STYLE));
}

TestWindow::~TestWindow() {
  if (wnd_) DestroyWindow(wnd_);
}

LRESULT CALLBACK TestWindow::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(
        wnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (self && (msg == WM_CLOSE || msg >= WM_APP)) self->received.push_back({msg, wp, lp});
  if (self && msg == WM_NCDESTROY) self->wnd_ = nullptr;
  return DefWindowProcW(wnd, msg, wp, lp);
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  for (unsigned n = GetTickCount();; ++n) {
    path_ = std::wstring(base) + L"wtarn_plugin_" + std::to_wstring(n);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempFolder::~TempFolder() {
  std::wstring from = path_ + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

void TempFolder::Write(const std::wstring& relative, const std::wstring& text) const {
  std::wstring file = path_ + L"\\" + relative;
  for (size_t i = path_.size() + 1; (i = file.find(L'\\', i)) != std::wstring::npos; ++i)
    CreateDirectoryW(file.substr(0, i).c_str(), nullptr);
  rtl::UniqueFile f(
      CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::wstring content = L"\xFEFF" + text;
  DWORD written;
  WriteFile(f.get(), content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &written,
            nullptr);
}

FakeIde::FakeIde(Options options) : options_(options), saved_(ToolsAPI::BorlandIDEServices) {
  ToolsAPI::BorlandIDEServices = static_cast<ToolsAPI::IOTAIDEThemingServices*>(this);
}

FakeIde::~FakeIde() { ToolsAPI::BorlandIDEServices = saved_; }

HRESULT FakeIde::QueryInterface(REFIID iid, void** obj) {
  *obj = nullptr;
  if (iid == IID_IUnknown) *obj = static_cast<ToolsAPI::IOTAIDEThemingServices*>(this);
  if (iid == ToolsAPI::IID_IOTAIDEThemingServices && options_.offer_theming)
    *obj = static_cast<ToolsAPI::IOTAIDEThemingServices*>(this);
  if (iid == ToolsAPI::IID_IOTAActionServices && options_.offer_actions)
    *obj = static_cast<ToolsAPI::IOTAActionServices*>(this);
  return *obj ? S_OK : E_NOINTERFACE;
}

bool FakeIde::OpenProject(const String& name, bool new_group) {
  opened.push_back(name);
  new_group_always = new_group_always && new_group;
  return true;
}

FakeCaptionFrame::FakeCaptionFrame(bool offers_interface, int* alive)
    : rtl::TFrame(nullptr), offers_(offers_interface), alive_(alive) {
  ++*alive_;
}

FakeCaptionFrame::~FakeCaptionFrame() { --*alive_; }

bool FakeCaptionFrame::GetInterface(const GUID& iid, void** obj) {
  *obj = offers_ && iid == ToolsAPI::IID_INTAWelcomePageCaptionFrame
             ? static_cast<ToolsAPI::INTAWelcomePageCaptionFrame*>(this)
             : nullptr;
  return *obj != nullptr;
}

HRESULT FakeCaptionFrame::QueryInterface(REFIID iid, void** obj) {
  return GetInterface(iid, obj) ? S_OK : E_NOINTERFACE;
}

void FakeCaptionFrame::SetClientFrame(rtl::TFrame* frame) {
  clients.push_back(frame);
  frame->SetParent(this);
  frame->SetAlign(rtl::TAlign::alClient);
}

FakeWelcomePage::FakeWelcomePage(bool frames_offer_interface)
    : offers_(frames_offer_interface), saved_(ToolsAPI::WelcomePagePluginService) {
  ToolsAPI::WelcomePagePluginService = this;
}

FakeWelcomePage::~FakeWelcomePage() {
  for (auto* p : plugins) p->Release();
  ToolsAPI::WelcomePagePluginService = saved_;
}

HRESULT FakeWelcomePage::QueryInterface(REFIID iid, void** obj) {
  *obj = iid == IID_IUnknown ? this : nullptr;
  return *obj ? S_OK : E_NOINTERFACE;
}

void FakeWelcomePage::RegisterPlugin(ToolsAPI::INTAWelcomePagePlugin* plugin) {
  plugin->AddRef();
  plugins.push_back(plugin);
  calls.push_back("register " + rtl::ToUtf8(plugin->GetPluginID()));
}

void FakeWelcomePage::UnRegisterPlugin(const String& id) {
  if (OnUnregister) OnUnregister();
  for (auto it = plugins.begin(); it != plugins.end(); ++it) {
    if ((*it)->GetPluginID() != id) continue;
    ToolsAPI::INTAWelcomePagePlugin* plugin = *it;
    plugins.erase(it);
    calls.push_back("unregister " + rtl::ToUtf8(id) + " -> " + std::to_string(plugin->Release()) +
                    " left");
    return;
  }
  calls.push_back("unregister " + rtl::ToUtf8(id) + " (unknown)");
}

rtl::TFrame* FakeWelcomePage::CreateCaptionFrame(const String& id, const String& caption,
                                                 rtl::TComponent* owner) {
  calls.push_back("caption frame " + rtl::ToUtf8(id) + " \"" + rtl::ToUtf8(caption) + "\"" +
                  (owner ? " owned" : " no owner"));
  return new FakeCaptionFrame(offers_, &frames_alive);
}

WaitRecorder::WaitRecorder(std::function<void(size_t)> hook) : saved_(WTarnView::FrameSleep) {
  WTarnView::FrameSleep = [this, hook](unsigned ms) {
    waits.push_back(ms);
    if (hook) hook(waits.size() - 1);
  };
}

WaitRecorder::~WaitRecorder() { WTarnView::FrameSleep = saved_; }

HWND CompanionWindow(const wchar_t* window_class) {
  for (HWND wnd = FindWindowExW(nullptr, nullptr, window_class, kCaption); wnd;
       wnd = FindWindowExW(nullptr, wnd, window_class, kCaption)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != GetCurrentProcessId()) return wnd;
  }
  return nullptr;
}

std::vector<DWORD> CompanionProcesses() {
  std::vector<DWORD> found;
  rtl::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    if (lstrcmpiW(entry.szExeFile, L"TarnPlugIn.exe") == 0) found.push_back(entry.th32ProcessID);
  return found;
}

void EndCompanions() {
  for (DWORD pid : CompanionProcesses()) {
    rtl::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (process && TerminateProcess(process.get(), 1)) WaitForSingleObject(process.get(), 5000);
  }
  PumpFor(50);
}

HWND AskCompanion(companion_test::Request request) {
  const auto main = [] { return CompanionWindow(L"TMainForm"); };
  EXPECT_TRUE(PumpUntil([] { return CompanionWindow(L"TApplication") != nullptr; }, 10000))
      << "the companion runs";
  PostMessageW(CompanionWindow(L"TApplication"), companion_test::Message(), request, 0);
  const auto done = [&] {
    switch (request) {
      case companion_test::kShowMain: return IsWindowVisible(main()) != FALSE;
      case companion_test::kHiddenMain: return main() != nullptr;
      default: return main() == nullptr;
    }
  };
  EXPECT_TRUE(PumpUntil(done, 10000));
  return main();
}

AnswerTimer::AnswerTimer(HWND Target) {
  static unsigned runs = 0;
  const std::wstring id = std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++runs);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  file_ = std::wstring(temp) + L"wtarn_answers_" + id + L".txt";
  stop_.reset(CreateEventW(nullptr, TRUE, FALSE, (L"WTarnAnswerProbe_" + id).c_str()));
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"WTarnAnswerTarget";
  RegisterClassW(&wc);
  wnd_ = CreateWindowW(L"WTarnAnswerTarget", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                       GetModuleHandleW(nullptr), nullptr);
  std::wstring line = L"\"" + BinFolder() + L"answer_probe.exe\" " +
                      std::to_wstring(reinterpret_cast<uintptr_t>(Target ? Target : wnd_)) +
                      L" \"" + file_ +
                      L"\" WTarnAnswerProbe_" + id;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    probe_.reset(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  // Timing this thread starts with the first probe answered.
  if (!Target)
    EXPECT_TRUE(PumpUntil([this] { return GetWindowLongPtrW(wnd_, GWLP_USERDATA) != 0; }, 10000))
        << "the answer probe runs";
}

AnswerTimer::~AnswerTimer() {
  if (!stopped_) Stop();
  DestroyWindow(wnd_);
  DeleteFileW(file_.c_str());
}

LRESULT CALLBACK AnswerTimer::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (!probe::Answer(msg, wp, lp)) return DefWindowProcW(wnd, msg, wp, lp);
  SetWindowLongPtrW(wnd, GWLP_USERDATA, 1);  // a probe has come
  return 0;
}

AnswerTimer::Wait AnswerTimer::Stop() {
  if (stopped_) return longest_;
  stopped_ = true;
  SetEvent(stop_.get());
  EXPECT_TRUE(PumpUntil([this] { return WaitForSingleObject(probe_.get(), 0) == WAIT_OBJECT_0; },
                        10000))
      << "the answer probe ends";
  Wait longest;
  std::istringstream in(ReadText(file_));
  long long sent, answered, last = 0;
  std::vector<std::pair<long long, long long>> probes;
  while (in >> sent >> answered) {
    probes.emplace_back(sent, answered);
    last = std::max(last, std::max(sent, answered));
  }
  for (auto [posted, answer] : probes) {
    const long long waited = (answer < 0 ? last : answer) - posted;
    if (waited > longest.ms) longest = {waited, posted};
  }
  return longest_ = longest;
}

}  // namespace plugin_test

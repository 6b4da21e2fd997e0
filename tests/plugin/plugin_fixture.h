// Stand-ins for the IDE around the package in the tests: the IDE services object, the
// Welcome Page service and its caption frame; plus helpers for the environment, the message
// loop, the companion program and the frame's waits.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "companion/test_requests.h"
#include "rtl/handles.h"
#include "toolsapi/toolsapi.h"
#include "view/main_frame.h"

namespace plugin_test {

using rtl::String;

// Sets an environment variable (null: removes it) and restores it afterwards.
class EnvVar {
 public:
  EnvVar(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t old[4096];
    DWORD n = GetEnvironmentVariableW(name, old, 4096);
    had_ = n > 0 && n < 4096;
    if (had_) old_.assign(old, n);
    SetEnvironmentVariableW(name, value);
  }
  ~EnvVar() { SetEnvironmentVariableW(name_, had_ ? old_.c_str() : nullptr); }
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;

 private:
  const wchar_t* name_;
  bool had_;
  std::wstring old_;
};

// Answers the messages of this thread for a while.
inline void PumpFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);  // back early for a message
  } while (GetTickCount64() < end);
}

// Pumps messages until done() holds or the time is up; the last answer of done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (!done() && GetTickCount64() < end) PumpFor(20);
  return done();
}

// True once wnd fills the client area of parent at (0, 0), within 5 s (a window of another
// process sizes itself when it gets to it).
inline bool FillsSoon(HWND wnd, HWND parent) {
  return PumpUntil(
      [&] {
        RECT r, client;
        GetWindowRect(wnd, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        GetClientRect(parent, &client);
        return EqualRect(&r, &client) != 0;
      },
      5000);
}

// The folder of the test program (the build's bin folder), with a trailing backslash.
inline std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  std::wstring p(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

// The bytes of a text file that another program may still be writing; "" when there is none.
inline std::string ReadText(const std::wstring& file) {
  rtl::UniqueFile f(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return std::string();
  std::string text(GetFileSize(f.get(), nullptr), '\0');
  DWORD n = 0;
  ::ReadFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  text.resize(n);
  return text;
}

inline const wchar_t kCaption[] = L"TarnPlugIn Slave Delphi 11 Alexandria";

// The first top-level window of this class and the companion's caption that another process
// owns (a companion's, not a look-alike of the test's own); null when there is none.
HWND CompanionWindow(const wchar_t* window_class);

// The companion programs (TarnPlugIn.exe) running now, by process id.
std::vector<DWORD> CompanionProcesses();

// True once no companion program runs any more.
inline bool CompanionsGone(DWORD milliseconds = 5000) {
  return PumpUntil([] { return CompanionProcesses().empty(); }, milliseconds);
}

// A bordered top-level pop-up of this test program with a chosen class and caption. It records
// WM_CLOSE and the messages numbered from WM_APP on, and closes on WM_CLOSE. A visible one is
// shown without being activated: Wine takes 2 s to move a window with a caption, or the active
// window, into another window (as it does with the companion's).
class TestWindow {
 public:
  struct Message {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
  };
  TestWindow(const wchar_t* window_class, const wchar_t* caption, bool visible);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND Handle() const { return wnd_; }
  DWORD style_at_creation;
  std::vector<Message> received;

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND wnd_;
};

// A fresh folder under the temporary folder, removed with its files afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& Path() const { return path_; }
  // Writes a text file (UTF-16 with byte-order mark, as the private-profile functions read it).
  void Write(const std::wstring& relative, const std::wstring& text) const;

 private:
  std::wstring path_;
};

// The theme's colour for clWindow in the fake IDE.
inline constexpr rtl::TColor kThemeWindow = 0x00332211;

// The IDE services object with a theming service (switch and colours) and an action service
// that records what it is asked to open. Installed as BorlandIDEServices while it lives.
class FakeIde : private ToolsAPI::IOTAIDEThemingServices,
                private ToolsAPI::IOTAActionServices,
                private ToolsAPI::TCustomStyleServices {
 public:
  struct Options {
    bool offer_theming = true;
    bool theming_enabled = false;
    bool offer_actions = true;
  };
  explicit FakeIde(Options options);
  FakeIde() : FakeIde(Options{}) {}
  ~FakeIde();
  std::vector<String> opened;  // the projects asked for
  bool new_group_always = true;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

 private:
  bool IDEThemingEnabled() override { return options_.theming_enabled; }
  ToolsAPI::TCustomStyleServices* StyleServices() override { return this; }
  rtl::TColor GetSystemColor(rtl::TColor color) override {
    return color == rtl::clWindow ? kThemeWindow : color;
  }
  bool OpenProject(const String& name, bool new_group) override;

  Options options_;
  IUnknown* saved_;
};

// The IDE's caption frame; offers the caption-frame interface unless told not to.
class FakeCaptionFrame : public rtl::TFrame, public ToolsAPI::INTAWelcomePageCaptionFrame {
 public:
  FakeCaptionFrame(bool offers_interface, int* alive);
  ~FakeCaptionFrame() override;
  bool GetInterface(const GUID& iid, void** obj) override;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void SetClientFrame(rtl::TFrame* frame) override;
  std::vector<rtl::TFrame*> clients;

 private:
  bool offers_;
  int* alive_;
};

// The Welcome Page service: keeps one reference to each plug-in, records the calls, and makes
// FakeCaptionFrames. Installed as WelcomePagePluginService while it lives.
class FakeWelcomePage : public ToolsAPI::INTAWelcomePagePluginService {
 public:
  explicit FakeWelcomePage(bool frames_offer_interface = true);
  ~FakeWelcomePage();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void RegisterPlugin(ToolsAPI::INTAWelcomePagePlugin* plugin) override;
  void UnRegisterPlugin(const String& id) override;
  rtl::TFrame* CreateCaptionFrame(const String& id, const String& caption,
                                  rtl::TComponent* owner) override;

  std::vector<ToolsAPI::INTAWelcomePagePlugin*> plugins;
  std::vector<std::string> calls;      // "register WTarn", "unregister WTarn -> 0 left", ...
  int frames_alive = 0;                // caption frames not yet freed
  std::function<void()> OnUnregister;  // runs as the unregister call arrives

 private:
  bool offers_;
  ToolsAPI::INTAWelcomePagePluginService* saved_;
};

// Ends every companion program that is still running, at once.
void EndCompanions();

// Posts a request to the (only) companion's application window and waits up to 10 s until its
// main window is shown (kShowMain), there (kHiddenMain) or gone (kEndMain); the main window, or
// null.
HWND AskCompanion(companion_test::Request request);

// Times, from a process of its own (answer_probe.exe), how long a window's thread takes to
// answer a posted message, from construction until Stop or the window's end: by default this
// thread (through a window of its own), otherwise the thread of Target (which must answer
// host/probe.h's probes).
class AnswerTimer {
 public:
  explicit AnswerTimer(HWND Target = nullptr);
  ~AnswerTimer();
  AnswerTimer(const AnswerTimer&) = delete;
  AnswerTimer& operator=(const AnswerTimer&) = delete;
  struct Wait {
    long long ms = -1;  // the longest that a probe waited for its answer; -1: no probe ran
    long long at = 0;   // when that probe was posted, in ms since the probe started
  };
  // Stops the probe (answering its last probes); an unanswered probe waited until the stop.
  // Later calls give the same answer.
  Wait Stop();

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND wnd_ = nullptr;
  std::wstring file_;
  rtl::UniqueHandle stop_, probe_;
  bool stopped_ = false;
  Wait longest_;
};

// Replaces the frame's waits with a recorder; Hook(i) runs at the i-th wait (0-based) in
// place of the sleep.
class WaitRecorder {
 public:
  explicit WaitRecorder(std::function<void(size_t)> hook = {});
  ~WaitRecorder();
  std::vector<unsigned> waits;

 private:
  std::function<void(unsigned)> saved_;
};

}  // namespace plugin_test

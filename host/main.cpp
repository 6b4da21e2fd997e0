// The stand-in IDE. It offers the Welcome Page plug-in service and the IDE services object,
// loads the package as the IDE does (load, Initialize, Register), shows the Welcome Page, and
// at exit closes the open view, calls Finalize and unloads the package. Every step goes into
// the transcript.
//
// Options:
//   --headless            keep the page window hidden (tests)
//   --open=ID             open the view of plug-in ID once it is registered
//   --exit-after=N        end after N seconds (otherwise when the page is closed)
//   --transcript=FILE     write the transcript into FILE as well (the companion adds to it)
//   --theming=on|off      the IDE theming switch (on)
//   --no-action-service   the IDE services object offers no action service
//   --resize=WxH          resize the page once a window has been embedded
//   --resize-after=N      ... and N seconds after that (0)
//   --press-button=N      click the view's "Show PlugIn" button N seconds after the start
//   --appdata=FOLDER      the user's application-data folder (environment variable APPDATA)
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <functional>
#include <map>
#include <type_traits>

#include "host/welcome_page.h"
#include "package/package.h"
#include "rtl/handles.h"

namespace {

struct Options {
  bool headless = false;
  std::wstring open;
  unsigned exit_after = 0;
  std::wstring transcript;
  bool theming = true;
  bool actions = true;
  SIZE resize{};
  unsigned resize_after = 0;
  unsigned press_button = 0;
  std::wstring appdata;
};

Options ReadOptions() {
  Options o;
  int n = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n);
  for (int i = 1; i < n; ++i) {
    std::wstring arg = argv[i];
    auto value = [&](const wchar_t* name) -> const wchar_t* {
      const size_t len = std::wcslen(name);
      return arg.compare(0, len, name) == 0 ? arg.c_str() + len : nullptr;
    };
    if (arg == L"--headless") o.headless = true;
    if (arg == L"--no-action-service") o.actions = false;
    if (arg == L"--theming=off") o.theming = false;
    if (const wchar_t* v = value(L"--open=")) o.open = v;
    if (const wchar_t* v = value(L"--exit-after=")) o.exit_after = std::wcstoul(v, nullptr, 10);
    if (const wchar_t* v = value(L"--press-button=")) o.press_button = std::wcstoul(v, nullptr, 10);
    if (const wchar_t* v = value(L"--transcript=")) o.transcript = v;
    if (const wchar_t* v = value(L"--appdata=")) o.appdata = v;
    if (const wchar_t* v = value(L"--resize-after="))
      o.resize_after = std::wcstoul(v, nullptr, 10);
    if (const wchar_t* v = value(L"--resize="))
      std::swscanf(v, L"%ldx%ld", &o.resize.cx, &o.resize.cy);
  }
  LocalFree(argv);
  return o;
}

// Something to do on the IDE's thread after a delay.
std::map<UINT_PTR, std::function<void()>> pending;

void After(UINT milliseconds, std::function<void()> action) {
  UINT_PTR id = SetTimer(nullptr, 0, milliseconds, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
    KillTimer(nullptr, id);
    auto node = pending.extract(id);
    if (!node.empty()) node.mapped()();
  });
  pending[id] = std::move(action);
}

// The package as the IDE's package loader sees it.
class Package {
 public:
  explicit Package(const host::Log& log) : log_(log) {}
  bool Load() {
    module_.reset(LoadLibraryW(L"WTarnD11.dll"));
    if (!module_) {
      log_("host:", "cannot load WTarnD11.dll (error " + std::to_string(GetLastError()) + ")");
      return false;
    }
    table_ = rtl::ProcAddress<GetPackageInfoTableProc>(module_.get(), "GetPackageInfoTable");
    initialize_ = rtl::ProcAddress<PackageEntryProc>(module_.get(), "Initialize");
    finalize_ = rtl::ProcAddress<PackageEntryProc>(module_.get(), "Finalize");
    register_ = rtl::ProcAddress<PackageEntryProc>(module_.get(), "Register");
    if (!table_ || !initialize_ || !finalize_ || !register_) {
      log_("host:", "WTarnD11.dll lacks its package entry points");
      return false;
    }
    log_("host:", "loaded WTarnD11.dll");
    return true;
  }
  void Initialize() {
    initialize_();
    log_("host:", "Initialize: units started in this order: " + Units(false));
    log_("host:", "library globals: " + Globals());
  }
  void Register() {
    log_("host:", "Register");
    register_();
  }
  void Finalize() {
    log_("host:", "Finalize");
    finalize_();
    log_("host:", "Finalize: units shut down in this order: " + Units(true));
  }
  void Unload() {
    module_.reset();
    log_("host:", "unloaded WTarnD11.dll");
  }

 private:
  // The units with their counters, in start-up order or reversed.
  std::string Units(bool reversed) const {
    PackageInfoTable* t = table_();
    std::string text;
    for (int k = 0; k < t->UnitCount; ++k) {
      const PackageUnitEntry& u = t->Units[reversed ? t->UnitCount - 1 - k : k];
      text += (k ? ", " : "") + std::string(u.Name) + " (" + std::to_string(u.Counter) + ")";
    }
    return text;
  }

  // An exported global of the package, found by its exported name as a loader finds it
  // (namespace-scope names in the compiler's naming scheme; strings carry the cxx11 tag).
  template <typename T>
  const T* Exported(const std::string& unit, const std::string& name) const {
    std::string tag = std::is_same_v<T, rtl::String> ? "B5cxx11" : "";
    std::string symbol = "_ZN" + std::to_string(unit.size()) + unit + std::to_string(name.size()) + name + tag + "E";
    return reinterpret_cast<const T*>(GetProcAddress(module_.get(), symbol.c_str()));
  }

  // The globals that start-up fills, as one transcript line.
  std::string Globals() const {
    std::string text;
    for (auto [unit, name] : {std::pair{"Kv_tools", "AppIniName"}, {"Kv_tools", "ProgDataPath"},
                              {"Kv_tools", "DiskMode"}, {"Kv_tools", "SysProgDataPath"},
                              {"Kv_tools", "AktOSName"}, {"Kv_tools", "curOS"},
                              {"Kv_tools", "MyProgDataPath"}, {"Kv_tools", "MyUserDataPath"}}) {
      const rtl::String* value = Exported<rtl::String>(unit, name);
      text += std::string(name) + "=\"" + (value ? host::Text(*value) : "?") + "\", ";
    }
    const int32_t* cpus = Exported<int32_t>("Kv_tools", "CpuHard");
    return text + "CpuHard=" + (cpus ? std::to_string(*cpus) : "?");
  }

  const host::Log& log_;
  rtl::UniqueModule module_;
  GetPackageInfoTableProc table_ = nullptr;
  PackageEntryProc initialize_ = nullptr, finalize_ = nullptr, register_ = nullptr;
};

}  // namespace

int main() {
  const Options options = ReadOptions();
  const uint64_t start = transcript::Now();
  if (!options.transcript.empty()) DeleteFileW(options.transcript.c_str());
  const host::Log log(options.transcript, start);
  SetEnvironmentVariableW(transcript::kFileVariable, options.transcript.c_str());
  SetEnvironmentVariableW(transcript::kStartVariable, std::to_wstring(start).c_str());
  if (!options.appdata.empty()) SetEnvironmentVariableW(L"APPDATA", options.appdata.c_str());
  log("host:", "stand-in IDE started; APPDATA " + (options.appdata.empty()
                                                       ? std::string("as the system has it")
                                                       : transcript::Utf8(options.appdata)));

  host::WelcomePageService welcome(log);
  host::IdeServices ide(log, options.theming, options.actions);
  ToolsAPI::WelcomePagePluginService = &welcome;
  ToolsAPI::BorlandIDEServices = &ide;
  log("host:", std::string("IDE services: theming ") + (options.theming ? "on" : "off") +
                   ", action service " + (options.actions ? "offered" : "not offered"));

  host::WelcomePage page(log, welcome, options.headless);
  page.ResizeAfterEmbedding = options.resize;
  page.ResizeDelay = options.resize_after * 1000;
  ide.Actions().OnOpen = [&page](const rtl::String& project) { page.ShowRequest(project); };

  Package package(log);
  if (!package.Load()) return 1;
  package.Initialize();
  package.Register();

  if (!options.open.empty())
    After(300, [&] { page.OpenView(rtl::String(options.open.begin(), options.open.end())); });
  if (options.press_button > 0)
    After(options.press_button * 1000, [&page] { page.PressShowPlugIn(); });
  if (options.exit_after > 0) After(options.exit_after * 1000, [] { PostQuitMessage(0); });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  page.CloseView();
  package.Finalize();
  ToolsAPI::WelcomePagePluginService = nullptr;
  ToolsAPI::BorlandIDEServices = nullptr;
  package.Unload();
  log("host:", "done");
  return 0;
}

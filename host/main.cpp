// The stand-in IDE. It offers the Welcome Page plug-in service and the IDE services object,
// lists the packages installed under its release's registry key (HKCU\<DelphiRegPaths[
// DelphiXE11]>\Known Packages: one value per package, named by the package's path, holding its
// description), loads each of them as the IDE does (identity check, load, Initialize,
// Register), shows the Welcome Page, and at exit closes the open view, calls Finalize and
// unloads the packages. Every step goes into the transcript; a package that is not loaded
// gets one line saying why, and the IDE goes on without it.
//
// Options:
//   --package=FILE        load FILE instead of the installed packages (may repeat; tests)
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
#include <list>
#include <map>
#include <type_traits>

#include "host/package_list.h"
#include "host/welcome_page.h"
#include "package/identity.h"
#include "package/package.h"
#include "rtl/handles.h"
#include "tarnedata/catalogue.h"

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
  std::vector<std::wstring> packages;
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
    if (const wchar_t* v = value(L"--package=")) o.packages.push_back(v);
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

// The Known Packages list of the IDE's release, under the current user.
std::wstring KnownPackagesKey() {
  const std::u16string release = TarnEdata::DelphiRegPaths[TarnEdata::DelphiXE11];
  return std::wstring(release.begin() + (release[0] == u'\\'), release.end()) + L"\\Known Packages";
}

// The entries of the Known Packages list in the registry's order; none when there is no list.
std::vector<host::KnownPackage> ReadKnownPackages(const std::wstring& key_name) {
  rtl::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_name.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS)
    return {};
  DWORD count = 0, name_max = 0, data_max = 0;
  RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                   &name_max, &data_max, nullptr, nullptr);
  std::vector<host::KnownPackage> list;
  for (DWORD i = 0; i < count; ++i) {
    std::wstring name(name_max + 1, L'\0');
    std::string data(data_max, '\0');
    DWORD name_len = name_max + 1, type = 0, data_len = data_max;
    if (RegEnumValueW(key.get(), i, name.data(), &name_len, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &data_len) != ERROR_SUCCESS)
      continue;
    list.push_back(host::ReadKnownPackage(name.substr(0, name_len), type,
                                          std::string_view(data).substr(0, data_len)));
  }
  return list;
}

// What the IDE learns of a package file before loading it: whether it is there, its first
// bytes and its identity resource.
host::PackageFile Inspect(const std::wstring& path) {
  host::PackageFile file;
  file.found = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  rtl::UniqueFile f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  std::string head(4096, '\0');
  DWORD n = 0;
  if (f && ReadFile(f.get(), head.data(), static_cast<DWORD>(head.size()), &n, nullptr))
    file.head = head.substr(0, n);
  rtl::UniqueModule data(LoadLibraryExW(path.c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  HRSRC res =
      data ? FindResourceW(data.get(), WTarnPackage::kIdentityResource, RT_RCDATA) : nullptr;
  if (const void* bytes = res ? LockResource(LoadResource(data.get(), res)) : nullptr)
    file.identity = std::string(static_cast<const char*>(bytes), SizeofResource(data.get(), res));
  return file;
}

// A path as a full one, from the current folder. Example: FullPath(L"a.dll") == L"C:\\b\\a.dll".
std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? std::wstring(full, n) : path;
}

// The package as the IDE's package loader sees it.
class Package {
 public:
  Package(const host::Log& log, const std::wstring& path)
      : log_(log), path_(FullPath(path)), file_name_(path_.substr(path_.find_last_of(L"\\/") + 1)) {}
  // Loads the package when the IDE accepts it and it has its entry points, and adds its name
  // to loaded; otherwise says in the transcript why it is not loaded. True when loaded.
  bool Load(std::vector<std::wstring>& loaded) {
    const host::PackageFile file = Inspect(path_);
    if (std::string why = host::Refusal(file, host::kProvidedPackages, loaded); !why.empty()) {
      log_("host:", "not loaded " + transcript::Utf8(path_) + ": " + why);
      return false;
    }
    module_.reset(LoadLibraryExW(path_.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module_) {
      log_("host:", "not loaded " + transcript::Utf8(path_) + ": it cannot be loaded (error " +
                        std::to_string(GetLastError()) + ")");
      return false;
    }
    table_ = rtl::ProcAddress<GetPackageInfoTableProc>(module_.get(), "GetPackageInfoTable");
    initialize_ = rtl::ProcAddress<PackageEntryProc>(module_.get(), "Initialize");
    finalize_ = rtl::ProcAddress<PackageEntryProc>(module_.get(), "Finalize");
    register_ = rtl::ProcAddress<PackageEntryProc>(module_.get(), "Register");
    if (!table_ || !initialize_ || !finalize_ || !register_) {
      module_.reset();
      log_("host:",
           "not loaded " + transcript::Utf8(path_) + ": it lacks the package entry points");
      return false;
    }
    loaded.push_back(host::ReadIdentity(*file.identity)->name);
    log_("host:", "loaded " + transcript::Utf8(file_name_) + " (" + transcript::Utf8(path_) + ")");
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
    log_("host:", "unloaded " + transcript::Utf8(file_name_));
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
  std::wstring path_, file_name_;
  rtl::UniqueModule module_;
  GetPackageInfoTableProc table_ = nullptr;
  PackageEntryProc initialize_ = nullptr, finalize_ = nullptr, register_ = nullptr;
};

// The IDE's message loop, until WM_QUIT. A failed GetMessage (Wine answers a negative status
// for a copy-data record too large to pass) is noted once and the loop goes on; only a queue
// that fails kMessageErrorLimit times in a row ends it.
void RunMessageLoop(const host::Log& log) {
  MSG msg;
  for (unsigned errors = 0;;) {
    const BOOL answer = GetMessageW(&msg, nullptr, 0, 0);
    switch (host::NextLoopStep(answer, errors)) {
      case host::LoopStep::kDispatch:
        errors = 0;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        break;
      case host::LoopStep::kQuit:
        return;
      case host::LoopStep::kSkip:
        if (errors++ == 0)
          log("host:", "message error (GetMessage answered " + std::to_string(answer) +
                           ", last error " + std::to_string(GetLastError()) + "): the IDE goes on");
        break;
      case host::LoopStep::kGiveUp:
        log("host:", "the message queue fails every time: the IDE ends");
        return;
    }
  }
}

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

  const std::wstring key = KnownPackagesKey();
  const std::vector<host::KnownPackage> installed = ReadKnownPackages(key);
  log("host:", "installed packages (HKCU\\" + transcript::Utf8(key) + "): " +
                   (installed.empty() ? std::string("none") : std::to_string(installed.size())));
  std::vector<std::wstring> paths = options.packages;
  for (const host::KnownPackage& p : installed) {
    log("host:", p.problem.empty()
                     ? "  " + transcript::Utf8(p.path) + "  \"" + transcript::Utf8(p.description) + "\""
                     : "  skipped value \"" + transcript::Utf8(p.path) + "\": " + p.problem);
    if (p.problem.empty() && options.packages.empty()) paths.push_back(p.path);
  }
  std::list<Package> packages;
  std::vector<std::wstring> loaded;
  for (const std::wstring& path : paths) {
    Package& package = packages.emplace_back(log, path);
    if (!package.Load(loaded)) {
      packages.pop_back();
      continue;
    }
    package.Initialize();
    package.Register();
  }

  if (!options.open.empty())
    After(300, [&] { page.OpenView(rtl::String(options.open.begin(), options.open.end())); });
  if (options.press_button > 0)
    After(options.press_button * 1000, [&page] { page.PressShowPlugIn(); });
  if (options.exit_after > 0) After(options.exit_after * 1000, [] { PostQuitMessage(0); });
  RunMessageLoop(log);

  page.CloseView();
  for (auto p = packages.rbegin(); p != packages.rend(); ++p) p->Finalize();
  ToolsAPI::WelcomePagePluginService = nullptr;
  ToolsAPI::BorlandIDEServices = nullptr;
  while (!packages.empty()) {
    packages.back().Unload();
    packages.pop_back();
  }
  log("host:", "done");
  return 0;
}

// The plug-in's installer under Wine, run silently as scripts do: the road of a user (install,
// the IDE shows the plug-in, uninstall, the IDE shows none), installing again, over an older
// version and into another folder, and folders the installer cannot use. Each test starts from
// a clean state of its own: an emptied Known Packages list, no earlier installation.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "host/transcript.h"
#include "tests/host/host_run.h"

namespace host_test {
namespace {

namespace fs = std::filesystem;
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\WTarnD11";
const std::wstring kDescription = L"--- Morvane Tarn PlugIn für Delphi 11 Welcome Page";
const std::set<std::wstring> kInstalled = {L"WTarnD11.dll", L"libgcc_s_dw2-1.dll", L"libstdc++-6.dll",
                                           L"libwinpthread-1.dll", L"uninstall.exe"};

// Runs a command line to its end (at most 60 s): its exit code (-1 when it did not end) and
// what it wrote to standard error.
int Run(std::wstring line, std::string* error_text = nullptr) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &inherit, 1 << 16);
  rtl::UniqueHandle reader(read), writer(write);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdError = write;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
    return -1;
  rtl::UniqueHandle process(pi.hProcess), thread(pi.hThread);
  writer.reset();
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  char text[4096];
  DWORD n = 0;
  if (error_text && PeekNamedPipe(read, nullptr, 0, nullptr, &n, nullptr) && n > 0 &&
      ReadFile(read, text, sizeof text, &n, nullptr))
    error_text->assign(text, n);
  return static_cast<int>(code);
}

int Install(const fs::path& folder, std::string* error_text = nullptr) {
  return Run(L"\"" + BinFolder() + L"WTarnD11-Setup.exe\" /S /D=" + folder.wstring(), error_text);
}

// Runs the folder's uninstaller, which goes on from a copy of itself, and waits (at most
// 60 s) until it has removed itself and its Add/Remove Programs entry.
bool Uninstall(const fs::path& folder) {
  if (Run(L"\"" + (folder / L"uninstall.exe").wstring() + L"\" /S") != 0) return false;
  for (int i = 0; i < 600; ++i, Sleep(100)) {
    HKEY key;
    const bool entry = RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (entry) RegCloseKey(key);
    if (!entry && !fs::exists(folder / L"uninstall.exe")) return true;
  }
  return false;
}

// A text value of HKCU\key; "(none)" when there is none.
std::wstring Text(const wchar_t* key, const std::wstring& name) {
  wchar_t value[1024];
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS
             ? value
             : L"(none)";
}

// The names of the files in a folder; none when it does not exist.
std::set<std::wstring> Files(const fs::path& folder) {
  std::set<std::wstring> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.insert(e.path().filename().wstring());
  return names;
}

// The Known Packages values, as "name = text".
std::set<std::wstring> Known() {
  std::set<std::wstring> values;
  for (const KnownPackages::Value& v : KnownPackages::Values())
    values.insert(v.name + L" = " + std::wstring(reinterpret_cast<const wchar_t*>(v.data.c_str())));
  return values;
}

// A fresh folder for a test's installations, with blanks and letters outside code page 1252.
class Place : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    root_ = fs::path(std::wstring(temp, GetTempPathW(MAX_PATH, temp))) / L"WTarn setup Größe ж";
    fs::remove_all(root_);
    fs::create_directories(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  fs::path root_;
  KnownPackages list_;
};

TEST_F(Place, InstallTheIdeShowsThePluginUninstallItShowsNone) {
  const fs::path folder = root_ / L"Tarn PlugIn";
  const std::wstring package = (folder / L"WTarnD11.dll").wstring();
  fs::create_directories(folder);
  CloseHandle(CreateFileW((folder / L"notes.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  KnownPackages::SetText(L"C:\\Other\\other.bpl", L"Another package");

  ASSERT_EQ(Install(folder), 0);
  std::set<std::wstring> files = kInstalled;
  files.insert(L"notes.txt");
  EXPECT_EQ(Files(folder), files);
  EXPECT_EQ(Known(), (std::set<std::wstring>{L"C:\\Other\\other.bpl = Another package", package + L" = " + kDescription}));
  EXPECT_EQ(Text(kUninstallKey, L"InstallLocation"), folder.wstring());
  EXPECT_EQ(Text(kUninstallKey, L"DisplayVersion"), L"1.0.1.1");
  EXPECT_EQ(Text(kUninstallKey, L"UninstallString"), L"\"" + (folder / L"uninstall.exe").wstring() + L"\"");
  std::string road = RunHost(L"--exit-after=1");
  EXPECT_NE(road.find("loaded WTarnD11.dll (" + transcript::Utf8(package) + ")"), std::string::npos) << road;
  EXPECT_NE(road.find("lists Tarn  (WTarn)"), std::string::npos) << road;

  ASSERT_TRUE(Uninstall(folder));
  EXPECT_EQ(Files(folder), (std::set<std::wstring>{L"notes.txt"}));
  EXPECT_EQ(Known(), (std::set<std::wstring>{L"C:\\Other\\other.bpl = Another package"}));
  road = RunHost(L"--exit-after=1");
  EXPECT_EQ(road.find("RegisterPlugin"), std::string::npos) << road;
  EXPECT_NE(road.find("lists no plug-ins"), std::string::npos) << road;
  EXPECT_NE(road.find("not loaded C:\\Other\\other.bpl: the file is missing"), std::string::npos) << road;
}

TEST_F(Place, InstallsAgainOverAnOlderVersionAndIntoAnotherFolder) {
  const fs::path first = root_ / L"first", second = root_ / L"second";
  const std::string built = ReadText(BinFolder() + L"WTarnD11.dll");
  struct Row {
    const char* label;
    bool older;           // the first installation is made to look like an older version
    const fs::path* then;  // the folder of the second installation
  } rows[] = {{"twice", false, &first}, {"over an older version", true, &first}, {"another folder", false, &second}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    ASSERT_EQ(Install(first), 0);
    if (r.older) {
      RegSetKeyValueW(HKEY_CURRENT_USER, kUninstallKey, L"DisplayVersion", REG_SZ, L"0.9.0.0", 16);
      rtl::UniqueFile dll(CreateFileW((first / L"WTarnD11.dll").c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr));
    }
    ASSERT_EQ(Install(*r.then), 0);
    EXPECT_EQ(Known(), (std::set<std::wstring>{(*r.then / L"WTarnD11.dll").wstring() + L" = " + kDescription}));
    EXPECT_EQ(Text(kUninstallKey, L"DisplayVersion"), L"1.0.1.1");
    EXPECT_EQ(Files(*r.then), kInstalled);
    EXPECT_EQ(ReadText((*r.then / L"WTarnD11.dll").wstring()), built);
    if (r.then != &first) EXPECT_FALSE(fs::exists(first)) << "the earlier installation is gone";
    ASSERT_TRUE(Uninstall(*r.then));
    EXPECT_FALSE(fs::exists(*r.then)) << "the folder it made goes with it";
    EXPECT_TRUE(Known().empty());
  }
}

// Runs chattr on the Linux side (Wine starts Linux programs); false when that is not possible.
bool Chattr(const fs::path& folder, const wchar_t* flag) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  auto to_unix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* name = to_unix ? to_unix(folder.c_str()) : nullptr;
  if (!name || !fs::exists(L"Z:\\usr\\bin\\chattr")) return false;
  const std::wstring line = L"Z:\\usr\\bin\\chattr " + std::wstring(flag) + L" \"" +
                            fs::u8path(name).wstring() + L"\"";
  HeapFree(GetProcessHeap(), 0, name);
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  std::wstring command = line;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  const fs::path probe = folder / L"probe";  // the Linux program may still be ending
  for (int i = 0; i < 100; ++i, Sleep(20)) {
    rtl::UniqueFile f(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (static_cast<bool>(f) == (flag[0] == L'-')) return true;
  }
  return false;
}

TEST_F(Place, FoldersItCannotUseEndItWithOneLineAndNothingChanged) {
  const fs::path file = root_ / L"a file", locked = root_ / L"locked";
  CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  fs::create_directories(locked);
  const bool immutable = Chattr(locked, L"+i");
  struct Row {
    const char* label;
    fs::path folder;
    bool exists_after;
  } rows[] = {{"beneath a file", file / L"WTarn", false}, {"no write access", locked, true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    if (r.exists_after && !immutable) {
      std::cout << "[ SKIPPED  ] no write access: chattr cannot make a folder immutable here\n";
      continue;
    }
    std::string said;
    EXPECT_EQ(Install(r.folder, &said), 2);
    // One line (in the ANSI code page, which has no ж).
    EXPECT_EQ(said.rfind("Cannot install WTarnD11 into ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_NE(said.find("WTarn setup Gr"), std::string::npos) << said;
    EXPECT_NE(said.find(": the folder cannot be made or written to.\r\n"), std::string::npos) << said;
    EXPECT_TRUE(Known().empty());
    EXPECT_EQ(Text(kUninstallKey, L"DisplayName"), L"(none)");
    EXPECT_EQ(fs::exists(r.folder), r.exists_after);
    EXPECT_TRUE(Files(r.folder).empty());
  }
  if (immutable) EXPECT_TRUE(Chattr(locked, L"-i"));
}

}  // namespace
}  // namespace host_test

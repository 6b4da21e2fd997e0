// against the platform: special folders (also moved by the user's shell-folder
// setting), the folder dialog through a stand-in for SHBrowseForFolderW (no dialog appears),
// the dialog callback, temporary folders, drive type, profile root, write probes.
#include "kv_tools/folders.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "kv_tools/processes.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "rtl/registry.h"
#include "tests/core/temp_folder.h"

namespace Kv_tools {
namespace {

using rtl::FromW;
using rtl::ToUtf8;
using rtl::W;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;

String ShellFolder(int csidl) {
  wchar_t buf[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, buf)) ? FromW(buf) : String();
}

// The platform's own answer, through the same two calls.
String PidlFolder(int csidl) {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &pidl))) return String();
  wchar_t buf[MAX_PATH + 1] = {};
  BOOL ok = SHGetPathFromIDListW(pidl, buf);
  CoTaskMemFree(pidl);
  return ok ? FromW(buf) : String();
}

TEST(FoldersWin, SpecialFolders) {
  for (int csidl : {kCsidlAppData, kCsidlPersonal, CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_LOCAL_APPDATA}) {
    SCOPED_TRACE(csidl);
    String folder = GetSpecialFolder(csidl);
    EXPECT_FALSE(folder.empty());
    EXPECT_EQ(folder, PidlFolder(csidl));  // the platform's text as it is ...
    String shell = ShellFolder(csidl);     // ... which can end in a backslash under Wine
    EXPECT_TRUE(folder == shell || folder == shell + u"\\") << ToUtf8(folder);
  }
  EXPECT_EQ(GetSpecialFolder(CSIDL_DRIVES), u"");  // a folder without a file-system path
  EXPECT_EQ(GetSpecialFolder(0x7F7F), u"");        // a number the platform does not know
}

// The user's application-data folder pointed at a temporary folder through the shell-folder
// setting, restored afterwards.
TEST(FoldersWin, AppDataFollowsTheUserShellFolderSetting) {
  const wchar_t* key_name = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  rtl::UniqueKey key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key_name, 0, KEY_ALL_ACCESS, key.put()), ERROR_SUCCESS);
  std::vector<BYTE> saved(4096);
  DWORD size = static_cast<DWORD>(saved.size()), type = 0;
  bool had = RegQueryValueExW(key.get(), L"AppData", nullptr, &type, saved.data(), &size) == ERROR_SUCCESS;
  TempFolder tmp(u"appdata");
  String target = tmp / u"Roaming";
  ASSERT_TRUE(rtl::CreateDir(target));
  RegSetValueExW(key.get(), L"AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(W(target)),
                 static_cast<DWORD>((target.size() + 1) * 2));
  String seen = GetSpecialFolder(kCsidlAppData);
  if (had) RegSetValueExW(key.get(), L"AppData", 0, type, saved.data(), size);
  else RegDeleteValueW(key.get(), L"AppData");
  EXPECT_EQ(seen, target);
  EXPECT_NE(GetSpecialFolder(kCsidlAppData), target);
}

// --- The folder dialog, answered by a stand-in -----------------------------------------

struct DialogScript {
  bool cancel = false;
  String chosen_path;       // the item chosen, when it has a path
  int chosen_csidl = -1;    // else a special folder's item (no file-system path)
  String display_name;      // what the dialog writes into the name buffer
  // What the stand-in saw.
  int calls = 0;
  UINT flags = 0;
  String title;
  bool had_root = false;
  bool callback_is_bff = false;
  LPARAM lparam = -1;
  String init_folder_during;
  std::vector<String> selections;  // BFFM_SETSELECTIONW texts received
};
DialogScript* g_script = nullptr;

LRESULT CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == BFFM_SETSELECTIONW && g_script) {
    EXPECT_EQ(wp, static_cast<WPARAM>(TRUE));
    g_script->selections.push_back(FromW(reinterpret_cast<const wchar_t*>(lp)));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND DialogWindow() {
  static HWND hwnd = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DialogProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WTarnH4aFakeBrowse";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }();
  return hwnd;
}

PIDLIST_ABSOLUTE WINAPI FakeBrowse(BROWSEINFOW* info) {
  DialogScript& s = *g_script;
  ++s.calls;
  s.flags = info->ulFlags;
  s.title = info->lpszTitle ? FromW(info->lpszTitle) : String();
  s.had_root = info->pidlRoot != nullptr;
  s.callback_is_bff = info->lpfn == &bffCallback;
  s.lparam = info->lParam;
  EXPECT_EQ(info->lpfn(DialogWindow(), BFFM_INITIALIZED, 0, info->lParam), 0);
  s.init_folder_during = InitFolder;
  if (s.cancel) return nullptr;
  size_t n = std::min<size_t>(s.display_name.size(), MAX_PATH - 1);
  for (size_t i = 0; i < n; ++i) info->pszDisplayName[i] = static_cast<wchar_t>(s.display_name[i]);
  info->pszDisplayName[n] = 0;
  if (!s.chosen_path.empty()) return ILCreateFromPathW(W(s.chosen_path));
  PIDLIST_ABSOLUTE pidl = nullptr;
  SHGetSpecialFolderLocation(nullptr, s.chosen_csidl, &pidl);
  return pidl;
}

class FolderDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    g_script = &script_;
    SetBrowseForFolderHook(FakeBrowse);
    ASSERT_NE(DialogWindow(), nullptr);
  }
  void TearDown() override {
    SetBrowseForFolderHook(nullptr);
    g_script = nullptr;
    InitFolder.clear();
  }
  DialogScript script_;
  TempFolder tmp_{u"dlg"};
};

TEST_F(FolderDialog, ChosenFolderAndTheDialogsSettings) {
  script_.chosen_path = tmp_.Path();
  script_.display_name = u"shown name";
  EXPECT_EQ(Getfolder(0, u"Ordner wählen"), tmp_.Path());
  EXPECT_EQ(script_.calls, 1);
  EXPECT_EQ(script_.flags, 0x41u);
  EXPECT_EQ(script_.title, u"Ordner wählen");
  EXPECT_TRUE(script_.callback_is_bff);
  EXPECT_TRUE(script_.had_root);
  EXPECT_EQ(script_.lparam, 0);
  EXPECT_TRUE(script_.selections.empty());  // InitFolder empty: nothing selected
}

TEST_F(FolderDialog, CancelledOrUnknownRoot) {
  script_.cancel = true;
  EXPECT_EQ(Getfolder(0, u"t"), u"");
  EXPECT_EQ(Getfolder(0x7F7F, u"t"), u"");  // no root: no dialog
  EXPECT_EQ(script_.calls, 1);
}

TEST_F(FolderDialog, NetworkRootGivesTheDisplayNameWithoutAPath) {
  script_.chosen_csidl = CSIDL_DRIVES;  // an item without a file-system path
  script_.display_name = u"SERVER1";
  PIDLIST_ABSOLUTE network = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, kCsidlNetwork, &network))) GTEST_SKIP() << "no network folder";
  CoTaskMemFree(network);
  EXPECT_EQ(Getfolder(kCsidlNetwork, u"t"), u"SERVER1");
  EXPECT_EQ(Getfolder(0, u"t"), u"");  // another root: no path, no name
  script_.chosen_csidl = -1;
  script_.chosen_path = tmp_.Path();
  EXPECT_EQ(Getfolder(kCsidlNetwork, u"t"), tmp_.Path());  // a path wins over the name
}

TEST_F(FolderDialog, InitfolderSelectsTheStartFolder) {
  script_.chosen_path = tmp_.Path();
  EXPECT_EQ(GetInitfolder(tmp_.Path() + u"\\", 0, u"t"), tmp_.Path());
  EXPECT_EQ(script_.init_folder_during, tmp_.Path());
  EXPECT_EQ(script_.selections, (std::vector<String>{tmp_.Path()}));
  EXPECT_EQ(InitFolder, u"");

  script_.selections.clear();
  GetInitfolder(u"C:\\", 0, u"t");
  EXPECT_EQ(script_.selections, (std::vector<String>{u"C:\\"}));
  script_.selections.clear();
  GetInitfolder(u"C:", 0, u"t");  // a bare drive: the callback adds the backslash
  EXPECT_EQ(script_.selections, (std::vector<String>{u"C:\\"}));
  EXPECT_EQ(InitFolder, u"");
  script_.selections.clear();
  GetInitfolder(u"", 0, u"t");
  EXPECT_TRUE(script_.selections.empty());

  script_.cancel = true;
  EXPECT_EQ(GetInitfolder(u"C:\\Data\\", 0, u"t"), u"");
  EXPECT_EQ(script_.init_folder_during, u"C:\\Data");
  EXPECT_EQ(InitFolder, u"");
}

TEST_F(FolderDialog, CallbackAlone) {
  InitFolder = u"D:";
  EXPECT_EQ(bffCallback(DialogWindow(), BFFM_SELCHANGED, 0, 0), 0);
  EXPECT_EQ(InitFolder, u"D:");  // other messages: nothing
  EXPECT_TRUE(script_.selections.empty());
  EXPECT_EQ(bffCallback(DialogWindow(), BFFM_INITIALIZED, 0, 0), 0);
  EXPECT_EQ(InitFolder, u"D:\\");
  EXPECT_EQ(script_.selections, (std::vector<String>{u"D:\\"}));
  InitFolder = u"D:\\x\\";
  bffCallback(DialogWindow(), BFFM_INITIALIZED, 0, 0);
  EXPECT_EQ(InitFolder, u"D:\\x\\");
  InitFolder.clear();
  script_.selections.clear();
  EXPECT_EQ(bffCallback(DialogWindow(), BFFM_INITIALIZED, 0, 0), 0);
  EXPECT_TRUE(script_.selections.empty());
}

// --- Temporary places, drive, profiles, probes --------------------------------------------

TEST(FoldersWin, TmpDirIsThePlatforms) {
  wchar_t buf[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  EXPECT_EQ(GetTmpDir(), FromW(buf, n));
  String f = GetmyTmpFile(u"WTarn");
  EXPECT_EQ(rtl::ExtractFilePath(f), GetTmpDir());
  EXPECT_EQ(rtl::ExtractFileName(f).substr(0, 3), u"WTa");
  EXPECT_EQ(rtl::ExtractFileExt(f), u".tmp") << ToUtf8(f);
  EXPECT_TRUE(rtl::FileExists(f));
  DeleteFileW(W(f));
}

TEST(FoldersWin, DiskModeOfTheProgramsDrive) {
  String root = DriveRootOf(AppPath());
  UINT type = GetDriveTypeW(W(root));
  EXPECT_EQ(GetDiskMode(), DiskModeFromDriveType(type)) << ToUtf8(root) << " type " << type;
  if (type == DRIVE_FIXED) {
    EXPECT_EQ(GetDiskMode(), u"Fixed");
  }
}

TEST(FoldersWin, UserProfilePath) {
  rtl::Registry reg(rtl::kKeyRead);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"));
  String raw = reg.ReadString(u"ProfilesDirectory");
  String want = ProfilesFolderFrom(raw, GetWindowsPath());
  EXPECT_EQ(GetUserProfilePath(), want) << ToUtf8(raw);
  EXPECT_EQ(GetUserProfilePath().find(u"%SystemDrive%"), String::npos);
  EXPECT_FALSE(GetUserProfilePath().empty());
}

TEST(FoldersWin, WriteProbeInTheDrivesRoot) {
  TempFolder tmp(u"root");
  String probe = DriveProbeName(tmp.Path());
  ASSERT_FALSE(rtl::FileExists(probe)) << ToUtf8(probe);
  EXPECT_TRUE(CanWriteAFile(tmp / u"x\\y"));
  EXPECT_FALSE(rtl::FileExists(probe));  // removed again
  EXPECT_FALSE(CanWriteAFile(u"\\\\srv\\share"));
}

TEST(FoldersWin, FileExistsByListing) {
  EXPECT_FALSE(kv_FileExists(GetWindowsPath()));
  EXPECT_TRUE(kv_FileExists(chkPath(GetSystemPath()) + u"kernel32.dll"));
  EXPECT_TRUE(kv_FileExists(chkPath(GetSystemPath()) + u"*.dll"));
  EXPECT_FALSE(kv_FileExists(chkPath(GetSystemPath()) + u"*.wtarn-none"));
  EXPECT_FALSE(kv_FileExists(u""));
}

}  // namespace
}  // namespace Kv_tools

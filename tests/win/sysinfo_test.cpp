// System information against the platform (Wine reports Windows 7 SP1, 6.1.7601).
#include "kv_tools/sysinfo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "rtl/handles.h"

namespace Kv_tools {
namespace {

bool RunsAsWindows7() {
  std::optional<OSVersionBlock> b = ReadOSVersionBlock();
  return b && b->PlatformId == 2 && b->MajorVersion == 6 && b->MinorVersion == 1;
}

TEST(SysInfoWin, VersionNamesOfThisSystem) {
  if (!RunsAsWindows7()) GTEST_SKIP() << "expects the Windows 7 that Wine reports";
  EXPECT_EQ(GetOSName(), u"Windows Seven");
  EXPECT_EQ(GetOSNameEx(false, false), u"Windows 7");
  EXPECT_EQ(GetOSNameEx(true, true), u"Windows 7, Build 7601 Service Pack 1");
  EXPECT_EQ(GetOSNameEx2(false), u"WIN 6.1");
  EXPECT_EQ(GetOSNameEx2(true), u"Windows 7  Build 7601");
  EXPECT_EQ(GetWindowsVersion(), u"Windows 7 Version 6.1 Build 7601");
  EXPECT_TRUE(ReadOSVersionRecord().Description.starts_with(u"Windows 7 Service Pack 1 (Version 6.1, Build 7601, "));
  EXPECT_TRUE(IsWindowsNT());
  EXPECT_FALSE(IsWin95OSR2());
  EXPECT_FALSE(IsWindows64()) << "a 32-bit prefix";
  EXPECT_FALSE(IsScreenSaverRunning());
}

TEST(SysInfoWin, NamesAndErrorTexts) {
  EXPECT_FALSE(GetThisComputerName().empty());
  EXPECT_FALSE(GetComputerUserName().empty());

  SetLastError(ERROR_FILE_NOT_FOUND);
  String desc = GetlastErrorDesc();
  EXPECT_TRUE(desc.starts_with(u"Fehlernummer: 2 \r\n")) << rtl::ToUtf8(desc);
  EXPECT_GT(desc.size(), 20u) << "the system's text follows";

  SetLastError(ERROR_ACCESS_DENIED);
  String info;
  EXPECT_EQ(GetlastErrorInfo(info), 5u);
  EXPECT_TRUE(info.starts_with(u"Fehlernummer: 5\r\n")) << rtl::ToUtf8(info);

  SetLastError(0);
  EXPECT_TRUE(GetlastErrorDesc().starts_with(u"Fehlernummer: 0 \r\n"));
}

TEST(SysInfoWin, DarkModeSetting) {
  const wchar_t* key_name = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
  rtl::UniqueKey key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key_name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
  DWORD saved = 0, size = sizeof saved, type = 0;
  bool had_value = RegQueryValueExW(key.get(), L"AppsUseLightTheme", nullptr, &type,
                                    reinterpret_cast<BYTE*>(&saved), &size) == ERROR_SUCCESS;
  auto set_dword = [&](DWORD v) {
    RegSetValueExW(key.get(), L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  };

  RegDeleteValueW(key.get(), L"AppsUseLightTheme");
  EXPECT_FALSE(DarkModeIsEnabled()) << "no value";
  set_dword(0);
  EXPECT_TRUE(DarkModeIsEnabled());
  set_dword(1);
  EXPECT_FALSE(DarkModeIsEnabled());
  RegSetValueExW(key.get(), L"AppsUseLightTheme", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"0"), 4);
  EXPECT_FALSE(DarkModeIsEnabled()) << "a text is no integer";

  if (had_value && type == REG_DWORD)
    set_dword(saved);
  else
    RegDeleteValueW(key.get(), L"AppsUseLightTheme");
}

UINT CurrentErrorMode() {
  UINT mode = SetErrorMode(0);
  SetErrorMode(mode);
  return mode;
}

TEST(SysInfoWin, DiskInDrive) {
  const UINT mode_before = CurrentErrorMode();
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const String temp_dir = rtl::FromW(temp);
  struct Row { const char* label; String path; bool readable; } rows[] = {
      {"empty", u"", false},
      {"network path, never touched", u"\\\\no-such-server\\share\\x.txt", true},
      {"existing folder's file", temp_dir + u"any-file.txt", true},
      {"drive root", temp_dir.substr(0, 3), true},
      {"missing folder", temp_dir + u"no-such-folder-7f3a\\x.txt", false},
      {"drive that does not exist", u"Q:\\x.txt", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(DiskinDrive(r.path), r.readable);
  }
  EXPECT_EQ(CurrentErrorMode(), mode_before) << "error mode restored";
}

LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

TEST(SysInfoWin, TaskbarFromTrayWindow) {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  HWND own = nullptr;
  if (!tray) {  // no shell: stand in for its taskbar
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&wc);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    own = CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, screen_height - 40, 800, 40, nullptr, nullptr,
                          wc.hInstance, nullptr);
    ASSERT_NE(own, nullptr);
    tray = own;
  }
  RECT r;
  ASSERT_TRUE(GetWindowRect(tray, &r));
  EXPECT_EQ(GetTaskbarHeight(), GetSystemMetrics(SM_CYSCREEN) - r.top);
  EXPECT_EQ(GetTaskbarWidth(), r.right - r.left);
  if (own) {
    EXPECT_EQ(GetTaskbarHeight(), 40);
    EXPECT_EQ(GetTaskbarWidth(), 800);
    DestroyWindow(own);
    EXPECT_EQ(GetTaskbarHeight(), -1);
    EXPECT_EQ(GetTaskbarWidth(), -1);
  }
}

}  // namespace
}  // namespace Kv_tools

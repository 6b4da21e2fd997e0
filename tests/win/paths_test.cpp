// against the platform: the program's and the system's folders, Win.ini
// [Extensions], the shell's display names and the expansion of short names.
#include "kv_tools/paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "rtl/file_system.h"
#include "tests/core/temp_folder.h"

namespace Kv_tools {
namespace {

using rtl::FromW;
using rtl::ToUtf8;
using rtl::W;
using wtarn_test::TempFolder;

TEST(PathsWin, ProgramAndSystemFolders) {
  wchar_t buf[MAX_PATH + 1];
  DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH + 1);
  String exe = FromW(buf, n);
  EXPECT_EQ(AppPath(), exe.substr(0, exe.rfind(u'\\') + 1));  // the host, not the package DLL

  UINT w = GetWindowsDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(GetWindowsPath(), FromW(buf, w));
  EXPECT_NE(GetWindowsPath().back(), u'\\');
  UINT s = GetSystemDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(GetSystemPath(), FromW(buf, s));
}

// A key of our own in [Extensions] of the Windows folder's Win.ini, removed afterwards.
TEST(PathsWin, ProgPathFromWinIni) {
  String win_ini = chkPath(GetWindowsPath()) + u"Win.ini";
  ASSERT_TRUE(WritePrivateProfileStringW(L"Extensions", L"wtarnh4a", L"notepad.exe ^.wtarnh4a", W(win_ini)));
  ASSERT_TRUE(WritePrivateProfileStringW(L"Extensions", L"wtarnh4b", L"write.exe", W(win_ini)));
  String one = GetProgPath(u"wtarnh4a");
  String two = GetProgPath(u"WTARNH4B");
  WritePrivateProfileStringW(L"Extensions", L"wtarnh4a", nullptr, W(win_ini));
  WritePrivateProfileStringW(L"Extensions", L"wtarnh4b", nullptr, W(win_ini));
  EXPECT_EQ(one, u"notepad.exe");
  EXPECT_EQ(two, u"write.exe");
  EXPECT_EQ(GetProgPath(u"wtarnh4a"), u"");
  EXPECT_EQ(GetProgPath(u""), u"");
}

TEST(PathsWin, LongFileName) {
  TempFolder tmp;
  String dir = tmp / u"Long Folder Name h4a";
  ASSERT_TRUE(rtl::CreateDir(dir));
  EXPECT_EQ(kv_GetLongFileName(dir), u"Long Folder Name h4a");
  EXPECT_EQ(kv_GetLongFileName(tmp / u"no such item"), u"");
}

TEST(PathsWin, ExpandedFilenameOfShortNames) {
  TempFolder tmp;
  // The folder of the temporary folder in its long form, so that only our names are short.
  wchar_t buf[MAX_PATH];
  DWORD n = GetLongPathNameW(W(tmp.Path()), buf, MAX_PATH);
  ASSERT_GT(n, 0u);
  String base = FromW(buf, n);
  String dir = base + u"\\Long Folder Name h4a";
  String file = dir + u"\\Long File Name.wtarnx";
  ASSERT_TRUE(rtl::CreateDir(dir));
  ASSERT_TRUE(tmp.Write(file, "x"));
  n = GetShortPathNameW(W(file), buf, MAX_PATH);
  ASSERT_GT(n, 0u);
  String short_name = FromW(buf, n);
  if (short_name.find(u'~') == String::npos) GTEST_SKIP() << "no short names here: " << ToUtf8(short_name);
  EXPECT_EQ(kv_GetExpandedFilename(short_name), file) << ToUtf8(short_name);
  EXPECT_EQ(kv_GetExpandedFilename(base + u"\\\\x~1"), base + u"\\\\x~1");
  EXPECT_EQ(kv_GetExpandedFilename(file + u"\\"), file);
}

}  // namespace
}  // namespace Kv_tools

// special folders, temporary files and data directories: the pure decisions row by
// row, and the temporary places and write probes against a temporary ProgDataPath and
// AppIniName. identifiers with them.
#include "kv_tools/folders.h"

#include <gtest/gtest.h>

#include <set>

#include "kv_tools/globals.h"
#include "kv_tools/identifiers.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "tests/core/temp_folder.h"

namespace Kv_tools {
namespace {

using rtl::ToUtf8;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;

bool IsUpperHex(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); }

TEST(Folders, DiskModeFromDriveType) {
  struct Row { unsigned type; const char16_t* want; } rows[] = {
      {0, u"Fixed"},  // unknown
      {1, u"Fixed"},  // no root
      {2, u"Mobile"}, // removable
      {3, u"Fixed"},  // fixed
      {4, u"Fixed"},  // network
      {5, u"Fixed"},  // CD-ROM
      {6, u"Fixed"},  // RAM disk
      {7, u"Fixed"},
  };
  for (const Row& r : rows) EXPECT_EQ(DiskModeFromDriveType(r.type), r.want) << r.type;
}

TEST(Folders, DriveRootOf) {
  EXPECT_EQ(DriveRootOf(u"F:\\Tools\\"), u"f:\\");
  EXPECT_EQ(DriveRootOf(u"c:\\"), u"c:\\");
  EXPECT_EQ(DriveRootOf(u"\\\\srv\\s\\"), u"\\:\\");
  EXPECT_EQ(DriveRootOf(u""), u":\\");
}

TEST(Folders, ProfilesFolderFrom) {
  struct Row { const char16_t *value, *windows, *want; } rows[] = {
      {u"%SystemDrive%\\Users", u"D:\\Windows", u"D:\\Users"},
      {u"%SYSTEMDRIVE%\\Users", u"D:\\Windows", u"%SYSTEMDRIVE%\\Users"},  // exact case only
      {u"%SystemDrive%\\a;%SystemDrive%\\b", u"C:\\W", u"C:\\a;C:\\b"},
      {u"E:\\Profiles", u"C:\\Windows", u"E:\\Profiles"},
      {u"", u"C:\\Windows", u"C:\\Windows\\Profiles"},
      {u"", u"C:\\Windows\\", u"C:\\Windows\\Profiles"},
      {u"", u"", u"Profiles"},
  };
  for (const Row& r : rows) EXPECT_EQ(ProfilesFolderFrom(r.value, r.windows), r.want) << ToUtf8(r.value);
}

TEST(Folders, InitialFolderTextAndProbeNames) {
  struct Row { const char16_t *in, *want; } init[] = {
      {u"C:\\Data\\", u"C:\\Data"}, {u"C:\\", u"C:\\"}, {u"", u""}, {u"C:", u"C:"},
      {u"C:\\a", u"C:\\a"},         {u"ab\\", u"ab\\"}, {u"abc\\", u"abc"}, {u"C:\\a\\\\", u"C:\\a\\"},
  };
  for (const Row& r : init) EXPECT_EQ(InitialFolderText(r.in), r.want) << ToUtf8(r.in);
  struct Row2 { const char16_t *in, *want; } probes[] = {
      {u"E:\\Data\\x", u"E:\\jjhhuu.ini"},
      {u"\\\\srv\\share", u"\\\\jjhhuu.ini"},
      {u"E:", u"E:\\jjhhuu.ini"},
      {u"E", u"E\\jjhhuu.ini"},
      {u"", u"jjhhuu.ini"},
  };
  for (const Row2& r : probes) EXPECT_EQ(DriveProbeName(r.in), r.want) << ToUtf8(r.in);
}

TEST(Folders, SpecialFolderSource) {
  SetSpecialFolderSource([](int csidl) -> std::optional<String> {
    if (csidl == kCsidlAppData) return String(u"Q:\\appdata");
    if (csidl == 12345) return String();
    return std::nullopt;
  });
  EXPECT_EQ(GetSpecialFolder(kCsidlAppData), u"Q:\\appdata");
  EXPECT_EQ(GetSpecialFolder(12345), u"");
  String platform_docs = GetSpecialFolder(kCsidlPersonal);
  SetSpecialFolderSource(nullptr);
  EXPECT_EQ(GetSpecialFolder(kCsidlPersonal), platform_docs);
  EXPECT_NE(GetSpecialFolder(kCsidlAppData), u"Q:\\appdata");
  EXPECT_EQ(GetSpecialFolder(0x7F7F), u"");  // a number the platform does not know
}

TEST(Folders, TmpDir) {
  String t = GetTmpDir();
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t.back(), u'\\');
  EXPECT_TRUE(rtl::DirectoryExists(t));
}

class ProgDataFolders : public ::testing::Test {
 protected:
  TempFolder tmp_{u"pd"};
  ScopedGlobal prog_data_{ProgDataPath, tmp_.Path() + u"\\data\\"};
};

TEST_F(ProgDataFolders, ModusTmpDir) {
  String d = GetModusTmpDir(true);
  EXPECT_EQ(d, tmp_ / u"data\\Temp");  // created with its parent, no trailing backslash
  EXPECT_TRUE(rtl::DirectoryExists(d));
  EXPECT_EQ(GetModusTmpDir(true), d);
  EXPECT_EQ(GetModusTmpDir(false), GetTmpDir());
  ProgDataPath = tmp_.Path();  // without trailing backslash: chkPath supplies it
  EXPECT_EQ(GetModusTmpDir(true), tmp_ / u"Temp");
}

TEST_F(ProgDataFolders, ModusTmpFile) {
  String f = GetModusTmpFile(true, u"abcdef");
  ASSERT_FALSE(f.empty());
  EXPECT_EQ(rtl::ExtractFilePath(f), tmp_ / u"data\\Temp\\");
  EXPECT_EQ(rtl::ExtractFileName(f).substr(0, 3), u"abc");  // three characters of the prefix
  EXPECT_TRUE(rtl::FileExists(f));
  EXPECT_EQ(TempFolder::Read(f), "");
  String g = GetModusTmpFile(true, u"abcdef");
  EXPECT_NE(f, g);
  String s = GetModusTmpFile(false, u"wt");
  ASSERT_FALSE(s.empty());
  EXPECT_EQ(rtl::ExtractFilePath(s), GetTmpDir());
  EXPECT_TRUE(rtl::FileExists(s));
  rtl::RemoveFile(s);
  String m = GetmyTmpFile(u"wt");
  EXPECT_EQ(rtl::ExtractFilePath(m), GetTmpDir());
  rtl::RemoveFile(m);
}

TEST_F(ProgDataFolders, FallBackToTheSystemsTemporaryFolder) {
  ASSERT_TRUE(tmp_.Write(tmp_ / u"blocked", ""));
  const String places[] = {tmp_ / u"blocked",  // a file where the folder should go
                           u"\\\\wtarn-nosuchserver\\share\\data"};  // unreachable
  for (const String& place : places) {
    SCOPED_TRACE(ToUtf8(place));
    ProgDataPath = place;
    EXPECT_EQ(GetModusTmpDir(true), GetTmpDir());
    String f = GetModusTmpFile(true, u"wt");
    EXPECT_EQ(rtl::ExtractFilePath(f), GetTmpDir());
    rtl::RemoveFile(f);
    EXPECT_EQ(GetModusTmpNewDir(true), GetTmpDir());
  }
}

TEST_F(ProgDataFolders, ModusTmpNewDir) {
  String a = GetModusTmpNewDir(true), b = GetModusTmpNewDir(true);
  EXPECT_NE(a, b);
  EXPECT_TRUE(rtl::DirectoryExists(a));
  EXPECT_TRUE(rtl::DirectoryExists(b));
  String prefix = tmp_ / u"data\\Temp-";
  ASSERT_EQ(a.size(), prefix.size() + 8);
  EXPECT_EQ(a.substr(0, prefix.size()), prefix);
  for (char16_t c : a.substr(prefix.size())) EXPECT_TRUE(IsUpperHex(c)) << ToUtf8(a);
  String s = GetModusTmpNewDir(false);
  EXPECT_EQ(rtl::ExtractFilePath(s), GetTmpDir());  // chkPath(T) + G, no "Temp-"
  EXPECT_EQ(rtl::ExtractFileName(s).size(), 8u);
  EXPECT_TRUE(rtl::DirectoryExists(s));
  rtl::RemoveDir(s);
}

TEST(WriteProbes, CanWriteAppIni) {
  TempFolder tmp(u"probe");
  ScopedGlobal ini(AppIniName, tmp / u"prog.INI");
  EXPECT_TRUE(CanWriteAppIni());
  EXPECT_FALSE(rtl::FileExists(tmp / u"IniTest"));  // the probe is gone again
  EXPECT_FALSE(rtl::FileExists(tmp / u"prog.INI"));
  AppIniName = tmp / u"missing\\prog.INI";
  EXPECT_FALSE(CanWriteAppIni());
  EXPECT_FALSE(CanWriteAFile(u"\\\\srv\\share"));
  EXPECT_FALSE(CanWriteAFile(u"Q:\\no\\drive"));
}

TEST(FileByListing, KvFileExists) {
  TempFolder tmp(u"fe");
  ASSERT_TRUE(tmp.Write(tmp / u"a.sys", ""));
  ASSERT_TRUE(rtl::CreateDir(tmp / u"dir.d"));
  EXPECT_TRUE(kv_FileExists(tmp / u"a.sys"));
  EXPECT_FALSE(kv_FileExists(tmp / u"dir.d"));
  EXPECT_FALSE(kv_FileExists(tmp / u"none"));
  EXPECT_TRUE(kv_FileExists(tmp / u"*.sys"));
  EXPECT_FALSE(kv_FileExists(tmp / u"*.d"));   // the first match is a folder
  EXPECT_FALSE(kv_FileExists(tmp / u"*.none"));
}

TEST(Identifiers, CreateStrIDAndFileID) {
  std::set<String> seen;
  for (int i = 0; i < 200; ++i) {
    String id = CreateStrID();
    ASSERT_EQ(id.size(), 38u) << ToUtf8(id);
    EXPECT_EQ(id.front(), u'{');
    EXPECT_EQ(id.back(), u'}');
    for (size_t k = 1; k < 37; ++k) {
      if (k == 9 || k == 14 || k == 19 || k == 24) EXPECT_EQ(id[k], u'-') << ToUtf8(id);
      else EXPECT_TRUE(IsUpperHex(id[k])) << ToUtf8(id);
    }
    EXPECT_TRUE(seen.insert(id).second) << "repeated " << ToUtf8(id);
  }
  String f = CreateFileID();
  ASSERT_EQ(f.size(), 46u);
  EXPECT_EQ(f.substr(38), u".mailmsg");
  EXPECT_EQ(kv_GetValidFilename(f), f);
  EXPECT_NE(CreateFileID(), f);
}

TEST(Identifiers, GuidText) {
  unsigned char zero[16] = {};
  EXPECT_EQ(GuidText(zero), u"{00000000-0000-0000-0000-000000000000}");
  // {3F2504E0-4F89-11D3-9A0C-0305E82C3301} in memory order.
  unsigned char b[16] = {0xE0, 0x04, 0x25, 0x3F, 0x89, 0x4F, 0xD3, 0x11,
                         0x9A, 0x0C, 0x03, 0x05, 0xE8, 0x2C, 0x33, 0x01};
  EXPECT_EQ(GuidText(b), u"{3F2504E0-4F89-11D3-9A0C-0305E82C3301}");
}

}  // namespace
}  // namespace Kv_tools

// paths and file names: the text rules and the pure decisions, row by row; the
// runtime's file-name helpers and integer texts they rest on.
#include "kv_tools/paths.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "kv_tools/globals.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/int_text.h"
#include "tests/core/temp_folder.h"

namespace Kv_tools {
namespace {

using rtl::ToUtf8;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;

TEST(Paths, ChkPathAndRemoveSlash) {
  struct Row { const char16_t *in, *chk, *removed; } rows[] = {
      {u"", u"", u""},
      {u"C:", u"C:\\", u"C:"},
      {u"C:\\", u"C:\\", u"C:"},
      {u"C:\\a/", u"C:\\a/\\", u"C:\\a/"},
      {u"C:\\a\\\\", u"C:\\a\\\\", u"C:\\a\\"},
      {u"\\", u"\\", u""},
      {u"a", u"a\\", u"a"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.in));
    EXPECT_EQ(chkPath(r.in), r.chk);
    EXPECT_EQ(RemoveSlash(r.in), r.removed);
  }
}

TEST(Paths, PrevDir) {
  struct Row { const char16_t *in, *want; } rows[] = {
      {u"C:\\a\\b", u"C:\\a"}, {u"C:\\a\\b\\", u"C:\\a"}, {u"C:\\a", u"C:"},  {u"C:\\", u""},
      {u"abc", u""},           {u"", u""},                {u"\\", u""},       {u"\\\\", u""},
      {u"\\\\srv\\s", u"\\\\srv"}, {u"a/b\\c/d", u"a/b"}, {u"C:\\ä\\x", u"C:\\ä"},
  };
  for (const Row& r : rows) EXPECT_EQ(prevDir(r.in), r.want) << ToUtf8(r.in);

  // A character the ANSI code page lacks comes back as its replacement character.
  EXPECT_EQ(prevDir(u"C:\\\u0416\\x"), u"C:\\?");

  // A 300-character path is looked at in its first 255 characters only.
  String long_path = u"C:\\" + String(250, u'a') + u"\\b\\" + String(40, u'c');  // "\" at 254 and 256
  EXPECT_EQ(prevDir(long_path), u"C:\\" + String(250, u'a'));
  String cut = u"C:\\" + String(251, u'a') + u"\\" + String(45, u'c');  // "\" at 255 = last kept
  EXPECT_EQ(prevDir(cut), u"C:");
}

TEST(Paths, ExpandShortNames) {
  std::vector<String> asked;
  auto shell = [&asked](const String& c) -> String {
    asked.push_back(c);
    if (c == u"C:\\PROGRA~1") return u"Program Files";
    if (c == u"C:\\PROGRA~1\\COMMON~1") return u"Common Files";
    if (c == u"C:\\PROGRA~1\\COMMON~1\\x.txt") return u"x";  // extension hidden by the shell
    return String();
  };
  struct Row { const char16_t *in, *want; } rows[] = {
      {u"C:\\PROGRA~1\\COMMON~1\\x.txt", u"C:\\Program Files\\Common Files\\x"},
      {u"C:\\dir\\", u"C:\\dir"},
      {u"\\dir\\x", u"dir\\x"},
      {u"C:\\a\\\\b~1", u"C:\\a\\\\b~1"},   // a doubled backslash anywhere: unchanged
      {u"\\\\srv\\PROGRA~1", u"\\\\srv\\PROGRA~1"},
      {u"C:\\NOSUCH~1\\y", u"C:\\NOSUCH~1\\y"},  // the shell knows no such item: kept
      {u"NOSUCH~1", u"NOSUCH~1"},
      {u"", u""},
      {u"C:\\PROGRA~1\\", u"C:\\Program Files"},
  };
  for (const Row& r : rows) EXPECT_EQ(ExpandShortNames(r.in, shell), r.want) << ToUtf8(r.in);

  // Once a "~" has appeared every later component goes through the shell, with the short
  // path so far; components before it never do.
  asked.clear();
  ExpandShortNames(u"C:\\a\\PROGRA~1\\b\\c", shell);
  EXPECT_EQ(asked, (std::vector<String>{u"C:\\a\\PROGRA~1", u"C:\\a\\PROGRA~1\\b", u"C:\\a\\PROGRA~1\\b\\c"}));
}

TEST(Paths, RelocateRows) {
  std::set<String> dirs = {u"E:\\x\\", u"E:\\x", u"E:\\dir"};
  std::set<String> files = {u"E:\\x\\a.txt"};
  std::vector<String> asked;
  PathTest dir_exists = [&](const String& s) { asked.push_back(u"D " + s); return dirs.count(s) > 0; };
  PathTest file_exists = [&](const String& s) { asked.push_back(u"F " + s); return files.count(s) > 0; };
  using R = Relocation;
  struct Row { R kind; const char16_t *mode, *in, *want; } rows[] = {
      // Fixed mode (or anything but exactly "Mobile"): unchanged, network paths too.
      {R::File, u"Fixed", u"E:\\Data\\a.txt", u"E:\\Data\\a.txt"},
      {R::StrictPath, u"Fixed", u"\\\\srv\\docs", u"\\\\srv\\docs"},
      {R::StrictFile, u"mobile", u"E:\\Data\\a.txt", u"E:\\Data\\a.txt"},
      {R::StrictPath, u"", u"", u""},
      // Network paths go to "usbnet=" in the root of the program drive.
      {R::File, u"Mobile", u"\\\\srv\\docs\\a.txt", u"F:\\usbnet=srv\\docs\\a.txt"},
      {R::Path, u"Mobile", u"\\\\srv", u"F:\\usbnet=srv"},
      {R::StrictFile, u"Mobile", u"\\\\", u"F:\\usbnet="},
      // The drive is exchanged: the first two characters, whatever they are.
      {R::File, u"Mobile", u"E:\\Data\\a.txt", u"F:\\Data\\a.txt"},
      {R::StrictFile, u"Mobile", u"E:\\x\\a.txt", u"F:\\x\\a.txt"},
      {R::File, u"Mobile", u"E:\\x\\a.txt", u"E:\\x\\a.txt"},   // folder and file exist
      {R::File, u"Mobile", u"E:\\x\\b.txt", u"F:\\x\\b.txt"},   // only the folder exists
      {R::Path, u"Mobile", u"E:\\dir", u"E:\\dir"},
      {R::Path, u"Mobile", u"E:\\other", u"F:\\other"},
      {R::StrictPath, u"Mobile", u"E:\\dir", u"F:\\dir"},
      {R::File, u"Mobile", u"ab", u"F:"},
      {R::File, u"Mobile", u"a", u"F:"},
      {R::File, u"Mobile", u"/x/y", u"F:/y"},
      // The empty argument: only GetStrictRelativPath answers the program drive.
      {R::File, u"Mobile", u"", u""},
      {R::StrictFile, u"Mobile", u"", u""},
      {R::Path, u"Mobile", u"", u""},
      {R::StrictPath, u"Mobile", u"", u"F:"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(String(r.mode) + u" " + r.in));
    EXPECT_EQ(RelocatePath(r.kind, r.in, r.mode, u"F:\\Tools\\", dir_exists, file_exists), r.want);
  }

  // The file test looks at the folder part first, and only in Mobile mode.
  asked.clear();
  RelocatePath(R::File, u"E:\\x\\a.txt", u"Mobile", u"F:\\T\\", dir_exists, file_exists);
  EXPECT_EQ(asked, (std::vector<String>{u"D E:\\x\\", u"F E:\\x\\a.txt"}));
  asked.clear();
  RelocatePath(R::File, u"E:\\x\\a.txt", u"Fixed", u"F:\\T\\", dir_exists, file_exists);
  RelocatePath(R::StrictFile, u"E:\\x\\a.txt", u"Mobile", u"F:\\T\\", dir_exists, file_exists);
  RelocatePath(R::File, u"\\\\s\\x", u"Mobile", u"F:\\T\\", dir_exists, file_exists);
  EXPECT_TRUE(asked.empty());

  // At most 2000 characters are taken from the third on.
  String long_path = u"E:" + String(2500, u'x');
  EXPECT_EQ(RelocatePath(R::StrictFile, long_path, u"Mobile", u"F:\\", dir_exists, file_exists),
            u"F:" + String(2000, u'x'));
}

TEST(Paths, RelocationReadsDiskMode) {
  ScopedGlobal mode(DiskMode, u"Fixed");
  for (auto fn : {GetRelativFile, GetStrictRelativFile, GetRelativPath, GetStrictRelativPath}) {
    EXPECT_EQ(fn(u"Q:\\nowhere\\a.txt"), u"Q:\\nowhere\\a.txt");
    EXPECT_EQ(fn(u"\\\\srv\\share\\a"), u"\\\\srv\\share\\a");
    EXPECT_EQ(fn(u""), u"");
  }
  DiskMode = u"Mobile";
  String drive = AppPath().substr(0, 2);
  EXPECT_EQ(GetStrictRelativPath(u""), drive);
  EXPECT_EQ(GetRelativFile(u""), u"");
  EXPECT_EQ(GetStrictRelativFile(u"Q:\\nowhere\\a.txt"), drive + u"\\nowhere\\a.txt");
  EXPECT_EQ(GetRelativPath(u"\\\\srv\\share"), drive.substr(0, 1) + u":\\usbnet=srv\\share");
}

TEST(Paths, RelocationAgainstTheFileSystem) {
  TempFolder tmp;
  String file = tmp / u"a.txt";
  ASSERT_TRUE(tmp.Write(file, "x"));
  ScopedGlobal mode(DiskMode, u"Mobile");
  String drive = AppPath().substr(0, 2);
  auto moved = [&](const String& s) { return drive + s.substr(2); };
  EXPECT_EQ(GetRelativFile(file), file);                          // folder and file exist
  EXPECT_EQ(GetRelativFile(tmp / u"b.txt"), moved(tmp / u"b.txt"));  // only the folder exists
  EXPECT_EQ(GetRelativPath(tmp.Path()), tmp.Path());
  EXPECT_EQ(GetRelativPath(tmp / u"sub"), moved(tmp / u"sub"));
  EXPECT_EQ(GetStrictRelativFile(file), moved(file));
  EXPECT_EQ(GetStrictRelativPath(tmp.Path()), moved(tmp.Path()));
}

TEST(Paths, ValidDataDir) {
  struct Row { const char16_t *dir, *want; } rows[] = {
      {u"C:\\Program Files (x86)\\Tool", u"ALT"},
      {u"c:\\programme\\x", u"ALT"},
      {u"X;C:\\PROGRAMME", u"ALT"},
      {u"D:\\Program Files\\x", u"D:\\Program Files\\x"},
      {u"C:\\Programs\\x", u"C:\\Programs\\x"},
      {u"C:/Program Files/x", u"C:/Program Files/x"},
      {u"C:\\ProgramFiles", u"C:\\ProgramFiles"},
      {u"", u""},
  };
  for (const Row& r : rows) EXPECT_EQ(GetValidDataDir(r.dir, u"ALT"), r.want) << ToUtf8(r.dir);
}

TEST(Paths, ValidDirName) {
  struct Row { String in, want; } rows[] = {
      {u"C:\\a:b\\\\c?", u"C:\\a_b\\_c_"},
      {u"\\\\srv\\x", u"\\\\srv\\x"},
      {u"\\\\\\x", u"\\\\_x"},
      {u":C", u"_C"},
      {u"C:x:", u"C:x_"},
      {u"a\\\\\\b", u"a\\_\\b"},
      {u"a\"*/<>?|b", u"a_______b"},
      {String(u"a\x01\x1F b", 5), u"a__ b"},
      {String(u"a\0b", 3), String(u"a\0b", 3)},
      {u"ä\u0416'.txt", u"ä\u0416'.txt"},
      {u"", u""},
  };
  for (const Row& r : rows) EXPECT_EQ(kv_GetValidDirName(r.in), r.want) << ToUtf8(r.in);
}

TEST(Paths, ValidFilename) {
  struct Row { String in, want; } rows[] = {
      {u"a:b/c.txt", u"a_b_c.txt"},
      {u"it's.txt", u"it_s.txt"},
      {u"\"q\"", u"_q_"},
      {u"a*b?c<d>e|f\\g", u"a_b_c_d_e_f_g"},
      {String(u"\x01\x1F\x20", 3), u"__ "},
      {String(u"a\0b", 3), String(u"a\0b", 3)},
      {u"\u0416\u00FF\u2019", u"\u0416\u00FF\u2019"},
      {u"{3F2504E0-4F89-11D3-9A0C-0305E82C3301}", u"{3F2504E0-4F89-11D3-9A0C-0305E82C3301}"},
  };
  for (const Row& r : rows) EXPECT_EQ(kv_GetValidFilename(r.in), r.want) << ToUtf8(r.in);
}

TEST(Paths, NotExistingFilenameRows) {
  std::set<String> taken;
  PathTest exists = [&](const String& s) { return taken.count(s) > 0; };
  struct Row { const char16_t *name, *start; std::set<String> taken; const char16_t* want; } rows[] = {
      {u"C:\\d\\report.txt", u"1", {}, u"C:\\d\\report1.txt"},
      {u"C:\\d\\report.txt", u"1", {u"C:\\d\\report1.txt"}, u"C:\\d\\report2.txt"},
      {u"C:\\d\\report5.txt", u"1", {}, u"C:\\d\\report1.txt"},
      {u"C:\\d\\report17.txt", u"1", {u"C:\\d\\report1.txt", u"C:\\d\\report2.txt"}, u"C:\\d\\report3.txt"},
      {u"C:\\d\\log", u"1", {}, u"C:\\d\\log1"},
      {u"C:\\d\\123.txt", u"1", {}, u"C:\\d\\1.txt"},
      {u"C:\\d.v\\log", u"1", {}, u"C:\\d.v\\log1"},
      {u"C:\\d\\a.b.c", u"1", {}, u"C:\\d\\a.b1.c"},
      // The empty start: the name itself when free, else numbering from 1.
      {u"C:\\d\\report.txt", u"", {}, u"C:\\d\\report.txt"},
      {u"C:\\d\\report.txt", u"", {u"C:\\d\\report.txt"}, u"C:\\d\\report1.txt"},
      {u"C:\\d\\report9.txt", u"", {u"C:\\d\\report9.txt", u"C:\\d\\report1.txt"}, u"C:\\d\\report2.txt"},
      // Another start; a start that is not the plain decimal form tries that form next.
      {u"C:\\d\\r.txt", u"7", {}, u"C:\\d\\r7.txt"},
      {u"C:\\d\\r.txt", u"7", {u"C:\\d\\r7.txt"}, u"C:\\d\\r8.txt"},
      {u"C:\\d\\r.txt", u"01", {u"C:\\d\\r01.txt"}, u"C:\\d\\r1.txt"},
      {u"C:\\d\\r.txt", u"$A", {u"C:\\d\\r$A.txt"}, u"C:\\d\\r10.txt"},
      {u"C:\\d\\r.txt", u"abc", {}, u"C:\\d\\rabc.txt"},  // free: no conversion needed
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(String(r.name) + u" / " + r.start));
    taken = r.taken;
    EXPECT_EQ(NotExistingFilename(r.name, r.start, exists), r.want);
  }
  taken = {u"C:\\d\\rabc.txt"};
  EXPECT_THROW(NotExistingFilename(u"C:\\d\\r.txt", u"abc", exists), rtl::EConvertError);
  taken = {u"C:\\d\\r 1 .txt"};
  EXPECT_THROW(NotExistingFilename(u"C:\\d\\r.txt", u" 1 ", exists), rtl::EConvertError);
}

TEST(Paths, NotExistingDirNameRows) {
  std::set<String> dirs;
  PathTest exists = [&](const String& s) { return dirs.count(s) > 0; };
  EXPECT_EQ(NotExistingDirName(u"C:\\x", exists), u"C:\\x");
  dirs = {u"C:\\x", u"C:\\x1", u"C:\\x2"};
  EXPECT_EQ(NotExistingDirName(u"C:\\x", exists), u"C:\\x3");
  dirs = {u"C:\\x\\"};
  EXPECT_EQ(NotExistingDirName(u"C:\\x\\", exists), u"C:\\x\\1");
  dirs = {u"C:\\v9"};
  EXPECT_EQ(NotExistingDirName(u"C:\\v9", exists), u"C:\\v91");
}

TEST(Paths, NumberedSearchesEndWhateverThePlatformSays) {
  long long asked = 0;
  PathTest taken = [&](const String&) { return ++asked > 0; };
  EXPECT_EQ(NotExistingFilename(u"C:\\d\\r.txt", u"1", taken), u"");
  EXPECT_EQ(NotExistingFilename(u"C:\\d\\r.txt", u"2147483647", taken), u"");
  EXPECT_EQ(NotExistingDirName(u"C:\\x", taken), u"");
  EXPECT_EQ(asked, 3 * (1 + kNumberedNameTries));
  PathTest all_but_the_last = [](const String& s) { return s != u"C:\\x100000"; };
  EXPECT_EQ(NotExistingDirName(u"C:\\x", all_but_the_last), u"C:\\x100000");
}

// An unreachable network folder (Wine's attribute query fails with error 66 there) is no
// folder: the searches take the first name, and nothing can be made there.
TEST(Paths, UnreachableNetworkFolder) {
  const String share = u"\\\\wtarn-nosuchserver\\share\\x";
  EXPECT_FALSE(rtl::DirectoryExists(share));
  EXPECT_FALSE(rtl::FileExists(share));
  EXPECT_EQ(GetNotExistingDirName(share), share);
  EXPECT_EQ(GetNotExistingFilename(share + u"\\r.txt"), share + u"\\r1.txt");
  EXPECT_FALSE(rtl::ForceDirectories(share + u"\\y"));
}

TEST(Paths, NotExistingNamesOnDisk) {
  TempFolder tmp;
  ASSERT_TRUE(rtl::CreateDir(tmp / u"x"));
  ASSERT_TRUE(tmp.Write(tmp / u"x1", ""));  // a file does not count for folders
  EXPECT_EQ(GetNotExistingDirName(tmp / u"x"), tmp / u"x1");
  EXPECT_EQ(GetNotExistingDirName(tmp / u"y"), tmp / u"y");

  ASSERT_TRUE(tmp.Write(tmp / u"r1.txt", ""));
  ASSERT_TRUE(rtl::CreateDir(tmp / u"r2.txt"));  // a folder does not count for files
  EXPECT_EQ(GetNotExistingFilename(tmp / u"r.txt"), tmp / u"r2.txt");
  EXPECT_EQ(GetNotExistingFilename(tmp / u"r.txt", u""), tmp / u"r.txt");
  EXPECT_EQ(GetNotExistingFilename(tmp / u"r1.txt", u""), tmp / u"r2.txt");
  ASSERT_TRUE(tmp.Write(tmp / u"rz.txt", ""));
  EXPECT_THROW(GetNotExistingFilename(tmp / u"r.txt", u"z"), rtl::EConvertError);

  // A NUL ends a name for the platform: such a name names nothing, so the numbering stops
  // at once instead of asking for the same existing name for ever.
  const String nul(1, u'\0');
  EXPECT_FALSE(rtl::FileExists(tmp / u"r1.txt" + nul));
  EXPECT_FALSE(rtl::DirectoryExists(tmp.Path() + nul + u"x"));
  EXPECT_EQ(GetNotExistingDirName(tmp.Path() + nul), tmp.Path() + nul);
  EXPECT_EQ(GetNotExistingFilename(tmp / u"r1.txt" + nul + u"1", u""), tmp / u"r1.txt" + nul + u"1");
}

TEST(Paths, ProgFromExtensionValue) {
  EXPECT_EQ(ProgFromExtensionValue(u"notepad.exe ^.txt"), u"notepad.exe");
  EXPECT_EQ(ProgFromExtensionValue(u"write.exe"), u"write.exe");
  EXPECT_EQ(ProgFromExtensionValue(u""), u"");
  EXPECT_EQ(ProgFromExtensionValue(u" x"), u"");
}

TEST(Paths, AppPathEndsInTheProgramsFolder) {
  String app = AppPath();
  ASSERT_GE(app.size(), 3u);
  EXPECT_EQ(app.back(), u'\\');
  EXPECT_EQ(app[1], u':');
  EXPECT_EQ(app + rtl::ExtractFileName(rtl::ProgramFileName()), rtl::ProgramFileName());
}

// --- The runtime's helpers -------------------------------------------------------------

TEST(RuntimeFileNames, ExtractAndChange) {
  struct Row { const char16_t *name, *path, *dir, *file, *ext, *ini; } rows[] = {
      {u"C:\\a\\b.txt", u"C:\\a\\", u"C:\\a", u"b.txt", u".txt", u"C:\\a\\b.INI"},
      {u"C:\\b", u"C:\\", u"C:\\", u"b", u"", u"C:\\b.INI"},
      {u"C:x", u"C:", u"C:", u"x", u"", u"C:x.INI"},
      {u"C:\\a.d\\b", u"C:\\a.d\\", u"C:\\a.d", u"b", u"", u"C:\\a.d\\b.INI"},
      {u"x.tar.gz", u"", u"", u"x.tar.gz", u".gz", u"x.tar.INI"},
      {u"\\\\srv\\s\\f.x", u"\\\\srv\\s\\", u"\\\\srv\\s", u"f.x", u".x", u"\\\\srv\\s\\f.INI"},
      {u"C:\\a\\", u"C:\\a\\", u"C:\\a", u"", u"", u"C:\\a\\.INI"},
      {u"a/b.c", u"", u"", u"a/b.c", u".c", u"a/b.INI"},
      {u"", u"", u"", u"", u"", u".INI"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.name));
    EXPECT_EQ(rtl::ExtractFilePath(r.name), r.path);
    EXPECT_EQ(rtl::ExtractFileDir(r.name), r.dir);
    EXPECT_EQ(rtl::ExtractFileName(r.name), r.file);
    EXPECT_EQ(rtl::ExtractFileExt(r.name), r.ext);
    EXPECT_EQ(rtl::ChangeFileExt(r.name, u".INI"), r.ini);
  }
  EXPECT_EQ(rtl::IncludeTrailingPathDelimiter(u""), u"\\");
  EXPECT_EQ(rtl::ExcludeTrailingPathDelimiter(u"C:\\\\"), u"C:\\");
}

TEST(RuntimeFileNames, ForceDirectories) {
  TempFolder tmp;
  String deep = tmp / u"a\\b\\c";
  EXPECT_TRUE(rtl::ForceDirectories(deep + u"\\"));
  EXPECT_TRUE(rtl::DirectoryExists(deep));
  EXPECT_FALSE(rtl::FileExists(deep));
  EXPECT_TRUE(rtl::ForceDirectories(deep));  // already there
  EXPECT_FALSE(rtl::ForceDirectories(u""));
  ASSERT_TRUE(tmp.Write(tmp / u"f", ""));
  EXPECT_FALSE(rtl::ForceDirectories(tmp / u"f\\g"));  // a file in the way
  EXPECT_TRUE(rtl::FileExists(tmp / u"f"));
  EXPECT_FALSE(rtl::DirectoryExists(tmp / u"f"));
  EXPECT_TRUE(rtl::RemoveFile(tmp / u"f"));
  EXPECT_FALSE(rtl::RemoveFile(tmp / u"f"));
}

TEST(RuntimeFileNames, ExistenceAfterAFailedQuery) {
  // A "not found" answer asks no listing; any other answer is what the listing shows.
  struct Row { const char* label; uint32_t error; bool listed, asks, seen; } rows[] = {
      {"file not found", 2, true, false, false},
      {"path not found", 3, true, false, false},
      {"network path not found", 53, true, false, false},
      {"invalid name", 123, true, false, false},
      {"access denied, listed", 5, true, true, true},
      {"access denied, not listed", 5, false, true, false},
      {"in use, listed", 32, true, true, true},
      {"unreachable share", 66, false, true, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    bool asked = false;
    EXPECT_EQ(rtl::SeenAfterFailedQuery(r.error, [&] { return asked = true, r.listed; }), r.seen);
    EXPECT_EQ(asked, r.asks);
  }
}

TEST(RuntimeIntegers, TryStrToInt) {
  struct Row { const char16_t* s; bool ok; int v; } rows[] = {
      {u"0", true, 0},          {u"42", true, 42},         {u"-42", true, -42},
      {u"+7", true, 7},         {u"  12", true, 12},       {u"12 ", false, 0},
      {u"", false, 0},          {u" ", false, 0},          {u"-", false, 0},
      {u"0x1F", true, 31},      {u"0X1f", true, 31},       {u"$10", true, 16},
      {u"x10", true, 16},       {u"0x", false, 0},         {u"$", false, 0},
      {u"2147483647", true, 2147483647}, {u"2147483648", false, 0},
      {u"-2147483648", true, -2147483647 - 1}, {u"-2147483649", false, 0},
      {u"0xFFFFFFFF", true, -1}, {u"0x100000000", false, 0},
      {u"1e3", false, 0},       {u"abc", false, 0},        {u"01", true, 1},
      {u"1.5", false, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.s));
    int v = 12345;
    EXPECT_EQ(rtl::TryStrToInt(r.s, v), r.ok);
    EXPECT_EQ(v, r.ok ? r.v : 12345);
    EXPECT_EQ(rtl::StrToIntDef(r.s, -9), r.ok ? r.v : -9);
  }
  try {
    rtl::StrToInt(u"abc");
    ADD_FAILURE() << "no error";
  } catch (const rtl::EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'abc' is not a valid integer value");
  }
}

}  // namespace
}  // namespace Kv_tools

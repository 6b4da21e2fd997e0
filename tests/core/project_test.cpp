#include "tarnedata/project.h"

#include <gtest/gtest.h>

#include "tarnedata/globals.h"

namespace TarnEdata {
namespace {

// Sets Project for one test and removes it again.
struct ProjectScope {
  TProject project;
  explicit ProjectScope(const char16_t* path) {
    project.Path = path;
    Project = &project;
  }
  ~ProjectScope() { Project = nullptr; }
};

TEST(ProjectFiles, FileNameAgainstProjectFolder) {
  struct Row { const char16_t *path, *name, *expected, *path_after; } rows[] = {
      {u"C:\\P\\App", u"Unit1.pas", u"C:\\P\\App\\Unit1.pas", u"C:\\P\\App"},
      {u"C:\\P\\App\\", u"Unit1.pas", u"C:\\P\\App\\Unit1.pas", u"C:\\P\\App\\"},
      {u"C:\\P\\App\\", u"..\\Lib\\U.pas", u"C:\\P\\Lib\\U.pas", u"C:\\P\\App"},
      {u"C:\\P\\App", u"..\\..\\U.pas", u"C:\\U.pas", u"C:\\P\\App"},
      {u"C:\\P\\App", u"..\\..\\..\\U.pas", u"C:\\U.pas", u"C:\\P\\App"},
      {u"C:\\P\\App\\", u"Sub\\U.pas", u"C:\\P\\App\\Sub\\U.pas", u"C:\\P\\App"},
      {u"C:\\P\\App", u"Sub/U.pas", u"C:\\P\\App\\Sub/U.pas", u"C:\\P\\App"},
      {u"C:\\P\\App", u"D:\\X\\Y.pas", u"D:\\X\\Y.pas", u"C:\\P\\App"},
      {u"C:\\P\\App", u"\\\\srv\\s\\Y.pas", u"\\\\srv\\s\\Y.pas", u"C:\\P\\App"},
      {u"", u"Unit1.pas", u"Unit1.pas", u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(String(r.path) + u" + " + r.name));
    ProjectScope scope(r.path);
    EXPECT_EQ(GetFileName(r.name), r.expected);
    EXPECT_EQ(scope.project.Path, r.path_after);
  }
  EXPECT_EQ(GetFileName(u"..\\U.pas"), u"..\\U.pas") << "no project set";
}

TEST(ProjectFiles, PrevDirAndSpaceCount) {
  struct Dir { const char16_t *folder, *parent; } dirs[] = {
      {u"C:\\", u"C:\\"},       {u"C:\\A\\B\\", u"C:\\A\\"}, {u"C:\\A\\B", u"C:\\A\\"},
      {u"ABCDE", u"ABCDE"},     {u"\\ABC", u"\\"},         {u"AB\\", u"AB\\"},
      {u"ABCD\\", u"ABCD\\"},   {u"", u""},
  };
  for (const Dir& d : dirs) {
    SCOPED_TRACE(rtl::ToUtf8(d.folder));
    EXPECT_EQ(GetPrevDir(d.folder), d.parent);
  }
  struct Spaces { const char16_t* text; int count; } spaces[] = {
      {u"", 0}, {u"   x", 3}, {u"   ", 3}, {u"x  ", 0}, {u"\t x", 0}, {u" \u00A0x", 1},
  };
  for (const Spaces& s : spaces) {
    SCOPED_TRACE(rtl::ToUtf8(s.text));
    EXPECT_EQ(GetSpaceCount(s.text), s.count);
  }
}

TEST(ProjectFiles, PosChangesMatchTheWholeKey) {
  rtl::StringList info;
  info.Add(String(u"U10\x01") + u"ten");
  info.Add(String(u"U2\x01") + u"two");
  slPosInfo = &info;
  rtl::StringList lines;
  lines.Add(u"a");
  lines.Add(u"b");

  SetPosChanges(lines, u"U1");  // a prefix of U10: must not take its line
  ASSERT_EQ(info.Count(), 3);
  EXPECT_EQ(info[0], String(u"U10\x01") + u"ten");
  EXPECT_EQ(info[2], String(u"U1\x01") + u"a\x03" + u"b\x03");

  lines.Clear();
  lines.Add(u"c");
  SetPosChanges(lines, u"U2");
  EXPECT_EQ(info.Count(), 3);
  EXPECT_EQ(info[1], String(u"U2\x01") + u"c\x03");

  lines.Clear();
  SetPosChanges(lines, u"U1");
  EXPECT_EQ(info[2], String(u"U1\x01"));

  slPosInfo = nullptr;
  SetPosChanges(lines, u"U1");  // no list: nothing happens
}

TEST(ProjectRegistry, KeysAndStringValues) {
  const String key = u"Software\\WTarnTests\\ProjectRegistry";
  {
    rtl::Registry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(u"RootDir", u"C:\\Delphi");
    reg.WriteInteger(u"Count", 3);
  }
  EXPECT_TRUE(RegKeyExists(key, HKEY_CURRENT_USER));
  EXPECT_TRUE(RegKeyExists(u"\\" + key, HKEY_CURRENT_USER));
  EXPECT_FALSE(RegKeyExists(key + u"\\Missing", HKEY_CURRENT_USER));

  String value = u"kept";
  EXPECT_FALSE(RegReadStr(key + u"\\Missing", u"RootDir", value, HKEY_CURRENT_USER));
  EXPECT_EQ(value, u"kept");
  EXPECT_FALSE(RegReadStr(key, u"Count", value, HKEY_CURRENT_USER)) << "a value of another type";
  EXPECT_TRUE(RegReadStr(u"\\" + key, u"RootDir", value, HKEY_CURRENT_USER));
  EXPECT_EQ(value, u"C:\\Delphi");

  rtl::Registry cleanup;
  cleanup.SetRootKey(HKEY_CURRENT_USER);
  cleanup.DeleteKey(u"Software\\WTarnTests");
}

}  // namespace
}  // namespace TarnEdata

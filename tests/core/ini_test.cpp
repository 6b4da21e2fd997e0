// INI and registry helpers, and the INI and registry objects of rtl/ they use:
// value conventions, numbered lists, neighbour files, name=value entries, write errors.
// Runs natively (file stand-in, in-memory registry) and under Wine (the platform's).
#include "kv_tools/ini_registry.h"

#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "rtl/ini_file.h"
#include "rtl/registry.h"
#include "tests/core/temp_folder.h"

namespace Kv_tools {
namespace {

using rtl::ToUtf8;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;

std::vector<String> Entries(const StringList& l) {
  std::vector<String> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l[i]);
  return v;
}

StringList ListOf(std::initializer_list<const char16_t*> items) {
  StringList l;
  for (auto s : items) l.Add(s);
  return l;
}

// The program's settings file in a fresh temporary folder.
class IniHelpers : public ::testing::Test {
 protected:
  TempFolder tmp_{u"ini"};
  ScopedGlobal app_ini_{AppIniName, tmp_ / u"prog.INI"};
};

TEST_F(IniHelpers, ValueConventions) {
  ASSERT_TRUE(tmp_.Write(AppIniName,
                         "[S]\r\nhex=0x1F\r\ntwo=2\r\nabc=abc\r\nh10=0x10\r\nzero=0\r\nneg=-3\r\n"
                         "dollar=$10\r\nempty=\r\n0x=0x\r\nspaced=  7\r\n"));
  struct IntRow { const char16_t* key; int want; } ints[] = {
      {u"hex", 31}, {u"two", 2}, {u"abc", -1}, {u"h10", 16}, {u"zero", 0}, {u"neg", -3},
      {u"dollar", 16}, {u"empty", -1}, {u"0x", -1}, {u"missing", -1},
  };
  for (const IntRow& r : ints) EXPECT_EQ(GetIniInt(u"S", r.key, -1), r.want) << ToUtf8(r.key);
  struct BoolRow { const char16_t* key; bool def, want; } bools[] = {
      {u"two", false, true},  {u"abc", false, false}, {u"abc", true, true},  {u"h10", false, true},
      {u"zero", true, false}, {u"neg", false, true},  {u"missing", true, true},
      {u"missing", false, false}, {u"empty", true, true},
  };
  for (const BoolRow& r : bools) EXPECT_EQ(GetIniBool(u"S", r.key, r.def), r.want) << ToUtf8(r.key);
  EXPECT_EQ(GetIniStr(u"S", u"hex", u"d"), u"0x1F");
  EXPECT_EQ(GetIniStr(u"s", u"HEX", u"d"), u"0x1F");  // names ignore case
  EXPECT_EQ(GetIniStr(u"S", u"missing", u"d"), u"d");
  EXPECT_EQ(GetIniStr(u"Nosection", u"hex", u"d"), u"d");
}

TEST_F(IniHelpers, EmptySectionOrKey) {
  SaveIniStr(u"S", u"k", u"v");
  EXPECT_EQ(GetIniStr(u"S", u"", u"default"), u"");
  EXPECT_EQ(GetIniStr(u"", u"k", u"default"), u"");
  EXPECT_EQ(GetIniInt(u"S", u"", 42), 42);
  EXPECT_EQ(GetFileIniStr(u"", u"S", u"k", u"d"), u"");
  EXPECT_EQ(GetFileIniStr(u"prog.INI", u"", u"k", u"d"), u"");
  EXPECT_EQ(GetFileIniStr(u"prog.INI", u"S", u"", u"d"), u"");
  EXPECT_EQ(GetFileIniStr(u"prog.INI", u"S", u"k", u"d"), u"v");
  SaveFileIniStr(u"n.ini", u"", u"k", u"v");
  SaveFileIniStr(u"n.ini", u"S", u"", u"v");
  SaveFileIniStr(u"", u"S", u"k", u"v");
  EXPECT_FALSE(rtl::FileExists(tmp_ / u"n.ini"));
}

TEST_F(IniHelpers, WritesReachTheFileAtOnce) {
  SaveIniInt(u"Optionen", u"Count", -17);
  SaveIniBool(u"Optionen", u"On", true);
  SaveIniBool(u"Optionen", u"Off", false);
  SaveIniStr(u"Optionen", u"Name", u"Größe");
  rtl::MemIniFile mem(AppIniName);  // another reader sees the values now
  EXPECT_EQ(mem.ReadString(u"Optionen", u"Count", u""), u"-17");
  EXPECT_EQ(mem.ReadString(u"Optionen", u"On", u""), u"1");
  EXPECT_EQ(mem.ReadString(u"Optionen", u"Off", u""), u"0");
  EXPECT_EQ(mem.ReadString(u"Optionen", u"Name", u""), u"Größe");
  EXPECT_EQ(GetIniInt(u"Optionen", u"Count", 0), -17);
  EXPECT_TRUE(GetIniBool(u"Optionen", u"On", false));
  EXPECT_FALSE(GetIniBool(u"Optionen", u"Off", true));
  EXPECT_TRUE(GetIniFileIniBool(AppIniName, u"Optionen", u"On", false));
  EXPECT_EQ(GetIniFileIniStr(AppIniName, u"Optionen", u"Name", u""), u"Größe");
  EXPECT_EQ(GetIniFileIniStr(tmp_ / u"none.ini", u"Optionen", u"Name", u"dflt"), u"dflt");
  EXPECT_FALSE(GetIniFileIniBool(tmp_ / u"none.ini", u"Optionen", u"On", false));
  EXPECT_FALSE(rtl::FileExists(tmp_ / u"none.ini"));  // reading makes no file
}

TEST_F(IniHelpers, WriteErrorsReachTheCaller) {
  AppIniName = tmp_ / u"missing\\prog.INI";
  EXPECT_THROW(SaveIniStr(u"S", u"k", u"v"), rtl::EIniFileException);
  EXPECT_THROW(SaveIniInt(u"S", u"k", 1), rtl::EIniFileException);
  EXPECT_THROW(SaveIniBool(u"S", u"k", true), rtl::EIniFileException);
  EXPECT_THROW(SaveFileIniStr(u"n.ini", u"S", u"k", u"v"), rtl::EIniFileException);
  EXPECT_THROW(kv_SavePersist(ListOf({u"a"}), u"L"), rtl::EIniFileException);
  try {
    SaveIniStr(u"S", u"k", u"v");
  } catch (const rtl::EIniFileException& e) {
    EXPECT_EQ(e.Message(), u"Unable to write to " + AppIniName);
  }
  // Reads never fail.
  EXPECT_EQ(GetIniStr(u"S", u"k", u"d"), u"d");
  EXPECT_EQ(GetIniInt(u"S", u"k", 5), 5);
  EXPECT_TRUE(GetIniBool(u"S", u"k", true));
  StringList l = ListOf({u"old"});
  kv_LoadPersist(l, u"L");
  EXPECT_EQ(l.Count(), 0);
}

TEST_F(IniHelpers, PersistedLists) {
  StringList thirty;
  for (int i = 1; i <= 30; ++i) thirty.Add(String(u"v") + rtl::IntToStr(i));
  // An older Item27 must not survive: the section is erased first.
  rtl::IniFile(AppIniName).WriteString(u"L", u"Item27", u"old");
  rtl::IniFile(AppIniName).WriteString(u"L", u"Other", u"x");
  kv_SavePersist(thirty, u"L");
  EXPECT_EQ(GetIniStr(u"L", u"Item26", u""), u"v26");
  EXPECT_EQ(GetIniStr(u"L", u"Item27", u"none"), u"none");
  EXPECT_EQ(GetIniStr(u"L", u"Other", u"none"), u"none");
  StringList back;
  kv_LoadPersist(back, u"L");
  EXPECT_EQ(back.Count(), 26);
  EXPECT_EQ(back[25], u"v26");

  // An empty third entry: written as an empty value, read back as the end of the list.
  kv_SavePersist(ListOf({u"a", u"b", u"", u"d"}), u"L");
  EXPECT_EQ(GetIniStr(u"L", u"Item4", u""), u"d");
  EXPECT_EQ(GetIniStr(u"L", u"Item3", u"none"), u"");
  kv_LoadPersist(back, u"L");
  EXPECT_EQ(Entries(back), (std::vector<String>{u"a", u"b"}));

  // Reading has no upper bound of 26.
  for (int i = 1; i <= 30; ++i) rtl::IniFile(AppIniName).WriteString(u"M", String(u"Item") + rtl::IntToStr(i), u"x");
  kv_LoadPersist(back, u"M");
  EXPECT_EQ(back.Count(), 30);

  kv_SavePersist(StringList(), u"L");
  kv_LoadPersist(back, u"L");
  EXPECT_EQ(back.Count(), 0);
}

TEST_F(IniHelpers, NeighbourFilesLieBesideTheSettingsFile) {
  ASSERT_TRUE(tmp_.Write(tmp_ / u"other.ini", "[S]\r\nk=beside\r\n"));
  EXPECT_EQ(GetFileIniStr(u"other.ini", u"S", u"k", u"d"), u"beside");
  SaveFileIniStr(u"third.ini", u"S", u"k", u"w");
  EXPECT_EQ(GetIniFileIniStr(tmp_ / u"third.ini", u"S", u"k", u""), u"w");
  EXPECT_EQ(GetFileIniStr(u"third.ini", u"S", u"missing", u"d"), u"d");
}

TEST_F(IniHelpers, CountEntries) {
  ASSERT_TRUE(tmp_.Write(AppIniName, "[A]\r\na=1\r\nb=2\r\nc=\r\n[B]\r\n[C]\r\nx=1\r\n"));
  rtl::IniFile ini(AppIniName);
  EXPECT_EQ(CountEntries(ini, u"A"), 3);
  EXPECT_EQ(CountEntries(ini, u"B"), 0);
  EXPECT_EQ(CountEntries(ini, u"C"), 1);
  EXPECT_EQ(CountEntries(ini, u"Missing"), 0);
  rtl::MemIniFile mem(AppIniName);
  EXPECT_EQ(CountEntries(mem, u"a"), 3);
  rtl::IniFile none(tmp_ / u"none.ini");
  EXPECT_EQ(CountEntries(none, u"A"), 0);
}

TEST(NameValueEntries, SetVerwItem) {
  struct Row { std::vector<String> list; const char16_t *name, *value; std::vector<String> want; } rows[] = {
      {{u"Width=10"}, u"width", u"20", {u"width=20"}},
      {{u"a=1", u"b=2"}, u"B", u"3", {u"a=1", u"B=3"}},
      {{u"a=1"}, u"c", u"3", {u"a=1", u"c=3"}},
      {{}, u"c", u"", {u"c="}},
      {{u"x", u"x=1"}, u"x", u"2", {u"x", u"x=2"}},      // an entry without "=" is skipped
      {{u"Äpfel=1"}, u"äpfel", u"2", {u"äpfel=2"}},      // locale lower-casing: Ä matches ä
      {{u"a=1", u"A=2"}, u"a", u"3", {u"a=3", u"A=2"}},  // the first match only
      {{u"=v"}, u"", u"w", {u"=w"}},
      {{u"k =1"}, u"k", u"2", {u"k =1", u"k=2"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.name));
    StringList l;
    for (const String& s : r.list) l.Add(s);
    SetVerwItem(l, r.name, r.value);
    EXPECT_EQ(Entries(l), r.want);
  }
}

TEST(NameValueEntries, GetVerwItem) {
  struct Row { std::vector<String> list; const char16_t *name, *want; } rows[] = {
      {{u"a=b=c"}, u"A", u"b=c"},
      {{u"x"}, u"x", u"default"},
      {{}, u"x", u"default"},
      {{u"Width=10"}, u"WIDTH", u"10"},
      {{u"k="}, u"k", u""},
      {{u"Äpfel=1"}, u"äpfel", u"default"},  // letters outside A-Z only in the same case
      {{u"äpfel=1"}, u"äpfel", u"1"},
      {{u"a=1", u"A=2"}, u"a", u"1"},
      {{u"ab=1"}, u"a", u"default"},
      {{u"=v"}, u"", u"v"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.name));
    StringList l;
    for (const String& s : r.list) l.Add(s);
    EXPECT_EQ(GetVerwItem(l, r.name, u"default"), r.want);
  }
}

TEST(MemIni, ReadsAndWritesTheRuntimesLayout) {
  TempFolder tmp(u"mem");
  String name = tmp / u"m.ini";
  ASSERT_TRUE(tmp.Write(name,
                        "before=ignored\r\n; comment\r\n  [ One ]  \r\n a = 1 \r\nflag\r\n\r\n[Two]\n"
                        "b=\"q\"\n[one]\nc=3\n"));
  rtl::MemIniFile mem(name);
  EXPECT_EQ(mem.ReadString(u"ONE", u"A", u"d"), u"1");
  EXPECT_EQ(mem.ReadString(u"Two", u"b", u"d"), u"\"q\"");  // no unquoting in memory
  EXPECT_EQ(mem.ReadString(u"One", u"c", u"d"), u"d");      // the first section of a name wins
  EXPECT_EQ(mem.ReadString(u"", u"before", u"d"), u"d");
  StringList sections;
  mem.ReadSections(sections);
  EXPECT_EQ(Entries(sections), (std::vector<String>{u"One", u"Two", u"one"}));
  EXPECT_FALSE(mem.Modified());
  mem.WriteString(u"Two", u"b", u"x");
  mem.WriteString(u"New", u"k", u"v");
  mem.DeleteKey(u"One", u"a");
  mem.EraseSection(u"one");  // the first of that name
  EXPECT_TRUE(mem.Modified());
  mem.UpdateFile();
  EXPECT_EQ(TempFolder::Read(name), "[Two]\r\nb=x\r\n\r\n[one]\r\nc=3\r\n\r\n[New]\r\nk=v\r\n\r\n");
  EXPECT_FALSE(mem.Modified());

  // UTF-8 with byte-order mark stays UTF-8.
  ASSERT_TRUE(tmp.Write(name, "\xEF\xBB\xBF[S]\r\nk=\xC3\xA4\r\n"));
  rtl::MemIniFile utf8(name);
  EXPECT_EQ(utf8.ReadString(u"S", u"k", u""), u"ä");
  utf8.WriteString(u"S", u"k", u"\u0416");
  utf8.UpdateFile();
  EXPECT_EQ(TempFolder::Read(name), "\xEF\xBB\xBF[S]\r\nk=\xD0\x96\r\n\r\n");

  rtl::MemIniFile missing(tmp / u"no\\such.ini");
  missing.WriteString(u"S", u"k", u"v");
  EXPECT_THROW(missing.UpdateFile(), rtl::EIniFileException);
}

TEST(PrivateProfileIni, ReadRules) {
  TempFolder tmp(u"pp");
  String name = tmp / u"p.ini";
  ASSERT_TRUE(tmp.Write(name, "[S]\r\n  key  =  spaced value  \r\nq=\"quoted\"\r\nq1='one'\r\n"
                              "# netbios name of this host\r\nhalf=\"open\r\n[Notes]\r\nonly words\r\n"));
  rtl::IniFile ini(name);
  // Lines without "=" are no keys.
  rtl::StringList keys;
  ini.ReadSection(u"S", keys);
  EXPECT_EQ(keys.Text(), u"key\r\nq\r\nq1\r\nhalf\r\n");
  EXPECT_FALSE(ini.SectionExists(u"Notes"));
  EXPECT_EQ(ini.ReadString(u"Notes", u"only words", u"-"), u"-");
  EXPECT_EQ(ini.ReadString(u"S", u"key", u""), u"spaced value");
  EXPECT_EQ(ini.ReadString(u"S", u"q", u""), u"quoted");
  EXPECT_EQ(ini.ReadString(u"S", u"q1", u""), u"one");
  EXPECT_EQ(ini.ReadString(u"s", u"KEY", u""), u"spaced value");
  EXPECT_TRUE(ini.SectionExists(u"S"));
  EXPECT_FALSE(ini.SectionExists(u"T"));
  EXPECT_TRUE(ini.ValueExists(u"S", u"q"));
  EXPECT_FALSE(ini.ValueExists(u"S", u"r"));
  ini.DeleteKey(u"S", u"q");
  EXPECT_EQ(ini.ReadString(u"S", u"q", u"gone"), u"gone");
  ini.EraseSection(u"S");
  EXPECT_FALSE(ini.SectionExists(u"S"));
  // A value longer than the runtime's buffer comes back cut to 2047 characters.
  ini.WriteString(u"L", u"k", String(3000, u'x'));
  EXPECT_EQ(ini.ReadString(u"L", u"k", u""), String(2047, u'x'));
}

// --- Registry ------------------------------------------------------------------------------

// A key of its own under HKCU\Software\WTarnTest, removed afterwards (the parent too when
// nothing else is left in it).
class RegistryKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    key_ = u"Software\\WTarnTest\\h4a-core-" + CreateStrID().substr(1, 8);
    rtl::Registry reg;
    ASSERT_TRUE(reg.OpenKey(key_, true));
    reg.WriteString(u"Text", u"value");
    reg.WriteExpandString(u"Expand", u"%SystemDrive%\\x");
    reg.WriteInteger(u"Number", 7);
    reg.WriteString(u"Empty", u"");
  }
  void TearDown() override {
    rtl::Registry reg;
    reg.DeleteKey(key_);
    rtl::StringList left;
    if (reg.OpenKey(u"Software\\WTarnTest", false)) {
      reg.GetKeyNames(left);
      reg.CloseKey();
      if (left.Count() == 0) reg.DeleteKey(u"Software\\WTarnTest");
    }
  }
  String key_;
};

TEST_F(RegistryKeys, RegReadStr) {
  String v = u"untouched";
  EXPECT_TRUE(RegReadStr(key_, u"Text", v, HKEY_CURRENT_USER));
  EXPECT_EQ(v, u"value");
  EXPECT_TRUE(RegReadStr(key_, u"Expand", v, HKEY_CURRENT_USER));
  EXPECT_EQ(v, u"%SystemDrive%\\x");  // not expanded
  EXPECT_TRUE(RegReadStr(key_, u"Empty", v, HKEY_CURRENT_USER));
  EXPECT_EQ(v, u"");
  v = u"untouched";
  EXPECT_TRUE(RegReadStr(key_, u"NoSuchValue", v, HKEY_CURRENT_USER));  // a missing value reads ""
  EXPECT_EQ(v, u"");
  v = u"untouched";
  EXPECT_FALSE(RegReadStr(key_, u"Number", v, HKEY_CURRENT_USER));  // another type
  EXPECT_EQ(v, u"untouched");
  EXPECT_FALSE(RegReadStr(key_ + u"\\Missing", u"Text", v, HKEY_CURRENT_USER));
  EXPECT_EQ(v, u"untouched");
  EXPECT_FALSE(RegReadStr(key_, u"Text", v, HKEY_USERS));
  EXPECT_EQ(v, u"untouched");
  EXPECT_TRUE(RegReadStr(u"\\" + key_, u"Text", v, HKEY_CURRENT_USER));  // "\" = from the root
}

TEST_F(RegistryKeys, RegistryObject) {
  rtl::Registry reg;
  EXPECT_TRUE(reg.KeyExists(key_));
  EXPECT_FALSE(reg.KeyExists(key_ + u"\\Sub"));
  ASSERT_TRUE(reg.OpenKey(key_, false));
  EXPECT_EQ(reg.CurrentPath(), key_);
  EXPECT_EQ(reg.ReadInteger(u"Number"), 7);
  EXPECT_EQ(reg.GetDataType(u"Number"), rtl::RegDataType::Integer);
  EXPECT_EQ(reg.GetDataType(u"Expand"), rtl::RegDataType::ExpandString);
  EXPECT_THROW(reg.ReadString(u"Number"), rtl::ERegistryException);
  EXPECT_THROW(reg.ReadInteger(u"Text"), rtl::ERegistryException);
  EXPECT_THROW(reg.ReadInteger(u"Missing"), rtl::ERegistryException);
  EXPECT_TRUE(reg.ValueExists(u"text"));
  EXPECT_TRUE(reg.DeleteValue(u"Text"));
  EXPECT_FALSE(reg.ValueExists(u"Text"));
  // A relative path below the current key; subkeys go with their key.
  ASSERT_TRUE(reg.OpenKey(u"Sub\\Deeper", true));
  EXPECT_EQ(reg.CurrentPath(), key_ + u"\\Sub\\Deeper");
  reg.WriteString(u"v", u"1");
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists(key_ + u"\\Sub\\Deeper"));
  ASSERT_TRUE(reg.OpenKey(key_, false));
  rtl::StringList names;
  reg.GetKeyNames(names);
  EXPECT_EQ(Entries(names), (std::vector<String>{u"Sub"}));
  reg.GetValueNames(names);
  EXPECT_EQ(names.Count(), 3);
  EXPECT_TRUE(reg.DeleteKey(u"Sub"));
  EXPECT_FALSE(reg.KeyExists(u"Sub"));
  EXPECT_FALSE(reg.DeleteKey(u"Sub"));
  reg.CloseKey();
  EXPECT_FALSE(reg.OpenKeyReadOnly(key_ + u"\\Sub"));
  EXPECT_TRUE(reg.OpenKeyReadOnly(key_));
  EXPECT_EQ(reg.Access(), rtl::kKeyRead);
}

}  // namespace
}  // namespace Kv_tools

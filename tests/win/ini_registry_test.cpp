// against the platform: the private-profile service sees what the helpers write and
// the other way round; registry values of every type under HKCU\Software\WTarnTest.
#include "kv_tools/ini_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "kv_tools/identifiers.h"
#include "rtl/handles.h"
#include "tests/core/temp_folder.h"

namespace Kv_tools {
namespace {

using rtl::FromW;
using rtl::W;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;

TEST(IniWin, HelpersAndThePlatformSeeTheSameFile) {
  TempFolder tmp(u"iniw");
  ScopedGlobal ini(AppIniName, tmp / u"prog.INI");
  SaveIniStr(u"Optionen", u"Datapath", u"D:\\Daten");
  SaveIniBool(u"Optionen", u"MobileModus", true);
  wchar_t buf[256];
  DWORD n = GetPrivateProfileStringW(L"Optionen", L"Datapath", L"", buf, 256, W(AppIniName));
  EXPECT_EQ(FromW(buf, n), u"D:\\Daten");
  EXPECT_EQ(GetPrivateProfileIntW(L"Optionen", L"MobileModus", 0, W(AppIniName)), 1u);
  ASSERT_TRUE(WritePrivateProfileStringW(L"Optionen", L"Width", L"0x20", W(AppIniName)));
  EXPECT_EQ(GetIniInt(u"Optionen", u"Width", 0), 32);
  EXPECT_TRUE(GetIniFileIniBool(AppIniName, u"optionen", u"mobilemodus", false));
  // The platform's reading rules: blanks around the value and one pair of quotes go.
  ASSERT_TRUE(WritePrivateProfileStringW(L"Optionen", L"Quoted", L"\"  x  \"", W(AppIniName)));
  EXPECT_EQ(GetIniStr(u"Optionen", u"Quoted", u""), u"  x  ");
}

TEST(IniWin, ReadOnlyFileRefusesWrites) {
  TempFolder tmp(u"ro");
  ScopedGlobal ini(AppIniName, tmp / u"prog.INI");
  SaveIniStr(u"S", u"k", u"v");
  ASSERT_TRUE(SetFileAttributesW(W(AppIniName), FILE_ATTRIBUTE_READONLY));
  rtl::UniqueFile probe(CreateFileW(W(AppIniName), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  bool writable = static_cast<bool>(probe);
  probe.reset();
  if (!writable) {
    EXPECT_THROW(SaveIniStr(u"S", u"k", u"w"), rtl::EIniFileException);
    EXPECT_EQ(GetIniStr(u"S", u"k", u""), u"v");
  }
  SetFileAttributesW(W(AppIniName), FILE_ATTRIBUTE_NORMAL);
  if (writable) GTEST_SKIP() << "the read-only attribute does not stop this user (root under Wine)";
}

class RegistryWin : public ::testing::Test {
 protected:
  void SetUp() override {
    key_ = L"Software\\WTarnTest\\h4a-win-" + std::wstring(W(CreateStrID().substr(1, 8)));
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, hkey_.put(),
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    hkey_.reset();
    rtl::Registry reg;
    reg.DeleteKey(FromW(key_.c_str()));
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\WTarnTest");  // only when nothing else is left
  }
  void Set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(hkey_.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  String Key() const { return FromW(key_.c_str()); }
  std::wstring key_;
  rtl::UniqueKey hkey_;
};

TEST_F(RegistryWin, RegReadStrOverValueTypes) {
  const wchar_t text[] = L"abc";
  Set(L"sz", REG_SZ, text, sizeof text);
  Set(L"unterminated", REG_SZ, text, 3 * sizeof(wchar_t));
  Set(L"expand", REG_EXPAND_SZ, L"%TEMP%", 7 * sizeof(wchar_t));
  DWORD dword = 5;
  Set(L"dword", REG_DWORD, &dword, sizeof dword);
  const wchar_t multi[] = L"a\0b\0";
  Set(L"multi", REG_MULTI_SZ, multi, sizeof multi);
  Set(L"binary", REG_BINARY, "\1\2", 2);
  Set(L"emptybinary", REG_BINARY, nullptr, 0);
  struct Row { const char16_t* name; bool ok; const char16_t* want; } rows[] = {
      {u"sz", true, u"abc"},       {u"unterminated", true, u"abc"}, {u"expand", true, u"%TEMP%"},
      {u"dword", false, u"keep"},  {u"multi", false, u"keep"},      {u"binary", false, u"keep"},
      {u"emptybinary", true, u""}, {u"missing", true, u""},
  };
  for (const Row& r : rows) {
    String v = u"keep";
    EXPECT_EQ(RegReadStr(Key(), r.name, v, HKEY_CURRENT_USER), r.ok) << rtl::ToUtf8(r.name);
    EXPECT_EQ(v, r.want) << rtl::ToUtf8(r.name);
  }
  String v = u"keep";
  EXPECT_FALSE(RegReadStr(Key() + u"\\none", u"sz", v, HKEY_CURRENT_USER));
  EXPECT_EQ(v, u"keep");
  EXPECT_TRUE(RegReadStr(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", u"CurrentVersion", v,
                         HKEY_LOCAL_MACHINE));
  EXPECT_FALSE(v.empty());
}

TEST_F(RegistryWin, WritesThroughTheObjectReachThePlatform) {
  {
    rtl::Registry reg;
    ASSERT_TRUE(reg.OpenKey(Key() + u"\\made", true));
    reg.WriteString(u"s", u"Größe");
    reg.WriteInteger(u"i", -2);
  }
  rtl::UniqueKey k;
  ASSERT_EQ(RegOpenKeyExW(hkey_.get(), L"made", 0, KEY_READ, k.put()), ERROR_SUCCESS);
  wchar_t buf[32];
  DWORD size = sizeof buf, type = 0;
  ASSERT_EQ(RegQueryValueExW(k.get(), L"s", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(FromW(buf), u"Größe");
  DWORD i = 0;
  size = sizeof i;
  ASSERT_EQ(RegQueryValueExW(k.get(), L"i", nullptr, &type, reinterpret_cast<BYTE*>(&i), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(i, 0xFFFFFFFEu);
  // A read-only object cannot write.
  rtl::Registry ro(rtl::kKeyRead);
  ASSERT_TRUE(ro.OpenKey(Key(), false));
  EXPECT_THROW(ro.WriteString(u"x", u"y"), rtl::ERegistryException);
}

}  // namespace
}  // namespace Kv_tools

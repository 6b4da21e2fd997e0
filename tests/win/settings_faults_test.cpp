// Settings under faults: INI writes that the platform refuses (a file locked by another
// process, a missing folder, a name that is a folder, a file that even root cannot change)
// raise the INI write error or show the placement message and leave the file as it was;
// registry values of the wrong type, empty or very long give every reader the answer its
// header promises, never a crash.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "kv_tools/globals.h"
#include "kv_tools/identifiers.h"
#include "kv_tools/ini_registry.h"
#include "kv_tools/placement.h"
#include "kv_tools/folders.h"
#include "kv_tools/sysinfo.h"
#include "rtl/errors.h"
#include "rtl/forms_win.h"
#include "rtl/handles.h"
#include "tarnedata/catalogue.h"
#include "tarnedata/project.h"
#include "tests/core/temp_folder.h"
#include "tests/tally.h"
#include "tests/win/held_files.h"
#include "tests/win/message_recorder.h"

namespace Kv_tools {
namespace {

using rtl::FromW;
using rtl::ToUtf8;
using rtl::W;
using wtarn_test::HeldFiles;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;
namespace tally = wtarn_test::tally;

const std::string kIniContent = "[S]\r\nk=old\r\nItem1=first\r\n";

// Every writer of the INI helpers, each against AppIniName (or its neighbour of that name).
struct IniWriter {
  const char* label;
  std::function<void()> write;
};

std::vector<IniWriter> IniWriters() {
  return {
      {"SaveIniStr", [] { SaveIniStr(u"S", u"k", u"new"); }},
      {"SaveIniInt", [] { SaveIniInt(u"S", u"k", 7); }},
      {"SaveIniBool", [] { SaveIniBool(u"S", u"k", true); }},
      {"SaveFileIniStr", [] { SaveFileIniStr(rtl::ExtractFileName(AppIniName), u"S", u"k", u"new"); }},
      {"kv_SavePersist",
       [] {
         StringList list;
         list.Add(u"one");
         kv_SavePersist(list, u"S");
       }},
      {"IniFile::EraseSection", [] { rtl::IniFile(AppIniName).EraseSection(u"S"); }},
      {"MemIniFile::UpdateFile",
       [] {
         rtl::MemIniFile mem(AppIniName);
         mem.WriteString(u"S", u"k", u"new");
         mem.UpdateFile();
       }},
  };
}

// Each writer raises the write error.
void ExpectWritesRefused() {
  for (const IniWriter& w : IniWriters()) {
    SCOPED_TRACE(w.label);
    EXPECT_THROW(w.write(), rtl::EIniFileException);
  }
}

// Reads of a file that cannot be read give the defaults.
void ExpectDefaults() {
  EXPECT_EQ(GetIniStr(u"S", u"k", u"default"), u"default");
  EXPECT_EQ(GetIniInt(u"S", u"k", 42), 42);
}

TEST(IniFaults, LockedByAnotherProcessRefusesWritesAndKeepsTheFile) {
  TempFolder tmp(u"h9c-ini");
  ScopedGlobal ini(AppIniName, tmp / u"prog.INI");
  ASSERT_TRUE(tmp.Write(AppIniName, kIniContent));
  {
    HeldFiles held({AppIniName});
    ASSERT_TRUE(held.Holding());
    tally::Faults("ini registry");
    ExpectWritesRefused();
    ExpectDefaults();
    wtarn_test::MessageRecorder messages;
    rtl::TForm form(nullptr);
    SaveWindowPos(form, AppIniName, u"Main");
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, u"Nach " + AppIniName +
                                            u" konnte nicht geschrieben werden!\r\r"
                                            u"Möglicherweise bestehen keine Schreibrechte des Anwenders.");
  }
  EXPECT_TRUE(tally::Kept("ini registry", TempFolder::Read(AppIniName) == kIniContent));
  EXPECT_EQ(GetIniStr(u"S", u"k", u""), u"old") << "readable again once released";
}

TEST(IniFaults, MissingFolderAndFolderNameRefuseWrites) {
  TempFolder tmp(u"h9c-ini");
  ASSERT_TRUE(rtl::CreateDir(tmp / u"a folder.INI"));
  struct Row {
    const char* label;
    String name;
  } rows[] = {
      {"missing folder", tmp / u"gone\\prog.INI"},
      {"name of a folder", tmp / u"a folder.INI"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    tally::Faults("ini registry");
    ScopedGlobal ini(AppIniName, r.name);
    ExpectWritesRefused();
    ExpectDefaults();
  }
  EXPECT_FALSE(rtl::DirectoryExists(tmp / u"gone")) << "no write makes the folder";
  EXPECT_TRUE(rtl::DirectoryExists(tmp / u"a folder.INI"));
}

// wine_get_unix_file_name of kernel32: the Linux name of a Windows name, or "" outside Wine.
std::string UnixName(const String& name) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  auto to_unix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* unix_name = to_unix ? to_unix(W(name)) : nullptr;
  std::string r = unix_name ? unix_name : "";
  if (unix_name) HeapFree(GetProcessHeap(), 0, unix_name);
  return r;
}

// Runs chattr on the Linux side (Wine starts Linux programs) and waits until a write open of
// the file gives the wanted answer; false when that does not come.
bool Chattr(const String& name, const char16_t* flag, bool want_writable) {
  const std::string unix_name = UnixName(name);
  if (unix_name.empty() || GetFileAttributesW(L"Z:\\usr\\bin\\chattr") == INVALID_FILE_ATTRIBUTES) return false;
  String command = String(u"Z:\\usr\\bin\\chattr ") + flag + u" \"" + rtl::FromUtf8(unix_name) + u"\"";
  rtl::UniqueHandle process;
  if (!wtarn_test::StartProgram(command, process)) return false;
  for (int tries = 0; tries < 200; ++tries) {
    rtl::UniqueFile probe(CreateFileW(W(name), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (static_cast<bool>(probe) == want_writable) return true;
    Sleep(10);  // the Linux program runs beside this process; no handle tells its end
  }
  return false;
}

// The read-only attribute does not stop root; the Linux immutable flag does.
TEST(IniFaults, UnchangeableFileRefusesWritesAndKeepsTheFile) {
  TempFolder tmp(u"h9c-ini");
  ScopedGlobal ini(AppIniName, tmp / u"prog.INI");
  ASSERT_TRUE(tmp.Write(AppIniName, kIniContent));
  if (!Chattr(AppIniName, u"+i", false)) GTEST_SKIP() << "cannot make the file immutable here (chattr under Wine)";
  struct Mutable {  // the folder cannot be removed while the flag is set
    ~Mutable() { EXPECT_TRUE(Chattr(AppIniName, u"-i", true)); }
  } undo;
  tally::Faults("ini registry");
  ExpectWritesRefused();
  EXPECT_TRUE(tally::Kept("ini registry", TempFolder::Read(AppIniName) == kIniContent));
  EXPECT_EQ(GetIniStr(u"S", u"k", u""), u"old");
}

// --- Registry -------------------------------------------------------------------------------

// A fresh key under HKCU\Software\WTarnTest for each test, opened as a root of its own.
class RegistryFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = u"Software\\WTarnTest\\h9c-" + CreateStrID().substr(1, 8);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(path_), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    key_.reset();
    rtl::Registry reg;
    reg.DeleteKey(path_);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\WTarnTest");  // only when nothing else is left
  }
  static void Set(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }

  String path_;
  rtl::UniqueKey key_;
};

const std::wstring kLongText(100000, L'w');

// A value of every awkward kind under `key`, named after its kind.
void SetAwkwardValues(HKEY key) {
  const DWORD dword = 0;
  const unsigned long long qword = 0;
  const wchar_t multi[] = L"a\0b\0";
  RegSetValueExW(key, L"dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
  RegSetValueExW(key, L"short dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), 2);
  RegSetValueExW(key, L"big-endian", 0, REG_DWORD_BIG_ENDIAN, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
  RegSetValueExW(key, L"qword", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&qword), sizeof qword);
  RegSetValueExW(key, L"binary", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&dword), sizeof dword);
  RegSetValueExW(key, L"multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
  RegSetValueExW(key, L"none", 0, REG_NONE, reinterpret_cast<const BYTE*>("x"), 1);
  RegSetValueExW(key, L"expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(L"%TEMP%"), 7 * sizeof(wchar_t));
  RegSetValueExW(key, L"empty", 0, REG_SZ, nullptr, 0);
  RegSetValueExW(key, L"terminator", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
  RegSetValueExW(key, L"odd size", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ab"), 3);
  RegSetValueExW(key, L"long", 0, REG_SZ, reinterpret_cast<const BYTE*>(kLongText.c_str()),
                 static_cast<DWORD>((kLongText.size() + 1) * sizeof(wchar_t)));
}

// What a string reader answers for each awkward value: read (and the text) or refused.
struct StringAnswer {
  const char16_t* name;
  bool read;
  String text;
};

std::vector<StringAnswer> StringAnswers() {
  return {
      {u"dword", false, u""},     {u"short dword", false, u""}, {u"big-endian", false, u""},
      {u"qword", false, u""},     {u"binary", false, u""},      {u"multi", false, u""},
      {u"none", false, u""},      {u"expand", true, u"%TEMP%"}, {u"empty", true, u""},
      {u"terminator", true, u""}, {u"odd size", true, u"a"},    {u"long", true, FromW(kLongText.c_str())},
  };
}

TEST_F(RegistryFaults, StringReadersOverAwkwardValues) {
  SetAwkwardValues(key_.get());
  for (const StringAnswer& a : StringAnswers()) {
    SCOPED_TRACE(ToUtf8(a.name));
    tally::Faults("ini registry");
    String kv = u"keep", tarn = u"keep";
    EXPECT_EQ(RegReadStr(path_, a.name, kv, HKEY_CURRENT_USER), a.read);
    EXPECT_EQ(TarnEdata::RegReadStr(u"\\" + path_, a.name, tarn, HKEY_CURRENT_USER), a.read);
    EXPECT_EQ(kv, a.read ? a.text : u"keep");
    EXPECT_EQ(tarn, kv);
    rtl::Registry reg(rtl::kKeyRead);
    ASSERT_TRUE(reg.OpenKeyReadOnly(path_));
    if (a.read) {
      EXPECT_EQ(reg.ReadString(a.name), a.text);
    } else {
      EXPECT_THROW(reg.ReadString(a.name), rtl::ERegistryException);
    }
  }
}

TEST_F(RegistryFaults, IntegerReaderAndTypesOverAwkwardValues) {
  SetAwkwardValues(key_.get());
  const DWORD seven = 7;
  Set(key_.get(), L"seven", REG_DWORD, &seven, sizeof seven);
  struct Row {
    const char16_t* name;
    rtl::RegDataType type;
    bool integer;
  } rows[] = {
      {u"seven", rtl::RegDataType::Integer, true},      {u"big-endian", rtl::RegDataType::Unknown, false},
      {u"qword", rtl::RegDataType::Unknown, false},     {u"binary", rtl::RegDataType::Binary, false},
      {u"multi", rtl::RegDataType::Unknown, false},     {u"none", rtl::RegDataType::Unknown, false},
      {u"expand", rtl::RegDataType::ExpandString, false}, {u"long", rtl::RegDataType::String, false},
      {u"missing", rtl::RegDataType::Unknown, false},
  };
  rtl::Registry reg(rtl::kKeyRead);
  ASSERT_TRUE(reg.OpenKeyReadOnly(path_));
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.name));
    tally::Faults("ini registry");
    EXPECT_EQ(reg.GetDataType(r.name), r.type);
    if (r.integer) {
      EXPECT_EQ(reg.ReadInteger(r.name), 7);
    } else {
      EXPECT_THROW(reg.ReadInteger(r.name), rtl::ERegistryException);
    }
  }
  EXPECT_EQ(reg.ReadString(u"missing"), u"");
}

// The longest names the registry allows fit the object's name buffers.
TEST_F(RegistryFaults, LongestKeyAndValueNamesAreListedWhole) {
  const std::wstring key_name(255, L'k'), value_name(16383, L'v');
  rtl::UniqueKey sub;
  ASSERT_EQ(RegCreateKeyExW(key_.get(), key_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, sub.put(), nullptr),
            ERROR_SUCCESS);
  Set(key_.get(), value_name.c_str(), REG_SZ, L"x", 2 * sizeof(wchar_t));
  tally::Inputs("ini registry", 2);
  rtl::Registry reg(rtl::kKeyRead);
  ASSERT_TRUE(reg.OpenKeyReadOnly(path_));
  StringList names;
  reg.GetKeyNames(names);
  ASSERT_EQ(names.Count(), 1);
  EXPECT_EQ(names[0], FromW(key_name.c_str()));
  reg.GetValueNames(names);
  ASSERT_EQ(names.Count(), 1);
  EXPECT_EQ(names[0], FromW(value_name.c_str()));
  EXPECT_EQ(reg.ReadString(names[0]), u"x");
  sub.reset();
  EXPECT_TRUE(reg.DeleteKey(u"\\" + path_ + u"\\" + FromW(key_name.c_str())));
}

TEST_F(RegistryFaults, MissingOrOverlongKeysKeepTheCallersValue) {
  SetAwkwardValues(key_.get());
  const String too_long = path_ + u"\\" + String(300, u'k');  // a key name has at most 255
  const String very_long = String(32767, u'k');
  for (const String& key : {path_ + u"\\missing", too_long, very_long, u"\\" + path_ + u"\\dword"}) {
    SCOPED_TRACE(key.size());
    tally::Inputs("ini registry");
    String kv = u"keep", tarn = u"keep";
    EXPECT_FALSE(RegReadStr(key, u"x", kv, HKEY_CURRENT_USER));
    EXPECT_FALSE(TarnEdata::RegReadStr(key, u"x", tarn, HKEY_CURRENT_USER));
    EXPECT_FALSE(TarnEdata::RegKeyExists(key, HKEY_CURRENT_USER));
    EXPECT_EQ(kv, u"keep");
    EXPECT_EQ(tarn, u"keep");
  }
}

// The catalogue's keys are read below a root that the caller chooses: here the test key.
TEST_F(RegistryFaults, CatalogueKeysWithWrongTypedValues) {
  for (int v = 0; v < TarnEdata::DelphiVersionCount; ++v)
    EXPECT_FALSE(TarnEdata::RegKeyExists(TarnEdata::DelphiRegPaths[v], key_.get())) << ToUtf8(TarnEdata::DelphiRegPaths[v]);
  const String release = TarnEdata::DelphiRegPaths[TarnEdata::DelphiXE11];
  rtl::UniqueKey made;
  ASSERT_EQ(RegCreateKeyExW(key_.get(), W(release.substr(1)), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, made.put(),
                            nullptr),
            ERROR_SUCCESS);
  SetAwkwardValues(made.get());
  EXPECT_TRUE(TarnEdata::RegKeyExists(release, key_.get()));
  for (const StringAnswer& a : StringAnswers()) {
    SCOPED_TRACE(ToUtf8(a.name));
    tally::Faults("ini registry");
    String value = u"keep";
    EXPECT_EQ(TarnEdata::RegReadStr(release, a.name, value, key_.get()), a.read);
    EXPECT_EQ(value, a.read ? a.text : u"keep");
  }
}

// Puts a registry value back as it was when the scope ends (or removes it when it was missing).
class SavedValue {
 public:
  SavedValue(HKEY root, const wchar_t* key, const wchar_t* name) : name_(name) {
    RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    DWORD size = 0;
    had_ = key_ && RegQueryValueExW(key_.get(), name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
    data_.resize(size);
    if (had_ && size) RegQueryValueExW(key_.get(), name, nullptr, &type_, data_.data(), &size);
  }
  ~SavedValue() {
    if (had_)
      RegSetValueExW(key_.get(), name_, 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
    else
      RegDeleteValueW(key_.get(), name_);
  }
  SavedValue(const SavedValue&) = delete;
  SavedValue& operator=(const SavedValue&) = delete;

  HKEY Key() const { return key_.get(); }

 private:
  rtl::UniqueKey key_;
  const wchar_t* name_;
  bool had_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
};

TEST(RegistrySettingsFaults, DarkModeOnlyForADwordOfZero) {
  SavedValue saved(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                   L"AppsUseLightTheme");
  ASSERT_TRUE(saved.Key());
  const unsigned long long zero = 0;
  struct Row {
    const char* label;
    DWORD type, size;
  } rows[] = {
      {"binary of four zero bytes", REG_BINARY, 4}, {"dword of two bytes", REG_DWORD, 2},
      {"big-endian dword", REG_DWORD_BIG_ENDIAN, 4}, {"qword", REG_QWORD, 8},
      {"empty binary", REG_BINARY, 0},              {"multi-string", REG_MULTI_SZ, 8},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    tally::Faults("ini registry");
    ASSERT_EQ(RegSetValueExW(saved.Key(), L"AppsUseLightTheme", 0, r.type, reinterpret_cast<const BYTE*>(&zero), r.size),
              ERROR_SUCCESS);
    EXPECT_FALSE(DarkModeIsEnabled());
  }
}

TEST(RegistrySettingsFaults, ProfileListValueOfEveryKind) {
  if (!IsWindowsNT()) GTEST_SKIP() << "reads the NT profile list";
  SavedValue saved(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
                   L"ProfilesDirectory");
  ASSERT_TRUE(saved.Key());
  const String windows = GetWindowsPath();
  const std::wstring long_value = L"%SystemDrive%\\" + std::wstring(5000, L'p');
  auto set_text = [&](DWORD type, const std::wstring& text) {
    RegSetValueExW(saved.Key(), L"ProfilesDirectory", 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  };
  struct Row {
    const char* label;
    std::function<void()> set;
    bool raises;
    String want;
  } rows[] = {
      {"missing", [&] { RegDeleteValueW(saved.Key(), L"ProfilesDirectory"); }, false, chkPath(windows) + u"Profiles"},
      {"empty", [&] { set_text(REG_SZ, L""); }, false, chkPath(windows) + u"Profiles"},
      {"very long", [&] { set_text(REG_EXPAND_SZ, long_value); }, false,
       windows.substr(0, 2) + u"\\" + String(5000, u'p')},
      {"dword", [&] { set_text(REG_DWORD, L"ab"); }, true, u""},
      {"multi-string", [&] { set_text(REG_MULTI_SZ, L"a"); }, true, u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    tally::Faults("ini registry");
    r.set();
    if (r.raises) {
      EXPECT_THROW(GetUserProfilePath(), rtl::ERegistryException);
    } else {
      EXPECT_EQ(GetUserProfilePath(), r.want);
    }
  }
}

}  // namespace
}  // namespace Kv_tools

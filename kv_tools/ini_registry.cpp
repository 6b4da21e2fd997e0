// Kv_tools INI and registry helpers. Every INI call opens its own IniFile and
// releases it; write errors (rtl::EIniFileException) reach the caller of the Save routines.
#include "kv_tools/ini_registry.h"

#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

String NeighbourFile(const String& FileName) { return chkPath(rtl::ExtractFilePath(AppIniName)) + FileName; }

String ItemKey(int i) { return String(u"Item") + rtl::IntToStr(i); }

String LowerAsciiOnly(String s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

constexpr int kMaxPersistItems = 26;

}  // namespace

void SaveIniInt(const String& Section, const String& Key, int Value) {
  rtl::IniFile(AppIniName).WriteInteger(Section, Key, Value);
}

int GetIniInt(const String& Section, const String& Key, int Default) {
  return rtl::IniFile(AppIniName).ReadInteger(Section, Key, Default);
}

void SaveIniBool(const String& Section, const String& Key, bool Value) {
  rtl::IniFile(AppIniName).WriteBool(Section, Key, Value);
}

bool GetIniBool(const String& Section, const String& Key, bool Default) {
  return rtl::IniFile(AppIniName).ReadBool(Section, Key, Default);
}

void SaveIniStr(const String& Section, const String& Key, const String& Value) {
  rtl::IniFile(AppIniName).WriteString(Section, Key, Value);
}

String GetIniStr(const String& Section, const String& Key, const String& Default) {
  if (Section.empty() || Key.empty()) return String();
  return rtl::IniFile(AppIniName).ReadString(Section, Key, Default);
}

void SaveFileIniStr(const String& FileName, const String& Section, const String& Key, const String& Value) {
  if (FileName.empty() || Section.empty() || Key.empty()) return;
  rtl::IniFile(NeighbourFile(FileName)).WriteString(Section, Key, Value);
}

String GetFileIniStr(const String& FileName, const String& Section, const String& Key, const String& Default) {
  if (FileName.empty() || Section.empty() || Key.empty()) return String();
  return rtl::IniFile(NeighbourFile(FileName)).ReadString(Section, Key, Default);
}

bool GetIniFileIniBool(const String& IniFileName, const String& Section, const String& Key, bool Default) {
  return rtl::IniFile(IniFileName).ReadBool(Section, Key, Default);
}

String GetIniFileIniStr(const String& IniFileName, const String& Section, const String& Key, const String& Default) {
  return rtl::IniFile(IniFileName).ReadString(Section, Key, Default);
}

int CountEntries(rtl::CustomIniFile& Ini, const String& Section) {
  StringList keys;
  Ini.ReadSection(Section, keys);
  return keys.Count();
}

void kv_SavePersist(const StringList& List, const String& Section) {
  rtl::IniFile ini(AppIniName);
  ini.EraseSection(Section);
  for (int i = 1; i <= List.Count() && i <= kMaxPersistItems; ++i) ini.WriteString(Section, ItemKey(i), List[i - 1]);
}

void kv_LoadPersist(StringList& List, const String& Section) {
  rtl::IniFile ini(AppIniName);
  List.Clear();
  for (int i = 1;; ++i) {
    String value = ini.ReadString(Section, ItemKey(i), String());
    if (value.empty()) break;
    List.Add(value);
  }
}

bool RegReadStr(const String& Key, const String& Name, String& Value, rtl::RootKey Root) {
  try {
    rtl::Registry reg(rtl::kKeyRead);
    reg.SetRootKey(Root);
    if (!reg.OpenKeyReadOnly(Key)) return false;
    Value = reg.ReadString(Name);
    return true;
  } catch (...) {
    return false;
  }
}

void SetVerwItem(StringList& List, const String& Name, const String& Value) {
  String name = rtl::AnsiLowerCase(Name);
  for (int i = 0; i < List.Count(); ++i) {
    const String& entry = List[i];
    size_t eq = entry.find(u'=');
    if (eq == String::npos) continue;
    if (rtl::AnsiLowerCase(entry.substr(0, eq)) == name) {
      List.Put(i, Name + u"=" + Value);
      return;
    }
  }
  List.Add(Name + u"=" + Value);
}

String GetVerwItem(const StringList& List, const String& Name, const String& Default) {
  String name = LowerAsciiOnly(Name);
  for (int i = 0; i < List.Count(); ++i) {
    const String& entry = List[i];
    size_t eq = entry.find(u'=');
    if (eq == String::npos) continue;
    if (LowerAsciiOnly(entry.substr(0, eq)) == name) return entry.substr(eq + 1);
  }
  return Default;
}

}  // namespace Kv_tools

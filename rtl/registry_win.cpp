// Registry over the platform's registry (advapi32), with the runtime's TRegistry rules.
#include <windows.h>

#include <vector>

#include "rtl/registry.h"

namespace rtl {
namespace {

HKEY Key(void* k) { return static_cast<HKEY>(k); }

bool IsRelative(const String& key) { return key.empty() || key[0] != u'\\'; }

String Stripped(const String& key) { return IsRelative(key) ? key : key.substr(1); }

[[noreturn]] void Raise(const char16_t* pattern_head, const String& name) {
  throw ERegistryException(String(pattern_head) + u"'" + name + u"'");
}

// Deletes key (below base) with everything below it.
LONG DeleteTree(HKEY base, const String& key) {
  HKEY k;
  LONG r = RegOpenKeyExW(base, W(key), 0, KEY_READ | KEY_WRITE, &k);
  if (r != ERROR_SUCCESS) return r;
  for (;;) {
    wchar_t name[256];
    DWORD len = 256;
    if (RegEnumKeyExW(k, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (DeleteTree(k, FromW(name, len)) != ERROR_SUCCESS) break;
  }
  RegCloseKey(k);
  return RegDeleteKeyW(base, W(key));
}

}  // namespace

Registry::Registry(uint32_t access) : root_(HKEY_CURRENT_USER), access_(access) {}

Registry::~Registry() { CloseKey(); }

void Registry::SetRootKey(RootKey root) {
  if (root_ == root) return;
  CloseKey();
  root_ = root;
}

void Registry::CloseKey() {
  if (current_) RegCloseKey(Key(current_));
  current_ = nullptr;
  current_path_.clear();
}

bool Registry::OpenKey(const String& key, bool can_create) {
  bool relative = IsRelative(key);
  String s = Stripped(key);
  HKEY base = relative && current_ ? Key(current_) : root_;
  HKEY k = nullptr;
  LONG r = can_create ? RegCreateKeyExW(base, W(s), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr, &k, nullptr)
                      : RegOpenKeyExW(base, W(s), 0, access_, &k);
  if (r != ERROR_SUCCESS) return false;
  String path = relative && current_ ? current_path_ + u"\\" + s : s;
  CloseKey();
  current_ = k;
  current_path_ = path;
  return true;
}

bool Registry::OpenKeyReadOnly(const String& key) {
  bool relative = IsRelative(key);
  String s = Stripped(key);
  HKEY base = relative && current_ ? Key(current_) : root_;
  DWORD wow = access_ & (KEY_WOW64_32KEY | KEY_WOW64_64KEY);
  HKEY k = nullptr;
  for (DWORD rights : {DWORD(KEY_READ), DWORD(STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS),
                       DWORD(KEY_QUERY_VALUE)}) {
    if (RegOpenKeyExW(base, W(s), 0, rights | wow, &k) == ERROR_SUCCESS) {
      String path = relative && current_ ? current_path_ + u"\\" + s : s;
      CloseKey();
      current_ = k;
      current_path_ = path;
      access_ = rights | wow;
      return true;
    }
  }
  return false;
}

bool Registry::KeyExists(const String& key) {
  String s = Stripped(key);
  HKEY base = IsRelative(key) && current_ ? Key(current_) : root_;
  HKEY k;
  DWORD rights = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | (access_ & (KEY_WOW64_32KEY | KEY_WOW64_64KEY));
  if (RegOpenKeyExW(base, W(s), 0, rights, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

bool Registry::CreateKey(const String& key) {
  String s = Stripped(key);
  HKEY base = IsRelative(key) && current_ ? Key(current_) : root_;
  HKEY k;
  if (RegCreateKeyExW(base, W(s), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | (access_ & (KEY_WOW64_32KEY | KEY_WOW64_64KEY)),
                      nullptr, &k, nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(k);
  return true;
}

bool Registry::DeleteKey(const String& key) {
  String s = Stripped(key);
  HKEY base = IsRelative(key) && current_ ? Key(current_) : root_;
  return !s.empty() && DeleteTree(base, s) == ERROR_SUCCESS;
}

bool Registry::ValueExists(const String& name) {
  return current_ && RegQueryValueExW(Key(current_), W(name), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool Registry::DeleteValue(const String& name) {
  return current_ && RegDeleteValueW(Key(current_), W(name)) == ERROR_SUCCESS;
}

RegDataType Registry::GetDataType(const String& name) {
  DWORD type = 0;
  if (!current_ || RegQueryValueExW(Key(current_), W(name), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
    return RegDataType::Unknown;
  switch (type) {
    case REG_SZ: return RegDataType::String;
    case REG_EXPAND_SZ: return RegDataType::ExpandString;
    case REG_DWORD: return RegDataType::Integer;
    case REG_BINARY: return RegDataType::Binary;
    default: return RegDataType::Unknown;
  }
}

// The runtime's ReadString: a missing value (or one of size 0) reads "", a value of a type
// other than string or expandable string raises.
String Registry::ReadString(const String& name) {
  DWORD type = 0, size = 0;
  HKEY k = Key(current_);
  if (!k || RegQueryValueExW(k, W(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return String();
  std::vector<BYTE> data(size + sizeof(wchar_t));
  if (RegQueryValueExW(k, W(name), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
    Raise(u"Failed to get data for ", name);
  if (type != REG_SZ && type != REG_EXPAND_SZ) Raise(u"Invalid data type for ", name);
  auto text = reinterpret_cast<const wchar_t*>(data.data());
  size_t n = 0, max = size / sizeof(wchar_t);
  while (n < max && text[n]) ++n;
  return FromW(text, static_cast<long long>(n));
}

namespace {
void WriteText(void* key, const String& name, const String& value, DWORD type) {
  if (!key ||
      RegSetValueExW(Key(key), W(name), 0, type, reinterpret_cast<const BYTE*>(W(value)),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    Raise(u"Failed to set data for ", name);
}
}  // namespace

void Registry::WriteString(const String& name, const String& value) { WriteText(current_, name, value, REG_SZ); }

void Registry::WriteExpandString(const String& name, const String& value) {
  WriteText(current_, name, value, REG_EXPAND_SZ);
}

int Registry::ReadInteger(const String& name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (!current_ || RegQueryValueExW(Key(current_), W(name), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                       ERROR_SUCCESS)
    Raise(u"Failed to get data for ", name);
  if (type != REG_DWORD) Raise(u"Invalid data type for ", name);
  return static_cast<int>(value);
}

void Registry::WriteInteger(const String& name, int value) {
  DWORD v = static_cast<DWORD>(value);
  if (!current_ || RegSetValueExW(Key(current_), W(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) !=
                       ERROR_SUCCESS)
    Raise(u"Failed to set data for ", name);
}

void Registry::GetKeyNames(StringList& names) {
  names.BeginUpdate();
  names.Clear();
  for (DWORD i = 0; current_; ++i) {
    wchar_t name[256];
    DWORD len = 256;
    if (RegEnumKeyExW(Key(current_), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.Add(FromW(name, len));
  }
  names.EndUpdate();
}

void Registry::GetValueNames(StringList& names) {
  names.BeginUpdate();
  names.Clear();
  for (DWORD i = 0; current_; ++i) {
    wchar_t name[16384];
    DWORD len = 16384;
    if (RegEnumValueW(Key(current_), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.Add(FromW(name, len));
  }
  names.EndUpdate();
}

}  // namespace rtl

// IniFile over the platform's private-profile service.
#include <windows.h>

#include <vector>

#include "rtl/ini_file.h"

namespace rtl {
namespace {

// A double-zero-terminated list from GetPrivateProfileStringW (section or key names), read
// with a buffer that grows until the list fits.
void ReadNameList(const wchar_t* section, const String& file, StringList& out) {
  std::vector<wchar_t> buf(16384);
  DWORD n;
  for (;;) {
    n = GetPrivateProfileStringW(section, nullptr, nullptr, buf.data(), static_cast<DWORD>(buf.size()), W(file));
    if (n + 2 < buf.size() || buf.size() >= (1u << 24)) break;
    buf.resize(buf.size() * 4);
  }
  out.BeginUpdate();
  out.Clear();
  const wchar_t* p = buf.data();
  const wchar_t* end = buf.data() + n;
  while (p < end && *p) {
    String name = FromW(p);
    out.Add(name);
    p += name.size() + 1;
  }
  out.EndUpdate();
}

}  // namespace

IniFile::~IniFile() { UpdateFile(); }

String IniFile::ReadString(const String& section, const String& ident, const String& def) {
  wchar_t buf[2048];
  DWORD n = GetPrivateProfileStringW(W(section), W(ident), W(def), buf, 2048, W(FileName()));
  return FromW(buf, n);
}

void IniFile::WriteString(const String& section, const String& ident, const String& value) {
  if (!WritePrivateProfileStringW(W(section), W(ident), W(value), W(FileName()))) RaiseWriteError();
}

void IniFile::ReadSection(const String& section, StringList& keys) { ReadNameList(W(section), FileName(), keys); }

void IniFile::ReadSections(StringList& sections) { ReadNameList(nullptr, FileName(), sections); }

void IniFile::EraseSection(const String& section) {
  if (!WritePrivateProfileStringW(W(section), nullptr, nullptr, W(FileName()))) RaiseWriteError();
}

void IniFile::DeleteKey(const String& section, const String& ident) {
  WritePrivateProfileStringW(W(section), W(ident), nullptr, W(FileName()));
}

void IniFile::UpdateFile() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(FileName())); }

}  // namespace rtl

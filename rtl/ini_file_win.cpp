// IniFile over the platform's private-profile service.
#include <windows.h>

#include <vector>

#include "rtl/ini_file.h"

namespace rtl {
namespace {

// True when the private-profile service can hold the file's full name: it copies that name
// (a bare name joined to the Windows folder, any other made full against the current
// folder) into a buffer of MAX_PATH characters, and Wine does so without a check. Longer
// names are refused here: reads give the default, writes the write error.
bool ProfileNameFits(const String& file) {
  const bool bare = file.find_first_of(u"\\/") == String::npos && !(file.size() >= 2 && file[1] == u':');
  if (bare) {
    wchar_t windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    return n > 0 && n < MAX_PATH && n + 1 + file.size() < MAX_PATH;
  }
  const DWORD needed = GetFullPathNameW(W(file), 0, nullptr, nullptr);  // counts the terminator
  return needed > 0 && needed <= MAX_PATH;
}

// A double-zero-terminated list from GetPrivateProfileStringW (section or key names), read
// with a buffer that grows until the list fits.
void ReadNameList(const wchar_t* section, const String& file, StringList& out) {
  std::vector<wchar_t> buf(16384);
  DWORD n = 0;
  while (ProfileNameFits(file)) {
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
  if (!ProfileNameFits(FileName())) return def;
  wchar_t buf[2048];
  DWORD n = GetPrivateProfileStringW(W(section), W(ident), W(def), buf, 2048, W(FileName()));
  return FromW(buf, n);
}

void IniFile::WriteString(const String& section, const String& ident, const String& value) {
  if (!ProfileNameFits(FileName()) || !WritePrivateProfileStringW(W(section), W(ident), W(value), W(FileName())))
    RaiseWriteError();
}

void IniFile::ReadSection(const String& section, StringList& keys) { ReadNameList(W(section), FileName(), keys); }

void IniFile::ReadSections(StringList& sections) { ReadNameList(nullptr, FileName(), sections); }

void IniFile::EraseSection(const String& section) {
  if (!ProfileNameFits(FileName()) || !WritePrivateProfileStringW(W(section), nullptr, nullptr, W(FileName())))
    RaiseWriteError();
}

void IniFile::DeleteKey(const String& section, const String& ident) {
  if (ProfileNameFits(FileName())) WritePrivateProfileStringW(W(section), W(ident), nullptr, W(FileName()));
}

void IniFile::UpdateFile() {
  if (ProfileNameFits(FileName())) WritePrivateProfileStringW(nullptr, nullptr, nullptr, W(FileName()));
}

}  // namespace rtl

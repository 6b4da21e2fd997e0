// IniFile in the native build: the whole file read and rewritten on every call (through
// MemIniFile), with the private-profile reading rules: one pair of enclosing quotes ("..."
// or '...') is dropped from a value, and lines without "=" are no keys. Lines before the first
// section and comments are not kept when the file is rewritten.
#include "rtl/ini_file.h"

namespace rtl {

IniFile::~IniFile() = default;

String IniFile::ReadString(const String& section, const String& ident, const String& def) {
  MemIniFile mem(FileName());
  const String missing(1, u'\uFFFF');
  String v = mem.ReadString(section, ident, missing);
  if (v == missing) v = def;
  if (v.size() >= 2 && (v[0] == u'"' || v[0] == u'\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
  return v.substr(0, 2047);
}

void IniFile::WriteString(const String& section, const String& ident, const String& value) {
  MemIniFile mem(FileName());
  mem.WriteString(section, ident, value);
  try {
    mem.UpdateFile();
  } catch (const EIniFileException&) {
    RaiseWriteError();
  }
}

// Lines without "=" (comments such as "# a note") are no keys, as for the platform's reader.
void IniFile::ReadSection(const String& section, StringList& keys) {
  MemIniFile mem(FileName());
  StringList lines;
  mem.ReadSectionValues(section, lines);
  keys.BeginUpdate();
  keys.Clear();
  for (int i = 0; i < lines.Count(); ++i)
    if (lines[i].find(u'=') != String::npos) keys.Add(lines.Names(i));
  keys.EndUpdate();
}

void IniFile::ReadSections(StringList& sections) {
  MemIniFile mem(FileName());
  mem.ReadSections(sections);
}

void IniFile::EraseSection(const String& section) {
  MemIniFile mem(FileName());
  mem.EraseSection(section);
  if (!mem.Modified()) return;
  try {
    mem.UpdateFile();
  } catch (const EIniFileException&) {
    RaiseWriteError();
  }
}

void IniFile::DeleteKey(const String& section, const String& ident) {
  MemIniFile mem(FileName());
  mem.DeleteKey(section, ident);
  try {
    mem.UpdateFile();
  } catch (const EIniFileException&) {
  }
}

void IniFile::UpdateFile() {}

}  // namespace rtl

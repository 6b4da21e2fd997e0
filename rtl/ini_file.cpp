// The INI objects' common value conventions and the in-memory INI file.
#include "rtl/ini_file.h"

#include <cstdio>

#include "rtl/int_text.h"
#include "rtl/platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "rtl/file_system.h"
#endif

namespace rtl {
namespace {

String Trim(const String& s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return s.substr(b, e - b);
}

std::FILE* OpenFile(const String& name, bool write) {
#ifdef _WIN32
  return _wfopen(W(name), write ? L"wb" : L"rb");
#else
  std::string p = NativePath(name);
  return p.empty() ? nullptr : std::fopen(p.c_str(), write ? "wb" : "rb");
#endif
}

// The whole file; false when it cannot be opened.
bool ReadAll(const String& name, std::string& bytes) {
  std::FILE* f = OpenFile(name, false);
  if (!f) return false;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  std::fclose(f);
  return true;
}

bool WriteAll(const String& name, const std::string& bytes) {
  std::FILE* f = OpenFile(name, true);
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

String Utf16Of(std::string_view bytes, bool big_endian) {
  String s(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
    s[i] = big_endian ? static_cast<char16_t>(a << 8 | b) : static_cast<char16_t>(b << 8 | a);
  }
  return s;
}

std::string BytesOfUtf16(const String& s, bool big_endian) {
  std::string r;
  r.reserve(s.size() * 2);
  for (char16_t c : s) {
    char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    r += big_endian ? hi : lo;
    r += big_endian ? lo : hi;
  }
  return r;
}

}  // namespace

// --- CustomIniFile -----------------------------------------------------------------------

int CustomIniFile::ReadInteger(const String& section, const String& ident, int def) {
  // "0x..." longer than two characters is hexadecimal; TryStrToInt also takes "$" and "x".
  return StrToIntDef(ReadString(section, ident, String()), def);
}

void CustomIniFile::WriteInteger(const String& section, const String& ident, int value) {
  WriteString(section, ident, IntToStr(value));
}

bool CustomIniFile::ReadBool(const String& section, const String& ident, bool def) {
  return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void CustomIniFile::WriteBool(const String& section, const String& ident, bool value) {
  WriteString(section, ident, value ? u"1" : u"0");
}

void CustomIniFile::ReadSectionValues(const String& section, StringList& lines) {
  StringList keys;
  ReadSection(section, keys);
  lines.BeginUpdate();
  lines.Clear();
  for (int i = 0; i < keys.Count(); ++i) lines.Add(keys[i] + u"=" + ReadString(section, keys[i], String()));
  lines.EndUpdate();
}

bool CustomIniFile::SectionExists(const String& section) {
  StringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool CustomIniFile::ValueExists(const String& section, const String& ident) {
  StringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(ident) >= 0;
}

void CustomIniFile::RaiseWriteError() const { throw EIniFileException(u"Unable to write to " + file_name_); }

// --- MemIniFile --------------------------------------------------------------------------

MemIniFile::MemIniFile(const String& file_name) : CustomIniFile(file_name) { Load(); }

MemIniFile::~MemIniFile() {
  if (AutoSave && modified_) {
    try {
      UpdateFile();
    } catch (...) {
    }
  }
}

void MemIniFile::Load() {
  sections_.clear();
  std::string bytes;
  if (!ReadAll(FileName(), bytes)) return;
  String text;
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    encoding_ = Encoding::Utf8Bom;
    text = FromUtf8(std::string_view(bytes).substr(3));
  } else if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
    encoding_ = Encoding::Utf16LeBom;
    text = Utf16Of(std::string_view(bytes).substr(2), false);
  } else if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFE\xFF") == 0) {
    encoding_ = Encoding::Utf16BeBom;
    text = Utf16Of(std::string_view(bytes).substr(2), true);
  } else {
    encoding_ = Encoding::Ansi;
    text = DecodeAnsi(bytes);
  }
  StringList lines;
  lines.SetText(text);
  SetStrings(lines);
  modified_ = false;
}

MemIniFile::Section* MemIniFile::FindSection(const String& name) {
  for (Section& s : sections_)
    if (AnsiCompareText(s.name, name) == 0) return &s;
  return nullptr;
}

const MemIniFile::Section* MemIniFile::FindSection(const String& name) const {
  return const_cast<MemIniFile*>(this)->FindSection(name);
}

void MemIniFile::SetStrings(const StringList& lines) {
  sections_.clear();
  Section* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) {
    String s = Trim(lines[i]);
    if (s.empty() || s[0] == u';') continue;
    if (s[0] == u'[' && s.back() == u']') {
      sections_.push_back(Section{Trim(s.substr(1, s.size() - 2)), StringList()});
      current = &sections_.back();
    } else if (current) {
      size_t j = s.find(u'=');
      current->entries.Add(j == String::npos ? s : Trim(s.substr(0, j)) + u"=" + Trim(s.substr(j + 1)));
    }
  }
  modified_ = true;
}

void MemIniFile::GetStrings(StringList& lines) const {
  lines.BeginUpdate();
  lines.Clear();
  for (const Section& s : sections_) {
    lines.Add(u"[" + s.name + u"]");
    lines.AddStrings(s.entries);
    lines.Add(String());
  }
  lines.EndUpdate();
}

void MemIniFile::Clear() {
  sections_.clear();
  modified_ = true;
}

String MemIniFile::ReadString(const String& section, const String& ident, const String& def) {
  const Section* s = FindSection(section);
  if (s) {
    int i = s->entries.IndexOfName(ident);
    if (i >= 0) return s->entries.ValueFromIndex(i);
  }
  return def;
}

void MemIniFile::WriteString(const String& section, const String& ident, const String& value) {
  Section* s = FindSection(section);
  if (!s) {
    sections_.push_back(Section{section, StringList()});
    s = &sections_.back();
  }
  String entry = ident + u"=" + value;
  int i = s->entries.IndexOfName(ident);
  if (i >= 0) s->entries.Put(i, entry);
  else s->entries.Add(entry);
  modified_ = true;
}

void MemIniFile::ReadSection(const String& section, StringList& keys) {
  keys.BeginUpdate();
  keys.Clear();
  if (const Section* s = FindSection(section))
    for (int i = 0; i < s->entries.Count(); ++i) keys.Add(s->entries.Names(i));
  keys.EndUpdate();
}

void MemIniFile::ReadSections(StringList& sections) {
  sections.BeginUpdate();
  sections.Clear();
  for (const Section& s : sections_) sections.Add(s.name);
  sections.EndUpdate();
}

void MemIniFile::ReadSectionValues(const String& section, StringList& lines) {
  lines.BeginUpdate();
  lines.Clear();
  if (const Section* s = FindSection(section)) lines.AddStrings(s->entries);
  lines.EndUpdate();
}

void MemIniFile::EraseSection(const String& section) {
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (AnsiCompareText(sections_[i].name, section) == 0) {
      sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
      modified_ = true;
      return;
    }
  }
}

void MemIniFile::DeleteKey(const String& section, const String& ident) {
  if (Section* s = FindSection(section)) {
    int i = s->entries.IndexOfName(ident);
    if (i >= 0) {
      s->entries.Delete(i);
      modified_ = true;
    }
  }
}

void MemIniFile::UpdateFile() {
  if (!modified_) return;
  StringList lines;
  GetStrings(lines);
  String text = lines.Text();
  std::string bytes;
  switch (encoding_) {
    case Encoding::Ansi: bytes = EncodeAnsi(text); break;
    case Encoding::Utf8Bom: bytes = "\xEF\xBB\xBF" + ToUtf8(text); break;
    case Encoding::Utf16LeBom: bytes = "\xFF\xFE" + BytesOfUtf16(text, false); break;
    case Encoding::Utf16BeBom: bytes = "\xFE\xFF" + BytesOfUtf16(text, true); break;
  }
  if (!WriteAll(FileName(), bytes)) RaiseWriteError();
  modified_ = false;
}

}  // namespace rtl

// INI file objects: the runtime's TCustomIniFile family.
//  - IniFile: the platform's private-profile service (GetPrivateProfileStringW and
//    WritePrivateProfileStringW), one platform call per value; a write reaches the file at
//    once. A relative file name is resolved by the platform (the Windows folder).
//    Native build: a stand-in that reads and rewrites the whole file on every call, with the
//    private-profile rules (names compared ignoring case, blanks around names and values and
//    one pair of enclosing quotes dropped on reading, lines without "=" no keys).
//  - MemIniFile: the whole file read into memory on construction (byte-order mark decides
//    UTF-8 or UTF-16, else the ANSI code page), changed in memory, written by UpdateFile.
//
// Value conventions of every INI object:
//  - strings as they are; a missing file, section or key gives the caller's default;
//  - integers written in decimal; read: a text longer than two characters that begins
//    "0x"/"0X" is hexadecimal, any other text by rtl::TryStrToInt, else the default;
//  - booleans written "1"/"0"; read as an integer with default 1/0, any value but 0 is true.
//
// Errors: a write that the platform refuses raises EIniFileException
// ("Unable to write to <file name>") from WriteString, WriteInteger, WriteBool,
// EraseSection (IniFile) and UpdateFile (MemIniFile). Reads never raise.
#pragma once

#include <vector>

#include "rtl/errors.h"
#include "rtl/string.h"
#include "rtl/string_list.h"

namespace rtl {

class KV_API CustomIniFile {
 public:
  explicit CustomIniFile(const String& file_name) : file_name_(file_name) {}
  virtual ~CustomIniFile() = default;
  CustomIniFile(const CustomIniFile&) = delete;
  CustomIniFile& operator=(const CustomIniFile&) = delete;

  const String& FileName() const { return file_name_; }

  virtual String ReadString(const String& section, const String& ident, const String& def) = 0;
  virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
  int ReadInteger(const String& section, const String& ident, int def);
  void WriteInteger(const String& section, const String& ident, int value);
  bool ReadBool(const String& section, const String& ident, bool def);
  void WriteBool(const String& section, const String& ident, bool value);

  // The key names of a section, in file order, added to keys after clearing it
  // (none for a missing section).
  virtual void ReadSection(const String& section, StringList& keys) = 0;
  // The section names, in file order, into sections after clearing it.
  virtual void ReadSections(StringList& sections) = 0;
  // The entries name=value of a section into lines after clearing it.
  virtual void ReadSectionValues(const String& section, StringList& lines);
  virtual void EraseSection(const String& section) = 0;
  virtual void DeleteKey(const String& section, const String& ident) = 0;
  virtual void UpdateFile() = 0;
  bool SectionExists(const String& section);
  bool ValueExists(const String& section, const String& ident);

 protected:
  [[noreturn]] void RaiseWriteError() const;

 private:
  String file_name_;
};

// The platform's private-profile INI file (TIniFile). ReadString reads at most 2047
// characters (the runtime's buffer of 2048).
// Unlike the runtime's, a full name of 260 characters or more is refused: reads give the
// default, writes raise EIniFileException, delete and flush do nothing.
class KV_API IniFile : public CustomIniFile {
 public:
  explicit IniFile(const String& file_name) : CustomIniFile(file_name) {}
  ~IniFile() override;

  String ReadString(const String& section, const String& ident, const String& def) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  void ReadSection(const String& section, StringList& keys) override;
  void ReadSections(StringList& sections) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  // Flushes the platform's cache of the file.
  void UpdateFile() override;
};

// The whole file in memory (TMemIniFile). Section and key names compare ignoring case
// (locale rules). Reading a file: lines are trimmed, empty lines and lines starting ";" are
// skipped, "[name]" starts a section, blanks around the first "=" are dropped; lines before
// the first section are ignored. Writing (UpdateFile): every section as "[name]", its
// entries, one empty line, in the encoding the file was read in (ANSI for a new file).
class KV_API MemIniFile : public CustomIniFile {
 public:
  explicit MemIniFile(const String& file_name);
  ~MemIniFile() override;

  String ReadString(const String& section, const String& ident, const String& def) override;
  void WriteString(const String& section, const String& ident, const String& value) override;
  void ReadSection(const String& section, StringList& keys) override;
  void ReadSections(StringList& sections) override;
  void ReadSectionValues(const String& section, StringList& lines) override;
  void EraseSection(const String& section) override;
  void DeleteKey(const String& section, const String& ident) override;
  // Writes the file when anything changed since reading or the last UpdateFile.
  void UpdateFile() override;

  // The file as lines (sections and entries), and replacing the content by lines.
  void GetStrings(StringList& lines) const;
  void SetStrings(const StringList& lines);
  void Clear();
  bool Modified() const { return modified_; }
  // When true the destructor writes a modified file (errors are then swallowed).
  bool AutoSave = false;

 private:
  struct Section {
    String name;
    StringList entries;  // name=value lines, or other lines kept as read
  };
  Section* FindSection(const String& name);
  const Section* FindSection(const String& name) const;
  void Load();
  std::vector<Section> sections_;
  enum class Encoding { Ansi, Utf8Bom, Utf16LeBom, Utf16BeBom } encoding_ = Encoding::Ansi;
  bool modified_ = false;
};

}  // namespace rtl

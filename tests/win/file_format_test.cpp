#include "kv_tools/file_format.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "rtl/handles.h"
#include "rtl/platform.h"
#include "tests/core/file_format_cases.h"

namespace Kv_tools {
namespace {

using rtl::Encoding;
using namespace std::string_literals;

std::vector<String> Entries(const StringList& list) {
  std::vector<String> entries;
  for (int i = 0; i < list.Count(); ++i) entries.push_back(list[i]);
  return entries;
}

// A fresh folder under the temporary folder, removed with what the test wrote into it.
class FormatFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = rtl::FromW(temp) + u"wtarn_format_" + rtl::IntToStr(GetCurrentProcessId()) + u"\\";
    ASSERT_TRUE(CreateDirectoryW(rtl::W(dir_), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  void TearDown() override {
    for (const String& file : files_) DeleteFileW(rtl::W(file));
    RemoveDirectoryW(rtl::W(dir_));
  }

  String Write(const String& name, std::string_view bytes) {
    const String path = dir_ + name;
    rtl::UniqueFile file(CreateFileW(rtl::W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                  &written, nullptr));
    files_.push_back(path);
    return path;
  }

  String dir_;
  std::vector<String> files_;
};

TEST_F(FormatFiles, DetectorsReadTheWholeFile) {
  int n = 0;
  for (const auto& c : file_format_cases::Cases()) {
    if (c.cp1252 && rtl::AnsiCodePage() != 1252) continue;
    SCOPED_TRACE(c.label);
    const String path = Write(u"case" + rtl::IntToStr(++n) + u".txt", c.bytes);
    EXPECT_EQ(GetFileFormat(path), c.format);
    EXPECT_EQ(GetFileFormatEncoding(path), c.encoding);
    int figure = -1;
    bool line_break = !c.line_break;
    EXPECT_EQ(CheckFileFormat(path, figure, line_break), c.checked);
    EXPECT_EQ(figure, c.figure);
    EXPECT_EQ(line_break, c.line_break);
  }
  // A long file: the mark and the bytes far behind it both count.
  const String big = Write(u"big.txt", "\xEF\xBB\xBF" + std::string(3'000'000, 'x') + "\r\n");
  int figure = 0;
  bool line_break = false;
  EXPECT_EQ(CheckFileFormat(big, figure, line_break), Encoding::UTF8());
  EXPECT_TRUE(line_break);
  EXPECT_EQ(GetFileFormat(Write(u"late.txt", std::string(3'000'000, 'x') + "\xC3\xA4")), u"utf-8");
}

TEST_F(FormatFiles, MissingFoldersAndLockedFiles) {
  for (const String& path : {dir_ + u"missing.txt", dir_}) {
    SCOPED_TRACE(rtl::ToUtf8(path));
    EXPECT_EQ(GetFileFormat(path), u"Ansi");
    EXPECT_EQ(GetFileFormatEncoding(path), Encoding::ANSI());
    int figure = 9;
    bool line_break = true;
    EXPECT_EQ(CheckFileFormat(path, figure, line_break), Encoding::ANSI());
    EXPECT_EQ(figure, 0);
    EXPECT_FALSE(line_break);
  }

  const String path = Write(u"locked.txt", "\xEF\xBB\xBF" "abc\r\n");
  rtl::UniqueFile lock(CreateFileW(rtl::W(path), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  EXPECT_THROW(GetFileFormat(path), rtl::EFOpenError);
  EXPECT_THROW(GetFileFormatEncoding(path), rtl::EFOpenError);
  int figure = 0;
  bool line_break = false;
  EXPECT_THROW(CheckFileFormat(path, figure, line_break), rtl::EFOpenError);
  StringList* list = nullptr;
  EXPECT_FALSE(CanLoadStringList(list, path));
  EXPECT_NE(list, nullptr);  // created before the load failed; the caller owns it
  delete list;
}

TEST_F(FormatFiles, CanLoadStringList) {
  StringList* absent = nullptr;
  EXPECT_FALSE(CanLoadStringList(absent, dir_ + u"missing.txt"));
  EXPECT_EQ(absent, nullptr);

  StringList kept;
  kept.Add(u"old");
  StringList* kept_ptr = &kept;
  EXPECT_FALSE(CanLoadStringList(kept_ptr, dir_ + u"missing.txt"));
  EXPECT_EQ(Entries(kept), std::vector<String>{u"old"});

  struct Row { const char* label; std::string bytes; std::vector<String> want; } rows[] = {
      {"UTF-8 with mark", "\xEF\xBB\xBF" "eins\r\nzw\xC3\xB6lf\r\n", {u"eins", u"zw\u00F6lf"}},
      {"UTF-8 without mark", "Gr\xC3\xB6\xC3\x9F" "e\nx", {u"Gr\u00F6\u00DF" "e", u"x"}},
      {"UTF-16 LE", "\xFF\xFE" "a\0\r\0b\0"s, {u"a", u"b"}},
      {"UTF-16 BE", "\xFE\xFF\0a\0\n\0\n\0b"s, {u"a", u"", u"b"}},
      {"ASCII", "one\r\n\r\nthree", {u"one", u"", u"three"}},
      {"empty", "", {}},
  };
  int n = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    const String path = Write(u"load" + rtl::IntToStr(++n) + u".txt", r.bytes);
    StringList* created = nullptr;
    ASSERT_TRUE(CanLoadStringList(created, path));
    std::unique_ptr<StringList> owner(created);
    EXPECT_EQ(Entries(*created), r.want);
    EXPECT_TRUE(CanLoadStringList(kept_ptr, path));
    EXPECT_EQ(Entries(kept), r.want);  // the old entries are replaced
  }
}

TEST_F(FormatFiles, LinesThroughStreamsAndFiles) {
  StringList list;
  list.Add(u"x");
  list.Add(u"y");
  rtl::MemoryStream three("a\r\nb\nc");
  LoadLinesFromStream(list, three, Encoding::UTF8());
  EXPECT_EQ(Entries(list), (std::vector<String>{u"x", u"y", u"a", u"b", u"c"}));

  StringList from_middle;
  rtl::MemoryStream stream("skip\xFF\xFE" "a\0\r\0\n\0b\0"s);
  stream.SetPosition(4);
  LoadLinesFromStream(from_middle, stream, Encoding::Unicode());
  EXPECT_EQ(Entries(from_middle), (std::vector<String>{u"a", u"b"}));

  StringList lines;
  lines.Add(u"Gr\u00F6\u00DFe");
  lines.Add(u"");
  lines.Add(u"\u20AC 5");
  for (const Encoding* encoding :
       {Encoding::UTF8(), Encoding::Unicode(), Encoding::BigEndianUnicode()}) {
    rtl::MemoryStream saved;
    SaveLinesToStream(lines, saved, encoding);
    EXPECT_EQ(saved.Bytes(), std::string(encoding->Preamble()) + encoding->GetBytes(lines.Text()));
    SaveLinesToStream(lines, saved, encoding);  // no second mark behind content
    EXPECT_EQ(saved.Bytes().size(),
              encoding->Preamble().size() + 2 * encoding->GetBytes(lines.Text()).size());

    rtl::MemoryStream once;
    SaveLinesToStream(lines, once, encoding);
    const String path = Write(u"saved.txt", once.Bytes());
    EXPECT_EQ(GetFileFormatEncoding(path), encoding);
    StringList* loaded = nullptr;
    ASSERT_TRUE(CanLoadStringList(loaded, path));
    std::unique_ptr<StringList> owner(loaded);
    EXPECT_EQ(Entries(*loaded), Entries(lines));
  }
  rtl::MemoryStream ansi;
  SaveLinesToStream(lines, ansi, nullptr);
  EXPECT_EQ(ansi.Bytes(), rtl::EncodeAnsi(lines.Text()));
}

}  // namespace
}  // namespace Kv_tools

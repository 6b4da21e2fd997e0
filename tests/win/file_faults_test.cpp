// Files under faults: files held open without sharing by another process for detection,
// comparison, copy, move and the ANSI writer (the results their headers promise, source
// and target intact), and names outside the ANSI code page for the routines that take wide
// names (the name is kept) and for prevDir, which works on ANSI text.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "kv_tools/file_format.h"
#include "kv_tools/files.h"
#include "kv_tools/folders.h"
#include "kv_tools/globals.h"
#include "kv_tools/ini_registry.h"
#include "kv_tools/paths.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/platform.h"
#include "tests/core/temp_folder.h"
#include "tests/tally.h"
#include "tests/win/held_files.h"
#include "tests/win/message_recorder.h"

namespace Kv_tools {
namespace {

using rtl::ToUtf8;
using rtl::W;
using wtarn_test::HeldFiles;
using wtarn_test::TempFolder;
namespace tally = wtarn_test::tally;

const std::string kSource = "\xEF\xBB\xBF" "source text\r\n";
const std::string kTarget = "target text";

class LockedFiles : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const String& name : {source_, target_}) SetFileAttributesW(W(name), FILE_ATTRIBUTE_NORMAL);
  }
  // Source and target with their contents; the target only when asked for.
  void Make(bool with_target, DWORD source_attributes = FILE_ATTRIBUTE_NORMAL) {
    for (const String& name : {source_, target_}) SetFileAttributesW(W(name), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(W(target_));
    ASSERT_TRUE(rtl::ForceDirectories(rtl::ExtractFileDir(target_)));
    ASSERT_TRUE(tmp_.Write(source_, kSource));
    if (with_target) {
      ASSERT_TRUE(tmp_.Write(target_, kTarget));
    }
    SetFileAttributesW(W(source_), source_attributes);
  }
  // The source as made, and the target as made (or still missing).
  void ExpectIntact(bool with_target) {
    EXPECT_TRUE(tally::Kept("files", TempFolder::Read(source_) == kSource)) << "source";
    if (with_target) {
      EXPECT_TRUE(tally::Kept("files", TempFolder::Read(target_) == kTarget)) << "target";
    } else {
      EXPECT_FALSE(rtl::FileExists(target_)) << "no target appears";
    }
  }

  TempFolder tmp_{u"h9c-lock"};
  String source_ = tmp_ / u"source.txt";
  String target_ = tmp_ / u"sub\\target.txt";
};

TEST_F(LockedFiles, DetectionRaisesAndLeavesTheFile) {
  Make(false);
  {
    HeldFiles held({source_});
    ASSERT_TRUE(held.Holding());
    tally::Faults("file format");
    EXPECT_TRUE(rtl::FileExists(source_)) << "a locked file still exists";
    EXPECT_TRUE(kv_FileExists(source_));
    EXPECT_EQ(kv_GetFileSize(source_), static_cast<int64_t>(kSource.size()));
    EXPECT_THROW(GetFileFormat(source_), rtl::EFOpenError);
    EXPECT_THROW(GetFileFormatEncoding(source_), rtl::EFOpenError);
    int figure = 9;
    bool line_break = true;
    EXPECT_THROW(CheckFileFormat(source_, figure, line_break), rtl::EFOpenError);
    EXPECT_EQ(figure, 0);
    EXPECT_FALSE(line_break);
    StringList* list = nullptr;
    EXPECT_FALSE(CanLoadStringList(list, source_));
    delete list;
  }
  EXPECT_TRUE(tally::Kept("file format", TempFolder::Read(source_) == kSource));
  EXPECT_EQ(GetFileFormat(source_), u"utf-8") << "detected once released";
}

TEST_F(LockedFiles, ComparisonRaisesBeforeShowingAnything) {
  Make(true);
  const String other = tmp_ / u"other.txt";
  ASSERT_TRUE(tmp_.Write(other, kSource));
  wtarn_test::MessageRecorder messages;
  {
    HeldFiles held({source_});
    ASSERT_TRUE(held.Holding());
    tally::Faults("files");
    EXPECT_THROW(CompareThisFiles(source_, other), rtl::EFOpenError);
    EXPECT_THROW(CompareThisFiles(other, source_), rtl::EFOpenError);
    EXPECT_TRUE(messages.Shown().empty());
  }
  ExpectIntact(true);
  CompareThisFiles(source_, other);
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_NE(messages.Shown()[0].text.find(u"Dateien sind gleich."), String::npos);
}

TEST_F(LockedFiles, CopyAndMoveFailWithoutLosingData) {
  struct Row {
    const char* label;
    bool lock_source, lock_target, with_target;
    DWORD source_attributes;
    std::function<bool()> run;
  } rows[] = {
      {"copy from a locked source", true, false, false, FILE_ATTRIBUTE_NORMAL, [&] { return kv_CopyFile(source_, target_); }},
      {"copy onto a locked target", false, true, true, FILE_ATTRIBUTE_NORMAL, [&] { return kv_CopyFile(source_, target_); }},
      {"copy of a read-only source onto a locked target", false, true, true, FILE_ATTRIBUTE_READONLY,
       [&] { return kv_CopyFile(source_, target_); }},
      {"move of a locked source to a free name", true, false, false, FILE_ATTRIBUTE_NORMAL,
       [&] { return kv_MoveFile(source_, target_); }},
      {"move of a locked source onto a target", true, false, true, FILE_ATTRIBUTE_NORMAL,
       [&] { return kv_MoveFile(source_, target_); }},
      {"move onto a locked target", false, true, true, FILE_ATTRIBUTE_NORMAL, [&] { return kv_MoveFile(source_, target_); }},
      {"move of a read-only source onto a locked target", false, true, true, FILE_ATTRIBUTE_READONLY,
       [&] { return kv_MoveFile(source_, target_); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    Make(r.with_target, r.source_attributes);
    {
      HeldFiles held({r.lock_source ? source_ : target_});
      ASSERT_TRUE(held.Holding());
      tally::Faults("files");
      EXPECT_FALSE(r.run());
    }
    ExpectIntact(r.with_target);
    EXPECT_EQ(GetFileAttributesW(W(source_)) & FILE_ATTRIBUTE_READONLY, r.source_attributes & FILE_ATTRIBUTE_READONLY)
        << "the source's write protection comes back";
  }
}

TEST_F(LockedFiles, AnsiWriterRaisesAndKeepsTheFile) {
  Make(true);
  {
    HeldFiles held({target_});
    ASSERT_TRUE(held.Holding());
    tally::Faults("files");
    EXPECT_THROW(SaveAnsiStringToFile(u"replaced", target_), rtl::EFOpenError);
  }
  ExpectIntact(true);
}

// --- Names outside the ANSI code page ------------------------------------------------------

struct WideName {
  const char* label;
  const char16_t* name;
};

const WideName kWideNames[] = {
    {"Greek", u"\u03A9mega"},
    {"Japanese", u"\u65E5\u672C"},
    {"emoji (surrogate pair)", u"\U0001F600smile"},
};

TEST(WideNames, FileOperationsKeepTheName) {
  TempFolder tmp(u"h9c-wide");
  for (const WideName& w : kWideNames) {
    SCOPED_TRACE(w.label);
    tally::Inputs("files");
    const String folder = tmp / String(w.name);
    const String source = folder + u"\\" + w.name + u".txt";
    const String copy = folder + u"\\copy\\" + w.name + u"2.txt";
    const String moved = tmp / (String(w.name) + u"-moved.txt");
    ASSERT_TRUE(rtl::ForceDirectories(folder));
    ASSERT_TRUE(tmp.Write(source, "abc\r\n"));

    EXPECT_TRUE(rtl::FileExists(source));
    EXPECT_TRUE(kv_FileExists(source));
    EXPECT_TRUE(rtl::DirectoryExists(folder));
    EXPECT_EQ(kv_GetFileSize(source), 5);
    EXPECT_TRUE(kv_CopyFile(source, copy));
    EXPECT_TRUE(tally::Kept("files", TempFolder::Read(copy) == "abc\r\n"));
    EXPECT_TRUE(SetWriteProtect(copy));
    EXPECT_TRUE(IsWriteProtect(copy));
    EXPECT_TRUE(RemoveWriteProtect(copy));
    EXPECT_TRUE(kv_MoveFile(copy, moved));
    EXPECT_TRUE(tally::Kept("files", TempFolder::Read(moved) == "abc\r\n"));
    EXPECT_FALSE(rtl::FileExists(copy));

    const double noon = 45000.5;  // 15 March 2023, 12:00
    EXPECT_TRUE(SetFileTimes(source, noon, noon, noon));
    double created = 0, accessed = 0, written = 0;
    EXPECT_TRUE(GetFileTimes(source, created, accessed, written));
    EXPECT_DOUBLE_EQ(written, noon);
    EXPECT_DOUBLE_EQ(GetFileDateTime(source), noon);
    EXPECT_DOUBLE_EQ(GetModifyDate(source), noon);
    EXPECT_NEAR(kv_GetFileAge(source), noon, 1e-6);

    SaveAnsiStringToFile(u"plain", moved);
    EXPECT_EQ(TempFolder::Read(moved), "plain") << "the text is ANSI, the name is not";
    EXPECT_EQ(GetNotExistingFilename(source, u""), folder + u"\\" + w.name + u"1.txt") << "taken: numbered";
    EXPECT_EQ(GetNotExistingDirName(folder), folder + u"1");
    EXPECT_EQ(kv_GetLongFileName(folder), w.name);
    EXPECT_EQ(kv_GetValidFilename(w.name), w.name);
    EXPECT_TRUE(DelDir(folder));
    EXPECT_FALSE(rtl::DirectoryExists(folder));
  }
}

TEST(WideNames, FormatDetectionKeepsTheName) {
  TempFolder tmp(u"h9c-wide");
  for (const WideName& w : kWideNames) {
    SCOPED_TRACE(w.label);
    tally::Inputs("file format");
    const String text = tmp / (String(w.name) + u".txt");
    ASSERT_TRUE(tmp.Write(text, std::string("\xFF\xFE" "a\0b\0", 6)));
    EXPECT_EQ(GetFileFormat(text), u"utf-16");
    EXPECT_EQ(GetFileFormatEncoding(text), rtl::Encoding::Unicode());
    StringList* list = nullptr;
    EXPECT_TRUE(CanLoadStringList(list, text));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ((*list)[0], u"ab");
    delete list;
  }
}

// The INI file keeps its wide name. The private-profile service writes a new file in the
// ANSI code page, so keys and values keep only their ANSI form; a file that begins with the
// UTF-16 mark keeps them whole.
TEST(WideNames, IniFilesKeepTheNameAndTheirEncodingDecidesTheText) {
  TempFolder tmp(u"h9c-wide");
  for (const WideName& w : kWideNames) {
    const String ansi = rtl::DecodeAnsi(rtl::EncodeAnsi(w.name));
    struct Row {
      const char* label;
      std::string start;
      String stored;
    } rows[] = {{"new file", "", ansi}, {"UTF-16 file", "\xFF\xFE", w.name}};
    for (const Row& r : rows) {
      SCOPED_TRACE(std::string(w.label) + ", " + r.label);
      tally::Inputs("ini registry");
      wtarn_test::ScopedGlobal ini(AppIniName, tmp / (String(w.name) + u"-" + rtl::FromUtf8(r.label) + u".INI"));
      const String other = String(w.name) + u"-" + rtl::FromUtf8(r.label) + u"-other.ini";
      if (!r.start.empty()) {
        ASSERT_TRUE(tmp.Write(AppIniName, r.start));
        ASSERT_TRUE(tmp.Write(tmp / other, r.start));
      }
      SaveIniStr(u"S", w.name, w.name);
      SaveFileIniStr(other, u"S", u"k", w.name);
      rtl::IniFile(AppIniName).UpdateFile();  // let the service read the files anew
      EXPECT_EQ(GetIniStr(u"S", r.stored, u""), r.stored);
      EXPECT_EQ(GetIniFileIniStr(AppIniName, u"S", r.stored, u""), r.stored);
      EXPECT_EQ(GetFileIniStr(other, u"S", u"k", u""), r.stored);
      EXPECT_TRUE(rtl::FileExists(AppIniName));
      EXPECT_TRUE(rtl::FileExists(tmp / other));
    }
  }
}

// prevDir works on ANSI text: characters the code page lacks come back as its stand-ins.
TEST(WideNames, PrevDirGivesTheAnsiForm) {
  for (const WideName& w : kWideNames) {
    SCOPED_TRACE(w.label);
    tally::Inputs("paths");
    const String parent = u"C:\\" + String(w.name) + u"\\" + w.name;
    const String ansi = rtl::DecodeAnsi(rtl::EncodeAnsi(parent));
    EXPECT_EQ(prevDir(parent + u"\\x.txt"), ansi);
    EXPECT_NE(ansi, parent) << "outside the code page " << GetACP();
    EXPECT_EQ(RemoveSlash(chkPath(parent)), parent) << "the text rules keep every character";
  }
}

}  // namespace
}  // namespace Kv_tools

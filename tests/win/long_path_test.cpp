// Names at and beyond the classic path limit: 259, 260 and 261 characters (real files) and
// 32,767 characters (no file can have it). The text routines keep their rules at any
// length, prevDir works on the first 255 characters, the file routines either do their
// work with the data intact or report failure, the private-profile INI file refuses names
// it cannot hold, and a temporary file is refused in a folder too long for the platform's
// name buffer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "kv_tools/file_format.h"
#include "kv_tools/files.h"
#include "kv_tools/folders.h"
#include "kv_tools/globals.h"
#include "kv_tools/ini_registry.h"
#include "kv_tools/paths.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "rtl/ini_file.h"
#include "tests/core/temp_folder.h"
#include "tests/tally.h"
#include "tests/win/message_recorder.h"

namespace Kv_tools {
namespace {

using rtl::W;
using wtarn_test::ScopedGlobal;
using wtarn_test::TempFolder;
namespace tally = wtarn_test::tally;

// A name of exactly `length` characters: `base` + "\" + folders of at most 200 characters
// + a file name ending in `ext`.
String NameOfLength(const String& base, size_t length, const String& ext = u".txt") {
  String name = base;
  while (length - name.size() > 200 + 1 + 10) name += u"\\" + String(200, u'd');
  name += u"\\";
  return name + String(length - name.size() - ext.size(), u'f') + ext;
}

// Creates the file with its folders through "\\?\" names, which the platform takes at any
// length; false on failure.
bool MakeLongFile(const String& name, const std::string& bytes) {
  const String wide = u"\\\\?\\" + name;
  for (size_t at = wide.find(u'\\', 7); at != String::npos; at = wide.find(u'\\', at + 1))
    CreateDirectoryW(W(wide.substr(0, at)), nullptr);
  rtl::UniqueFile file(CreateFileW(W(wide), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// The file's bytes, read through its "\\?\" name.
std::string ReadLong(const String& name) { return TempFolder::Read(u"\\\\?\\" + name); }

const size_t kLengths[] = {259, 260, 261, 32767};

TEST(LongPaths, TextRulesHoldAtEveryLength) {
  ScopedGlobal mode(DiskMode, u"Mobile");
  const String drive = AppPath().substr(0, 2);
  for (size_t length : kLengths) {
    SCOPED_TRACE(length);
    tally::Inputs("paths");
    const String path = NameOfLength(u"C:", length, u"");
    ASSERT_EQ(path.size(), length);
    EXPECT_EQ(chkPath(path).size(), length + 1);
    EXPECT_EQ(RemoveSlash(chkPath(path)), path);
    EXPECT_EQ(prevDir(path), prevDir(path.substr(0, 255))) << "the first 255 characters only";
    EXPECT_EQ(kv_GetExpandedFilename(path), path);
    const String shortened = u"C:\\PROGRA~9\\" + path.substr(3);
    EXPECT_EQ(kv_GetExpandedFilename(shortened), shortened) << "the shell knows none of these";
    EXPECT_EQ(kv_GetLongFileName(path), u"");
    EXPECT_EQ(kv_GetValidDirName(path), path);
    EXPECT_EQ(GetStrictRelativFile(path), drive + path.substr(2, 2000)) << "at most 2000 characters";
    EXPECT_EQ(GetRelativFile(path), drive + path.substr(2, 2000));
    EXPECT_EQ(GetRelativPath(path), drive + path.substr(2, 2000));
    EXPECT_EQ(GetStrictRelativPath(u"\\\\" + path), drive.substr(0, 1) + u":\\usbnet=" + path.substr(0, 2000));
    EXPECT_EQ(GetNotExistingFilename(path + u"5.txt"), path + u"1.txt");
    EXPECT_EQ(GetNotExistingDirName(path), path);
  }
}

TEST(LongPaths, MissingFilesOfEveryLengthAreReportedMissing) {
  TempFolder tmp(u"h9c-long");
  for (size_t length : kLengths) {
    SCOPED_TRACE(length);
    tally::Inputs("files");
    const String path = NameOfLength(tmp.Path(), length);
    EXPECT_FALSE(rtl::FileExists(path));
    EXPECT_FALSE(kv_FileExists(path));
    EXPECT_FALSE(rtl::DirectoryExists(path));
    EXPECT_EQ(kv_GetFileSize(path), -1);
    double created = 1, accessed = 2, written = 3;
    EXPECT_FALSE(GetFileTimes(path, created, accessed, written));
    EXPECT_EQ(written, 3.0);
    EXPECT_FALSE(SetFileTimes(path, 45000, 45000, 45000));
    EXPECT_FALSE(SetWriteProtect(path));
    EXPECT_FALSE(IsWriteProtect(path));
    EXPECT_FALSE(kv_CopyFile(path, tmp / u"copy.txt"));
    EXPECT_FALSE(kv_MoveFile(path, tmp / u"moved.txt"));
    EXPECT_EQ(GetFileFormat(path), u"Ansi");
    StringList* list = nullptr;
    EXPECT_FALSE(CanLoadStringList(list, path));
    EXPECT_EQ(list, nullptr);
  }
}

// Names up to 259 characters are valid everywhere; longer ones only where the platform
// takes them (Wine does). Either way a routine reports what it did.
TEST(LongPaths, FilesAtTheEdgeKeepTheirData) {
  TempFolder tmp(u"h9c-long");
  const std::string content = "\xEF\xBB\xBF" "long\r\n";
  for (size_t length : {259, 260, 261}) {
    SCOPED_TRACE(length);
    tally::Inputs("files");
    const String source = NameOfLength(tmp.Path(), length);
    const String copy = source.substr(0, length - 5) + u"c.txt";
    const String moved = source.substr(0, length - 5) + u"m.txt";
    ASSERT_TRUE(MakeLongFile(source, content));

    const bool reachable = rtl::FileExists(source);
    if (length < MAX_PATH) {
      EXPECT_TRUE(reachable);
    }
    EXPECT_EQ(kv_FileExists(source), reachable);
    EXPECT_EQ(kv_GetFileSize(source), reachable ? static_cast<int64_t>(content.size()) : -1);
    EXPECT_EQ(GetFileFormat(source), reachable ? u"utf-8" : u"Ansi");
    EXPECT_EQ(SetWriteProtect(source), reachable);
    EXPECT_EQ(IsWriteProtect(source), reachable);
    EXPECT_EQ(RemoveWriteProtect(source), reachable);
    EXPECT_EQ(SetFileTimes(source, 45000.5, 45000.5, 45000.5), reachable);
    double created = 0, accessed = 0, written = 0;
    EXPECT_EQ(GetFileTimes(source, created, accessed, written), reachable);
    if (reachable) {
      EXPECT_DOUBLE_EQ(written, 45000.5);
    }

    ASSERT_TRUE(MakeLongFile(copy, "old"));
    const bool copied = kv_CopyFile(source, copy);
    EXPECT_EQ(copied, reachable);
    EXPECT_TRUE(tally::Kept("files", ReadLong(copy) == (copied ? content : "old")));
    if (copied) {
      wtarn_test::MessageRecorder messages;
      CompareThisFiles(source, copy);
      ASSERT_EQ(messages.Shown().size(), 1u);
      EXPECT_NE(messages.Shown()[0].text.find(u"Dateien sind gleich."), String::npos);
      EXPECT_TRUE(kv_MoveFile(copy, moved));
      EXPECT_TRUE(tally::Kept("files", ReadLong(moved) == content));
      EXPECT_EQ(GetNotExistingFilename(source), source.substr(0, length - 4) + u"1.txt");
    }
    EXPECT_TRUE(tally::Kept("files", ReadLong(source) == content));
  }
}

// The private-profile service holds full names of up to 259 characters; longer names give
// the default on reading and the write error on writing, and no file appears.
TEST(LongPaths, IniFileNamesBeyondTheServicesLimit) {
  TempFolder tmp(u"h9c-long");
  struct Row {
    const char* label;
    String name;
    bool fits, make_folder;
  } rows[] = {
      {"259", NameOfLength(tmp.Path(), 259, u".ini"), true, true},
      {"260", NameOfLength(tmp.Path(), 260, u".ini"), false, true},
      {"261", NameOfLength(tmp.Path(), 261, u".ini"), false, true},
      {"32767", NameOfLength(tmp.Path(), 32767, u".ini"), false, false},
      {"bare name of 300", String(296, u'b') + u".ini", false, false},
      {"bare name of 1000", String(996, u'b') + u".ini", false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    tally::Inputs("ini registry");
    if (r.make_folder) {
      ASSERT_TRUE(rtl::ForceDirectories(rtl::ExtractFileDir(r.name)));
    }
    ScopedGlobal ini(AppIniName, r.name);
    if (r.fits) {
      SaveIniStr(u"S", u"k", u"v");
      EXPECT_EQ(GetIniStr(u"S", u"k", u""), u"v");
      EXPECT_TRUE(rtl::FileExists(r.name));
      continue;
    }
    EXPECT_THROW(SaveIniStr(u"S", u"k", u"v"), rtl::EIniFileException);
    EXPECT_THROW(kv_SavePersist(StringList(), u"S"), rtl::EIniFileException);
    EXPECT_EQ(GetIniStr(u"S", u"k", u"default"), u"default");
    EXPECT_FALSE(GetIniFileIniBool(r.name, u"S", u"k", false));
    rtl::IniFile file(r.name);
    EXPECT_EQ(CountEntries(file, u"S"), 0);
    EXPECT_FALSE(rtl::FileExists(r.name)) << "nothing written anywhere under this name";
  }
}

// The platform writes a temporary file's name into a buffer of MAX_PATH characters.
TEST(LongPaths, TemporaryFileInALongDataFolder) {
  TempFolder tmp(u"h9c-long");
  struct Row {
    size_t folder_length;  // of chkPath(ProgDataPath) + "Temp"
    bool made;
  } rows[] = {{244, true}, {247, false}, {300, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.folder_length);
    tally::Inputs("paths");
    const String data = tmp.Path() + u"\\" + String(r.folder_length - tmp.Path().size() - 6, u'p');
    ScopedGlobal progdata(ProgDataPath, data);
    const String name = GetModusTmpFile(true, u"abc");
    EXPECT_EQ(!name.empty(), r.made);
    if (r.made) {
      EXPECT_EQ(name.substr(0, r.folder_length + 1), data + u"\\Temp\\");
      EXPECT_TRUE(rtl::FileExists(name));
    }
  }
}

}  // namespace
}  // namespace Kv_tools

// File operations on real files in a temporary folder. Wine runs as root here, so the
// read-only attribute does not stop writes; where a step cannot fail for real, the test
// breaks it in the steps that kv_MoveFile is made of.
#include "kv_tools/files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "package/dversion.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/format_settings.h"
#include "tests/core/temp_folder.h"
#include "tests/win/message_recorder.h"

namespace Kv_tools {
namespace {

using rtl::ToUtf8;
using rtl::W;
using wtarn_test::TempFolder;

// The attributes without the archive bit, which Wine reports on every file.
DWORD Attributes(const String& name) { return GetFileAttributesW(W(name)) & ~DWORD{FILE_ATTRIBUTE_ARCHIVE}; }

class FilesWin : public ::testing::Test {
 protected:
  // The temporary folder goes whatever read-only files a test leaves in it.
  void TearDown() override {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(wtarn_test::FsPath(temp_.Path()), ec))
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  // A file with the given content and attributes.
  String Make(const String& name, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const String path = temp_ / name;
    rtl::ForceDirectories(rtl::ExtractFileDir(path));
    SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(temp_.Write(path, content));
    SetFileAttributesW(W(path), attributes);
    return path;
  }

  TempFolder temp_{u"h6-files"};
};

TEST_F(FilesWin, CopyKeepsReadOnlyAndMakesFolders) {
  const String source = Make(u"a.txt", "alpha", FILE_ATTRIBUTE_READONLY);

  const String deep = temp_ / u"new\\deeper\\a.txt";
  EXPECT_TRUE(kv_CopyFile(source, deep)) << "missing folders are made";
  EXPECT_EQ(TempFolder::Read(deep), "alpha");
  EXPECT_EQ(Attributes(source), DWORD{FILE_ATTRIBUTE_READONLY}) << "source read-only again";
  EXPECT_EQ(Attributes(deep) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY}) << "the copy too";

  const String existing = Make(u"b.txt", "an older and longer text");
  EXPECT_TRUE(kv_CopyFile(source, existing));
  EXPECT_EQ(TempFolder::Read(existing), "alpha");

  EXPECT_FALSE(kv_CopyFile(temp_ / u"missing.txt", temp_ / u"c.txt")) << "nothing to copy";
  EXPECT_FALSE(rtl::FileExists(temp_ / u"c.txt"));
  EXPECT_FALSE(kv_CopyFile(temp_ / u"new", temp_ / u"d")) << "a folder is no file";
}

TEST_F(FilesWin, MoveRenamesOrReplaces) {
  const String free_source = Make(u"s1.txt", "one");
  const String free_target = temp_ / u"far\\away\\t1.txt";
  EXPECT_TRUE(kv_MoveFile(free_source, free_target));
  EXPECT_FALSE(rtl::FileExists(free_source));
  EXPECT_EQ(TempFolder::Read(free_target), "one");

  const String hidden_source = Make(u"s2.txt", "two", FILE_ATTRIBUTE_HIDDEN);
  const String taken = Make(u"t2.txt", "an older and longer text");
  EXPECT_TRUE(kv_MoveFile(hidden_source, taken)) << "copy, then delete";
  EXPECT_FALSE(rtl::FileExists(hidden_source));
  EXPECT_EQ(TempFolder::Read(taken), "two");
  EXPECT_EQ(Attributes(taken), DWORD{FILE_ATTRIBUTE_HIDDEN}) << "the source's attributes";

  const String locked_source = Make(u"s3.txt", "three", FILE_ATTRIBUTE_READONLY);
  const String taken_too = Make(u"t3.txt", "old");
  EXPECT_FALSE(kv_MoveFile(locked_source, taken_too)) << "a read-only source cannot be deleted";
  EXPECT_EQ(TempFolder::Read(locked_source), "three");
  EXPECT_EQ(Attributes(locked_source), DWORD{FILE_ATTRIBUTE_READONLY});
  EXPECT_EQ(TempFolder::Read(taken_too), "three") << "the copy was made";

  EXPECT_FALSE(kv_MoveFile(temp_ / u"missing.txt", taken_too));
  EXPECT_EQ(TempFolder::Read(taken_too), "three");
}

// Every step of a move that can fail, broken on purpose: the source stays, unchanged.
TEST_F(FilesWin, MoveNeverLosesTheSource) {
  using Break = std::function<void(FileSteps&, const String& source, const String& target)>;
  struct Row {
    const char* label;
    bool target_exists;
    bool onto_itself;
    Break broken;
  } rows[] = {
      {"target folder cannot be made", false, false,
       [](FileSteps& s, const String&, const String&) { s.ForceDirectories = [](const String&) { return false; }; }},
      {"source cannot be examined", false, false,
       [](FileSteps& s, const String&, const String&) {
         s.Attributes = [](const String&) { return std::optional<uint32_t>(); };
       }},
      {"copy fails", true, false,
       [](FileSteps& s, const String&, const String&) { s.Copy = [](const String&, const String&) { return false; }; }},
      {"copy onto the source itself", false, true,
       [](FileSteps& s, const String&, const String&) { s.Move = [](const String&, const String&) { return false; }; }},
      {"attributes of the copy cannot be set", true, false,
       [](FileSteps& s, const String&, const String& target) {
         auto real = s.SetAttributes;
         s.SetAttributes = [real, target](const String& name, uint32_t a) { return name != target && real(name, a); };
       }},
      {"source cannot be deleted", true, false,
       [](FileSteps& s, const String&, const String&) { s.Remove = [](const String&) { return false; }; }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    const String source = Make(u"precious.txt", "precious content");
    const String target = r.onto_itself ? source : temp_ / u"sub\\target.txt";
    if (r.target_exists) Make(u"sub\\target.txt", "old");
    FileSteps steps = Win32FileSteps();
    r.broken(steps, source, target);
    EXPECT_FALSE(MoveFileWith(steps, source, target));
    EXPECT_EQ(TempFolder::Read(source), "precious content");
    DeleteFileW(W(temp_ / u"sub\\target.txt"));
  }

  const String source = Make(u"precious.txt", "precious content");
  FileSteps no_move = Win32FileSteps();
  no_move.Move = [](const String&, const String&) { return false; };
  EXPECT_TRUE(MoveFileWith(no_move, source, temp_ / u"other\\moved.txt")) << "a failed move falls back to copying";
  EXPECT_EQ(TempFolder::Read(temp_ / u"other\\moved.txt"), "precious content");
  EXPECT_FALSE(rtl::FileExists(source));
}

TEST_F(FilesWin, DeleteTreeAndRecycle) {
  Make(u"tree\\a.txt", "a");
  Make(u"tree\\sub\\b.txt", "b");
  Make(u"tree\\sub\\deeper\\c.txt", "c", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(DelDir(temp_ / u"tree"));
  EXPECT_FALSE(rtl::DirectoryExists(temp_ / u"tree"));

  const String waste = Make(u"wtarn-recycled.txt", "waste");
  EXPECT_TRUE(RecycleFile(waste));
  EXPECT_FALSE(rtl::FileExists(waste));
}

TEST_F(FilesWin, WriteProtection) {
  const String file = Make(u"p.txt", "x", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(IsWriteProtect(file));
  EXPECT_TRUE(RemoveWriteProtect(file)) << "already unprotected";
  EXPECT_TRUE(SetWriteProtect(file));
  EXPECT_EQ(Attributes(file), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY}) << "other bits kept";
  EXPECT_TRUE(IsWriteProtect(file));
  EXPECT_TRUE(SetWriteProtect(file)) << "already protected";
  EXPECT_TRUE(RemoveWriteProtect(file));
  EXPECT_EQ(Attributes(file), DWORD{FILE_ATTRIBUTE_HIDDEN});

  const String missing = temp_ / u"missing.txt";
  EXPECT_FALSE(SetWriteProtect(missing));
  EXPECT_FALSE(RemoveWriteProtect(missing));
  EXPECT_FALSE(IsWriteProtect(missing));

  SetFileAttributesW(W(temp_.Path()), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(IsWriteProtect(temp_.Path())) << "a folder is no file";
  SetFileAttributesW(W(temp_.Path()), FILE_ATTRIBUTE_DIRECTORY);
}

double At(int year, int month, int day, int hour, int min, int sec, int msec = 0) {
  double date = 0, time = 0;
  rtl::TryEncodeDate(year, month, day, date);
  rtl::TryEncodeTime(hour, min, sec, msec, time);
  return date + time;
}

// Sets the last write time of a file directly, at full precision.
void SetLastWrite(const String& name, double local) {
  int y, mo, d, h, mi, s, ms;
  rtl::DecodeDate(local, y, mo, d);
  rtl::DecodeTime(local, h, mi, s, ms);
  SYSTEMTIME st{static_cast<WORD>(y), static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
                static_cast<WORD>(mi), static_cast<WORD>(s), static_cast<WORD>(ms)};
  FILETIME ft, utc;
  SystemTimeToFileTime(&st, &ft);
  LocalFileTimeToFileTime(&ft, &utc);
  HANDLE h_file = CreateFileW(W(name), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h_file, nullptr, nullptr, &utc);
  CloseHandle(h_file);
}

constexpr double kSecond = 1.0 / 86400;

TEST_F(FilesWin, SizesAndTimes) {
  const String file = Make(u"t.txt", "12345");
  EXPECT_EQ(kv_GetFileSize(file), 5);
  EXPECT_EQ(kv_GetFileSize(temp_.Path()), 0) << "a folder";
  EXPECT_EQ(kv_GetFileSize(temp_ / u"missing.txt"), -1);

  EXPECT_TRUE(SetFileTimes(file, At(2020, 1, 2, 3, 4, 5), At(2021, 3, 4, 5, 6, 7), At(2023, 6, 15, 12, 0, 1)));
  double created = -1, accessed = -1, modified = -1;
  ASSERT_TRUE(GetFileTimes(file, created, accessed, modified));
  EXPECT_NEAR(accessed, At(2021, 3, 4, 5, 6, 6), 1e-9);
  EXPECT_NEAR(modified, At(2023, 6, 15, 12, 0, 0), 1e-9) << "12:00:01 is stored as 12:00:00";
  EXPECT_NEAR(kv_GetFileAge(file), At(2023, 6, 15, 12, 0, 0), 1e-9);
  EXPECT_NEAR(GetFileDateTime(file), At(2023, 6, 15, 12, 0, 0), 1e-9);
  EXPECT_NEAR(GetModifyDate(file), At(2023, 6, 15, 12, 0, 0), 1e-9);

  EXPECT_TRUE(SetFileTimes(file, At(1979, 1, 1, 0, 0, 0), At(1979, 1, 1, 0, 0, 0), At(1975, 1, 1, 0, 0, 0)));
  ASSERT_TRUE(GetFileTimes(file, created, accessed, modified));
  EXPECT_NEAR(modified, At(2023, 6, 15, 12, 0, 0), 1e-9) << "a year before 1980 is skipped";

  SetLastWrite(file, At(2022, 2, 2, 8, 30, 1, 500));
  EXPECT_NEAR(kv_GetFileAge(file), At(2022, 2, 2, 8, 30, 1, 500), 1e-9) << "full precision";
  EXPECT_NEAR(GetFileDateTime(file), At(2022, 2, 2, 8, 30, 0), 1e-9) << "2-second steps";
  EXPECT_NEAR(GetModifyDate(file), At(2022, 2, 2, 8, 30, 0), 1e-9);

  const String missing = temp_ / u"missing.txt";
  EXPECT_FALSE(SetFileTimes(missing, At(2020, 1, 1, 0, 0, 0), At(2020, 1, 1, 0, 0, 0), At(2020, 1, 1, 0, 0, 0)));
  created = accessed = modified = -1;
  EXPECT_FALSE(GetFileTimes(missing, created, accessed, modified));
  EXPECT_EQ(modified, -1) << "untouched";
  for (double now : {kv_GetFileAge(missing), GetFileDateTime(missing), GetModifyDate(missing)})
    EXPECT_NEAR(now, rtl::Now(), 60 * kSecond) << "now for a missing file";
}

TEST_F(FilesWin, AnsiTextFile) {
  if (GetACP() != 1252) GTEST_SKIP() << "expects the code page 1252";
  const String file = Make(u"ansi.txt", "an older and much longer content");
  SaveAnsiStringToFile(u"Grüße € 中\r\nzwei", file);
  EXPECT_EQ(TempFolder::Read(file), "Gr\xFC\xDF" "e \x80 ?\r\nzwei") << "no mark, no terminator";
  SaveAnsiStringToFile(u"", file);
  EXPECT_EQ(TempFolder::Read(file), "");
  EXPECT_THROW(SaveAnsiStringToFile(u"x", temp_ / u"no\\such\\folder.txt"), rtl::EFOpenError);
}

TEST_F(FilesWin, CompareThisFilesShowsItsReport) {
  const String one = Make(u"one.txt", "abcdef");
  const String same = Make(u"same.txt", "abcdef");
  const String last = Make(u"last.txt", "abcdeX");
  const String longer = Make(u"longer.txt", "abcdefgh");
  wtarn_test::MessageRecorder messages;

  CompareThisFiles(one, same);
  CompareThisFiles(one, last);
  CompareThisFiles(one, longer);
  ASSERT_EQ(messages.Shown().size(), 3u);
  const String header = u"6: Größe von " + one + u"\r6: Größe von ";
  EXPECT_EQ(messages.Shown()[0].text, header + same + u"\r\rDateien sind gleich.");
  EXPECT_EQ(messages.Shown()[0].flags, unsigned{MB_OK});
  EXPECT_EQ(messages.Shown()[1].text, header + last +
                                          u"\r\rDateien unterscheiden sich an Position: 6\r\r"
                                          u"f \" Wert: 102 (one.txt)\rX \" Wert: 88 (last.txt)\r\rf\rX");
  EXPECT_EQ(messages.Shown()[2].text, u"6: Größe von " + one + u"\r8: Größe von " + longer + u"\r")
      << ToUtf8(messages.Shown()[2].text);

  messages.Clear();
  EXPECT_THROW(CompareThisFiles(one, temp_ / u"missing.txt"), rtl::EFOpenError);
  EXPECT_TRUE(messages.Shown().empty()) << "nothing shown before the error";
}

TEST_F(FilesWin, BuildNumberFromVersionResource) {
  wchar_t package[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameW(GetModuleHandleW(L"WTarnD11.dll"), package, MAX_PATH), 0u);
  const String version = rtl::FromUtf8(WTARN_FILE_VERSION_TEXT);
  EXPECT_EQ(GetBuildNumber(rtl::FromW(package)), version.substr(version.rfind(u'.') + 1));

  EXPECT_EQ(GetBuildNumber(Make(u"plain.txt", "no resource")), u"");
  EXPECT_EQ(GetBuildNumber(temp_ / u"missing.dll"), u"");
}

}  // namespace
}  // namespace Kv_tools

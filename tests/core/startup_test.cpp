#include "kv_tools/startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "kv_tools/folders.h"
#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "rtl/ini_file.h"
#include "tarnedata/globals.h"
#include "tarnedata/startup.h"
#include "tests/core/globals_snapshot.h"

namespace Kv_tools {
namespace {

using wtarn_test::GlobalsSnapshot;
using wtarn_test::kKvStrings;
using wtarn_test::kTarnStrings;

TEST(StartUpFormats, SystemShortDateAndMonthFirst) {
  struct Row { const char16_t *format, *kept; bool month_first; } rows[] = {
      {u"MM/dd/yyyy", u"MM/dd/yyyy", true},
      {u"dd.MM.yyyy", u"dd.MM.yyyy", false},
      {u"m/D/YYYY", u"M/d/yyyy", true},
      {u"M/d/yyyy", u"M/d/yyyy", true},
      {u"yyyy-MM-dd", u"yyyy-MM-dd", false},
      {u"", u"", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.format));
    EXPECT_EQ(NormalizedSystemShortDate(r.format), r.kept);
    EXPECT_EQ(IsMonthFirst(NormalizedSystemShortDate(r.format)), r.month_first);
  }
}

TEST(StartUpFormats, RecordsAndProcessSettings) {
  GlobalsSnapshot snapshot;
  rtl::FormatSettings german = rtl::FormatSettingsFromLocale(1031);
  rtl::FormatSettings english = rtl::FormatSettingsFromLocale(1033);
  rtl::FormatSettings system = english;
  system.ShortDateFormat = u"m/d/YYYY";
  system.DateSeparator = u'/';
  InitFormatSettings(german, english, system);

  EXPECT_EQ(FMS.ShortDateFormat, u"dd.mm.yyyy");
  EXPECT_EQ(FMS.ShortTimeFormat, u"hh:mm");
  EXPECT_EQ(FMS.DateSeparator, u'.');
  EXPECT_EQ(FMS.LongMonthNames, german.LongMonthNames);
  EXPECT_EQ(FMSEN, english);
  EXPECT_EQ(FMSOrg.ShortDateFormat, u"M/d/yyyy");
  EXPECT_TRUE(MonthFirst);
  EXPECT_EQ(rtl::ProcessFormatSettings().DateSeparator, u'.');
  EXPECT_EQ(rtl::ProcessFormatSettings().TimeSeparator, u':');
  EXPECT_EQ(rtl::ProcessFormatSettings().ShortMonthNames, german.ShortMonthNames);
}

TEST(StartUpProcessors, CountsFromIdentification) {
  struct Row {
    const char* label;
    std::optional<CpuIdentification> id;
    int32_t processors, logical, packages;
  } rows[] = {
      {"Intel, 8 per package, 8 processors", CpuIdentification{"GenuineIntel", 0x00080800}, 8, 8, 1},
      {"Intel, two packages", CpuIdentification{"GenuineIntel", 0x00080000}, 16, 8, 2},
      {"Intel, remainder dropped", CpuIdentification{"GenuineIntel", 0x00040000}, 6, 4, 1},
      {"Intel reports 0", CpuIdentification{"GenuineIntel", 0xFF00FFFF}, 4, 1, 4},
      {"only bits 16-23 count", CpuIdentification{"GenuineIntel", 0x01020000}, 4, 2, 2},
      {"other vendor", CpuIdentification{"AuthenticAMD", 0x00100000}, 16, 1, 16},
      {"vendor compared exactly", CpuIdentification{"genuineintel", 0x00080000}, 8, 1, 8},
      {"no instruction", std::nullopt, 2, 1, 2},
      {"more per package than processors", CpuIdentification{"GenuineIntel", 0x00400000}, 2, 64, 1},
      {"no processors reported", CpuIdentification{"GenuineIntel", 0x00020000}, 0, 2, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    int32_t logical = LogicalProcessorsPerPackage(r.id);
    EXPECT_EQ(logical, r.logical);
    EXPECT_EQ(ProcessorPackages(r.processors, logical), r.packages);
  }
}

TEST(StartUpPlaces, FixedAndMobile) {
  const String exe = u"C:\\IDE\\bin\\bds.exe";
  const String app_data = u"C:\\Users\\me\\AppData\\Roaming";
  const String docs = u"C:\\Users\\me\\Documents";
  struct Row {
    const char* label;
    unsigned drive_type;
    bool mobile_switch;
    const char16_t *disk_mode, *app_ini, *prog_data, *data_folder;
  } rows[] = {
      {"fixed drive", 3, false, u"Fixed", u"C:\\Users\\me\\AppData\\Roaming\\morvane\\bds.INI",
       u"C:\\Users\\me\\AppData\\Roaming\\morvane\\", u"C:\\Users\\me\\AppData\\Roaming\\morvane"},
      {"network drive", 4, false, u"Fixed", u"C:\\Users\\me\\AppData\\Roaming\\morvane\\bds.INI",
       u"C:\\Users\\me\\AppData\\Roaming\\morvane\\", u"C:\\Users\\me\\AppData\\Roaming\\morvane"},
      {"CD-ROM", 5, false, u"Fixed", u"C:\\Users\\me\\AppData\\Roaming\\morvane\\bds.INI",
       u"C:\\Users\\me\\AppData\\Roaming\\morvane\\", u"C:\\Users\\me\\AppData\\Roaming\\morvane"},
      {"removable drive", 2, false, u"Mobile", u"C:\\IDE\\bin\\bds.INI", u"C:\\IDE\\bin\\", u""},
      {"mobile switch on a fixed drive", 3, true, u"Mobile", u"C:\\IDE\\bin\\bds.INI", u"C:\\IDE\\bin\\", u""},
      {"mobile switch on a removable drive", 2, true, u"Mobile", u"C:\\IDE\\bin\\bds.INI", u"C:\\IDE\\bin\\", u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    StartupPlaces p = StartupPlacesFor({exe, DiskModeFromDriveType(r.drive_type), r.mobile_switch, app_data, docs});
    EXPECT_EQ(p.DiskMode, r.disk_mode);
    EXPECT_EQ(p.AppIniName, r.app_ini);
    EXPECT_EQ(p.ProgDataPath, r.prog_data);
    EXPECT_EQ(p.DataFolder, r.data_folder);
    EXPECT_EQ(p.SysProgDataPath, app_data);
    EXPECT_EQ(p.SysUserDataPath, docs);
    EXPECT_EQ(p.SysAppIniName, u"C:\\Users\\me\\AppData\\Roaming\\bds.INI");
  }
  StartupPlaces no_ext = StartupPlacesFor({u"D:\\Tools\\tarn", u"Fixed", false, u"D:\\AD\\", u""});
  EXPECT_EQ(no_ext.AppIniName, u"D:\\AD\\morvane\\tarn.INI");
  EXPECT_EQ(no_ext.SysAppIniName, u"D:\\AD\\tarn.INI");
}

TEST(StartUpShutdown, ClearsEveryStringAndTheFormatRecords) {
  GlobalsSnapshot snapshot;
  for (String* s : kKvStrings) *s = u"set";
  FMS = FMSEN = FMSOrg = rtl::FormatSettingsFromLocale(1031);
  Shutdown();
  for (size_t i = 0; i < std::size(kKvStrings); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(kKvStrings[i]->empty());
  }
  EXPECT_EQ(FMS, rtl::FormatSettings());
  EXPECT_EQ(FMSEN, rtl::FormatSettings());
  EXPECT_EQ(FMSOrg, rtl::FormatSettings());
}

TEST(TarnEdataStartUp, DataFoldersByDiskMode) {
  TarnEdata::DataFolderAnswers answers = {u"Fixed", u"C:\\IDE\\bin\\bds.exe", u"C:\\AD", u"C:\\Docs\\",
                                          u"C:\\Roaming"};
  TarnEdata::DataFolders fixed = TarnEdata::DataFoldersFor(answers);
  EXPECT_EQ(fixed.MyProgDataPath, u"C:\\AD\\morvane\\TarnPlugIn");
  EXPECT_EQ(fixed.MyUserDataPath, u"C:\\Docs\\morvane\\TarnPlugIn");
  EXPECT_EQ(fixed.MyAppIniName, u"C:\\Roaming\\morvane\\TarnPlugIn\\bds.INI");
  EXPECT_TRUE(fixed.CreateProgDataPath);

  answers.DiskMode = u"Mobile";
  TarnEdata::DataFolders mobile = TarnEdata::DataFoldersFor(answers);
  EXPECT_EQ(mobile.MyProgDataPath, u"C:\\IDE\\bin\\");
  EXPECT_EQ(mobile.MyUserDataPath, u"C:\\IDE\\bin\\");
  EXPECT_EQ(mobile.MyAppIniName, u"C:\\IDE\\bin\\bds.ini");
  EXPECT_FALSE(mobile.CreateProgDataPath);

  answers.DiskMode = u"mobile";  // only the exact word switches
  EXPECT_EQ(TarnEdata::DataFoldersFor(answers).MyAppIniName, u"C:\\Roaming\\morvane\\TarnPlugIn\\bds.INI");
}

// A fresh folder under the system's temporary folder, with the names the test creates in it
// removed again at the end (deepest first).
class ScratchFolder {
 public:
  ScratchFolder()
      : root_(GetTmpDir() + u"wtarn-startup-" +
              rtl::IntToStr(std::chrono::steady_clock::now().time_since_epoch().count())) {}
  ~ScratchFolder() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it)
      if (!rtl::RemoveFile(*it)) rtl::RemoveDir(*it);
  }
  const String& Root() const { return root_; }
  // Registers a name (file or folder) below the root for removal; returns its full name.
  String Name(const String& relative) {
    made_.push_back(root_ + u"\\" + relative);
    return made_.back();
  }

 private:
  String root_;
  std::vector<String> made_;
};

TEST(TarnEdataStartUp, ReplacesAppIniNameCreatesFoldersAndLists) {
  GlobalsSnapshot snapshot;
  ScratchFolder scratch;
  scratch.Name(u"");
  scratch.Name(u"appdata");
  scratch.Name(u"appdata\\morvane");
  const String prog_data = scratch.Name(u"appdata\\morvane\\TarnPlugIn");
  const String ini_name = scratch.Name(u"appdata\\morvane\\TarnPlugIn\\" +
                                       rtl::ChangeFileExt(rtl::ExtractFileName(rtl::ProgramFileName()), u".INI"));
  scratch.Name(u"docs");
  scratch.Name(u"docs\\morvane");
  const String user_data = scratch.Name(u"docs\\morvane\\TarnPlugIn");
  scratch.Name(u"data");
  const String chosen_data = scratch.Name(u"data\\chosen");

  SetSpecialFolderSource([&](int csidl) -> std::optional<String> {
    if (csidl == kCsidlAppData) return scratch.Root() + u"\\appdata";
    return std::nullopt;
  });
  DiskMode = u"Fixed";
  SysProgDataPath = scratch.Root() + u"\\appdata";
  SysUserDataPath = scratch.Root() + u"\\docs";
  AppIniName = u"C:\\set\\by\\Kv_tools.INI";

  TarnEdata::Startup();
  EXPECT_EQ(MyProgDataPath, prog_data);
  EXPECT_EQ(MyUserDataPath, user_data);
  EXPECT_EQ(MyAppIniName, ini_name);
  EXPECT_EQ(AppIniName, ini_name);
  EXPECT_TRUE(rtl::DirectoryExists(prog_data));
  EXPECT_TRUE(rtl::DirectoryExists(user_data));
  EXPECT_EQ(TarnEdata::CurrentDelphi, u"Delphi 11 Alexandria");
  ASSERT_NE(TarnEdata::slMethods, nullptr);
  EXPECT_TRUE(TarnEdata::slMethods->Sorted());
  EXPECT_TRUE(TarnEdata::slMethodsHints->Sorted());
  EXPECT_FALSE(TarnEdata::slMethodsClass->Sorted());
  EXPECT_EQ(TarnEdata::slMethodsClass->DuplicatesMode(), rtl::Duplicates::Ignore);
  EXPECT_NE(TarnEdata::slDelFilesAtEnd, nullptr);

  // The stored data folder wins over the documents folder, and is created.
  rtl::IniFile(ini_name).WriteString(u"Optionen", u"Datapath", chosen_data);
  TarnEdata::Shutdown();
  EXPECT_EQ(TarnEdata::slMethods, nullptr);
  EXPECT_EQ(TarnEdata::slDelFilesAtEnd, nullptr);
  for (String* s : kTarnStrings) EXPECT_TRUE(s->empty());
  TarnEdata::Startup();
  EXPECT_EQ(MyUserDataPath, chosen_data);
  EXPECT_TRUE(rtl::DirectoryExists(chosen_data));

  TarnEdata::Shutdown();
  SetSpecialFolderSource(nullptr);
}

}  // namespace
}  // namespace Kv_tools

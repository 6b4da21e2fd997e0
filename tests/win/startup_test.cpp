// Start-up on the platform: Kv_tools' places in Fixed and Mobile mode, and the whole
// package loaded as the IDE loads it.
#include "kv_tools/startup.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "kv_tools/folders.h"
#include "kv_tools/paths.h"
#include "kv_tools/sysinfo.h"
#include "package/package.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "rtl/ini_file.h"
#include "rtl/platform.h"
#include "tarnedata/globals.h"
#include "tests/core/globals_snapshot.h"

namespace Kv_tools {
namespace {

using wtarn_test::GlobalsSnapshot;

const String kExeIni = rtl::ChangeFileExt(rtl::ProgramFileName(), u".INI");

// The exe's own INI with Optionen/MobileModus, removed again at the end.
struct MobileIni {
  explicit MobileIni(const char16_t* value) { rtl::IniFile(kExeIni).WriteString(u"Optionen", u"MobileModus", value); }
  ~MobileIni() { rtl::RemoveFile(kExeIni); }
};

String FixedAppIniName() {
  return chkPath(GetSpecialFolder(kCsidlAppData)) + u"morvane\\" + rtl::ExtractFileName(kExeIni);
}

TEST(StartUpWin, FixedModeNamesAndFillsTheGlobals) {
  GlobalsSnapshot snapshot;
  ASSERT_FALSE(rtl::FileExists(kExeIni));
  ASSERT_EQ(GetDiskMode(), u"Fixed") << "Wine's drives are fixed";
  Startup();
  EXPECT_EQ(DiskMode, u"Fixed");
  EXPECT_EQ(AppIniName, FixedAppIniName());
  EXPECT_EQ(ProgDataPath, rtl::ExtractFilePath(FixedAppIniName()));
  EXPECT_TRUE(rtl::DirectoryExists(ProgDataPath));
  EXPECT_EQ(SysProgDataPath, GetSpecialFolder(kCsidlAppData));
  EXPECT_EQ(SysUserDataPath, GetSpecialFolder(kCsidlPersonal));
  EXPECT_EQ(SysAppIniName, chkPath(SysProgDataPath) + rtl::ExtractFileName(kExeIni));
  EXPECT_EQ(AktOSName, GetOSName());
  EXPECT_FALSE(curOS.empty());
  EXPECT_EQ(curOS, rtl::AnsiLowerCase(curOS));
  EXPECT_GE(CpuHard, 1);
  EXPECT_GE(CPULogical, 1);
  EXPECT_GE(CpusOnBoard, 1);
  EXPECT_EQ(FMS.ShortDateFormat, u"dd.mm.yyyy");
  EXPECT_FALSE(FMSEN.LongMonthNames[0].empty());
  Shutdown();
}

TEST(StartUpWin, MobileSwitchInTheExeIni) {
  GlobalsSnapshot snapshot;
  {
    MobileIni ini(u"1");
    Startup();
    EXPECT_EQ(DiskMode, u"Mobile");
    EXPECT_EQ(AppIniName, kExeIni);
    EXPECT_EQ(ProgDataPath, AppPath());
  }
  {
    MobileIni ini(u"0");
    Startup();
    EXPECT_EQ(DiskMode, u"Fixed");
    EXPECT_EQ(AppIniName, FixedAppIniName());
  }
  Shutdown();
}

TEST(StartUpWin, LoadedPackageFillsAndClearsTheGlobals) {
  GlobalsSnapshot snapshot;
  rtl::UniqueModule package(LoadLibraryW(L"WTarnD11.dll"));
  ASSERT_TRUE(package);
  auto initialize = rtl::ProcAddress<PackageEntryProc>(package.get(), "Initialize");
  auto finalize = rtl::ProcAddress<PackageEntryProc>(package.get(), "Finalize");
  ASSERT_TRUE(initialize && finalize);

  initialize();
  EXPECT_FALSE(AktOSName.empty());
  EXPECT_FALSE(curOS.empty());
  EXPECT_EQ(DiskMode, u"Fixed");
  EXPECT_GE(CpusOnBoard, 1);
  EXPECT_EQ(FMS.DateSeparator, u'.');
  // TarnEdata started after Kv_tools and replaced its settings file.
  const String tarn_ini = chkPath(GetSpecialFolder(kCsidlAppData)) + u"morvane\\TarnPlugIn\\" +
                          rtl::ExtractFileName(kExeIni);
  EXPECT_EQ(AppIniName, tarn_ini);
  EXPECT_EQ(MyAppIniName, tarn_ini);
  EXPECT_EQ(ProgDataPath, rtl::ExtractFilePath(FixedAppIniName()));
  EXPECT_TRUE(rtl::DirectoryExists(MyProgDataPath));
  EXPECT_TRUE(rtl::DirectoryExists(MyUserDataPath));
  EXPECT_EQ(TarnEdata::CurrentDelphi, u"Delphi 11 Alexandria");
  EXPECT_NE(TarnEdata::slMethods, nullptr);
  EXPECT_NE(TarnEdata::slDelFilesAtEnd, nullptr);

  finalize();
  for (String* s : wtarn_test::kKvStrings) EXPECT_TRUE(s->empty());
  for (String* s : wtarn_test::kTarnStrings) EXPECT_TRUE(s->empty());
  EXPECT_EQ(FMS, rtl::FormatSettings());
  EXPECT_EQ(TarnEdata::slMethods, nullptr);
  EXPECT_EQ(TarnEdata::slDelFilesAtEnd, nullptr);
}

}  // namespace
}  // namespace Kv_tools

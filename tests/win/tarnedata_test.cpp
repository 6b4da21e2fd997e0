// TarnEdata start-up on the platform in Mobile mode: everything beside the program.
#include "tarnedata/startup.h"

#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "rtl/ini_file.h"
#include "tarnedata/globals.h"
#include "tests/core/globals_snapshot.h"

namespace TarnEdata {
namespace {

TEST(TarnEdataWin, MobileModeKeepsEverythingBesideTheProgram) {
  wtarn_test::GlobalsSnapshot snapshot;
  const String program_folder = Kv_tools::AppPath();
  const String ini_name = rtl::ChangeFileExt(rtl::ProgramFileName(), u".ini");
  const String data_folder = program_folder + u"tarnedata-mobile-data";
  ASSERT_FALSE(rtl::FileExists(ini_name));
  rtl::IniFile(ini_name).WriteString(u"Optionen", u"Datapath", data_folder);

  Kv_tools::DiskMode = u"Mobile";
  Startup();
  EXPECT_EQ(Kv_tools::MyProgDataPath, program_folder);
  EXPECT_EQ(Kv_tools::MyAppIniName, ini_name);
  EXPECT_EQ(Kv_tools::AppIniName, ini_name);
  EXPECT_EQ(Kv_tools::MyUserDataPath, data_folder);
  EXPECT_TRUE(rtl::DirectoryExists(data_folder));
  Shutdown();

  rtl::RemoveDir(data_folder);
  rtl::RemoveFile(ini_name);
}

}  // namespace
}  // namespace TarnEdata

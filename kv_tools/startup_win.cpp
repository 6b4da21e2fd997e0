// Kv_tools start-up on Windows: gathers the platform's answers and applies the decisions
// of startup.cpp to the globals.
#include <windows.h>
#include <cpuid.h>

#include "kv_tools/folders.h"
#include "kv_tools/globals.h"
#include "kv_tools/ini_registry.h"
#include "kv_tools/startup.h"
#include "kv_tools/sysinfo.h"
#include "rtl/file_system.h"
#include "rtl/platform.h"

namespace Kv_tools {

namespace {

// The identification instruction's vendor and leaf 1; nullopt on a processor without it.
std::optional<CpuIdentification> ReadCpuIdentification() {
  unsigned max_leaf = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(0, &max_leaf, &ebx, &ecx, &edx)) return std::nullopt;
  CpuIdentification id;
  for (unsigned reg : {ebx, edx, ecx}) id.Vendor.append(reinterpret_cast<const char*>(&reg), 4);
  unsigned eax = 0;
  if (max_leaf >= 1) __get_cpuid(1, &eax, &id.Leaf1Ebx, &ecx, &edx);
  return id;
}

StartupAnswers ReadStartupAnswers() {
  StartupAnswers answers;
  answers.ExeName = rtl::ProgramFileName();
  answers.DiskMode = GetDiskMode();
  const String exe_ini = rtl::ChangeFileExt(answers.ExeName, u".INI");
  answers.MobileSwitch = rtl::FileExists(exe_ini) && GetIniFileIniBool(exe_ini, u"Optionen", u"MobileModus", false);
  answers.AppDataFolder = GetSpecialFolder(kCsidlAppData);
  answers.DocumentsFolder = GetSpecialFolder(kCsidlPersonal);
  return answers;
}

}  // namespace

void Startup() {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  CpuHard = static_cast<int32_t>(system.dwNumberOfProcessors);
  CPULogical = LogicalProcessorsPerPackage(ReadCpuIdentification());
  CpusOnBoard = ProcessorPackages(CpuHard, CPULogical);

  InitFormatSettings(rtl::FormatSettingsFromLocale(1031), rtl::FormatSettingsFromLocale(1033),
                     rtl::FormatSettingsFromLocale(LOCALE_SYSTEM_DEFAULT));

  const StartupPlaces places = StartupPlacesFor(ReadStartupAnswers());
  AppIniName = places.AppIniName;
  SysProgDataPath = places.SysProgDataPath;
  SysUserDataPath = places.SysUserDataPath;
  SysAppIniName = places.SysAppIniName;
  DiskMode = places.DiskMode;
  ProgDataPath = places.ProgDataPath;
  if (!places.DataFolder.empty() && !rtl::DirectoryExists(places.DataFolder))
    rtl::ForceDirectories(places.DataFolder);

  AktOSName = GetOSName();
  curOS = rtl::AnsiLowerCase(ReadOSVersionRecord().Description);
}

}  // namespace Kv_tools

// Kv_tools start-up and shut-down: fill the library globals when the package loads,
// release them when it unloads. The package's unit table calls them once each.
//
// The decisions are pure functions over the platform's answers; the Windows Startup()
// gathers the answers (program file, disk mode, mobile switch, special folders, processor
// identification, version) and applies them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rtl/format_settings.h"

namespace Kv_tools {

using rtl::String;

// The system's short date format as the library keeps it: "m/d/yyyy" in any letter case
// becomes "M/d/yyyy", every other format stays. Example: u"m/D/YYYY" -> u"M/d/yyyy".
KV_API rtl::String NormalizedSystemShortDate(const rtl::String& format);

// True when a short date format starts with the month. Example: u"MM/dd/yyyy" -> true.
KV_API bool IsMonthFirst(const rtl::String& shortDateFormat);

// Fills the format records: FMS German with "dd.mm.yyyy" and "hh:mm", FMSEN US English,
// FMSOrg the system default; the process-wide settings take "." and ":" and FMS's month names.
KV_API void InitFormatSettings(const rtl::FormatSettings& german, const rtl::FormatSettings& english,
                               const rtl::FormatSettings& system);

// What the processor's identification instruction reports: the vendor string of leaf 0
// and the second result register (EBX) of leaf 1.
struct CpuIdentification {
  std::string Vendor;  // Example: "GenuineIntel"
  uint32_t Leaf1Ebx = 0;
};

// Logical processors per physical package: bits 16-23 of Leaf1Ebx on a "GenuineIntel"
// processor; 1 without the instruction (nullopt), for other vendors and for a reported 0.
// Example: Leaf1Ebx 0x00080800 from GenuineIntel gives 8.
KV_API int32_t LogicalProcessorsPerPackage(const std::optional<CpuIdentification>& id);

// Physical packages: processors divided by logicalPerPackage, remainder dropped, and at
// least 1 when there is a processor (a package reporting more logical processors than the
// system has still counts as one). Example: (8, 8) gives 1, (16, 8) gives 2, (2, 16) gives 1.
// Deliberately at least 1, so that nothing later divides by zero.
KV_API int32_t ProcessorPackages(int32_t processors, int32_t logicalPerPackage);

// What the platform tells start-up about the running program.
struct StartupAnswers {
  String ExeName;             // the host executable's full path
  String DiskMode;            // GetDiskMode's answer: "Fixed" or "Mobile"
  bool MobileSwitch = false;  // ChangeFileExt(ExeName, ".INI") exists with Optionen/MobileModus true
  String AppDataFolder;       // the user's application-data folder (special folder 26)
  String DocumentsFolder;     // the user's documents folder (special folder 5)
};

// The places start-up sets.
struct StartupPlaces {
  String AppIniName;
  String SysProgDataPath;
  String SysUserDataPath;
  String SysAppIniName;
  String DiskMode;
  String ProgDataPath;
  String DataFolder;  // the folder start-up makes sure of; "" in Mobile mode
};

// Mobile (DiskMode "Mobile" or the mobile switch): AppIniName <exe folder>\<name>.INI and
// ProgDataPath the exe folder. Fixed: AppIniName <app data>\morvane\<name>.INI and
// ProgDataPath its folder with "\". SysAppIniName is <app data>\<name>.INI in both.
// Example: Fixed, C:\IDE\bin\bds.exe, app data C:\AD gives AppIniName
// u"C:\\AD\\morvane\\bds.INI" and ProgDataPath u"C:\\AD\\morvane\\".
KV_API StartupPlaces StartupPlacesFor(const StartupAnswers& answers);

#ifdef _WIN32
// Fills the globals: processor counts, format records, AppIniName and the data folders
// (creating <app data>\morvane in Fixed mode), DiskMode, AktOSName and curOS.
// Deliberately leaves the host's menu font alone: the package has no application object.
KV_API void Startup();
#endif

// Clears every string global of Kv_tools and the three format records.
// Deliberately empties ToolsLanguage and the other preset strings too.
KV_API void Shutdown();

}  // namespace Kv_tools

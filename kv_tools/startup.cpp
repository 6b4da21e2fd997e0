#include "kv_tools/startup.h"

#include <algorithm>

#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "rtl/platform.h"

namespace Kv_tools {

String NormalizedSystemShortDate(const String& format) {
  return rtl::AnsiCompareStr(rtl::AnsiLowerCase(format), u"m/d/yyyy") == 0 ? String(u"M/d/yyyy") : format;
}

bool IsMonthFirst(const String& shortDateFormat) {
  return !shortDateFormat.empty() && (shortDateFormat[0] == u'm' || shortDateFormat[0] == u'M');
}

void InitFormatSettings(const rtl::FormatSettings& german, const rtl::FormatSettings& english,
                        const rtl::FormatSettings& system) {
  FMS = german;
  FMSEN = english;
  FMSOrg = system;
  rtl::FormatSettings& process = rtl::ProcessFormatSettings();
  process.DateSeparator = u'.';
  process.TimeSeparator = u':';
  process.ShortMonthNames = FMS.ShortMonthNames;
  process.LongMonthNames = FMS.LongMonthNames;
  FMS.DateSeparator = u'.';
  FMS.TimeSeparator = u':';
  FMS.ShortDateFormat = u"dd.mm.yyyy";
  FMS.ShortTimeFormat = u"hh:mm";
  FMSOrg.ShortDateFormat = NormalizedSystemShortDate(FMSOrg.ShortDateFormat);
  MonthFirst = IsMonthFirst(FMSOrg.ShortDateFormat);
}

int32_t LogicalProcessorsPerPackage(const std::optional<CpuIdentification>& id) {
  if (!id || id->Vendor != "GenuineIntel") return 1;
  int32_t logical = static_cast<int32_t>((id->Leaf1Ebx >> 16) & 0xFF);
  return logical == 0 ? 1 : logical;
}

int32_t ProcessorPackages(int32_t processors, int32_t logicalPerPackage) {
  if (processors <= 0) return 0;
  return std::max(1, processors / std::max(1, logicalPerPackage));
}

StartupPlaces StartupPlacesFor(const StartupAnswers& answers) {
  const String ini_name = rtl::ChangeFileExt(rtl::ExtractFileName(answers.ExeName), u".INI");
  StartupPlaces places;
  places.SysProgDataPath = answers.AppDataFolder;
  places.SysUserDataPath = answers.DocumentsFolder;
  places.SysAppIniName = chkPath(answers.AppDataFolder) + ini_name;
  places.DiskMode = answers.MobileSwitch ? String(u"Mobile") : answers.DiskMode;
  if (places.DiskMode == u"Mobile") {
    places.AppIniName = rtl::ChangeFileExt(answers.ExeName, u".INI");
    places.ProgDataPath = rtl::ExtractFilePath(answers.ExeName);
  } else {
    places.AppIniName = chkPath(answers.AppDataFolder) + u"morvane\\" + ini_name;
    places.DataFolder = rtl::ExtractFileDir(places.AppIniName);
    places.ProgDataPath = rtl::ExtractFilePath(places.AppIniName);
  }
  return places;
}

void Shutdown() {
  String* const strings[] = {
      &ToolsLanguage,   &InitFolder,        &DiskMode,        &sBuildHour,      &curOS,
      &SysProgDataPath, &SysUserDataPath,   &SysAppIniName,   &AppName,         &ResPath,
      &MyCommonAppData, &MySysProgDataPath, &MyProgDataPath,  &MyUserDataPath,  &MyAppIniName,
      &AktOSName,       &AppIniName,        &ProgDataPath,    &Help_ExplizitFile, &Help_IniFileName,
      &Help_FormTitle,  &MakerLinkTools,    &MakerLinkShop,
  };
  for (String* s : strings) s->clear();
  FMS = FMSEN = FMSOrg = rtl::FormatSettings();
}

}  // namespace Kv_tools

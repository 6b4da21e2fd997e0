#include "kv_tools/startup.h"

#include "kv_tools/globals.h"
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

void Startup() {
  InitFormatSettings(rtl::FormatSettingsFromLocale(1031), rtl::FormatSettingsFromLocale(1033),
                     rtl::FormatSettingsFromLocale(0x0800));
}

void Shutdown() {
  FMS = FMSEN = FMSOrg = rtl::FormatSettings();
}

}  // namespace Kv_tools

// Locale formats from the platform's locale data.
#include <windows.h>

#include "rtl/format_settings.h"

namespace rtl {
namespace {

String LocaleText(LCID lcid, LCTYPE type, const char16_t* fallback = u"") {
  wchar_t buffer[256];
  int n = GetLocaleInfoW(lcid, type, buffer, 256);
  return n > 0 ? FromW(buffer, n - 1) : String(fallback);
}

char16_t LocaleChar(LCID lcid, LCTYPE type, char16_t fallback) {
  String text = LocaleText(lcid, type);
  return text.empty() ? fallback : text[0];
}

}  // namespace

// Date pictures are taken as the locale gives them (the runtime reads their letters in either
// case); the time formats are rebuilt from the locale's time picture. An identifier the system
// does not know gives the formats of the thread's locale.
FormatSettings FormatSettingsFromLocale(uint32_t lcid) {
  LCID id = lcid;
  if (id != LOCALE_SYSTEM_DEFAULT && id != LOCALE_USER_DEFAULT && !IsValidLocale(id, LCID_SUPPORTED)) {
    id = GetThreadLocale();
  }
  FormatSettings fs;
  fs.DecimalSeparator = LocaleChar(id, LOCALE_SDECIMAL, u'.');
  fs.ThousandSeparator = LocaleChar(id, LOCALE_STHOUSAND, u',');
  fs.DateSeparator = LocaleChar(id, LOCALE_SDATE, u'/');
  fs.TimeSeparator = LocaleChar(id, LOCALE_STIME, u':');
  fs.ListSeparator = LocaleChar(id, LOCALE_SLIST, u',');
  fs.CurrencyString = LocaleText(id, LOCALE_SCURRENCY);
  fs.ShortDateFormat = LocaleText(id, LOCALE_SSHORTDATE, u"m/d/yy");
  fs.LongDateFormat = LocaleText(id, LOCALE_SLONGDATE, u"mmmm d, yyyy");
  TimeFormatsFromPicture(LocaleText(id, LOCALE_STIMEFORMAT), fs.ShortTimeFormat, fs.LongTimeFormat);
  fs.TimeAMString = LocaleText(id, LOCALE_S1159);
  fs.TimePMString = LocaleText(id, LOCALE_S2359);
  for (int i = 0; i < 12; ++i) {
    fs.ShortMonthNames[i] = LocaleText(id, LOCALE_SABBREVMONTHNAME1 + i);
    fs.LongMonthNames[i] = LocaleText(id, LOCALE_SMONTHNAME1 + i);
  }
  for (int i = 0; i < 7; ++i) {
    LCTYPE from_monday = (i + 6) % 7;  // the record starts on Sunday, Windows on Monday
    fs.ShortDayNames[i] = LocaleText(id, LOCALE_SABBREVDAYNAME1 + from_monday);
    fs.LongDayNames[i] = LocaleText(id, LOCALE_SDAYNAME1 + from_monday);
  }
  return fs;
}

double Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  double date = 0, time = 0;
  TryEncodeDate(t.wYear, t.wMonth, t.wDay, date);
  TryEncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, time);
  return date + time;
}

}  // namespace rtl

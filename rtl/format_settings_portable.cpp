// Locale formats without a platform: built-in tables of the two locales the library uses,
// with the values Windows reports for them.
#include <algorithm>
#include <chrono>
#include <ctime>

#include "rtl/format_settings.h"

namespace rtl {
namespace {

FormatSettings German() {
  FormatSettings fs;
  fs.DecimalSeparator = u',';
  fs.ThousandSeparator = u'.';
  fs.DateSeparator = u'.';
  fs.TimeSeparator = u':';
  fs.ListSeparator = u';';
  fs.CurrencyString = u"€";
  fs.ShortDateFormat = u"dd.MM.yyyy";
  fs.LongDateFormat = u"dddd, d. MMMM yyyy";
  TimeFormatsFromPicture(u"HH:mm:ss", fs.ShortTimeFormat, fs.LongTimeFormat);
  fs.ShortMonthNames = {u"Jan", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun",
                        u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"};
  fs.LongMonthNames = {u"Januar", u"Februar", u"März",     u"April",   u"Mai",      u"Juni",
                       u"Juli",   u"August",  u"September", u"Oktober", u"November", u"Dezember"};
  fs.ShortDayNames = {u"So", u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa"};
  fs.LongDayNames = {u"Sonntag", u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag"};
  return fs;
}

FormatSettings English() {
  FormatSettings fs;
  fs.DecimalSeparator = u'.';
  fs.ThousandSeparator = u',';
  fs.DateSeparator = u'/';
  fs.TimeSeparator = u':';
  fs.ListSeparator = u',';
  fs.CurrencyString = u"$";
  fs.ShortDateFormat = u"M/d/yyyy";
  fs.LongDateFormat = u"dddd, MMMM d, yyyy";
  TimeFormatsFromPicture(u"h:mm:ss tt", fs.ShortTimeFormat, fs.LongTimeFormat);
  fs.TimeAMString = u"AM";
  fs.TimePMString = u"PM";
  fs.ShortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                        u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  fs.LongMonthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                       u"July",    u"August",   u"September", u"October", u"November", u"December"};
  fs.ShortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  fs.LongDayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  return fs;
}

}  // namespace

FormatSettings FormatSettingsFromLocale(uint32_t lcid) { return lcid == 1031 ? German() : English(); }

double Now() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  int msec = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  double date = 0, time = 0;
  TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
  TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), msec, time);
  return date + time;
}

}  // namespace rtl

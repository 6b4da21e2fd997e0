// Locale formats and date-time values.
// A date-time value is a double: days since 30 December 1899, the time of day as fraction.
#pragma once

#include <array>
#include <cstdint>

#include "rtl/string.h"

namespace rtl {

// The runtime's record of locale formats. A default-constructed record is empty
// (zero separators, empty texts), as the library's records are before start-up.
struct KV_API FormatSettings {
  char16_t DecimalSeparator = 0;
  char16_t ThousandSeparator = 0;
  char16_t DateSeparator = 0;
  char16_t TimeSeparator = 0;
  char16_t ListSeparator = 0;
  String CurrencyString;
  String ShortDateFormat;
  String LongDateFormat;
  String ShortTimeFormat;
  String LongTimeFormat;
  String TimeAMString;
  String TimePMString;
  std::array<String, 12> ShortMonthNames;
  std::array<String, 12> LongMonthNames;
  std::array<String, 7> ShortDayNames;  // Sunday first
  std::array<String, 7> LongDayNames;
  int TwoDigitYearCenturyWindow = 50;

  bool operator==(const FormatSettings&) const = default;
};

// The formats of a locale identifier (1031 German, 1033 US English, 0x0800 system default).
// Windows: the platform's locale data. Native: built-in tables for 1031 and 1033; every other
// identifier gives the 1033 table.
KV_API FormatSettings FormatSettingsFromLocale(uint32_t lcid);

// The runtime's short and long time formats for a Windows time picture (as the locale's
// long time format gives it): "hh" for an hour with leading zero, else "h"; a picture without
// a 24-hour "H" is a 12-hour one and gets "AMPM", in front when its "t" comes before the hour.
// Example: u"h:mm:ss tt" gives u"h:mm AMPM" and u"h:mm:ss AMPM"; u"HH:mm:ss" gives u"hh:mm"
// and u"hh:mm:ss".
KV_API void TimeFormatsFromPicture(StringView picture, String& short_format, String& long_format);

// The process-wide format settings, filled from the system default locale on first use.
KV_API FormatSettings& ProcessFormatSettings();

// Days since 30 December 1899 for a valid calendar date; false for an invalid one.
// Example: TryEncodeDate(1900, 1, 1, v) gives v == 2.
KV_API bool TryEncodeDate(int year, int month, int day, double& value);
KV_API bool TryEncodeTime(int hour, int min, int sec, int msec, double& value);
KV_API void DecodeDate(double value, int& year, int& month, int& day);
KV_API void DecodeTime(double value, int& hour, int& min, int& sec, int& msec);
KV_API bool IsLeapYear(int year);
// The current local date and time.
KV_API double Now();

// Text to date under fs: up to three numbers divided by fs.DateSeparator in the order of
// fs.ShortDateFormat (d, m, y); two numbers mean the current year; two-digit years fall in
// the century window. Leading and trailing blanks are skipped. False, value untouched, when
// the text is no date. Example: "24.12.2023" under German settings.
KV_API bool TryStrToDate(StringView s, double& value, const FormatSettings& fs);
// Text to time of day: hours and minutes, optional seconds and milliseconds, divided by
// fs.TimeSeparator, with an optional AM/PM marker. Example: "18:00" gives 0.75.
KV_API bool TryStrToTime(StringView s, double& value, const FormatSettings& fs);
// A date, a time, or a date followed by blanks and a time.
KV_API bool TryStrToDateTime(StringView s, double& value, const FormatSettings& fs);
// As the Try forms, raising EConvertError with the runtime's message on failure.
KV_API double StrToDate(StringView s, const FormatSettings& fs);
KV_API double StrToTime(StringView s, const FormatSettings& fs);
KV_API double StrToDateTime(StringView s, const FormatSettings& fs);

// The value formatted by the runtime's format specifiers (d dd ddd dddd m mm mmm mmmm
// yy yyyy h hh n nn s ss z zzz am/pm ampm / : "literal" 'literal', c, t, tt, ddddd).
// Example: FormatDateTime(u"dd.mm.yyyy", v, fs) == u"24.12.2023".
KV_API String FormatDateTime(StringView format, double value, const FormatSettings& fs);

}  // namespace rtl

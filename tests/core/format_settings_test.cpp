#include "rtl/format_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "rtl/errors.h"

namespace rtl {
namespace {

// Records built by hand, so that no test depends on the host's locale data.
FormatSettings German() {
  FormatSettings fs;
  fs.DecimalSeparator = u',';
  fs.DateSeparator = u'.';
  fs.TimeSeparator = u':';
  fs.ShortDateFormat = u"dd.MM.yyyy";
  fs.LongDateFormat = u"dddd, d. MMMM yyyy";
  fs.ShortTimeFormat = u"hh:mm";
  fs.LongTimeFormat = u"hh:mm:ss";
  fs.ShortMonthNames[11] = u"Dez";
  fs.LongMonthNames[11] = u"Dezember";
  fs.ShortDayNames[0] = u"So";
  fs.LongDayNames[0] = u"Sonntag";
  return fs;
}

FormatSettings English() {
  FormatSettings fs;
  fs.DecimalSeparator = u'.';
  fs.DateSeparator = u'/';
  fs.TimeSeparator = u':';
  fs.ShortDateFormat = u"M/d/yyyy";
  fs.LongDateFormat = u"dddd, MMMM d, yyyy";
  fs.ShortTimeFormat = u"h:mm AMPM";
  fs.LongTimeFormat = u"h:mm:ss AMPM";
  fs.TimeAMString = u"AM";
  fs.TimePMString = u"PM";
  fs.LongMonthNames[11] = u"December";
  fs.LongDayNames[0] = u"Sunday";
  return fs;
}

FormatSettings Iso() {
  FormatSettings fs = German();
  fs.DateSeparator = u'-';
  fs.ShortDateFormat = u"YYYY-MM-DD";
  return fs;
}

double Date(int y, int m, int d) {
  double v = NAN;
  EXPECT_TRUE(TryEncodeDate(y, m, d, v)) << y << "-" << m << "-" << d;
  return v;
}

double Time(int h, int n, int s = 0, int ms = 0) {
  double v = NAN;
  EXPECT_TRUE(TryEncodeTime(h, n, s, ms, v)) << h << ":" << n << ":" << s << "." << ms;
  return v;
}

int CurrentYear() {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}

// The parsed value, or -1e9 when the text is refused.
double Parsed(bool (*parse)(StringView, double&, const FormatSettings&), StringView s, const FormatSettings& fs) {
  double v = -1e9;
  return parse(s, v, fs) ? v : -1e9;
}

constexpr double kRefused = -1e9;

TEST(DateEncoding, DaysSinceEpochAcrossLeapYears) {
  struct Row { int y, m, d; double days; } rows[] = {
      {1899, 12, 30, 0},     {1899, 12, 29, -1},     {1900, 1, 1, 2},       {1900, 3, 1, 61},
      {1600, 2, 29, -109512}, {1800, 1, 1, -36522},  {2000, 2, 29, 36585},  {2000, 3, 1, 36586},
      {2023, 12, 24, 45284}, {1, 1, 1, -693593},     {9999, 12, 31, 2958465},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.y << "-" << r.m << "-" << r.d);
    double v = NAN;
    ASSERT_TRUE(TryEncodeDate(r.y, r.m, r.d, v));
    EXPECT_EQ(v, r.days);
    int y, m, d;
    DecodeDate(r.days < 0 ? r.days - 0.75 : r.days + 0.75, y, m, d);  // a time keeps the date
    EXPECT_EQ(y * 10000 + m * 100 + d, r.y * 10000 + r.m * 100 + r.d);
  }
  struct Bad { int y, m, d; } bad[] = {
      {2023, 2, 29}, {1900, 2, 29}, {2000, 2, 30}, {2023, 4, 31}, {2023, 13, 1}, {2023, 1, 0}, {0, 1, 1},
      {10000, 1, 1},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(testing::Message() << b.y << "-" << b.m << "-" << b.d);
    double v = 123;
    EXPECT_FALSE(TryEncodeDate(b.y, b.m, b.d, v));
    EXPECT_EQ(v, 123);
  }
  int y = 1, m = 1, d = 1;
  DecodeDate(-693594, y, m, d);  // before the first year: no date
  EXPECT_EQ(y + m + d, 0);
  DecodeDate(NAN, y, m, d);
  EXPECT_EQ(y + m + d, 0);
}

TEST(DateEncoding, TimeOfDayAndNegativeValues) {
  struct Row { double value; int y, mo, d, h, mi, s, ms; } rows[] = {
      {45284.75, 2023, 12, 24, 18, 0, 0, 0},
      {-1.25, 1899, 12, 29, 6, 0, 0, 0},  // before the epoch the fraction is the time all the same
      {-0.5, 1899, 12, 30, 12, 0, 0, 0},
      {0.5 / 86400000, 1899, 12, 30, 0, 0, 0, 0},          // half a millisecond rounds to even
      {1 - 0.4 / 86400000, 1899, 12, 31, 0, 0, 0, 0},      // rounds up into the next day
      {Time(23, 59, 59, 999), 1899, 12, 30, 23, 59, 59, 999},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.value);
    int y, mo, d, h, mi, s, ms;
    DecodeDate(r.value, y, mo, d);
    DecodeTime(r.value, h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{y, mo, d, h, mi, s, ms}),
              (std::vector<int>{r.y, r.mo, r.d, r.h, r.mi, r.s, r.ms}));
  }
  EXPECT_EQ(Time(18, 0), 0.75);
  double v = 7;
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, v) || TryEncodeTime(23, 60, 0, 0, v) ||
               TryEncodeTime(23, 0, 60, 0, v) || TryEncodeTime(23, 0, 0, 1000, v));
  EXPECT_EQ(v, 7);
}

TEST(DateParsing, OrdersSeparatorsAndInvalidDates) {
  const int now = CurrentYear();
  struct Row { const char* label; FormatSettings fs; const char16_t* s; double expected; } rows[] = {
      {"DMY", German(), u"24.12.2023", Date(2023, 12, 24)},
      {"DMY", German(), u"  24.12.2023  ", Date(2023, 12, 24)},
      {"DMY", German(), u"24 . 12 . 2023", Date(2023, 12, 24)},
      {"DMY", German(), u"24.12.2023.", Date(2023, 12, 24)},
      {"DMY", German(), u"0024.0012.02023", Date(2023, 12, 24)},
      {"DMY", German(), u"24.12.", kRefused},  // a second separator wants the year
      {"DMY", German(), u"24.12", Date(now, 12, 24)},
      {"DMY", German(), u"31.02.2023", kRefused},
      {"DMY", German(), u"29.02.2023", kRefused},
      {"DMY", German(), u"12/24/2023", kRefused},
      {"DMY", German(), u"24.12.20231", kRefused},
      {"DMY", German(), u"24.12.2023x", kRefused},
      {"DMY", German(), u"\t24.12.2023", kRefused},  // only spaces count as blanks
      {"DMY", German(), u"", kRefused},
      {"DMY", German(), u"24..2023", kRefused},
      {"DMY", German(), u"0.12.2023", kRefused},
      {"MDY", English(), u"12/24/2023", Date(2023, 12, 24)},
      {"MDY", English(), u"12/24", Date(now, 12, 24)},
      {"MDY", English(), u"24/12/2023", kRefused},
      {"YMD", Iso(), u"2023-12-24", Date(2023, 12, 24)},
      {"YMD", Iso(), u"12-24", Date(now, 12, 24)},
      {"YMD", Iso(), u"2023-24-12", kRefused},
      {"lower-case letters", [] { FormatSettings f = German(); f.ShortDateFormat = u"yyyy.mm.dd"; return f; }(),
       u"2023.12.24", Date(2023, 12, 24)},
      {"empty format means MDY", [] { FormatSettings f = German(); f.ShortDateFormat.clear(); return f; }(),
       u"12.24.2023", Date(2023, 12, 24)},
      {"no separator", FormatSettings(), u"24.12.2023", kRefused},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.label << ": " << ToUtf8(r.s));
    EXPECT_EQ(Parsed(TryStrToDate, r.s, r.fs), r.expected);
  }
}

TEST(DateParsing, TwoDigitYearsFallInTheCenturyWindow) {
  const int now = CurrentYear();
  FormatSettings fs = German();
  for (int yy = 0; yy < 100; ++yy) {
    SCOPED_TRACE(yy);
    String text = u"1.1." + (yy < 10 ? u"0" + IntToStr(yy) : IntToStr(yy));
    int y, m, d;
    DecodeDate(StrToDate(text, fs), y, m, d);
    EXPECT_EQ(y % 100, yy);
    EXPECT_GE(y, now - 50);
    EXPECT_LT(y, now + 50);
  }
  EXPECT_EQ(StrToDate(u"1.1.7", fs), StrToDate(u"1.1.07", fs));
  EXPECT_EQ(StrToDate(u"1.1.023", fs), Date(23, 1, 1));  // three digits are a full year
  fs.TwoDigitYearCenturyWindow = 0;  // no window: the current century
  EXPECT_EQ(StrToDate(u"1.1.99", fs), Date(now / 100 * 100 + 99, 1, 1));
  EXPECT_EQ(StrToDate(u"1.1.00", fs), Date(now / 100 * 100, 1, 1));
}

TEST(TimeParsing, HoursMinutesSecondsAndMarkers) {
  const FormatSettings de = German(), en = English();
  struct Row { const char* label; const FormatSettings& fs; const char16_t* s; double expected; } rows[] = {
      {"de", de, u"18:00", Time(18, 0)},
      {"de", de, u"18:05:59", Time(18, 5, 59)},
      {"de", de, u"18:00:00,5", Time(18, 0, 0, 5)},
      {"de", de, u"  18 : 05  ", Time(18, 5)},
      {"de", de, u"18", Time(18, 0)},  // the hour alone is a time
      {"de", de, u"18:00:00.500", kRefused},
      {"de", de, u"24:00", kRefused},
      {"de", de, u"23:60", kRefused},
      {"de", de, u"18:", kRefused},
      {"de", de, u"18:00x", kRefused},
      {"de", de, u"6:00 PM", Time(18, 0)},  // AM and PM count in every locale
      {"en", en, u"6:00pm", Time(18, 0)},
      {"en", en, u"PM 6:30", Time(18, 30)},
      {"en", en, u"am 6:30", Time(6, 30)},
      {"en", en, u"12:30 PM", Time(12, 30)},
      {"en", en, u"12:30 AM", Time(0, 30)},
      {"en", en, u"0:30 AM", kRefused},
      {"en", en, u"13:00 PM", kRefused},
      {"en", en, u"6:00 PM PM", kRefused},
      {"en", en, u"6:00 XM", kRefused},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.label << ": " << ToUtf8(r.s));
    EXPECT_EQ(Parsed(TryStrToTime, r.s, r.fs), r.expected);
  }
  FormatSettings marked = en;
  marked.TimeAMString = u"vorm.";
  marked.TimePMString = u"nachm.";
  EXPECT_EQ(Parsed(TryStrToTime, u"6:00 NACHM.", marked), Time(18, 0));
}

TEST(DateTimeParsing, DateTimeAndErrors) {
  const FormatSettings de = German(), en = English();
  struct Row { const FormatSettings& fs; const char16_t* s; double expected; } rows[] = {
      {de, u"24.12.2023 18:00", Date(2023, 12, 24) + Time(18, 0)},
      {de, u"24.12.2023   18:00:30 ", Date(2023, 12, 24) + Time(18, 0, 30)},
      {de, u"18:00", Time(18, 0)},
      {de, u"29.12.1899 06:00", -1.25},
      {en, u"12/24/2023 6:00 PM", Date(2023, 12, 24) + Time(18, 0)},
      {en, u"12/24/2023 PM 6:00", Date(2023, 12, 24) + Time(18, 0)},
      {de, u"24.12.2023 25:00", kRefused},
      {de, u"24.12.2023 18:00 x", kRefused},
      {de, u"24.12.2023x18:00", kRefused},
      {de, u"31.02.2023 18:00", kRefused},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.s));
    EXPECT_EQ(Parsed(TryStrToDateTime, r.s, r.fs), r.expected);
  }

  EXPECT_EQ(StrToDate(u"24.12.2023", de), 45284);
  EXPECT_EQ(StrToTime(u"18:00", de), 0.75);
  EXPECT_EQ(StrToDateTime(u"24.12.2023 18:00", de), 45284.75);
  struct Bad { double (*convert)(StringView, const FormatSettings&); const char16_t* s; const char* message; } bad[] = {
      {StrToDate, u" 31.02.2023", "' 31.02.2023' is not a valid date"},
      {StrToTime, u"25:00", "'25:00' is not a valid time"},
      {StrToDateTime, u"today", "'today' is not a valid date and time"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.message);
    try {
      b.convert(b.s, de);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), b.message);
    }
  }
}

TEST(DateFormatting, Specifiers) {
  const FormatSettings de = German(), en = English();
  const double v = Date(2023, 12, 24) + Time(18, 5, 7, 123);  // a Sunday
  const double midnight = Date(2023, 12, 24);
  FormatSettings looping = de;
  looping.ShortDateFormat = u"ddddd";
  struct Row { const FormatSettings& fs; const char16_t* format; double value; const char16_t* expected; } rows[] = {
      {de, u"dd.mm.yyyy", v, u"24.12.2023"},
      {en, u"d/m/yy", v, u"24/12/23"},
      {de, u"dddd, d. mmmm yyyy", v, u"Sonntag, 24. Dezember 2023"},
      {de, u"ddd mmm", v, u"So Dez"},
      {en, u"aaaa", v, u"Sunday"},
      {de, u"hh:nn:ss.zzz", v, u"18:05:07.123"},
      {de, u"hh:mm", v, u"18:05"},         // m after an hour is the minute
      {de, u"mm hh mm", v, u"12 18 05"},
      {de, u"h:mm am/pm", v, u"6:05 pm"},
      {de, u"h:mm AM/PM", v, u"6:05 PM"},
      {de, u"h a/p", v, u"6 p"},
      {en, u"hh ampm", v, u"06 PM"},
      {en, u"h am/pm", midnight, u"12 am"},
      {en, u"ampm h", Time(12, 0), u"PM 12"},
      {de, u"'Heute:' dd", v, u"Heute: 24"},
      {de, u"'unclosed mm", v, u"unclosed mm"},
      {de, u"ddddd", v, u"24.12.2023"},
      {de, u"dddddd", v, u"Sonntag, 24. Dezember 2023"},
      {de, u"c", v, u"24.12.2023 18:05:07"},
      {de, u"c", midnight, u"24.12.2023"},
      {de, u"", v, u"24.12.2023 18:05:07"},
      {en, u"t", v, u"6:05 PM"},
      {en, u"tt", v, u"6:05:07 PM"},
      {en, u"c", v, u"12/24/2023 6:05:07 PM"},
      {de, u"yyyy-mm-dd hh:nn", -1.25, u"1899-12-29 06:00"},
      {FormatSettings(), u"dd/mm hh:nn", v, u"2412 1805"},  // no separators: nothing
      {looping, u"ddddd", v, u""},                        // named formats expand one level only
      {FormatSettings(), u"mmmm dddd", NAN, u" "},          // no date: no names
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.format));
    EXPECT_EQ(FormatDateTime(r.format, r.value, r.fs), r.expected);
  }
}

TEST(LocaleFormats, TimeFormatsFromPicture) {
  struct Row { const char16_t *picture, *short_format, *long_format; } rows[] = {
      {u"HH:mm:ss", u"hh:mm", u"hh:mm:ss"},
      {u"H:mm:ss", u"h:mm", u"h:mm:ss"},
      {u"h:mm:ss tt", u"h:mm AMPM", u"h:mm:ss AMPM"},
      {u"hh:mm:ss tt", u"hh:mm AMPM", u"hh:mm:ss AMPM"},
      {u"tt h:mm:ss", u"AMPM h:mm", u"AMPM h:mm:ss"},
      {u"", u"h:mm AMPM", u"h:mm:ss AMPM"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.picture));
    String short_format, long_format;
    TimeFormatsFromPicture(r.picture, short_format, long_format);
    EXPECT_EQ(short_format, r.short_format);
    EXPECT_EQ(long_format, r.long_format);
  }
}

// Relies on locale data that Windows, Wine and the built-in tables agree on: separators, the
// order of the short date, the time pictures, the AM/PM markers and the long names.
TEST(LocaleFormats, GermanAndEnglishLocales) {
  const FormatSettings de = FormatSettingsFromLocale(1031);
  EXPECT_EQ((String{de.DateSeparator, de.TimeSeparator, de.DecimalSeparator, de.ThousandSeparator}), u".:,.");
  EXPECT_EQ(de.LongTimeFormat, u"hh:mm:ss");
  EXPECT_EQ(de.TwoDigitYearCenturyWindow, 50);
  EXPECT_EQ(StrToDate(u"24.12.2023", de), 45284);
  EXPECT_EQ(FormatDateTime(u"dddd mmmm", 45284, de), u"Sonntag Dezember");

  const FormatSettings en = FormatSettingsFromLocale(1033);
  EXPECT_EQ((String{en.DateSeparator, en.TimeSeparator, en.DecimalSeparator, en.ThousandSeparator}), u"/:.,");
  EXPECT_EQ(en.ShortDateFormat, u"M/d/yyyy");
  EXPECT_EQ(en.ShortTimeFormat, u"h:mm AMPM");
  EXPECT_EQ(FormatDateTime(u"c", 45284.75, en), u"12/24/2023 6:00:00 PM");
  EXPECT_EQ(StrToDateTime(u"12/24/2023 6:00 PM", en), 45284.75);
  EXPECT_EQ(FormatDateTime(u"ddd mmm", 45284, en), u"Sun Dec");
}

}  // namespace
}  // namespace rtl

// Dates and times of the runtime against the calendar written out: day numbers from the
// civil date by counting days, leap years, values decoded back, texts of a date or time read
// back under the settings that wrote them, the time formats of a Windows picture; and any
// text or format under any settings survives the scanners and the writer.
#include <algorithm>
#include <cmath>

#include "fuzz/fuzz_input.h"
#include "rtl/errors.h"
#include "rtl/format_settings.h"
#include "rtl/platform.h"

namespace literal {

using rtl::String;

bool Leap(long long y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }
int Days(long long y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[m - 1] + (m == 2 && Leap(y));
}

// Days since 30 December 1899: whole years, then months, then days.
long long DayNumber(int y, int m, int d) {
  long long n = 0;
  for (int year = 1; year < y; year += 400 <= y - year ? 400 : 1) n += 400 <= y - year ? 146097 : 365 + Leap(year);
  for (int month = 1; month < m; ++month) n += Days(y, month);
  return n + d - 693594;
}

String Two(int n) { return (n < 10 ? u"0" : u"") + rtl::IntToStr(n); }
String Four(int n) { return String(4 - std::min<size_t>(4, rtl::IntToStr(n).size()), u'0') + rtl::IntToStr(n); }

void TimeFormats(const String& picture, String& short_format, String& long_format) {
  const String hour = picture.find(u"hh") != String::npos || picture.find(u"HH") != String::npos ? u"hh" : u"h";
  String before, after;
  if (picture.find(u'H') == String::npos) {
    const size_t t = picture.find(u't'), h = picture.find_first_of(u"hH");
    (t != String::npos && t < h ? before : after) = t != String::npos && t < h ? u"AMPM " : u" AMPM";
  }
  short_format = before + hour + u":mm" + after;
  long_format = before + hour + u":mm:ss" + after;
}

}  // namespace literal

namespace {

rtl::String FormatText(FuzzedDataProvider& in) {
  static const char16_t* const kPieces[] = {u"d",  u"dd", u"ddd",  u"dddd", u"ddddd", u"dddddd", u"m",  u"mm", u"mmm",
                                            u"mmmm", u"yy", u"yyyy", u"h",  u"hh",   u"n",    u"nn",  u"s",  u"ss",
                                            u"z",  u"zzz", u"am/pm", u"a/p", u"ampm", u"aaa",  u"aaaa", u"c",  u"t",
                                            u"tt", u"/",  u":",   u"'",   u"\"",  u" ",    u"x",  u"H",  u"M", u"e"};
  rtl::String s;
  for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n)
    s += in.ConsumeIntegralInRange(0, 7) ? rtl::String(kPieces[in.ConsumeIntegralInRange<size_t>(0, std::size(kPieces) - 1)])
                                         : fuzz::Text(in, 2);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fuzz::Same;
  using namespace rtl;
  FuzzedDataProvider in(data, size);

  // Encoding and decoding of any parts; the valid ones read back.
  const int year = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 10001) : in.ConsumeIntegral<int>();
  const int month = in.ConsumeIntegralInRange(-1, 13), day = in.ConsumeIntegralInRange(-1, 32);
  Same("IsLeapYear", IsLeapYear(year), literal::Leap(year));
  const bool valid_date = year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
                          day <= literal::Days(year, month);
  double date = -1e300;
  Same("TryEncodeDate", TryEncodeDate(year, month, day, date), valid_date);
  if (valid_date) {
    Same("TryEncodeDate value", static_cast<long long>(date), literal::DayNumber(year, month, day));
    int y, m, d;
    DecodeDate(date, y, m, d);
    fuzz::Holds("DecodeDate of an encoded date", y == year && m == month && d == day);
  } else {
    fuzz::Holds("TryEncodeDate leaves the value", date == -1e300);
  }
  const int hour = in.ConsumeIntegralInRange(-1, 24), min = in.ConsumeIntegralInRange(-1, 60),
            sec = in.ConsumeIntegralInRange(-1, 60), msec = in.ConsumeIntegralInRange(-1, 1000);
  const bool valid_time = hour >= 0 && hour <= 23 && min >= 0 && min <= 59 && sec >= 0 && sec <= 59 && msec >= 0 &&
                          msec <= 999;
  double time = -1;
  Same("TryEncodeTime", TryEncodeTime(hour, min, sec, msec, time), valid_time);
  if (valid_time) {
    Same("TryEncodeTime value", std::llround(time * 86400000), ((hour * 60LL + min) * 60 + sec) * 1000 + msec);
    int h, n, s, z;
    DecodeTime(time, h, n, s, z);
    fuzz::Holds("DecodeTime of an encoded time", h == hour && n == min && s == sec && z == msec);
  }
  // Any value at all decodes to something (nothing outside the years 1 to 9999).
  const double any = in.ConsumeFloatingPoint<double>();
  int y, m, d, h, n, s, z;
  DecodeDate(any, y, m, d);
  DecodeTime(any, h, n, s, z);
  fuzz::Holds("DecodeDate of any value", (y == 0 && m == 0 && d == 0) || (y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= 31));
  fuzz::Holds("DecodeTime of any value", h >= 0 && h <= 23 && n >= 0 && n <= 59 && s >= 0 && s <= 59 && z >= 0 && z <= 999);

  // Settings: a locale's, sometimes with other separators, formats and century window.
  const uint32_t lcid = in.ConsumeBool() ? (in.ConsumeBool() ? 1031u : 1033u) : in.ConsumeIntegral<uint32_t>();
  FormatSettings fs = FormatSettingsFromLocale(lcid);
  fuzz::Holds("FormatSettingsFromLocale", fs == FormatSettingsFromLocale(lcid == 1031 ? 1031 : 1033));
  if (in.ConsumeBool()) {
    fs.DateSeparator = fuzz::Text(in, 1).append(1, u'-')[0];
    fs.TimeSeparator = fuzz::Text(in, 1).append(1, u'.')[0];
    fs.DecimalSeparator = fuzz::Text(in, 1).append(1, u',')[0];
    fs.ShortDateFormat = FormatText(in);
    fs.TimeAMString = fuzz::Text(in, 2);
    fs.TimePMString = fuzz::Text(in, 2);
  }
  if (in.ConsumeBool())
    fs.TwoDigitYearCenturyWindow = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 99) : in.ConsumeIntegral<int>();

  // A date written in the order of the settings' short date format, with four-digit years,
  // reads back as that date.
  if (valid_date) {
    const FormatSettings german = FormatSettingsFromLocale(1031), english = FormatSettingsFromLocale(1033);
    double read = 0;
    const String german_text = literal::Two(day) + u"." + literal::Two(month) + u"." + literal::Four(year);
    fuzz::Holds("TryStrToDate of a German date", TryStrToDate(german_text, read, german) && read == date);
    const String english_text = rtl::IntToStr(month) + u"/" + rtl::IntToStr(day) + u"/" + literal::Four(year);
    fuzz::Holds("TryStrToDate of an English date", TryStrToDate(u"  " + english_text + u" ", read, english) && read == date);
    Same("FormatDateTime of a date", FormatDateTime(u"dd.mm.yyyy", date, german), german_text);
    if (valid_time) {
      const double value = date >= 0 ? date + time : date - time;
      const String clock = literal::Two(hour) + u":" + literal::Two(min) + u":" + literal::Two(sec);
      Same("FormatDateTime of a date and time", FormatDateTime(u"dd.mm.yyyy hh:nn:ss", value, german),
           german_text + u" " + clock);
      fuzz::Holds("TryStrToDateTime", TryStrToDateTime(german_text + u" " + clock, read, german) &&
                                          std::llround(read * 86400000) == std::llround((date >= 0 ? date + time - msec / 86400000.0 : date - time + msec / 86400000.0) * 86400000));
      fuzz::Holds("TryStrToTime", TryStrToTime(clock, read, german) &&
                                      std::llround(read * 86400000) == ((hour * 60LL + min) * 60 + sec) * 1000);
      const String twelve = rtl::IntToStr((hour + 11) % 12 + 1) + u":" + literal::Two(min) + (hour < 12 ? u" AM" : u" PM");
      fuzz::Holds("TryStrToTime with a marker", TryStrToTime(twelve, read, english) &&
                                                    std::llround(read * 86400000) == (hour * 60LL + min) * 60000);
    }
  }

  // Any text under the settings: the three scanners agree with the raising forms, leave the
  // value alone on failure and give a value that decodes.
  String text;
  for (int k = in.ConsumeIntegralInRange(0, 8); k > 0; --k) {
    static const char16_t* const kPieces[] = {u"1", u"12", u"2023", u"0", u"99", u".", u"/", u":", u" ", u"AM", u"pm"};
    text += in.ConsumeIntegralInRange(0, 5) ? String(kPieces[in.ConsumeIntegralInRange(0, 10)]) : fuzz::Text(in, 2);
  }
  using Try = bool (*)(StringView, double&, const FormatSettings&);
  using Raise = double (*)(StringView, const FormatSettings&);
  const std::pair<Try, Raise> scanners[] = {{TryStrToDate, StrToDate}, {TryStrToTime, StrToTime},
                                            {TryStrToDateTime, StrToDateTime}};
  for (auto [try_form, raising] : scanners) {
    double value = 12345.5;
    const bool ok = try_form(text, value, fs);
    if (!ok) fuzz::Holds("a failed conversion leaves the value", value == 12345.5);
    if (ok) fuzz::Holds("a converted value is a date", std::fabs(value) <= 2958466 + 693594);
    bool raised = false;
    try {
      const double again = raising(text, fs);
      fuzz::Holds("the raising form gives the same value", again == value);
    } catch (const EConvertError&) {
      raised = true;
    }
    Same("the raising form raises when the other fails", raised, !ok);
  }

  // Any format under the settings, for a date-time value inside the calendar and for any value.
  const String format = FormatText(in);
  FormatDateTime(format, date + (valid_time ? time : 0), fs);
  FormatDateTime(format, any, fs);

  const String picture = FormatText(in);
  String short_format, long_format, their_short, their_long;
  TimeFormatsFromPicture(picture, short_format, long_format);
  literal::TimeFormats(picture, their_short, their_long);
  Same("TimeFormatsFromPicture short", short_format, their_short);
  Same("TimeFormatsFromPicture long", long_format, their_long);
  return 0;
}

#include "rtl/format_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "rtl/errors.h"
#include "rtl/platform.h"

namespace rtl {
namespace {

constexpr int64_t kMSecsPerDay = 86400000;
constexpr int64_t kFirstDay = -693593;  // 1 January 0001
constexpr int64_t kLastDay = 2958465;   // 31 December 9999
constexpr int64_t kDaysBefore1970 = 25569;

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// A value as whole days (rounded to the millisecond, truncated towards zero) and the
// milliseconds of its time of day; a negative value's fraction is its time as well. valid:
// the day lies in the years 1..9999.
struct DayAndTime {
  int64_t day;
  int msec;
  bool valid;
};

DayAndTime Split(double value) {
  if (!(std::fabs(value) <= static_cast<double>(kLastDay - kFirstDay))) return {0, 0, false};
  auto ms = static_cast<int64_t>(std::nearbyint(value * kMSecsPerDay));
  int64_t day = ms / kMSecsPerDay;
  return {day, static_cast<int>(std::llabs(ms) % kMSecsPerDay), day >= kFirstDay && day <= kLastDay};
}

char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? c - 32 : c; }

int CurrentYear() {
  int year, month, day;
  DecodeDate(Now(), year, month, day);
  return year;
}

// Reads a text the way the runtime's date and time conversions do: blanks (code 32 only)
// may stand before every number, separator and marker.
class Scanner {
 public:
  explicit Scanner(StringView s) : s_(s) {}

  bool AtEnd() const { return pos_ >= s_.size(); }
  size_t Pos() const { return pos_; }

  void SkipBlanks() {
    while (pos_ < s_.size() && s_[pos_] == u' ') ++pos_;
  }

  // Decimal digits; reading stops once the number reaches 1000, so at most four digits
  // after leading zeros. digits is the count of characters read.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    size_t start = pos_;
    int n = 0;
    while (pos_ < s_.size() && s_[pos_] >= u'0' && s_[pos_] <= u'9' && n < 1000) {
      n = n * 10 + (s_[pos_] - u'0');
      ++pos_;
    }
    if (pos_ == start) return false;
    value = n;
    digits = static_cast<int>(pos_ - start);
    return true;
  }

  bool Number(int& value) {
    int digits;
    return Number(value, digits);
  }

  bool Char(char16_t c) {
    SkipBlanks();
    if (pos_ >= s_.size() || s_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  // A non-empty symbol, compared ignoring case.
  bool Symbol(StringView symbol) {
    if (symbol.empty()) return false;
    SkipBlanks();
    if (AnsiCompareText(symbol, s_.substr(pos_, symbol.size())) != 0) return false;
    pos_ += symbol.size();
    return true;
  }

 private:
  StringView s_;
  size_t pos_ = 0;
};

enum class DateOrder { MDY, DMY, YMD };

// The first of d, m and y (or e, an era's year; any case) in the short date format decides;
// MDY when none.
DateOrder DateOrderOf(StringView format) {
  for (char16_t c : format) {
    switch (AsciiUpper(c)) {
      case u'Y': case u'E': return DateOrder::YMD;
      case u'M': return DateOrder::MDY;
      case u'D': return DateOrder::DMY;
      default: break;
    }
  }
  return DateOrder::MDY;
}

bool ScanDate(Scanner& in, double& value, const FormatSettings& fs) {
  int n1, n2, n3, len1, len2, len3;
  if (!in.Number(n1, len1) || !in.Char(fs.DateSeparator) || !in.Number(n2, len2)) return false;
  DateOrder order = DateOrderOf(fs.ShortDateFormat);
  int year, month, day;
  if (in.Char(fs.DateSeparator)) {
    if (!in.Number(n3, len3)) return false;
    int year_digits = len3;
    switch (order) {
      case DateOrder::MDY: year = n3; month = n1; day = n2; break;
      case DateOrder::DMY: year = n3; month = n2; day = n1; break;
      case DateOrder::YMD: year = n1; month = n2; day = n3; year_digits = len1; break;
    }
    if (year_digits <= 2) {
      // In 64 bits: the window is the caller's, any int; a year outside 1..9999 is no date.
      const int64_t century_base = int64_t{CurrentYear()} - fs.TwoDigitYearCenturyWindow;
      int64_t full_year = year + century_base / 100 * 100;
      if (fs.TwoDigitYearCenturyWindow > 0 && full_year < century_base) full_year += 100;
      if (full_year < 1 || full_year > 9999) return false;
      year = static_cast<int>(full_year);
    }
  } else {
    year = CurrentYear();
    month = order == DateOrder::DMY ? n2 : n1;
    day = order == DateOrder::DMY ? n1 : n2;
  }
  in.Char(fs.DateSeparator);  // a closing separator is allowed
  in.SkipBlanks();
  return TryEncodeDate(year, month, day, value);
}

// 0 for an AM marker, 12 for a PM marker, -1 when none follows.
int ScanMarker(Scanner& in, const FormatSettings& fs) {
  if (in.Symbol(fs.TimeAMString) || in.Symbol(u"AM")) return 0;
  if (in.Symbol(fs.TimePMString) || in.Symbol(u"PM")) return 12;
  return -1;
}

bool ScanTime(Scanner& in, double& value, const FormatSettings& fs) {
  int base_hour = ScanMarker(in, fs);
  int hour, min = 0, sec = 0, msec = 0;
  if (!in.Number(hour)) return false;
  if (in.Char(fs.TimeSeparator)) {
    if (!in.Number(min)) return false;
    if (in.Char(fs.TimeSeparator)) {
      if (!in.Number(sec)) return false;
      if (in.Char(fs.DecimalSeparator) && !in.Number(msec)) return false;
    }
  }
  if (base_hour < 0) base_hour = ScanMarker(in, fs);
  if (base_hour >= 0) {
    if (hour == 0 || hour > 12) return false;
    hour = hour % 12 + base_hour;
  }
  in.SkipBlanks();
  return TryEncodeTime(hour, min, sec, msec, value);
}

[[noreturn]] void ThrowConvertError(StringView s, const char16_t* what) {
  throw EConvertError(u"'" + String(s) + u"' is not a valid " + what);
}

String Padded(int n, int digits) {
  String text = IntToStr(n);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), u'0');
  return text;
}

bool StartsWithNoCase(StringView s, size_t pos, StringView prefix) {
  if (s.size() - pos < prefix.size()) return false;
  for (size_t k = 0; k < prefix.size(); ++k) {
    if (AsciiUpper(s[pos + k]) != AsciiUpper(prefix[k])) return false;
  }
  return true;
}

// True when the format after an hour asks for the 12-hour clock: an "am/pm", "a/p" or
// "ampm" outside quotes comes before the next hour.
bool TwelveHourAhead(StringView format, size_t pos) {
  bool quoted = false;
  for (; pos < format.size(); ++pos) {
    char16_t c = format[pos];
    if (AsciiUpper(c) == u'A' && !quoted) {
      return StartsWithNoCase(format, pos, u"am/pm") || StartsWithNoCase(format, pos, u"a/p") ||
             StartsWithNoCase(format, pos, u"ampm");
    }
    if (AsciiUpper(c) == u'H') return false;
    if (c == u'\'' || c == u'"') quoted = !quoted;
  }
  return false;
}

// Writes one value by the runtime's format specifiers; the named formats (c, t, tt, ddddd,
// dddddd) are expanded one level deep.
class DateTimeWriter {
 public:
  DateTimeWriter(double value, const FormatSettings& fs) : fs_(fs) {
    DecodeDate(value, year_, month_, day_);
    DecodeTime(value, hour_, min_, sec_, msec_);
    DayAndTime split = Split(value);
    weekday_ = split.valid ? static_cast<int>(((split.day + 6) % 7 + 7) % 7) : -1;  // 0 = Sunday
  }

  String Text(StringView format) {
    Append(format.empty() ? StringView(u"c") : format, 0);
    return out_;
  }

 private:
  void Append(StringView f, int level) {
    if (level > 1) return;
    char16_t last = u' ';
    bool twelve_hour = false;
    size_t i = 0;
    while (i < f.size()) {
      const char16_t starter = f[i++];
      char16_t token = AsciiUpper(starter);
      if (token >= u'A' && token <= u'Z') {
        if (token == u'M' && last == u'H') token = u'N';
        last = token;
      }
      auto count = [&] {
        int n = 1;
        for (; i < f.size() && f[i] == starter; ++i) ++n;
        return n;
      };
      switch (token) {
        case u'Y': out_ += count() <= 2 ? Padded(year_ % 100, 2) : Padded(year_, 4); break;
        case u'M': {
          int n = count();
          out_ += n <= 2 ? Padded(month_, n) : MonthName(n == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames);
          break;
        }
        case u'D': {
          int n = count();
          if (n <= 2) out_ += Padded(day_, n);
          else if (n <= 4) out_ += DayName(n == 3 ? fs_.ShortDayNames : fs_.LongDayNames);
          else Append(n == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, level + 1);
          break;
        }
        case u'H': {
          int n = count();
          twelve_hour = twelve_hour || TwelveHourAhead(f, i);
          int h = twelve_hour ? (hour_ + 11) % 12 + 1 : hour_;
          out_ += Padded(h, std::min(n, 2));
          break;
        }
        case u'N': out_ += Padded(min_, std::min(count(), 2)); break;
        case u'S': out_ += Padded(sec_, std::min(count(), 2)); break;
        case u'Z': out_ += Padded(msec_, std::min(count(), 3)); break;
        case u'T': Append(count() == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, level + 1); break;
        case u'A': AppendMarker(f, i, starter, twelve_hour); break;
        case u'C':
          count();
          Append(fs_.ShortDateFormat, level + 1);
          if (hour_ != 0 || min_ != 0 || sec_ != 0 || msec_ != 0) {
            out_ += u' ';
            Append(fs_.LongTimeFormat, level + 1);
          }
          break;
        case u'/': if (fs_.DateSeparator) out_ += fs_.DateSeparator; break;
        case u':': if (fs_.TimeSeparator) out_ += fs_.TimeSeparator; break;
        case u'\'':
        case u'"': {
          size_t end = std::min(f.find(starter, i), f.size());
          out_ += f.substr(i, end - i);
          i = std::min(end + 1, f.size());
          break;
        }
        default: out_ += starter; break;
      }
    }
  }

  // "am/pm" and "a/p" write the format's own letters, "ampm" the locale's marker, "aaa" and
  // "aaaa" the day name; any other "a" is itself. i points after the "a".
  void AppendMarker(StringView f, size_t& i, char16_t starter, bool& twelve_hour) {
    size_t at = i - 1;
    bool pm = hour_ >= 12;
    if (StartsWithNoCase(f, at, u"am/pm")) {
      out_ += f.substr(at + (pm ? 3 : 0), 2);
      i += 4;
      twelve_hour = true;
    } else if (StartsWithNoCase(f, at, u"a/p")) {
      out_ += f[at + (pm ? 2 : 0)];
      i += 2;
      twelve_hour = true;
    } else if (StartsWithNoCase(f, at, u"ampm")) {
      out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
      i += 3;
      twelve_hour = true;
    } else if (StartsWithNoCase(f, at, u"aaaa")) {
      out_ += DayName(fs_.LongDayNames);
      i += 3;
    } else if (StartsWithNoCase(f, at, u"aaa")) {
      out_ += DayName(fs_.ShortDayNames);
      i += 2;
    } else {
      out_ += starter;
    }
  }

  String MonthName(const std::array<String, 12>& names) const {
    return month_ >= 1 ? names[month_ - 1] : String();
  }
  String DayName(const std::array<String, 7>& names) const {
    return weekday_ >= 0 ? names[weekday_] : String();
  }

  const FormatSettings& fs_;
  String out_;
  int year_, month_, day_, hour_, min_, sec_, msec_, weekday_;
};

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(int year, int month, int day, double& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    return false;
  }
  int days = day;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  int y = year - 1;
  value = y * 365 + y / 4 - y / 100 + y / 400 + days - 693594;
  return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, double& value) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) {
    return false;
  }
  value = static_cast<double>(((hour * 60 + min) * 60 + sec) * 1000 + msec) / kMSecsPerDay;
  return true;
}

// Gregorian calendar from a day count (civil-from-days); 0, 0, 0 outside the years 1..9999.
void DecodeDate(double value, int& year, int& month, int& day) {
  DayAndTime split = Split(value);
  if (!split.valid) {
    year = month = day = 0;
    return;
  }
  int64_t z = split.day - kDaysBefore1970 + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

void DecodeTime(double value, int& hour, int& min, int& sec, int& msec) {
  int ms = Split(value).msec;
  hour = ms / 3600000;
  min = ms / 60000 % 60;
  sec = ms / 1000 % 60;
  msec = ms % 1000;
}

bool TryStrToDate(StringView s, double& value, const FormatSettings& fs) {
  Scanner in(s);
  double date;
  if (!ScanDate(in, date, fs) || !in.AtEnd()) return false;
  value = date;
  return true;
}

bool TryStrToTime(StringView s, double& value, const FormatSettings& fs) {
  Scanner in(s);
  double time;
  if (!ScanTime(in, time, fs) || !in.AtEnd()) return false;
  value = time;
  return true;
}

// A time after a date before 30 December 1899 counts away from zero, as the fraction of a
// negative value is its time of day.
bool TryStrToDateTime(StringView s, double& value, const FormatSettings& fs) {
  Scanner in(s);
  double date, time = 0;
  if (!ScanDate(in, date, fs)) return TryStrToTime(s, value, fs);
  if (!in.AtEnd() && s[in.Pos() - 1] != u' ') return false;
  if (!in.AtEnd() && (!ScanTime(in, time, fs) || !in.AtEnd())) return false;
  value = date >= 0 ? date + time : date - time;
  return true;
}

double StrToDate(StringView s, const FormatSettings& fs) {
  double v;
  if (!TryStrToDate(s, v, fs)) ThrowConvertError(s, u"date");
  return v;
}

double StrToTime(StringView s, const FormatSettings& fs) {
  double v;
  if (!TryStrToTime(s, v, fs)) ThrowConvertError(s, u"time");
  return v;
}

double StrToDateTime(StringView s, const FormatSettings& fs) {
  double v;
  if (!TryStrToDateTime(s, v, fs)) ThrowConvertError(s, u"date and time");
  return v;
}

String FormatDateTime(StringView format, double value, const FormatSettings& fs) {
  return DateTimeWriter(value, fs).Text(format);
}

void TimeFormatsFromPicture(StringView picture, String& short_format, String& long_format) {
  const bool leading_zero = picture.find(u"hh") != StringView::npos || picture.find(u"HH") != StringView::npos;
  const String hour = leading_zero ? u"hh" : u"h";
  String prefix, postfix;
  if (picture.find(u'H') == StringView::npos) {
    size_t marker = picture.find(u't');
    if (marker != StringView::npos && marker < picture.find_first_of(u"hH")) prefix = u"AMPM ";
    else postfix = u" AMPM";
  }
  short_format = prefix + hour + u":mm" + postfix;
  long_format = prefix + hour + u":mm:ss" + postfix;
}

FormatSettings& ProcessFormatSettings() {
  static FormatSettings settings = FormatSettingsFromLocale(0x0800);
  return settings;
}

}  // namespace rtl

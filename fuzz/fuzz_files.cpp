// The file decisions against their descriptions: size texts by exact fractions, the marked
// version text field by field, file dates packed and unpacked bit by bit, the comparison
// report byte by byte; and the copy and move steps over a made-up file system whose steps
// fail where the input says, checked against what the routines promise about the source.
#include <map>

#include "fuzz/fuzz_input.h"
#include "kv_tools/files.h"
#include "kv_tools/globals.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/format_settings.h"
#include "rtl/int_text.h"
#include "rtl/platform.h"
#include "tests/core/fields_reference.h"

namespace literal {

using rtl::String;
using u128 = unsigned __int128;

// n / d rounded, halves away from zero (n, d > 0).
u128 Rounded(u128 n, u128 d) { return (2 * n + d) / (2 * d); }

String TwoDecimals(u128 hundredths, bool negative, const char16_t* unit) {
  String text = negative ? u"-" : u"";
  text += rtl::IntToStr(static_cast<long long>(hundredths / 100));
  text += rtl::ProcessFormatSettings().DecimalSeparator;
  text += static_cast<char16_t>(u'0' + hundredths % 100 / 10);
  text += static_cast<char16_t>(u'0' + hundredths % 10);
  return text + u" " + unit;
}

String GetSizeStr(int64_t size) {
  const bool negative = size < 0;
  const u128 magnitude = negative ? u128(-(size + 1)) + 1 : u128(size);
  const u128 kb = 1024, mb = kb * 1024, gb = mb * 1024;
  if (size > int64_t{1} << 30) {
    const u128 gigabytes = Rounded(magnitude * 100, gb);  // the GB text's hundredths
    if (gigabytes > 1000 * 100) return TwoDecimals(Rounded(gigabytes, 1024), false, u"TB");
    return TwoDecimals(gigabytes, false, u"GB");
  }
  if (size > int64_t{1} << 20) return TwoDecimals(Rounded(magnitude * 100, mb), false, u"MB");
  if (size < 1024) {
    const String text = TwoDecimals(Rounded(magnitude * 100, kb), negative, u"kb");
    // "0,00 kb" becomes "0,01 kb", in the process's separator.
    return size > 0 && text == TwoDecimals(0, false, u"kb") ? TwoDecimals(1, false, u"kb") : text;
  }
  u128 whole = magnitude / kb;
  const u128 rest = magnitude % kb;
  if (rest * 2 > kb || (rest * 2 == kb && whole % 2 == 1)) ++whole;
  return rtl::IntToStr(static_cast<long long>(whole)) + u" kb";
}

bool GetFileVersion(const String& s, Kv_tools::TFileVersionInfo& info, int& lines_to_read) {
  using fields_reference::GetFieldStr;
  const std::vector<String> fields = fields_reference::Fields(u'\x01', s);
  if (fields.empty() || fields[0] != u"@kv-VER@") return false;
  auto field = [&](int nr) { return nr <= static_cast<int>(fields.size()) ? fields[nr - 1] : String(); };
  std::string* kept[] = {&info.ProgID, &info.ProgVersion, &info.FileVersion, &info.System};
  for (int nr = 2; nr <= 5; ++nr)
    if (nr <= static_cast<int>(fields.size())) *kept[nr - 2] = rtl::EncodeAnsi(field(nr));
  if (fields.size() >= 6) {
    int value = 0;
    if (!field(6).empty() && !rtl::TryStrToInt(field(6), value)) throw rtl::EConvertError(u"field 6");
    lines_to_read = value;
  }
  info.Password = rtl::EncodeAnsi(field(7));
  info.NetUse = rtl::EncodeAnsi(field(8));
  info.OnlyNetUse = rtl::EncodeAnsi(field(9));
  return true;
}

bool ValidDate(int y, int m, int d) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  const bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
  return d <= kDays[m - 1] + (m == 2 && leap);
}

// Date in the high word (day 5 bits, month 4, year - 1980 7), time in the low one (seconds
// / 2 in 5 bits, minutes 6, hours 5).
std::optional<double> FileDateToDateTime(uint32_t fd) {
  const int year = 1980 + static_cast<int>(fd >> 25), month = fd >> 21 & 15, day = fd >> 16 & 31;
  const int hour = fd >> 11 & 31, min = fd >> 5 & 63, sec = (fd & 31) * 2;
  if (!ValidDate(year, month, day) || hour > 23 || min > 59 || sec > 59) return std::nullopt;
  double date, time;
  rtl::TryEncodeDate(year, month, day, date);
  rtl::TryEncodeTime(hour, min, sec, 0, time);
  return date + time;
}

String AnsiChar(char byte) { return rtl::DecodeAnsi(std::string(1, byte)); }

String CompareReport(const String& n1, const String& n2, int64_t s1, int64_t s2, const std::string& b1,
                     const std::string& b2) {
  String out = rtl::IntToStr(s1) + u": Größe von " + n1 + u"\r" + rtl::IntToStr(s2) + u": Größe von " + n2 + u"\r";
  size_t at = 0;
  while (at < b1.size() && at < b2.size() && b1[at] == b2[at]) ++at;
  if (at == b1.size() || at == b2.size()) return s1 == s2 ? out + u"\rDateien sind gleich." : out;
  auto byte_line = [](char b, const String& n) {
    return AnsiChar(b) + u" \" Wert: " + rtl::IntToStr(static_cast<unsigned char>(b)) + u" (" +
           rtl::ExtractFileName(n) + u")";
  };
  String c1, c2;
  for (size_t i = at; i < at + 10 && i < b1.size() && i < b2.size(); ++i) {
    c1 += AnsiChar(b1[i]);
    c2 += AnsiChar(b2[i]);
    if (b1[i] == '\r' || b1[i] == '\n' || b2[i] == '\r' || b2[i] == '\n') break;
  }
  return out + u"\rDateien unterscheiden sich an Position: " + rtl::IntToStr(static_cast<long long>(at + 1)) +
         u"\r\r" + byte_line(b1[at], n1) + u"\r" + byte_line(b2[at], n2) + u"\r\r" + c1 + u"\r" + c2;
}

}  // namespace literal

namespace {

using rtl::String;

// A file system of a few names, each with attributes and content, whose steps fail where
// the input says (and as Windows does: a read-only file can be neither replaced nor deleted).
struct Disk {
  struct File {
    uint32_t attributes;
    std::string content;
    bool operator==(const File&) const = default;
  };
  std::map<String, File> files;
  FuzzedDataProvider* in;
  // Set when the platform refused to change the attributes of a file that is there: after
  // clearing a read-only source, the routines cannot put its attribute back then.
  bool attributes_refused = false;

  bool Fails() { return in->ConsumeIntegralInRange(0, 7) == 0; }

  Kv_tools::FileSteps Steps() {
    Kv_tools::FileSteps s;
    s.ForceDirectories = [this](const String&) { return !Fails(); };
    s.Attributes = [this](const String& n) -> std::optional<uint32_t> {
      auto f = files.find(n);
      if (f == files.end() || Fails()) return std::nullopt;
      return f->second.attributes;
    };
    s.SetAttributes = [this](const String& n, uint32_t a) {
      auto f = files.find(n);
      if (f == files.end()) return false;
      if (Fails()) return !(attributes_refused = true);
      f->second.attributes = a;
      return true;
    };
    s.Move = [this](const String& from, const String& to) {
      if (!files.count(from) || files.count(to) || from == to || Fails()) return false;
      files[to] = files[from];
      files.erase(from);
      return true;
    };
    s.Copy = [this](const String& from, const String& to) {
      if (!files.count(from) || from == to || (files.count(to) && (files[to].attributes & 1)) || Fails())
        return false;
      files[to] = files[from];
      return true;
    };
    s.Remove = [this](const String& n) {
      if (!files.count(n) || (files[n].attributes & 1) || Fails()) return false;
      files.erase(n);
      return true;
    };
    return s;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  // Size texts under either decimal separator of the process.
  char16_t& separator = rtl::ProcessFormatSettings().DecimalSeparator;
  const char16_t saved_separator = separator;
  separator = in.ConsumeBool() ? u',' : u'.';
  const int shift = in.ConsumeIntegralInRange(0, 63);
  // Any value, or one near a power of two (wrapping at the ends of the range).
  const int64_t size_value =
      in.ConsumeBool() ? in.ConsumeIntegral<int64_t>()
                       : static_cast<int64_t>((uint64_t{1} << shift) + in.ConsumeIntegralInRange<uint64_t>(0, 2048) -
                                              in.ConsumeIntegralInRange<uint64_t>(0, 4096));
  Same("GetSizeStr", GetSizeStr(size_value), literal::GetSizeStr(size_value));
  separator = saved_separator;

  // The marked version text: the marker or not, then fields of any text.
  String version = in.ConsumeBool() ? u"@kv-VER@" : fuzz::Text(in, 9);
  for (int n = in.ConsumeIntegralInRange(0, 11); n > 0; --n) {
    version += u'\x01';
    version += in.ConsumeIntegralInRange(0, 3) == 0 ? rtl::IntToStr(in.ConsumeIntegralInRange(-5, 99)) : fuzz::Text(in, 4);
  }
  if (in.ConsumeBool()) version += u'\x01';
  TFileVersionInfo mine{"a", "b", "c", "d", "e", "f", "g"}, theirs = mine;
  int their_lines = LinesToRead = in.ConsumeIntegralInRange(-1, 9);
  bool mine_raised = false, their_raised = false, mine_result = false, their_result = false;
  try { mine_result = kv_GetFileVersion(version, mine); } catch (const rtl::EConvertError&) { mine_raised = true; }
  try { their_result = literal::GetFileVersion(version, theirs, their_lines); } catch (const rtl::EConvertError&) { their_raised = true; }
  Same("kv_GetFileVersion raises", mine_raised, their_raised);
  Same("kv_GetFileVersion", mine_result, their_result);
  fuzz::Holds("kv_GetFileVersion record", mine == theirs);
  Same("kv_GetFileVersion LinesToRead", LinesToRead, their_lines);

  // File dates: any 32 bits unpacked; a date-time of any parts packed; and back.
  const uint32_t file_date = in.ConsumeIntegral<uint32_t>();
  const std::optional<double> unpacked = FileDateToDateTime(file_date);
  fuzz::Holds("FileDateToDateTime", unpacked == literal::FileDateToDateTime(file_date));
  if (unpacked) Same("DateTimeToFileDate of an unpacked date", static_cast<long long>(DateTimeToFileDate(*unpacked)),
                     static_cast<long long>(file_date));
  const int year = in.ConsumeIntegralInRange(1, 9999), month = in.ConsumeIntegralInRange(1, 12),
            day = in.ConsumeIntegralInRange(1, 31), hour = in.ConsumeIntegralInRange(0, 23),
            min = in.ConsumeIntegralInRange(0, 59), sec = in.ConsumeIntegralInRange(0, 59),
            msec = in.ConsumeIntegralInRange(0, 999);
  double date = 0, time = 0;
  if (rtl::TryEncodeDate(year, month, day, date) && rtl::TryEncodeTime(hour, min, sec, msec, time)) {
    const double value = date >= 0 ? date + time : date - time;
    const uint32_t packed = year < 1980 || year > 2107
                                ? 0
                                : static_cast<uint32_t>(day | month << 5 | (year - 1980) << 9) << 16 |
                                      static_cast<uint32_t>(sec / 2 | min << 5 | hour << 11);
    Same("DateTimeToFileDate", static_cast<long long>(DateTimeToFileDate(value)), static_cast<long long>(packed));
  }
  DateTimeToFileDate(in.ConsumeFloatingPoint<double>());  // any value at all: no fault

  // The comparison report over two byte strings that often share a start.
  const String name1 = fuzz::Text(in, 8), name2 = fuzz::Text(in, 8);
  std::string bytes1 = in.ConsumeRandomLengthString(40);
  std::string bytes2 = bytes1.substr(0, in.ConsumeIntegralInRange<size_t>(0, bytes1.size()));
  bytes2 += in.ConsumeRandomLengthString(20);
  Same("CompareReport",
       CompareReport(name1, name2, static_cast<int64_t>(bytes1.size()), static_cast<int64_t>(bytes2.size()), bytes1,
                     bytes2),
       literal::CompareReport(name1, name2, static_cast<int64_t>(bytes1.size()), static_cast<int64_t>(bytes2.size()),
                              bytes1, bytes2));
  CompareReport(name1, name2, in.ConsumeIntegral<int64_t>(), in.ConsumeIntegral<int64_t>(), bytes1, bytes2);

  // Copy and move between names of a small disk.
  static const char16_t* const kNames[] = {u"C:\\a.txt", u"C:\\d\\b.txt", u"b.txt", u"C:\\a.txt\\x", u"D:\\e\\a.txt"};
  Disk disk{{}, &in};
  for (const char16_t* name : kNames)
    if (in.ConsumeBool())
      disk.files[name] = {(in.ConsumeIntegralInRange<uint32_t>(0, 0x3F) & ~0x10u) | (in.ConsumeIntegralInRange(0, 5) == 0 ? 0x10 : 0),
                          in.ConsumeRandomLengthString(4)};
  const String source = kNames[in.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)];
  const String target = kNames[in.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)];
  const auto before = disk.files;
  const bool move = in.ConsumeBool();
  const bool ok = move ? MoveFileWith(disk.Steps(), source, target) : CopyFileWith(disk.Steps(), source, target);
  const auto was = before.find(source);
  // The source as it was: there with its content, and its attributes unless the platform
  // refused to set them back.
  const auto unchanged = [&] {
    if (!disk.files.count(source)) return false;
    const Disk::File& now = disk.files.at(source);
    return now.content == was->second.content &&
           (disk.attributes_refused || now.attributes == was->second.attributes);
  };
  if (!ok) {
    fuzz::Holds("a failed copy or move leaves the source as it was", was == before.end() || unchanged());
  } else {
    // A folder is copied never, moved only by the platform's move.
    fuzz::Holds("the source was there", was != before.end() && (move || !(was->second.attributes & 0x10)));
    fuzz::Holds("the target is the source", disk.files.count(target) && disk.files.at(target) == was->second);
    if (move && source != target) fuzz::Holds("a move takes the source away", !disk.files.count(source));
    if (!move) fuzz::Holds("a copy keeps the source", unchanged());
  }
  return 0;
}

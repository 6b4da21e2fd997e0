// Kv_tools file operations: the decisions that need no platform (size texts, file dates,
// the comparison report, the version text, the order of the copy and move steps).
#include "kv_tools/files.h"

#include <algorithm>

#include "kv_tools/fields.h"
#include "kv_tools/globals.h"
#include "rtl/file_system.h"
#include "rtl/format_settings.h"
#include "rtl/int_text.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

constexpr uint32_t kReadOnly = 0x01;
constexpr uint32_t kDirectory = 0x10;
constexpr char16_t kVersionSeparator = 1;

// magnitude / 2^shift in hundredths, halves rounded up (shift at most 30, so the
// remainder times 200 fits).
uint64_t Hundredths(uint64_t magnitude, int shift) {
  const uint64_t whole = magnitude >> shift;
  const uint64_t rest = magnitude & ((uint64_t{1} << shift) - 1);
  return whole * 100 + ((rest * 200 + (uint64_t{1} << shift)) >> (shift + 1));
}

// "%.2f <unit>" of a value given in hundredths.
String TwoDecimals(uint64_t hundredths, bool negative, const char16_t* unit) {
  const char16_t cents[] = {static_cast<char16_t>(u'0' + hundredths % 100 / 10),
                            static_cast<char16_t>(u'0' + hundredths % 10), 0};
  String text = negative ? u"-" : u"";
  text += rtl::IntToStr(static_cast<long long>(hundredths / 100));
  text += rtl::ProcessFormatSettings().DecimalSeparator;
  return text + cents + u" " + unit;
}

// One byte as the character the ANSI code page gives it.
String AnsiChar(char byte) { return rtl::DecodeAnsi(std::string_view(&byte, 1)); }

// A byte line of the comparison report: the character, its value, the file's name part.
String ByteLine(char byte, const String& name) {
  return AnsiChar(byte) + u" \" Wert: " + rtl::IntToStr(static_cast<unsigned char>(byte)) + u" (" +
         rtl::ExtractFileName(name) + u")";
}

bool IsLineBreak(char byte) { return byte == '\r' || byte == '\n'; }

// The report's text after the header: first difference with context, equality, or "".
String DifferenceText(const String& name1, const String& name2, bool same_size, std::string_view bytes1,
                      std::string_view bytes2) {
  const size_t common = std::min(bytes1.size(), bytes2.size());
  const auto [end1, end2] = std::mismatch(bytes1.begin(), bytes1.begin() + common, bytes2.begin());
  const size_t at = static_cast<size_t>(end1 - bytes1.begin());
  if (at == common) return same_size ? u"\rDateien sind gleich." : u"";
  String context1, context2;
  for (size_t i = at; i < common && i < at + 10; ++i) {
    context1 += AnsiChar(bytes1[i]);
    context2 += AnsiChar(bytes2[i]);
    if (IsLineBreak(bytes1[i]) || IsLineBreak(bytes2[i])) break;
  }
  return u"\rDateien unterscheiden sich an Position: " + rtl::IntToStr(static_cast<long long>(at + 1)) + u"\r\r" +
         ByteLine(*end1, name1) + u"\r" + ByteLine(*end2, name2) + u"\r\r" + context1 + u"\r" + context2;
}

// The target's folder exists or was made; a bare file name needs none.
bool MakeTargetFolder(const FileSteps& steps, const String& target) {
  const String dir = rtl::ExtractFileDir(target);
  return dir.empty() || steps.ForceDirectories(dir);
}

}  // namespace

String GetSizeStr(int64_t Size) {
  const bool negative = Size < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(Size) : static_cast<uint64_t>(Size);
  if (Size > (int64_t{1} << 30)) {
    const uint64_t gigabytes = Hundredths(magnitude, 30);
    // The GB value as two decimals, divided by 1024: hundredths of a TB, halves up.
    if (gigabytes > 1000 * 100) return TwoDecimals((gigabytes * 2 + 1024) >> 11, false, u"TB");
    return TwoDecimals(gigabytes, false, u"GB");
  }
  if (Size > (int64_t{1} << 20)) return TwoDecimals(Hundredths(magnitude, 20), false, u"MB");
  if (Size < 1024) {
    // A positive size that shows as zero shows as the smallest step, in the process's separator.
    const uint64_t hundredths = Hundredths(magnitude, 10);
    return TwoDecimals(Size > 0 && hundredths == 0 ? 1 : hundredths, negative, u"kb");
  }
  uint64_t kilobytes = magnitude >> 10;
  const uint64_t rest = magnitude & 1023;
  if (rest > 512 || (rest == 512 && kilobytes % 2 == 1)) ++kilobytes;
  return rtl::IntToStr(static_cast<long long>(kilobytes)) + u" kb";
}

bool kv_GetFileVersion(const String& S, TFileVersionInfo& Info) {
  const int count = GetFieldsCount(kVersionSeparator, S);
  if (count == 0 || GetFieldStr(kVersionSeparator, S, 1) != u"@kv-VER@") return false;
  std::string* const kept[] = {&Info.ProgID, &Info.ProgVersion, &Info.FileVersion, &Info.System};
  for (int nr = 2; nr <= 5 && nr <= count; ++nr) *kept[nr - 2] = rtl::EncodeAnsi(GetFieldStr(kVersionSeparator, S, nr));
  if (count >= 6) {
    const String lines = GetFieldStr(kVersionSeparator, S, 6);
    LinesToRead = lines.empty() ? 0 : rtl::StrToInt(lines);
  }
  std::string* const emptied[] = {&Info.Password, &Info.NetUse, &Info.OnlyNetUse};
  for (int nr = 7; nr <= 9; ++nr) *emptied[nr - 7] = rtl::EncodeAnsi(GetFieldStr(kVersionSeparator, S, nr));
  return true;
}

uint32_t DateTimeToFileDate(double DateTime) {
  int year, month, day, hour, min, sec, msec;
  rtl::DecodeDate(DateTime, year, month, day);
  rtl::DecodeTime(DateTime, hour, min, sec, msec);
  if (year < 1980 || year > 2107) return 0;
  const uint32_t date = static_cast<uint32_t>(day | month << 5 | (year - 1980) << 9);
  const uint32_t time = static_cast<uint32_t>(sec >> 1 | min << 5 | hour << 11);
  return date << 16 | time;
}

std::optional<double> FileDateToDateTime(uint32_t FileDate) {
  const int date = static_cast<int>(FileDate >> 16);
  const int time = static_cast<int>(FileDate & 0xFFFF);
  double day, time_of_day;
  if (!rtl::TryEncodeDate((date >> 9) + 1980, date >> 5 & 15, date & 31, day) ||
      !rtl::TryEncodeTime(time >> 11, time >> 5 & 63, (time & 31) * 2, 0, time_of_day))
    return std::nullopt;
  return day + time_of_day;
}

String CompareReport(const String& Name1, const String& Name2, int64_t Size1, int64_t Size2,
                     std::string_view Bytes1, std::string_view Bytes2) {
  return rtl::IntToStr(Size1) + u": Größe von " + Name1 + u"\r" + rtl::IntToStr(Size2) + u": Größe von " + Name2 +
         u"\r" + DifferenceText(Name1, Name2, Size1 == Size2, Bytes1, Bytes2);
}

bool CopyFileWith(const FileSteps& Steps, const String& Source, const String& Target) {
  if (!MakeTargetFolder(Steps, Target)) return false;
  const std::optional<uint32_t> attributes = Steps.Attributes(Source);
  if (!attributes || (*attributes & kDirectory)) return false;
  const bool read_only = (*attributes & kReadOnly) != 0;
  if (read_only) Steps.SetAttributes(Source, *attributes & ~kReadOnly);
  const bool copied = Steps.Copy(Source, Target);
  if (read_only) Steps.SetAttributes(Source, *attributes);
  return copied && Steps.SetAttributes(Target, *attributes);
}

// The copy gets the source's attributes before the source goes, so a failure at any step
// leaves the source where it was.
bool MoveFileWith(const FileSteps& Steps, const String& Source, const String& Target) {
  if (!MakeTargetFolder(Steps, Target)) return false;
  if (!Steps.Attributes(Source)) return false;
  if (Steps.Move(Source, Target)) return true;
  return CopyFileWith(Steps, Source, Target) && Steps.Remove(Source);
}

}  // namespace Kv_tools

#include "kv_tools/misc.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "rtl/errors.h"
#include "rtl/format_settings.h"

namespace Kv_tools {
namespace {

// Day of the week of a day number (days since 30 December 1899, a Saturday): 1 Sunday .. 7 Saturday.
int DayOfWeek(long long day) { return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1; }

uint32_t Field32(std::string_view block, size_t offset) {
  uint32_t value = 0;
  std::memcpy(&value, block.data() + offset, sizeof value);
  return value;
}

uint16_t Field16(std::string_view block, size_t offset) {
  uint16_t value = 0;
  std::memcpy(&value, block.data() + offset, sizeof value);
  return value;
}

}  // namespace

int WeekOfYear(double ADate) {
  constexpr long long kFirstDay = -693593, kLastDay = 2958465;  // 1 January 1, 31 December 9999
  if (!(ADate > kFirstDay - 1 && ADate < kLastDay + 1)) return 0;
  const long long day = static_cast<long long>(std::trunc(ADate));
  const long long thursday = day + (8 - DayOfWeek(day)) % 7 - 3;
  if (thursday < kFirstDay || thursday > kLastDay) return 0;
  int year = 0, month = 0, mday = 0;
  rtl::DecodeDate(static_cast<double>(thursday), year, month, mday);
  double first = 0;
  rtl::TryEncodeDate(year, 1, 1, first);
  const long long jan1 = static_cast<long long>(first);
  const long long d = (DayOfWeek(jan1) + 1) % 7;
  return static_cast<int>((d + (day - jan1 - 3)) / 7 + 1);
}

String ANewL(int Count) {
  String text;
  for (int i = 0; i < Count; ++i) text += u"\r\n";
  return text;
}

String ElapsedMsText(int64_t Start, int64_t Stop, int64_t Freq, char16_t DecimalSeparator) {
  if (Freq == 0) throw rtl::EZeroDivide(u"Floating point division by zero");
  // The difference in long double (exact for counter values), so that no pair of 64-bit
  // values overflows.
  const long double ms = (static_cast<long double>(Stop) - static_cast<long double>(Start)) / Freq * 1000;
  char text[64];
  std::snprintf(text, sizeof text, "%.2f ms", static_cast<double>(ms));
  String result = rtl::FromUtf8(text);
  for (char16_t& c : result)
    if (c == u'.') c = DecimalSeparator;
  return result;
}

bool PrinterInfoBlockIsSound(std::string_view Block, uint32_t Base) {
  constexpr size_t kFixedSize = 84;
  constexpr int kDevModeField = 7;
  constexpr int kLastTextField = 11;
  // Where a pointer field points inside the variable part; 0 for a null pointer, npos outside.
  const auto offset_of = [&](int field) -> size_t {
    const uint32_t p = Field32(Block, 4 * static_cast<size_t>(field));
    if (p == 0) return 0;
    if (p < Base || p - Base < kFixedSize || p - Base >= Block.size()) return std::string_view::npos;
    return p - Base;
  };
  if (Block.size() < kFixedSize) return false;
  for (int field = 0; field <= kLastTextField; ++field) {
    const size_t offset = offset_of(field);
    if (offset == 0) continue;
    if (offset == std::string_view::npos) return false;
    if (field == kDevModeField) {
      // DEVMODEW: 32 characters of device name, dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra.
      constexpr size_t kSizeField = 68;
      if (Block.size() - offset < kSizeField + 4) return false;
      const size_t dm_size = Field16(Block, offset + kSizeField);
      const size_t extra = Field16(Block, offset + kSizeField + 2);
      if (dm_size < kSizeField + 4 || Block.size() - offset < dm_size + extra) return false;
      continue;
    }
    bool terminated = false;
    for (size_t i = offset; i + 1 < Block.size() && !terminated; i += 2) terminated = Field16(Block, i) == 0;
    if (offset % 2 != 0 || !terminated) return false;
  }
  return true;
}

}  // namespace Kv_tools

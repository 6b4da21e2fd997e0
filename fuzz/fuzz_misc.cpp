// The miscellaneous services against their descriptions: ISO weeks from the week's Thursday,
// line breaks counted, the stop-watch text, and the printer block's pointers checked one by
// one over blocks whose pointers often land inside them.
#include <cmath>
#include <cstring>

#include "fuzz/fuzz_input.h"
#include "kv_tools/misc.h"
#include "rtl/errors.h"
#include "rtl/format_settings.h"

namespace literal {

using rtl::String;

// Monday 1 .. Sunday 7; day 0 (30 December 1899) was a Saturday.
int IsoWeekday(long long day) { return static_cast<int>(((day + 5) % 7 + 7) % 7) + 1; }

// The week holds the year's first Thursday when it is week 1: count the weeks from the
// Thursday of the week of January 1st of the Thursday's year.
int WeekOfYear(double value) {
  const long long day = static_cast<long long>(std::trunc(value));
  const long long thursday = day - IsoWeekday(day) + 4;
  int year, month, mday;
  rtl::DecodeDate(static_cast<double>(thursday), year, month, mday);
  double jan1 = 0;
  rtl::TryEncodeDate(year, 1, 1, jan1);
  return static_cast<int>((thursday - static_cast<long long>(jan1)) / 7 + 1);
}

String ElapsedMsText(int64_t start, int64_t stop, int64_t freq, char16_t separator) {
  const long double ms = (static_cast<long double>(stop) - static_cast<long double>(start)) / freq * 1000;
  char text[64];
  std::snprintf(text, sizeof text, "%.2f ms", static_cast<double>(ms));
  String out;
  for (const char* p = text; *p; ++p) out += *p == '.' ? separator : static_cast<char16_t>(*p);
  return out;
}

uint32_t U32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = v << 8 | static_cast<unsigned char>(b[at + k]);
  return v;
}
uint32_t U16(const std::string& b, size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

// Fields 0-6 and 8-11 of the 84-byte record point at texts, field 7 at the device mode.
bool Sound(const std::string& block, uint32_t base) {
  if (block.size() < 84) return false;
  for (int field = 0; field <= 11; ++field) {
    const uint32_t p = U32(block, 4 * field);
    if (p == 0) continue;
    if (p < base) return false;
    const uint64_t at = p - base;
    if (at < 84 || at >= block.size()) return false;
    if (field == 7) {
      if (at + 72 > block.size()) return false;
      const uint32_t dm_size = U16(block, at + 68), extra = U16(block, at + 70);
      if (dm_size < 72 || at + dm_size + extra > block.size()) return false;
      continue;
    }
    if (at % 2 != 0) return false;
    bool ends = false;
    for (uint64_t i = at; i + 2 <= block.size(); i += 2) ends = ends || U16(block, i) == 0;
    if (!ends) return false;
  }
  return true;
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  // A date in the years 2 to 9998 (so that the week's Thursday is a date too), with a time.
  const double date = in.ConsumeIntegralInRange<long long>(-693228, 2958100) +
                      (in.ConsumeBool() ? 1 : -1) * in.ConsumeProbability<double>() * 0.999;
  Same("WeekOfYear", WeekOfYear(date), literal::WeekOfYear(date));
  const int week = WeekOfYear(date);
  fuzz::Holds("WeekOfYear within 1 and 53", week >= 1 && week <= 53);
  // Any bit pattern at all, NaN and infinities included: a week, or 0 outside the calendar.
  const uint64_t bits = in.ConsumeIntegral<uint64_t>();
  double any;
  std::memcpy(&any, &bits, sizeof any);
  const int any_week = WeekOfYear(any);
  fuzz::Holds("WeekOfYear of any value within 0 and 53", any_week >= 0 && any_week <= 53);

  const int count = in.ConsumeIntegralInRange(-3, 200);
  String breaks;
  for (int i = 0; i < count; ++i) breaks += u"\r\n";
  Same("ANewL", ANewL(count), breaks);
  Same("ANewL of any count below 1", ANewL(in.ConsumeIntegralInRange(INT32_MIN, 0)), String());

  const int64_t start = in.ConsumeIntegral<int64_t>(), stop = in.ConsumeIntegral<int64_t>();
  const int64_t freq = in.ConsumeBool() ? in.ConsumeIntegralInRange<int64_t>(-3, 3) : in.ConsumeIntegral<int64_t>();
  const char16_t separator = in.ConsumeBool() ? u',' : u'.';
  if (freq == 0) {
    bool raised = false;
    try { ElapsedMsText(start, stop, freq, separator); } catch (const rtl::EZeroDivide&) { raised = true; }
    fuzz::Holds("ElapsedMsText raises EZeroDivide for a frequency of 0", raised);
  } else {
    Same("ElapsedMsText", ElapsedMsText(start, stop, freq, separator),
         literal::ElapsedMsText(start, stop, freq, separator));
  }

  // A printer block: the fixed record with pointers into the block (or near it), texts and a
  // device mode behind it.
  const uint32_t base = in.ConsumeBool() ? 0x00400000 : in.ConsumeIntegral<uint32_t>();
  std::string block(in.ConsumeIntegralInRange<size_t>(0, 400), '\0');
  for (char& c : block) c = in.ConsumeIntegralInRange(0, 3) == 0 ? static_cast<char>(in.ConsumeIntegral<uint8_t>()) : 0;
  for (int field = 0; field < 13 && block.size() >= 84; ++field) {
    const int choice = in.ConsumeIntegralInRange(0, 3);
    uint32_t p = 0;
    if (choice == 1) p = base + in.ConsumeIntegralInRange<uint32_t>(80, static_cast<uint32_t>(block.size()) + 4);
    if (choice == 2) p = in.ConsumeIntegral<uint32_t>();
    std::memcpy(&block[4 * field], &p, 4);
  }
  if (block.size() >= 84 && in.ConsumeBool()) {  // a plausible device-mode header where field 7 points
    uint32_t p;
    std::memcpy(&p, &block[28], 4);
    const uint64_t at = uint64_t{p} - base;
    if (p >= base && at + 72 <= block.size()) {
      const uint16_t dm_size = in.ConsumeIntegralInRange<uint16_t>(60, 240), extra = in.ConsumeIntegralInRange<uint16_t>(0, 64);
      std::memcpy(&block[at + 68], &dm_size, 2);
      std::memcpy(&block[at + 70], &extra, 2);
    }
  }
  Same("PrinterInfoBlockIsSound", PrinterInfoBlockIsSound(block, base), literal::Sound(block, base));
  return 0;
}

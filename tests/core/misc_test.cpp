#include "kv_tools/misc.h"

#include <chrono>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "rtl/errors.h"
#include "rtl/format_settings.h"

namespace Kv_tools {
namespace {

double DateValue(int y, int m, int d) {
  double v = 0;
  EXPECT_TRUE(rtl::TryEncodeDate(y, m, d, v));
  return v;
}

// ISO week by the Thursday rule, through the standard calendar: the week's Thursday decides
// the year, and the week counts from the first Thursday of that year.
int IsoWeekByThursday(std::chrono::sys_days day) {
  using namespace std::chrono;
  const int monday_based = (weekday(day).c_encoding() + 6) % 7;  // 0 Monday .. 6 Sunday
  const sys_days thursday = day - days(monday_based) + days(3);
  const year y = year_month_day(thursday).year();
  return static_cast<int>((thursday - sys_days(y / January / 1)).count() / 7) + 1;
}

TEST(WeekOfYear, NamedDays) {
  struct Row { const char* label; int y, m, d, week; } rows[] = {
      {"Monday 29 Dec 2014 is in week 1 of 2015", 2014, 12, 29, 1},
      {"Friday 1 Jan 2016 is in week 53 of 2015", 2016, 1, 1, 53},
      {"Sunday 3 Jan 2016 still week 53", 2016, 1, 3, 53},
      {"Monday 4 Jan 2016", 2016, 1, 4, 1},
      {"Thursday 1 Jan 2015", 2015, 1, 1, 1},
      {"Sunday 1 Jan 2017 ends week 52 of 2016", 2017, 1, 1, 52},
      {"Monday 31 Dec 2018 is in week 1 of 2019", 2018, 12, 31, 1},
      {"before 1899-12-30", 1899, 12, 25, 52},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(WeekOfYear(DateValue(r.y, r.m, r.d)), r.week);
    EXPECT_EQ(WeekOfYear(DateValue(r.y, r.m, r.d) + 0.999), r.week) << "the time of day does not count";
  }
}

TEST(WeekOfYear, EdgesOfTheCalendar) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Row { const char* label; double value; int week; } rows[] = {
      {"Monday 1 January 1", -693593, 1},
      {"Friday 31 December 9999, late", 2958465.9, 52},
      {"the day before year 1", -693594, 0},
      {"the day after 9999", 2958466, 0},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), 0},
      {"infinite", inf, 0},
      {"minus infinite", -inf, 0},
      {"far beyond", 1e300, 0},
  };
  for (const Row& r : rows) EXPECT_EQ(WeekOfYear(r.value), r.week) << r.label;
}

TEST(WeekOfYear, EveryDayOfTwoDecadesMatchesTheThursdayRule) {
  using namespace std::chrono;
  const sys_days epoch = sys_days(1899y / December / 30);
  for (sys_days day = sys_days(2010y / January / 1); day <= sys_days(2029y / December / 31); day += days(1)) {
    const double value = static_cast<double>((day - epoch).count());
    ASSERT_EQ(WeekOfYear(value), IsoWeekByThursday(day)) << "day value " << value;
  }
}

TEST(MiscTexts, LineBreaksAndStopWatchText) {
  EXPECT_EQ(ANewL(2), u"\r\n\r\n");
  EXPECT_EQ(ANewL(1), u"\r\n");
  EXPECT_EQ(ANewL(0), u"");
  EXPECT_EQ(ANewL(-3), u"");

  struct Row { int64_t start, stop, freq; char16_t sep; const char16_t* want; } rows[] = {
      {0, 15000, 10000, u',', u"1500,00 ms"},
      {100, 101, 3, u'.', u"333.33 ms"},
      {5, 5, 1000, u',', u"0,00 ms"},
      {1000, 0, 1000, u'.', u"-1000.00 ms"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.want));
    EXPECT_EQ(ElapsedMsText(r.start, r.stop, r.freq, r.sep), r.want);
  }
  EXPECT_THROW(ElapsedMsText(0, 10, 0, u','), rtl::EZeroDivide) << "a stop without a start";
}

// A 32-bit printer block: the fixed record at Base, then the variable part.
struct PrinterBlock {
  static constexpr uint32_t kBase = 0x10000;
  std::vector<char> bytes = std::vector<char>(84 + 300, '\0');
  void Pointer(int field, size_t offset) {
    const uint32_t p = offset ? kBase + static_cast<uint32_t>(offset) : 0;
    std::memcpy(bytes.data() + 4 * field, &p, 4);
  }
  void Text(int field, size_t offset, const char16_t* text) {
    Pointer(field, offset);
    std::memcpy(bytes.data() + offset, text, 2 * (std::char_traits<char16_t>::length(text) + 1));
  }
  void DevMode(size_t offset, uint16_t size, uint16_t extra) {
    Pointer(7, offset);
    std::memcpy(bytes.data() + offset + 68, &size, 2);
    std::memcpy(bytes.data() + offset + 70, &extra, 2);
  }
  bool Sound() const { return PrinterInfoBlockIsSound(std::string_view(bytes.data(), bytes.size()), kBase); }
};

TEST(PrinterBlock, StreamedBytesMustKeepTextsAndDeviceModeInside) {
  PrinterBlock good;
  good.Text(1, 84, u"Drucker");
  good.Text(3, 100, u"LPT1:");
  good.DevMode(200, 150, 34);  // ends exactly at the block's end
  EXPECT_TRUE(good.Sound());
  EXPECT_TRUE(PrinterBlock().Sound()) << "all pointers null";

  struct Row { const char* label; void (*spoil)(PrinterBlock&); } rows[] = {
      {"device mode's driver bytes beyond the end", [](PrinterBlock& b) { b.DevMode(200, 150, 35); }},
      {"device mode size too small", [](PrinterBlock& b) { b.DevMode(200, 10, 0); }},
      {"device mode header cut", [](PrinterBlock& b) { b.DevMode(200, 150, 34), b.Pointer(7, 84 + 300 - 60); }},
      {"text without terminator", [](PrinterBlock& b) { std::memset(b.bytes.data() + 84, 'x', 300); b.Pointer(1, 84); }},
      {"text pointer into the fixed record", [](PrinterBlock& b) { b.Pointer(2, 40); }},
      {"text pointer past the end", [](PrinterBlock& b) { b.Pointer(2, 84 + 300); }},
      {"text pointer below the block", [](PrinterBlock& b) {
         const uint32_t p = 0x100;
         std::memcpy(b.bytes.data() + 8, &p, 4);
       }},
      {"odd text address", [](PrinterBlock& b) { b.Pointer(5, 101); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    PrinterBlock b = good;
    r.spoil(b);
    EXPECT_FALSE(b.Sound());
  }
  EXPECT_FALSE(PrinterInfoBlockIsSound(std::string_view(good.bytes.data(), 83), PrinterBlock::kBase));
}

}  // namespace
}  // namespace Kv_tools

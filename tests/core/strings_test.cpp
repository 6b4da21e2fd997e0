#include "kv_tools/strings.h"

#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "rtl/format_settings.h"

namespace Kv_tools {
namespace {

TEST(StringUtils, ReplaceStr) {
  struct Row { const char16_t *s, *old_text, *new_text, *want; } rows[] = {
      {u"aaa", u"aa", u"b", u"ba"},
      {u"aaa", u"A", u"b", u"aaa"},
      {u"abcabc", u"bc", u"", u"aa"},
      {u"abc", u"", u"x", u"abc"},
      {u"", u"a", u"b", u""},
      {u"a.b.c", u".", u"::", u"a::b::c"},
      {u"xx", u"x", u"xx", u"xxxx"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.s));
    EXPECT_EQ(ReplaceStr(r.s, r.old_text, r.new_text, false), r.want);
    EXPECT_EQ(ReplaceStr(r.s, r.old_text, r.new_text, true), r.want);
  }
}

TEST(StringUtils, RemoveDblSpaces) {
  struct Row { const char16_t *s, *want; } rows[] = {
      {u"  a   b  ", u" a b "}, {u"", u""}, {u" ", u" "}, {u"     ", u" "},
      {u"a\t\tb", u"a\t\tb"}, {u"a \t  b", u"a \t b"}, {u"ab", u"ab"},
  };
  for (const Row& r : rows) EXPECT_EQ(RemoveDblSpaces(r.s), r.want) << rtl::ToUtf8(r.s);
}

TEST(StringUtils, CharacterClasses) {
  struct Row { const char16_t* s; bool no_alpha, digits; } rows[] = {
      {u"", true, false},        {u"123-45", true, true}, {u"ä1", false, true},
      {u"é1", true, true},       {u"ß", false, false},    {u"Z", false, false},
      {u"!?", true, false},      {u"x9", false, true},    {u"Ü", false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.s));
    EXPECT_EQ(NoAlpha(r.s), r.no_alpha);
    EXPECT_EQ(DigitsInStr(r.s), r.digits);
  }
}

TEST(StringUtils, FixedWidthNumbers) {
  EXPECT_EQ(LeadStr(u"7", u'0', 3), u"007");
  EXPECT_EQ(LeadStr(u"1234", u'0', 3), u"1234");
  EXPECT_EQ(LeadStr(u"", u'*', 2), u"**");
  EXPECT_EQ(LeadStr(u"ab", u' ', -5), u"ab");
  struct Row { int n; const char16_t *two, *three; } rows[] = {
      {0, u"00", u"000"}, {7, u"07", u"007"}, {9, u"09", u"009"}, {10, u"10", u"010"},
      {42, u"42", u"042"}, {99, u"99", u"099"}, {100, u"100", u"100"}, {12345, u"12345", u"12345"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(GetTwoNr(r.n), r.two) << r.n;
    EXPECT_EQ(GetThreeNr(r.n), r.three) << r.n;
  }
}

TEST(StringUtils, Inversion) {
  struct Row { const char16_t *s, *inverted, *hex_inverted; } rows[] = {
      {u"", u"", u""},
      {u"A", u"A", u""},
      {u"AB", u"BA", u"AB"},
      {u"ABCDE", u"EDCBA", u"DEBC"},
      {u"0A1B2C", u"C2B1A0", u"2C1B0A"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.s));
    EXPECT_EQ(kv_StrInvert(r.s), r.inverted);
    EXPECT_EQ(kv_HexStrInvert(r.s), r.hex_inverted);
  }
}

TEST(StringUtils, IsTxtInList) {
  rtl::StringList lines;
  lines.Add(u"abc");
  lines.Add(u"b");
  lines.Add(u"XYZ");
  EXPECT_EQ(IsTxtInList(u"b", lines), 0);
  EXPECT_EQ(IsTxtInList(u"YZ", lines), 2);
  EXPECT_EQ(IsTxtInList(u"yz", lines), -1);
  EXPECT_EQ(IsTxtInList(u"", lines), -1);
  EXPECT_EQ(IsTxtInList(u"a", rtl::StringList()), -1);
}

// Date tests under explicit settings: German for FMS and the process-wide record.
class DateTests : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_fms_ = FMS;
    saved_process_ = rtl::ProcessFormatSettings();
    FMS = rtl::FormatSettingsFromLocale(1031);
    FMS.ShortDateFormat = u"dd.mm.yyyy";
    FMS.DateSeparator = u'.';
    rtl::ProcessFormatSettings() = FMS;
  }
  void TearDown() override {
    FMS = saved_fms_;
    rtl::ProcessFormatSettings() = saved_process_;
  }
  rtl::FormatSettings saved_fms_, saved_process_;
};

TEST_F(DateTests, DateAndTimeTests) {
  struct Row { const char16_t* s; bool is_date, is_time, has_date; } rows[] = {
      {u"24.12.2023", true, false, true},
      {u"24.12.2023 18:00", false, false, true},
      {u"31.02.2023", false, false, false},
      {u"18:00", false, true, false},
      {u"18:00:59", false, true, false},
      {u"25:00", false, false, false},
      {u"", false, false, false},
      {u"hello", false, false, false},
      {u"2023/12/24", false, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.s));
    EXPECT_EQ(isDate(r.s), r.is_date);
    EXPECT_EQ(isTime(r.s), r.is_time);
    EXPECT_EQ(HasDate(r.s), r.has_date);
  }
}

TEST_F(DateTests, HasDateNeedsTheSeparatorOfFms) {
  FMS.DateSeparator = u'/';
  EXPECT_FALSE(HasDate(u"24.12.2023"));
  FMS = rtl::FormatSettings();
  EXPECT_FALSE(HasDate(u"24.12.2023"));
}

}  // namespace
}  // namespace Kv_tools

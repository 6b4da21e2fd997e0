#include "kv_tools/startup.h"

#include <gtest/gtest.h>

#include "kv_tools/globals.h"

namespace Kv_tools {
namespace {

TEST(StartUpFormats, SystemShortDateAndMonthFirst) {
  struct Row { const char16_t *format, *kept; bool month_first; } rows[] = {
      {u"MM/dd/yyyy", u"MM/dd/yyyy", true},
      {u"dd.MM.yyyy", u"dd.MM.yyyy", false},
      {u"m/D/YYYY", u"M/d/yyyy", true},
      {u"M/d/yyyy", u"M/d/yyyy", true},
      {u"yyyy-MM-dd", u"yyyy-MM-dd", false},
      {u"", u"", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.format));
    EXPECT_EQ(NormalizedSystemShortDate(r.format), r.kept);
    EXPECT_EQ(IsMonthFirst(NormalizedSystemShortDate(r.format)), r.month_first);
  }
}

TEST(StartUpFormats, RecordsAndProcessSettings) {
  const rtl::FormatSettings saved_process = rtl::ProcessFormatSettings();
  rtl::FormatSettings german = rtl::FormatSettingsFromLocale(1031);
  rtl::FormatSettings english = rtl::FormatSettingsFromLocale(1033);
  rtl::FormatSettings system = english;
  system.ShortDateFormat = u"m/d/YYYY";
  system.DateSeparator = u'/';
  InitFormatSettings(german, english, system);

  EXPECT_EQ(FMS.ShortDateFormat, u"dd.mm.yyyy");
  EXPECT_EQ(FMS.ShortTimeFormat, u"hh:mm");
  EXPECT_EQ(FMS.DateSeparator, u'.');
  EXPECT_EQ(FMS.LongMonthNames, german.LongMonthNames);
  EXPECT_EQ(FMSEN, english);
  EXPECT_EQ(FMSOrg.ShortDateFormat, u"M/d/yyyy");
  EXPECT_TRUE(MonthFirst);
  EXPECT_EQ(rtl::ProcessFormatSettings().DateSeparator, u'.');
  EXPECT_EQ(rtl::ProcessFormatSettings().TimeSeparator, u':');
  EXPECT_EQ(rtl::ProcessFormatSettings().ShortMonthNames, german.ShortMonthNames);

  Shutdown();
  EXPECT_EQ(FMS, rtl::FormatSettings());
  EXPECT_EQ(FMSOrg, rtl::FormatSettings());
  MonthFirst = false;
  rtl::ProcessFormatSettings() = saved_process;
}

}  // namespace
}  // namespace Kv_tools

// The string conversions, the platform seam and the library globals before start-up.
#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "rtl/platform.h"
#include "rtl/string.h"

namespace {

TEST(Utf, RoundTripsAndReplacesBrokenInput) {
  struct Row { const char* utf8; std::u16string utf16; } rows[] = {
      {"", u""}, {"abc", u"abc"}, {"Größe", u"Größe"}, {"€", u"€"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(rtl::FromUtf8(r.utf8), r.utf16) << r.utf8;
    EXPECT_EQ(rtl::ToUtf8(r.utf16), r.utf8) << r.utf8;
  }
  EXPECT_EQ(rtl::ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(rtl::ToUtf8(u"a" + std::u16string(1, char16_t(0xDC00))), "a\xEF\xBF\xBD");
  EXPECT_EQ(rtl::FromUtf8("\xC3"), u"\uFFFD");             // cut short
  EXPECT_EQ(rtl::FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");   // overlong
  EXPECT_EQ(rtl::FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(rtl::FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(rtl::IntToStr(-2147483648LL), u"-2147483648");
}

TEST(PlatformSeam, CaseAndCodePage) {
  EXPECT_EQ(rtl::AnsiLowerCase(u"ÄÖÜ AbC"), u"äöü abc");
  EXPECT_EQ(rtl::AnsiUpperCase(u"äöü abc"), u"ÄÖÜ ABC");
  EXPECT_EQ(rtl::AnsiCompareText(u"Äpfel", u"äPFEL"), 0);
  EXPECT_LT(rtl::AnsiCompareText(u"a", u"B"), 0);
  EXPECT_GT(rtl::AnsiCompareText(u"b", u"A"), 0);
  EXPECT_NE(rtl::AnsiCompareStr(u"a", u"A"), 0);
  EXPECT_EQ(rtl::AnsiCompareStr(u"abc", u"abc"), 0);
  if (rtl::AnsiCodePage() == 1252) {
    EXPECT_EQ(rtl::DecodeAnsi("\x80\xE4\x81"), u"€ä\u0081");
    EXPECT_EQ(rtl::EncodeAnsi(u"€ä\u0081"), "\x80\xE4\x81");
    EXPECT_EQ(rtl::EncodeAnsi(u"\u4E2D"), "?");
  }
}

TEST(PlatformSeam, LettersOfCodePage1252BeyondLatin1) {
  struct Row { const char16_t *upper, *lower; } rows[] = {
      {u"Œ", u"œ"}, {u"Š", u"š"}, {u"Ž", u"ž"}, {u"Ÿ", u"ÿ"}, {u"ŠKODA ŒUVRE", u"škoda œuvre"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.upper));
    EXPECT_EQ(rtl::AnsiLowerCase(r.upper), r.lower);
    EXPECT_EQ(rtl::AnsiUpperCase(r.lower), r.upper);
    EXPECT_EQ(rtl::AnsiCompareText(r.upper, r.lower), 0);
  }
}

TEST(LibraryGlobals, ValuesBeforeStartUp) {
  // Nothing in this program runs the package's start-up.
  using namespace Kv_tools;
  EXPECT_EQ(ToolsLanguage, u"DE");
  EXPECT_EQ(DiskMode, u"Fixed");
  EXPECT_EQ(sBuildHour, u"00:00");
  EXPECT_FALSE(kv_DoLogging || MonthFirst || MobileModus);
  EXPECT_EQ(kv_HlpFrm, nullptr);
  EXPECT_EQ(LinesToRead + CpusOnBoard + CpuHard + CPULogical + int(HighLightBrush), 0);
  EXPECT_EQ(iTimerStart | iTimerStop | iTimerFreq, 0);
  EXPECT_EQ(FMS, rtl::FormatSettings());
  EXPECT_EQ(FMSOrg, rtl::FormatSettings());
  EXPECT_EQ(FMSEN, rtl::FormatSettings());
  for (const String* s : {&InitFolder, &curOS, &SysProgDataPath, &SysUserDataPath, &SysAppIniName,
                          &AppName, &ResPath, &MyCommonAppData, &MySysProgDataPath, &MyProgDataPath,
                          &MyUserDataPath, &MyAppIniName, &AktOSName, &AppIniName, &ProgDataPath,
                          &Help_ExplizitFile, &Help_IniFileName, &Help_FormTitle, &MakerLinkTools,
                          &MakerLinkShop})
    EXPECT_TRUE(s->empty()) << rtl::ToUtf8(*s);
}

}  // namespace

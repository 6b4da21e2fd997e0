#include "kv_tools/window_helpers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace Kv_tools {
namespace {

TEST(WindowSearch, CaptionAndClassRules) {
  struct Row {
    const char* label;
    const char16_t *caption, *class_name, *wanted_class, *title_part;
    bool matches;
  } rows[] = {
      {"exact", u"TarnPlugIn Slave Delphi 11 Alexandria", u"TMainForm", u"TMainForm",
       u"TarnPlugIn Slave Delphi 11 Alexandria", true},
      {"part of a longer caption", u"[x] TarnPlugIn Slave Delphi 11 Alexandria - Demo",
       u"TMainForm", u"TMainForm", u"TarnPlugIn Slave Delphi 11 Alexandria", true},
      {"letter case ignored", u"TARNPLUGIN SLAVE", u"TMAINFORM", u"tmainform", u"tarnplugin slave",
       true},
      {"other class", u"TarnPlugIn Slave", u"TApplication", u"TMainForm", u"TarnPlugIn Slave",
       false},
      {"class equal, not contained", u"TarnPlugIn Slave", u"TMainForm2", u"TMainForm", u"Slave",
       false},
      {"no class asked: caption alone", u"TarnPlugIn Slave", u"Anything", u"", u"plugin", true},
      {"empty caption never", u"", u"TMainForm", u"TMainForm", u"x", false},
      {"empty title part never", u"TarnPlugIn", u"TMainForm", u"TMainForm", u"", false},
      {"caption lower-cased by locale", u"ÄRGER MIT TARN", u"C", u"", u"ärger", true},
      {"class compared by ASCII only", u"Tarn", u"TMÄINFORM", u"tmäinform", u"tarn", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(WindowTitleMatches(r.caption, r.class_name, r.wanted_class, r.title_part), r.matches);
  }
}

// Ten pixels a character, as a fixed-pitch font would measure.
int TenPerChar(const String& s) { return static_cast<int>(s.size()) * 10; }

TEST(FitText, ShortensToTheWidthWithAnEllipsis) {
  struct Row {
    const char* label;
    int max;
    const char16_t *text, *fitted;
  } rows[] = {
      {"fits: unchanged", 80, u"abcdefgh", u"abcdefgh"},
      {"one pixel short", 79, u"abcdefgh", u"abcd..."},
      {"room for text and dots less 2 pixels", 62, u"abcdefgh", u"abc..."},
      {"61 pixels: two characters less", 61, u"abcdefgh", u"ab..."},
      {"narrower than the dots: dots alone", 20, u"abcdefgh", u"..."},
      {"zero width", 0, u"abc", u"..."},
      {"empty text always fits", 0, u"", u""},
      {"negative width, empty text", -5, u"", u"..."},
      {"a surrogate pair goes whole, never half", 62, u"ab\U0001F600cdef", u"ab..."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(FitTextToWidth(r.max, r.text, TenPerChar), r.fitted);
  }
}

TEST(FitText, MeasuringErrorGivesTheTextSoFar) {
  int calls = 0;
  auto failing_third = [&calls](const String& s) {
    if (++calls == 3) throw std::runtime_error("no font");
    return TenPerChar(s);
  };
  EXPECT_EQ(FitTextToWidth(40, u"abcdefgh", failing_third), u"abcdefg");
  EXPECT_EQ(FitTextToWidth(40, u"abc", [](const String&) -> int { throw std::runtime_error("x"); }), u"abc");
}

TEST(WindowHelpers, Toggle) {
  bool b = false;
  kv_toggle(b);
  EXPECT_TRUE(b);
  kv_toggle(b);
  EXPECT_FALSE(b);
}

}  // namespace
}  // namespace Kv_tools

#include "kv_tools/window_helpers.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace Kv_tools

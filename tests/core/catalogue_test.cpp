#include "tarnedata/catalogue.h"

#include <gtest/gtest.h>

#include "rtl/string_list.h"
#include "tarnedata/globals.h"

namespace TarnEdata {
namespace {

TEST(Catalogue, ProductNameLastMatchingRowWins) {
  struct Row { const char16_t *version, *product; } rows[] = {
      {u"18.1", u"Delphi 10.1 Berlin"},  // "18" hits first, "18.1" replaces it
      {u"18", u"Delphi 10 Seattle"},
      {u"17.0", u"Delphi XE8"},
      {u"17.16", u"Delphi XE8"},         // "16" row comes before "17"
      {u"22.0", u""},
      {u"", u""},
      {u"19.50", u"Delphi 11 Alexandria"},
      {u"118", u"Delphi 10 Seattle"},
      {u"20.1", u"Delphi 12 Athens"},
      {u"12.0", u"Delphi 2010"},
      {u"12.3", u"Delphi XE"},
      {u"15.3", u"Delphi XE5"},
      {u"15.4", u"Delphi XE6"},
      {u"18.4", u"Delphi 10.2 Tokyo"},
      {u"18.8", u"Delphi 10.3 Rio"},
      {u"19.2", u"Delphi 10.4 Sydney"},
      {u"19.3", u"Delphi 11 Alexandria"},
      {u"v18.2.1", u"Delphi 10.2 Tokyo"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.version));
    EXPECT_EQ(GetDVersion(r.version, u"ignored"), r.product);
  }
}

TEST(Catalogue, UpdateLabelsNeedTheExactText) {
  struct Row { const char16_t *version, *label, *number; } rows[] = {
      {u"20.1", u" ( First Release )", u"1"},
      {u"19.5", u" ( Update 2 or 3 )", u"2/3"},
      {u"19.4", u" ( Update 1 )", u"1"},
      {u"19.3", u" ( First Release )", u""},
      {u"19.2", u" ( Update 2 )", u"2"},
      {u"19.0", u" ( First Release )", u""},
      {u"18.8", u" ( Update 3 )", u"3"},
      {u"18.2", u" ( First Release )", u""},
      {u"19.5 ", u"", u""},
      {u"19.50", u"", u""},
      {u"18.1", u"", u""},
      {u"", u"", u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.version));
    EXPECT_EQ(GetSpecs(r.version), r.label);
    EXPECT_EQ(GetSpecsNr(r.version), r.number);
  }
}

TEST(Catalogue, EveryReleaseHasNameKeyAndProduct) {
  // DVersions: the product names, comma-separated, one per release.
  rtl::StringList products;
  String text = DVersions;
  for (char16_t& c : text)
    if (c == u',') c = u'\n';
  products.SetText(text);
  ASSERT_EQ(products.Count(), DelphiVersionCount);
  EXPECT_EQ(products[DelphiXE10], u"Delphi 10 Seattle");
  EXPECT_EQ(products[DelphiXE11], u"Delphi 11 Alexandria");
  EXPECT_EQ(products[DelphiXE12], u"Delphi 12 Athens");

  for (int v = Delphi1; v <= DelphiXE12; ++v) {
    SCOPED_TRACE(v);
    EXPECT_FALSE(String(DelphiVersionsNames[v]).empty());
    EXPECT_TRUE(String(DelphiRegPaths[v]).starts_with(u"\\Software\\"));
    EXPECT_TRUE(products[v].starts_with(u"Delphi ") && !products[v].ends_with(u' '));
  }
  EXPECT_EQ(String(DelphiVersionsNames[Delphi2005]), u"BDS 2005");
  EXPECT_EQ(String(DelphiRegPaths[Delphi8]), u"\\Software\\Borland\\BDS\\2.0");
  EXPECT_EQ(String(DelphiRegPaths[Delphi2009]), u"\\Software\\CodeGear\\BDS\\6.0");
  EXPECT_EQ(String(DelphiRegPaths[DelphiXE6]), u"\\Software\\Embarcadero\\BDS\\14.0");
  EXPECT_EQ(String(DelphiRegPaths[DelphiXE11]), u"\\Software\\Embarcadero\\BDS\\22.0");

  // Every product the version lookup gives is one of the catalogue's.
  for (const char16_t* version : {u"12.0", u"12.3", u"13.4", u"14.4", u"14.6", u"15.2", u"15.4", u"16.0",
                                  u"17.0", u"18.0", u"18.1", u"18.3", u"18.6", u"19.1", u"19.4", u"20.1"}) {
    SCOPED_TRACE(rtl::ToUtf8(version));
    EXPECT_GE(products.IndexOf(GetDVersion(version, u"")), 0);
  }
}

}  // namespace
}  // namespace TarnEdata

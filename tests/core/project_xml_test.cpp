#include "kv_tools/project_xml.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace Kv_tools {
namespace {

StringList Lines(std::initializer_list<const char16_t*> lines) {
  StringList list;
  for (const char16_t* line : lines) list.Add(line);
  return list;
}

TEST(ProjectXml, GetXMLValue) {
  const String out = u"<DCC_ExeOutput>";
  struct Row {
    const char* label;
    StringList lines;
    String tag, want;
  } rows[] = {
      {"a plain output folder wins over a macro one",
       Lines({u"  <DCC_ExeOutput>.\\$(Platform)\\$(Config)</DCC_ExeOutput>",
              u"  <DCC_ExeOutput>..\\bin</DCC_ExeOutput>"}),
       out, u"..\\bin"},
      {"the macro folder stays when alone",
       Lines({u"  <DCC_ExeOutput>.\\$(Platform)\\$(Config)</DCC_ExeOutput>",
              u"<Version>1</Version>"}),
       out, u".\\$(Platform)\\$(Config)"},
      {"the first plain folder ends the search",
       Lines({u"<DCC_ExeOutput>a</DCC_ExeOutput>", u"<DCC_ExeOutput>b</DCC_ExeOutput>"}), out,
       u"a"},
      {"other tags take the first line", Lines({u"<Version>1</Version>", u"<Version>2</Version>"}),
       u"<Version>", u"1"},
      {"no closing mark on the line", Lines({u"<Version>", u"2</Version>"}), u"<Version>", u""},
      {"the closing mark only before the tag", Lines({u"</x><Version>1", u"<Version>2</Version>"}),
       u"<Version>", u""},
      {"no such tag", Lines({u"<Version>1</Version>"}), u"<Name>", u""},
      {"empty tag", Lines({u"<Version>1</Version>"}), u"", u""},
      {"no lines", Lines({}), u"<Version>", u""},
      {"the closing mark within the 1255 characters behind the tag",
       Lines({(u"<V>" + String(1253, u'x') + u"</V>").c_str()}), u"<V>", String(1253, u'x')},
      {"the closing mark beyond them", Lines({(u"<V>" + String(1254, u'x') + u"</V>").c_str()}),
       u"<V>", u""},
  };
  for (const Row& r : rows) EXPECT_EQ(GetXMLValue(r.lines, r.tag), r.want) << r.label;
}

TEST(ProjectXml, GetXMLProperty) {
  const String group = u"<PropertyGroup", tag = u"<SanitizedProjectName>";
  struct Row {
    const char* label;
    StringList lines;
    String want;
  } rows[] = {
      {"indentation kept, &amp; decoded",
       Lines({u"<PropertyGroup>", u"    <SanitizedProjectName>A&amp;B</SanitizedProjectName>"}),
       u"    A&B"},
      {"group ends first",
       Lines({u"<PropertyGroup>", u"</PropertyGroup>", u"<PropertyGroup>",
              u"<SanitizedProjectName>X</SanitizedProjectName>"}),
       u""},
      {"tag on the closing line still counts",
       Lines(
           {u"<PropertyGroup>", u"<SanitizedProjectName>X</SanitizedProjectName></PropertyGroup>"}),
       u"X</PropertyGroup>"},
      {"group line is the last", Lines({u"<Other/>", u"<PropertyGroup>"}), u""},
      {"no group", Lines({u"<SanitizedProjectName>X</SanitizedProjectName>"}), u""},
      {"every occurrence removed",
       Lines({u"<PropertyGroup>", u"<SanitizedProjectName>a<SanitizedProjectName>&amp;&amp;"}),
       u"a&&"},
  };
  for (const Row& r : rows) EXPECT_EQ(GetXMLProperty(r.lines, group, tag), r.want) << r.label;
  EXPECT_EQ(GetXMLProperty(Lines({u"<PropertyGroup>", u"<A>1</A>"}), group, u""), u"");
}

TEST(ProjectXml, ItemsAndGroups) {
  const StringList project = Lines({
      u"<Project>",
      u"  <ItemGroup Label=\"b\">",
      u"    <DCCReference Include=\"b.pas\"/>",
      u"    <DCCReference Include=\"A.pas\"/>",
      u"    <DCCReference Include=\"B.pas\"/>",
      u"  </ItemGroup>",
      u"  <DCCReference Include=\"outside.pas\"/>",
      u"  <ItemGroup Label=\"x\">",
      u"    <None Include=\"readme.txt\"/>",
      u"  </ItemGroup>",
      u"  <ItemGroup Label=\"a\">",
      u"    <DCCReference Include=\"c.pas\">  ",
      u"  </ItemGroup>",
      u"</Project>",
  });
  // The first spelling of a name that differs only in case stays.
  EXPECT_EQ(GetXMLItems(project, u"<ItemGroup", u"<DCCReference"), u"A.pas;b.pas;c.pas;");
  EXPECT_EQ(GetXMLItems(project, u"<ItemGroup Label=\"x\"", u"<DCCReference"), u"");
  EXPECT_EQ(GetXMLItems(project, u"<ItemGroup", u"<Missing"), u"");
  EXPECT_EQ(GetXMLItemGroups(project, u"<ItemGroup", u"<DCCReference"),
            u"  <ItemGroup Label=\"a\">\x01  <ItemGroup Label=\"b\">\x01");
  EXPECT_EQ(GetXMLItemGroups(project, u"<ItemGroup", u"<None"), u"  <ItemGroup Label=\"x\">\x01");
  // A group line that holds the tag itself counts for its own group.
  EXPECT_EQ(
      GetXMLItemGroups(Lines({u"<ItemGroup><X/></ItemGroup>", u"<X/>"}), u"<ItemGroup", u"<X"),
      u"<ItemGroup><X/></ItemGroup>\x01");
  // An unclosed group runs to the end; a field without a closing quote runs to the line's end.
  EXPECT_EQ(
      GetXMLItems(Lines({u"<ItemGroup>", u"<R Include=\"a.pas", u"<R x>"}), u"<ItemGroup", u"<R"),
      u";a.pas;");
}

TEST(ProjectXml, GetXMLPropertyGroups) {
  const StringList project = Lines({
      u"<PropertyGroup Condition=\"Base\">",
      u"  <DCC_Define>A</DCC_Define>",
      u"  <DCC_Define>B</DCC_Define>",
      u"</PropertyGroup>",
      u"<PropertyGroup Condition=\"Debug\">",
      u"  <Other/>",
      u"</PropertyGroup>",
      u"<PropertyGroup Condition=\"Release\">",
      u"  <DCC_Define>C</DCC_Define></PropertyGroup>",
      u"  <DCC_Define>D</DCC_Define>",
  });
  EXPECT_EQ(GetXMLPropertyGroups(project, u"<PropertyGroup", u"<DCC_Define>"),
            u"<PropertyGroup Condition=\"Base\">\x01<PropertyGroup Condition=\"Base\">\x01"
            u"<PropertyGroup Condition=\"Release\">\x01");
  EXPECT_EQ(GetXMLPropertyGroups(project, u"<PropertyGroup", u"<Missing>"), u"");
  EXPECT_EQ(GetXMLPropertyGroups(project, u"", u"<DCC_Define>"), u"");
}

TEST(ProjectXml, InnerValueAndContentBetween) {
  EXPECT_EQ(GetInnerValue(u"<!--a-->VALUE<!--b-->"), u"VALUE");
  EXPECT_EQ(GetInnerValue(u"VALUE"), u"");
  EXPECT_EQ(GetInnerValue(u"-->VALUE"), u"");
  EXPECT_EQ(GetInnerValue(u"--><!--x<!--"), u"<!--x");  // the search starts one character in
  EXPECT_EQ(GetInnerValue(u"-->"), u"");
  EXPECT_EQ(ContentBetween(u"key=[abc] rest", u"[", u"]"), u"abc");
  EXPECT_EQ(ContentBetween(u"key=[abc] rest", u"[", u"}"), u"");
  EXPECT_EQ(ContentBetween(u"key=[abc] rest", u"{", u"]"), u"");
  EXPECT_EQ(ContentBetween(u"[]", u"[", u"]"), u"");
  EXPECT_EQ(ContentBetween(u"a[b", u"", u"b"), u"");
  EXPECT_EQ(ContentBetween(u"a[b", u"[", u""), u"");
  EXPECT_EQ(ContentBetween(u"[" + String(9999, u'x') + u"]", u"[", u"]"), String(9999, u'x'));
  EXPECT_EQ(ContentBetween(u"[" + String(10000, u'x') + u"]", u"[", u"]"), u"");
}

}  // namespace
}  // namespace Kv_tools

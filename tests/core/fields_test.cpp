#include "kv_tools/fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "kv_tools/globals.h"
#include "tests/core/fields_reference.h"

namespace Kv_tools {
namespace {

namespace ref = fields_reference;
using Writer = void (*)(char16_t, String&, const String&, int);

std::vector<String> Lines(const StringList& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

TEST(Fields, Readers) {
  struct Row { const char16_t* s; int nr; const char16_t *field, *copy; } rows[] = {
      {u"a;;b", 1, u"a", u"a;;"},        {u"a;;b", 2, u"", u";"},     {u"a;;b", 3, u"b", u"b"},
      {u"a;;b", 4, u"", u""},            {u"a;b;", 2, u"b", u"b"},     {u"a;b;", 3, u"", u""},
      {u"a;b;c;", 1, u"a", u"a;b;c"},    {u"a;b;c;", 3, u"c", u"c"},   {u"a;b;c", 1, u"a", u"a;b;"},
      {u"a;b;c", 3, u"c", u"c"},         {u"", 1, u"", u""},           {u";", 1, u"", u""},
      {u";", 2, u"", u""},               {u"a;b", 0, u"", u""},        {u"a;b", -1, u"", u""},
      {u"a;b", INT_MIN, u"", u""},       {u"a;b", INT_MAX, u"", u""},  {u";;;", 3, u"", u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.s) + " #" + std::to_string(r.nr));
    EXPECT_EQ(GetFieldStr(u';', r.s, r.nr), r.field);
    EXPECT_EQ(CopyFieldStr(u';', r.s, r.nr), r.copy);
  }
  struct CountRow { const char16_t* s; int count; } counts[] = {
      {u"", 0}, {u";", 1}, {u"a", 1}, {u"a;", 1}, {u"a;;b", 3}, {u";a", 2}, {u";;", 2}};
  for (const CountRow& r : counts) EXPECT_EQ(GetFieldsCount(u';', r.s), r.count) << rtl::ToUtf8(r.s);
  EXPECT_EQ(GetFieldStr(u'\x01', u"a\x01 b", 2), u" b");
}

TEST(Fields, Searches) {
  struct Row { const char16_t *s, *text; int pos, index; } rows[] = {
      {u"One;two;THREE", u"three", -1, 3}, {u"One;two;THREE", u"THREE", 3, 3},
      {u"a;b;a", u"a", 1, 1},              {u"a;;b", u"", 2, 0},
      {u";a", u"", 1, 1},                  {u"a;", u"", -1, 0},
      {u"", u"", -1, 0},                   {u"a;b;", u"b;", -1, 0},
      {u"\u00C4;\u00E4", u"\u00E4", 2, 2}, {u"ab;AB", u"aB", -1, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.s) + " / " + rtl::ToUtf8(r.text));
    EXPECT_EQ(GetFieldPos(u';', r.s, r.text), r.pos);
    EXPECT_EQ(GetIndexOf(u';', r.s, r.text), r.index);
  }
}

TEST(Fields, Writers) {
  const Writer set = SetFieldStr, set2 = SetFieldStr2, ins = InsertFieldStr, before = InsertFieldStrBefore;
  const Writer del = [](char16_t sep, String& s, const String&, int nr) { DeleteFieldStr(sep, s, nr); };
  struct Row { const char* label; Writer op; const char16_t* s; int nr; const char16_t* want; } rows[] = {
      {"set empty", set, u"", 1, u"x"},
      {"set pads empty fields", set, u"", 3, u";;x"},
      {"set just beyond open", set, u"a;b", 3, u"a;b;x"},
      {"set two beyond open", set, u"a;b", 4, u"a;b;x"},
      {"set just beyond terminated", set, u"a;b;", 3, u"a;b;;x"},
      {"set drops final separator", set, u"a;b;", 1, u"x;b"},
      {"set last open field", set, u"a;b", 2, u"a;x"},
      {"set among separators", set, u";;", 2, u";x"},
      {"set number 0 only rebuilds", set, u"a;b;", 0, u"a;b"},
      {"set number too large to pad", set, u"a;b", INT_MAX, u"a;b"},
      {"set2 two beyond open", set2, u"a;b", 4, u"a;b;;x"},
      {"set2 empty", set2, u"", 1, u";x"},
      {"set2 keeps final separator", set2, u"a;b;", 1, u"x;b;"},
      {"set2 just beyond terminated", set2, u"a;b;", 3, u"a;b;;x"},
      {"set2 empty field", set2, u"a;;b", 2, u"a;x;b"},
      {"set2 number 0", set2, u"a;b", 0, u"a;b"},
      {"set2 number INT_MIN", set2, u"a;b", INT_MIN, u"a;b"},
      {"insert before a sole field", ins, u"a", 1, u"x;a"},
      {"insert into empty", ins, u"", 4, u"x;"},
      {"insert after field 1", ins, u"a;b;c;", 1, u"a;x;b;c;"},
      {"insert after last open field", ins, u"a;b;c", 3, u"a;b;c"},
      {"insert after last terminated field", ins, u"a;b;c;", 3, u"a;b;c;x;"},
      {"insert beyond", ins, u"a;b", 3, u"a;b;x"},
      {"insert number 0", ins, u"a;b", 0, u"a;b"},
      {"insert number INT_MAX", ins, u"a;b", INT_MAX, u"a;b"},
      {"before field 2", before, u"a;b;c", 2, u"a;x;b;c"},
      {"before field 1", before, u"a;b;c", 1, u"x;a;b;c"},
      {"before last open field", before, u"a;b;c", 3, u"a;b;x;c"},
      {"before one beyond open", before, u"a;b;c", 4, u"a;b;c;x"},
      {"before one beyond terminated", before, u"a;b;c;", 4, u"a;b;c;;x"},
      {"before beyond sole field", before, u"a", 2, u"x;a"},
      {"before into empty", before, u"", 3, u"x;"},
      {"before number 0", before, u"a;b", 0, u"a;b"},
      {"before number INT_MAX", before, u"a;b", INT_MAX, u"a;b"},
      {"delete field 1", del, u"a;b;c", 1, u"b;c"},
      {"delete field 2", del, u"a;b;c", 2, u"a;c"},
      {"delete last open field", del, u"a;b;c", 3, u"a;b"},
      {"delete beyond", del, u"a;b;c", 4, u"a;b;c"},
      {"delete last terminated field", del, u"a;b;c;", 3, u"a;b;"},
      {"delete sole field", del, u"a", 1, u""},
      {"delete sole empty field", del, u";", 1, u""},
      {"delete empty field", del, u"a;;b", 2, u"a;b"},
      {"delete number 0", del, u"a;b", 0, u"a;b"},
      {"delete number INT_MIN", del, u"a;b", INT_MIN, u"a;b"},
  };
  for (const Row& r : rows) {
    String s = r.s;
    r.op(u';', s, u"x", r.nr);
    EXPECT_EQ(s, r.want) << r.label;
  }
  String far;
  SetFieldStr(u';', far, u"x", 100000);
  EXPECT_EQ(GetFieldStr(u';', far, 100000), u"x");
}

TEST(Fields, ResumedScan) {
  struct Step { int nr; const char16_t* want; int count, start; };
  struct Row { const char* label; const char16_t* s; int count, start; std::vector<Step> steps; } rows[] = {
      {"open form", u"a;;b", 0, 1, {{1, u"a", 1, 3}, {2, u"", 2, 4}, {3, u"b", 2, 5}, {4, u"", 2, 5}}},
      {"terminated form", u"a;b;", 0, 1, {{1, u"a", 1, 3}, {2, u"b", 2, 5}, {3, u"", 2, 5}}},
      {"start below 1", u"a;b", 0, -5, {{1, u"a", 1, 3}}},
      {"field already reached", u"a;b;c", 2, 5, {{2, u"a;b", 2, 5}, {1, u"", 2, 5}}},
      {"number far beyond", u"a;b;c", 0, 1, {{9, u"", 2, 1}}},
      {"resumed beyond the end", u"a;b", 1, 9, {{2, u"", 1, 4}}},
      {"count near the limit", u"a;b", INT_MAX, 1, {{INT_MIN, u"", INT_MIN, 1}}},
  };
  for (const Row& r : rows) {
    int count = r.count, start = r.start;
    for (const Step& step : r.steps) {
      SCOPED_TRACE(std::string(r.label) + " #" + std::to_string(step.nr));
      EXPECT_EQ(GetFieldStrAtStart(u';', r.s, step.nr, count, start), step.want);
      EXPECT_EQ(count, step.count);
      EXPECT_EQ(start, step.start);
    }
  }
}

TEST(Fields, AppendersListsAndJoins) {
  struct Row { const char16_t *s, *add, *add2, *ver2; } rows[] = {
      {u"", u"x;", u"x", u"x"}, {u"a;", u"a;x;", u"a;x", u"a;x"}, {u"a", u"a;x;", u"a;x", u"a;x;"}};
  for (const Row& r : rows) {
    String a = r.s, b = r.s, c = r.s;
    kv_AddFieldStr(u';', a, u"x");
    kv_AddFieldStr2(u';', b, u"x");
    kv_AddFieldStr_Ver2(u';', c, u"x");
    EXPECT_EQ(std::vector<String>({a, b, c}), std::vector<String>({r.add, r.add2, r.ver2})) << rtl::ToUtf8(r.s);
  }
  StringList list;
  list.Add(u"old");
  AddFieldsToStrList(u';', u"a;;b;", list);
  EXPECT_EQ(Lines(list), std::vector<String>({u"old", u"a", u"", u"b"}));
  EXPECT_TRUE(CreateDBFields(list, u";", u';'));
  EXPECT_EQ(Lines(list), std::vector<String>({u""}));
  EXPECT_FALSE(CreateDBFields(list, u"", u';'));
  EXPECT_EQ(list.Count(), 0);

  EXPECT_EQ(asStr({u"a", u"b", u"c"}, u','), u"a,b,c");
  EXPECT_EQ(asStr({u"a"}, u','), u"a");
  EXPECT_EQ(asStr({u"", u""}, u','), u",");
  EXPECT_EQ(asStr({}, u','), u"");
}

TEST(Fields, LanguageTexts) {
  const String saved = ToolsLanguage;
  const String long_text = u"EN:" + String(6000, u'z');
  struct Row { const char16_t* lang; std::vector<String> items; String want; } rows[] = {
      {u"EN", {u"DE:Datei", u"EN:File"}, u"File"},
      {u"FR", {u"DE:Datei", u"EN:File"}, u""},
      {u"DE", {u"DE:Datei", u"DE:Zweite"}, u"Datei"},
      {u"EN", {u"EN", u"EN-x"}, u""},
      {u"EN", {u"en:file"}, u""},
      {u"EN", {}, u""},
      {u"EN", {long_text}, String(5000, u'z')},
  };
  for (const Row& r : rows) {
    ToolsLanguage = r.lang;
    EXPECT_EQ(GLT(r.items), r.want) << rtl::ToUtf8(r.lang);
  }
  ToolsLanguage = saved;
}

TEST(Fields, NamedValues) {
  using Setter = void (*)(const String&, const String&, String&, char16_t, char16_t);
  const Setter set = sns, add = snsadd, set_to = SetToStr;
  struct Row { const char* label; Setter op; const char16_t *name, *s, *want; } rows[] = {
      {"sns first", set, u"w", u"w=10;h=20", u"w=5;h=20"},
      {"sns last", set, u"h", u"w=10;h=20", u"w=10;h=5"},
      {"sns absent", set, u"d", u"w=10;h=20", u"w=10;h=20"},
      {"sns value with assigner", set, u"w", u"w=a=b;h=1", u"w=5;h=1"},
      {"snsadd into empty", add, u"d", u"", u"d=5"},
      {"snsadd appends", add, u"d", u"w=10", u"w=10;d=5"},
      {"snsadd present", add, u"w", u"w=10", u"w=5"},
      {"SetToStr into empty", set_to, u"d", u"", u";d=5"},
      {"SetToStr appends", set_to, u"d", u"w=10", u"w=10;d=5"},
      {"SetToStr present", set_to, u"h", u"w=10;h=20;", u"w=10;h=5;"},
  };
  for (const Row& r : rows) {
    String s = r.s;
    r.op(r.name, u"5", s, u';', u'=');
    EXPECT_EQ(s, r.want) << r.label;
  }
  struct GetRow { const char16_t *name, *s; bool whole; const char16_t* want; } gets[] = {
      {u"h", u"w=10;h=20", false, u"20"}, {u"h", u"w=10;h=20", true, u"h=20"},
      {u"x", u"w=10;h=20", false, u""},   {u"w", u"xw=1;w=2", false, u"1"},
      {u"w", u"w=;h=1", false, u""},      {u"w", u"w=a=b", false, u"a=b"},
  };
  for (const GetRow& r : gets) EXPECT_EQ(gns(r.name, r.s, r.whole, u';', u'='), r.want) << rtl::ToUtf8(r.s);
}

// Long strings: the block-wise counting and searching, including the lane totals that
// are added up every 65535 blocks.
TEST(Fields, LongStrings) {
  std::mt19937 rng(7);
  String s(100'003, u'a');
  for (char16_t& c : s) if (rng() % 13 == 0) c = u';';
  EXPECT_EQ(GetFieldsCount(u';', s), ref::GetFieldsCount(u';', s));
  EXPECT_EQ(GetFieldsCount(u';', String(70'000 * 8 + 5, u';')), 70'000 * 8 + 5);
  StringList fields;
  AddFieldsToStrList(u';', s, fields);
  ASSERT_EQ(fields.Count(), GetFieldsCount(u';', s));
  std::vector<String> lines = Lines(fields);
  EXPECT_EQ(asStr(lines, u';'), s.back() == u';' ? s.substr(0, s.size() - 1) : s);
  int count = 0, start = 1;
  for (int nr = 1; nr <= fields.Count(); ++nr) ASSERT_EQ(GetFieldStrAtStart(u';', s, nr, count, start), lines[nr - 1]);
  EXPECT_EQ(start, static_cast<int>(s.size()) + 1);
}

// Separators at the edges of the blocks of eight units in which the separators are counted.
TEST(Fields, SeparatorsAtBlockEdges) {
  for (const std::vector<size_t>& seps : std::vector<std::vector<size_t>>{{7}, {8}, {7, 8}, {15, 16}, {0, 7, 8, 15, 16, 23}}) {
    String s(24, u'a');
    for (size_t at : seps) s[at] = u';';
    for (int nr = 1; nr <= 8; ++nr) {
      SCOPED_TRACE(rtl::ToUtf8(s) + " #" + std::to_string(nr));
      EXPECT_EQ(GetFieldStr(u';', s, nr), ref::GetFieldStr(u';', s, nr));
      int count = 0, start = 1, ref_count = 0, ref_start = 1;
      EXPECT_EQ(GetFieldStrAtStart(u';', s, nr, count, start), ref::GetFieldStrAtStart(u';', s, nr, ref_count, ref_start));
      EXPECT_EQ(count, ref_count);
      EXPECT_EQ(start, ref_start);
    }
  }
}

// Every routine against the position-by-position walks on random short strings, for field
// numbers from -2 to the count + 3.
TEST(Fields, MatchesReferenceWalks) {
  const char16_t sep = u';';
  std::mt19937 rng(2024);
  const String alphabet = u"aBb";
  const String values[] = {u"", u"x", u"yz", u"q;"};
  String s, value;
  int nr = 0;
  auto same = [&](const char* what, const auto& got, const decltype(got)& want) {
    if (got != want)
      ADD_FAILURE() << what << " on \"" << rtl::ToUtf8(s) << "\" #" << nr << " value \"" << rtl::ToUtf8(value)
                    << "\": got " << testing::PrintToString(got) << ", want " << testing::PrintToString(want);
  };

  for (int round = 0; round < 2000; ++round) {
    s.clear();
    const unsigned sep_share = 1 + rng() % 8;  // in eighths
    for (size_t n = rng() % 25; n > 0; --n) s += rng() % 8 < sep_share ? sep : alphabet[rng() % alphabet.size()];
    value = values[rng() % 4];
    nr = 0;
    const int count = ref::GetFieldsCount(sep, s);
    const int seps = static_cast<int>(std::count(s.begin(), s.end(), sep));
    same("GetFieldsCount", GetFieldsCount(sep, s), count);

    StringList list;
    list.Add(u"old");
    AddFieldsToStrList(sep, s, list);
    std::vector<String> fields = ref::Fields(sep, s);
    fields.insert(fields.begin(), u"old");
    same("AddFieldsToStrList", Lines(list), fields);
    same("CreateDBFields", CreateDBFields(list, s, sep), count > 0);
    same("CreateDBFields count", list.Count(), count);

    String text = count > 0 ? ref::GetFieldStr(sep, s, 1 + rng() % count) : String();
    if (rng() % 2) std::transform(text.begin(), text.end(), text.begin(), [](char16_t c) { return c ^ 0x20; });
    same("GetFieldPos", GetFieldPos(sep, s, text), ref::GetFieldPos(sep, s, text));
    same("GetIndexOf", GetIndexOf(sep, s, text), ref::GetIndexOf(sep, s, text));

    using Adder = void (*)(char16_t, String&, const String&);
    const std::pair<Adder, Adder> adders[] = {{kv_AddFieldStr, ref::kv_AddFieldStr},
                                               {kv_AddFieldStr2, ref::kv_AddFieldStr2},
                                               {kv_AddFieldStr_Ver2, ref::kv_AddFieldStr_Ver2}};
    for (auto [mine, theirs] : adders) {
      String a = s, b = s;
      mine(sep, a, value);
      theirs(sep, b, value);
      same("appender", a, b);
    }
    int read_count = 0, read_start = 1;
    for (nr = 1; nr <= count + 1; ++nr)
      same("GetFieldStrAtStart in turn", GetFieldStrAtStart(sep, s, nr, read_count, read_start), ref::GetFieldStr(sep, s, nr));

    for (nr = -2; nr <= count + 3; ++nr) {
      same("GetFieldStr", GetFieldStr(sep, s, nr), ref::GetFieldStr(sep, s, nr));
      auto run = [&](Writer op) { String out = s; op(sep, out, value, nr); return out; };
      const Writer del = [](char16_t sep, String& s, const String&, int nr) { DeleteFieldStr(sep, s, nr); };
      const Writer ref_del = [](char16_t sep, String& s, const String&, int nr) { ref::DeleteFieldStr(sep, s, nr); };
      same("SetFieldStr", run(SetFieldStr), run(ref::SetFieldStr));
      same("DeleteFieldStr", run(del), run(ref_del));
      // Numbers below 1 are no field: these leave S alone where the walks do odd things.
      if (nr >= 1) {
        same("CopyFieldStr", CopyFieldStr(sep, s, nr), ref::CopyFieldStr(sep, s, nr));
        same("SetFieldStr2", run(SetFieldStr2), run(ref::SetFieldStr2));
      }
      if (nr >= 1 || seps == 0) {
        same("InsertFieldStr", run(InsertFieldStr), run(ref::InsertFieldStr));
        same("InsertFieldStrBefore", run(InsertFieldStrBefore), run(ref::InsertFieldStrBefore));
      }
      if (nr >= 1 && nr <= count && value.find(sep) == String::npos)
        same("SetFieldStr reads back", GetFieldStr(sep, run(SetFieldStr), nr), value);

      // A resumed scan from a random state; a field already passed gives "".
      int count_in = static_cast<int>(rng() % 4) - 1, start_in = 1 + static_cast<int>(rng() % (s.size() + 3));
      int mine_count = count_in, mine_start = start_in, ref_count = count_in, ref_start = start_in;
      same("GetFieldStrAtStart", GetFieldStrAtStart(sep, s, nr, mine_count, mine_start),
           ref::GetFieldStrAtStart(sep, s, nr, ref_count, ref_start));
      same("GetFieldStrAtStart state", std::pair(mine_count, mine_start), std::pair(ref_count, ref_start));
    }
  }
}

}  // namespace
}  // namespace Kv_tools

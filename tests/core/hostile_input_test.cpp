// Hostile inputs for the text routines: a string of a hundred million characters, long runs
// of separators, numbers at the 32-bit limits, patterns of a thousand stars, surrogate halves
// and very long project-file lines. Each must end with the result its header promises; that
// the run ends within the test runner's timeout is the proof of bounded time (nothing is
// timed here). Big strings are compared with EXPECT_TRUE(a == b), so that a failure does not
// print them.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "kv_tools/fields.h"
#include "kv_tools/file_format.h"
#include "kv_tools/password.h"
#include "kv_tools/project_xml.h"
#include "kv_tools/strings.h"
#include "kv_tools/word_search.h"
#include "rtl/platform.h"
#include "tests/tally.h"

namespace Kv_tools {
namespace {

namespace tally = wtarn_test::tally;

// A hundred million characters natively. A 32-bit process gets a quarter of that: the string
// takes two bytes a character, and it and the copies a test makes must stay well below the
// few hundred megabytes of address space that such a process can count on in one piece.
#ifndef _WIN32
constexpr size_t kHuge = 100'000'000;
#else
constexpr size_t kHuge = 25'000'000;
#endif
// Ten million characters for the inputs that take many passes: the sanitized, unoptimized
// native build spends about a second on each pass over a hundred million.
constexpr size_t kLong = 10'000'000;

constexpr int kLowNumbers[] = {INT_MIN, INT_MIN + 1, -1, 0};
constexpr int kHighNumbers[] = {INT_MAX - 1, INT_MAX};

using Writer = std::function<void(char16_t, String&, const String&, int)>;
const Writer kSet = SetFieldStr, kSet2 = SetFieldStr2, kInsert = InsertFieldStr, kBefore = InsertFieldStrBefore;
const Writer kDelete = [](char16_t sep, String& s, const String&, int nr) { DeleteFieldStr(sep, s, nr); };

String Repeat(rtl::StringView unit, size_t times) {
  String s;
  s.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) s += unit;
  return s;
}

std::string RepeatBytes(std::string_view unit, size_t times) {
  std::string s;
  s.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) s += unit;
  return s;
}

size_t Occurrences(rtl::StringView s, char16_t c) { return static_cast<size_t>(std::count(s.begin(), s.end(), c)); }

// ---- fields ---------------------------------------------------------------------------------

// A hundred fields of a hundred thousand characters each, then every writer in turn on the
// same string: each is one pass and one move.
TEST(HostileFields, HugeStringOfLongFields) {
  const size_t width = kLong / 100 - 1;
  const auto letter = [](int nr) { return static_cast<char16_t>(u'a' + (nr - 1) % 26); };
  String s;
  s.reserve(kLong);
  for (int nr = 1; nr <= 100; ++nr) {
    if (nr > 1) s += u';';
    s.append(width, letter(nr));
  }
  const String last(width, letter(100));
  tally::Inputs("fields", 1);

  EXPECT_EQ(GetFieldsCount(u';', s), 100);
  EXPECT_TRUE(GetFieldStr(u';', s, 100) == last);
  EXPECT_EQ(GetFieldStr(u';', s, 101), u"");
  EXPECT_TRUE(CopyFieldStr(u';', s, 100) == last);
  EXPECT_EQ(CopyFieldStr(u';', s, 99).size(), 2 * width);  // field 99, its separator, all but one of 100
  // Field 22 is the first one of the same letter as field 100.
  EXPECT_EQ(GetFieldPos(u';', s, last), 22);
  EXPECT_EQ(GetIndexOf(u';', s, String(width, static_cast<char16_t>(letter(100) - 32))), 22);
  EXPECT_EQ(GetFieldPos(u';', s, last + u'x'), -1);
  int count = 0, start = 1;
  EXPECT_TRUE(GetFieldStrAtStart(u';', s, 100, count, start) == last);
  EXPECT_EQ(count, 99);
  EXPECT_EQ(start, static_cast<int>(s.size()) + 1);
  {
    StringList fields;
    AddFieldsToStrList(u';', s, fields);
    ASSERT_EQ(fields.Count(), 100);
    EXPECT_TRUE(fields[99] == last);
  }

  const size_t size = s.size();
  SetFieldStr(u';', s, u"x", 50);
  EXPECT_EQ(GetFieldStr(u';', s, 50), u"x");
  EXPECT_EQ(s.size(), size - width + 1);
  InsertFieldStr(u';', s, u"y", 50);
  InsertFieldStrBefore(u';', s, u"z", 1);
  EXPECT_EQ(GetFieldsCount(u';', s), 102);
  EXPECT_EQ(GetFieldStr(u';', s, 52), u"y");
  EXPECT_EQ(GetFieldStr(u';', s, 1), u"z");
  DeleteFieldStr(u';', s, 1);
  DeleteFieldStr(u';', s, 101);
  EXPECT_EQ(GetFieldsCount(u';', s), 100);
  EXPECT_EQ(s.back(), letter(99));
  SetFieldStr2(u';', s, u"w", 100);
  EXPECT_EQ(GetFieldStr(u';', s, 100), u"w");
  kv_AddFieldStr(u';', s, u"v");
  EXPECT_EQ(GetFieldStr(u';', s, 101), u"v");
  EXPECT_EQ(s.back(), u';');
}

// One field of a hundred million characters, and ten million separators.
TEST(HostileFields, HugeSingleFieldAndHugeRunOfSeparators) {
  String s(kHuge, u'a');
  tally::Inputs("fields", 2);
  EXPECT_EQ(GetFieldsCount(u';', s), 1);
  EXPECT_EQ(GetFieldPos(u';', s, u"a"), -1);
  EXPECT_EQ(GetFieldStr(u';', s, 2), u"");
  SetFieldStr(u';', s, u"x", 3);  // Nr - count - 1 = 1 separator
  EXPECT_EQ(s.size(), kHuge + 2);
  EXPECT_EQ(s.substr(kHuge - 1), u"a;x");

  s.assign(kLong, u';');
  EXPECT_EQ(GetFieldsCount(u';', s), static_cast<int>(kLong));
  DeleteFieldStr(u';', s, static_cast<int>(kLong));
  EXPECT_EQ(s.size(), kLong - 1);
}

// A run of separators (as many empty fields) and as many one-character fields; field numbers
// 1, the count and the count + 1. A hundred thousand: the routines that look at every field
// take about a microsecond for each in the sanitized, unoptimized native build.
TEST(HostileFields, LongRunsOfSeparators) {
  constexpr int kCount = 100'000;
  const String seps(kCount, u';');
  const String ones = Repeat(u"a;", kCount - 1) + u"z";
  tally::Inputs("fields", 2);

  struct ReadRow { const char* label; const String& s; int nr; String field; size_t copy_size; } reads[] = {
      {"first empty field", seps, 1, u"", kCount - 1},   {"last empty field", seps, kCount, u"", 0},
      {"beyond the separators", seps, kCount + 1, u"", 0}, {"first one-character field", ones, 1, u"a", ones.size() - 1},
      {"last one-character field", ones, kCount, u"z", 1}, {"beyond the fields", ones, kCount + 1, u"", 0},
  };
  for (const ReadRow& r : reads) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(GetFieldStr(u';', r.s, r.nr), r.field);
    EXPECT_EQ(CopyFieldStr(u';', r.s, r.nr).size(), r.copy_size);
  }
  EXPECT_EQ(GetFieldsCount(u';', seps), kCount);
  EXPECT_EQ(GetFieldsCount(u';', ones), kCount);
  EXPECT_EQ(GetFieldPos(u';', seps, u""), 1);
  EXPECT_EQ(GetIndexOf(u';', seps, u""), 1);
  EXPECT_EQ(GetFieldPos(u';', ones, u"z"), kCount);
  EXPECT_EQ(GetIndexOf(u';', ones, u"Z"), kCount);
  EXPECT_EQ(GetIndexOf(u';', ones, u""), 0);

  // Writers on the separators: the result is head separators, a middle text, tail separators.
  struct WriteRow { const char* label; Writer op; int nr; size_t head; const char16_t* middle; size_t tail; } writes[] = {
      {"set the last field", kSet, kCount, kCount - 1, u"x", 0},
      {"set one beyond", kSet, kCount + 1, kCount + 1, u"x", 0},
      {"set2 the last field", kSet2, kCount, kCount - 1, u"x", 1},
      {"set2 one beyond", kSet2, kCount + 1, kCount + 1, u"x", 0},
      {"insert after the first", kInsert, 1, 1, u"x", kCount},
      {"insert after the last", kInsert, kCount, kCount, u"x", 1},
      {"insert beyond", kInsert, kCount + 1, kCount + 1, u"x", 0},
      {"insert before the last", kBefore, kCount, kCount - 1, u"x", 2},
      {"delete the first", kDelete, 1, kCount - 1, u"", 0},
      {"delete the last", kDelete, kCount, kCount - 1, u"", 0},
      {"delete beyond", kDelete, kCount + 1, kCount, u"", 0},
  };
  for (const WriteRow& r : writes) {
    String s = seps;
    r.op(u';', s, u"x", r.nr);
    EXPECT_TRUE(s == String(r.head, u';') + r.middle + String(r.tail, u';')) << r.label;
  }

  StringList fields;
  EXPECT_TRUE(CreateDBFields(fields, ones, u';'));
  ASSERT_EQ(fields.Count(), kCount);
  EXPECT_EQ(fields[kCount - 1], u"z");
}

// Every number at the 32-bit limits, for every routine that takes a field number. The value
// is long enough that padding any string out to a number near INT_MAX would pass 2^31 - 1
// characters, which the writers refuse by leaving S as it was.
TEST(HostileFields, FieldNumbersAtThe32BitLimits) {
  struct Row { const char* label; Writer op; const char16_t *s, *low, *high; } rows[] = {
      {"set empty", kSet, u"", u"", u""},
      {"set terminated", kSet, u"a;b;", u"a;b", u"a;b;"},
      {"set sole separator", kSet, u";", u"", u";"},
      {"set2 open", kSet2, u"a;b", u"a;b", u"a;b"},
      {"set2 empty", kSet2, u"", u"", u""},
      {"insert without separator", kInsert, u"a", u"value;a", u"value;a"},
      {"insert empty", kInsert, u"", u"value;", u"value;"},
      {"insert terminated", kInsert, u"a;b;", u"a;b;", u"a;b;"},
      {"before without separator", kBefore, u"a", u"value;a", u"value;a"},
      {"before open", kBefore, u"a;b", u"a;b", u"a;b"},
      {"delete open", kDelete, u"a;b", u"a;b", u"a;b"},
      {"delete sole separator", kDelete, u";", u";", u";"},
  };
  for (const Row& r : rows) {
    for (bool high : {false, true}) {
      for (int nr : high ? std::vector<int>(std::begin(kHighNumbers), std::end(kHighNumbers))
                         : std::vector<int>(std::begin(kLowNumbers), std::end(kLowNumbers))) {
        String s = r.s;
        r.op(u';', s, u"value", nr);
        EXPECT_EQ(s, high ? r.high : r.low) << r.label << " #" << nr;
        tally::Inputs("fields", 1);
      }
    }
  }
  for (const char16_t* s : {u"", u";", u"a", u"a;b", u"a;b;"}) {
    for (int nr : {INT_MIN, INT_MIN + 1, -1, 0, INT_MAX - 1, INT_MAX}) {
      EXPECT_EQ(GetFieldStr(u';', s, nr), u"") << rtl::ToUtf8(s) << " #" << nr;
      EXPECT_EQ(CopyFieldStr(u';', s, nr), u"") << rtl::ToUtf8(s) << " #" << nr;
      tally::Inputs("fields", 1);
    }
  }

  // The resumed scan with its number, count and start at the limits.
  struct ScanRow { const char* label; const char16_t* s; int nr, count, start; const char16_t* want; int count_after, start_after; } scans[] = {
      {"number INT_MAX", u"a;b;c", INT_MAX, 0, 1, u"", 2, 1},
      {"number INT_MIN", u"a;b;c", INT_MIN, 0, 1, u"", 2, 1},
      {"start INT_MIN counts as 1", u"a;b;c", 1, 0, INT_MIN, u"a", 1, 3},
      {"start INT_MAX past an open end", u"a;b;c", 1, 0, INT_MAX, u"", 0, 6},
      {"start INT_MAX past a terminated end", u"a;b;c;", INT_MAX, INT_MIN, INT_MAX, u"", INT_MIN, INT_MAX},
      {"count reaches INT_MAX", u"a;b;c", INT_MAX, INT_MAX - 1, 1, u"a", INT_MAX, 3},
      {"count equal to number", u"a;b;c", INT_MAX, INT_MAX, 3, u"a", INT_MAX, 3},
      {"count INT_MIN + 1, number INT_MIN", u"a;b;c", INT_MIN, INT_MIN + 1, 1, u"", INT_MIN + 3, 1},
  };
  for (const ScanRow& r : scans) {
    int count = r.count, start = r.start;
    EXPECT_EQ(GetFieldStrAtStart(u';', r.s, r.nr, count, start), r.want) << r.label;
    EXPECT_EQ(count, r.count_after) << r.label;
    EXPECT_EQ(start, r.start_after) << r.label;
    tally::Inputs("fields", 1);
  }
}

// Surrogate halves as separators and inside fields: separators are single code units, so a
// pair is split like any two characters.
TEST(HostileFields, SurrogateHalves) {
  const String text = u"a\U00010400b\U00010400";  // a D801 DC00 b D801 DC00
  struct Row { const char* label; String s; char16_t sep; int count; String second, last; int last_pos; } rows[] = {
      {"high half as separator", text, u'\xD801', 3, u"\xDC00" u"b", u"\xDC00", 3},
      {"low half as separator", text, u'\xDC00', 2, u"b\xD801", u"b\xD801", 2},
      {"reversed pair", u"\xDC00\xD801\xDC00", u'\xD801', 2, u"\xDC00", u"\xDC00", 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(GetFieldsCount(r.sep, r.s), r.count);
    EXPECT_EQ(GetFieldStr(r.sep, r.s, 2), r.second);
    EXPECT_EQ(GetFieldStr(r.sep, r.s, r.count), r.last);
    EXPECT_EQ(GetFieldPos(r.sep, r.s, r.last), r.last_pos);
    tally::Inputs("fields", 1);
  }
  String s = text;
  SetFieldStr(u'\xD801', s, u"\xDBFF", 2);
  EXPECT_EQ(s, u"a\xD801\xDBFF\xD801\xDC00");
}

// ---- word search ----------------------------------------------------------------------------

// Start positions, limits and occurrence numbers at the 32-bit limits.
TEST(HostileWordSearch, NumbersAtThe32BitLimits) {
  static const String text = u"ab ab";
  struct Row { const char* label; int (*search)(int); int low, high; } rows[] = {
      {"Instr", [](int n) { return Instr(n, text, u"ab"); }, 1, 0},
      {"WordPosFrom", [](int n) { return WordPosFrom(u"AB", text, n); }, 1, 0},
      {"InstrLeft", [](int n) { return InstrLeft(n, text, u"ab"); }, 0, 4},
      {"RPosFrom", [](int n) { return RPosFrom(u"ab", text, n); }, 0, 4},
      {"OccurNr", [](int n) { return OccurNr(u"ab", text, n); }, -1, -1},
      {"OccurNr of the empty string", [](int n) { return OccurNr(u"", text, n); }, -1, -1},
  };
  for (const Row& r : rows) {
    for (int n : kLowNumbers) EXPECT_EQ(r.search(n), r.low) << r.label << " #" << n;
    for (int n : kHighNumbers) EXPECT_EQ(r.search(n), r.high) << r.label << " #" << n;
    tally::Inputs("word search", 6);
  }
  const String letters(100'000, u'a');
  EXPECT_EQ(OccurNr(u"a", letters, INT_MAX), -1);
  EXPECT_EQ(OccurNr(u"aa", letters, 99'999), 99'999);
  EXPECT_EQ(Instr(99'999, letters, u"aa"), 99'999);
  EXPECT_EQ(InstrLeft(INT_MAX, letters, u"aa"), 99'999);
  tally::Inputs("word search", 4);
}

// Patterns of a thousand stars and '?'s against a text of 100,000 characters; the match
// takes at most a pass over the text for each character of the pattern.
TEST(HostileWordSearch, StarHeavyPatterns) {
  String text(100'000, u'b');
  for (size_t i = 0; i < text.size(); i += 7) text[i] = u'a';
  const String stars(1000, u'*');
  const String a_run(50, u'a');
  struct Row { const char* label; String s, pattern; bool want; } rows[] = {
      {"a thousand stars", text, stars, true},
      {"stars, then a character that never occurs", text, stars + u"z", false},
      {"stars, then a character only at the end", text + u"z", stars + u"z", true},
      {"stars, then one that occurs but not at the end", text + u"z", stars + u"a", false},
      {"star-? pairs", text, Repeat(u"*?", 1000), true},
      {"star-? pairs, one character short", text.substr(0, 999), Repeat(u"*?", 1000), false},
      {"?-star pairs then the end", text + u"z", Repeat(u"?*", 1000) + u"z", true},
      {"a thousand star-a pairs", text, Repeat(u"*a", 1000) + u"*", true},
      {"more star-a pairs than a's", text.substr(0, 6993), Repeat(u"*a", 1000) + u"*", false},
      {"a long run behind a star, found at the end", String(100'000, u'a') + u"b", u"*" + a_run + u"b", true},
      {"a run behind a star, tried at every place", String(100'000, u'a') + u"cb", u"*" + a_run + u"b", false},
      {"stars between every character", text, u"*" + Repeat(u"a*", 2000), true},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(kv_Like(r.s, r.pattern), r.want) << r.label;
    tally::Inputs("word search", 1);
  }
}

// Surrogate halves in words, patterns and case-insensitive searches. The platform lowers a
// pair as one character; a lone half stays as it is and is no word character.
TEST(HostileWordSearch, SurrogateHalves) {
  const String texts[] = {
      u"\xD801" u"ab\xDC00",                // lone halves at the start and the end
      u"\xDC00\xD801" u"ab",                // a reversed pair
      u"x\U00010400ab\U00010428",           // pairs whose lower case differs
      u"\U0001F600ab\xD83D",                // a pair at the start, its high half at the end
  };
  for (const String& text : texts) {
    const String lower = rtl::AnsiLowerCase(text);
    for (size_t at = 0; at < text.size(); ++at) {
      for (size_t n = 1; n <= 2 && at + n <= text.size(); ++n) {
        const String sub = text.substr(at, n);
        const size_t hit = lower.find(rtl::AnsiLowerCase(sub));
        EXPECT_EQ(ULPos(sub, text), hit == String::npos ? 0 : static_cast<int>(hit + 1))
            << rtl::ToUtf8(text) << " / " << at << "+" << n;
        tally::Inputs("word search", 1);
      }
    }
  }
  struct Row { const char* label; int (*search)(const String&, const String&); const char16_t *word, *text; int want; } rows[] = {
      {"halves around a word", WordPos, u"ab", u"\xD801" u"ab\xDC00", 2},
      {"a reversed pair before a word", WordNumberPos, u"ab", u"\xDC00\xD801" u"ab", 3},
      {"a pair before a word", CharsetPos, u"ab", u"\U0001F600ab", 3},
      {"a lone high half as the word", WordPos, u"\xD83D", u"x\xD83D\U0001F600", 3},
      {"a lone low half as the word", WordLeftPos, u"\xDE00", u"\U0001F600", 2},
      {"a pair as the word", WordPos, u"\U0001F600", u"a-\U0001F600-b", 3},
      {"a pair between hyphens", WordPos2, u"\U0001F600", u"a-\U0001F600-b", 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.search(r.word, r.text), r.want) << r.label;
    tally::Inputs("word search", 1);
  }
  struct LikeRow { const char16_t *s, *pattern; bool want; } likes[] = {
      {u"\U0001F600", u"?", false},  {u"\U0001F600", u"??", true},      {u"x\U0001F600", u"*\xDE00", true},
      {u"\U0001F600", u"\xD83D*", true}, {u"\xDE00\xD83D", u"\U0001F600", false}, {u"\xD83D", u"*\xDE00", false},
  };
  for (const LikeRow& r : likes) {
    EXPECT_EQ(kv_Like(r.s, r.pattern), r.want) << rtl::ToUtf8(r.pattern);
    tally::Inputs("word search", 1);
  }
  EXPECT_TRUE(WordsInText(u'\xD801', u"foo\xD801" u"bar", u"a bar"));
  tally::Inputs("word search", 1);
}

// ---- strings --------------------------------------------------------------------------------

TEST(HostileStrings, HugeStrings) {
  tally::Inputs("strings", 6);
  {
    String spaces(1'000'000, u' ');
    EXPECT_EQ(RemoveDblSpaces(spaces), u" ");
    spaces.front() = u'a';
    spaces.back() = u'b';
    EXPECT_EQ(RemoveDblSpaces(spaces), u"a b");
  }
  const String letters(1'000'000, u'a');
  EXPECT_TRUE(ReplaceStr(letters, u"aa", u"b", false) == String(500'000, u'b'));
  EXPECT_TRUE(ReplaceStr(letters, u"a", u"", true).empty());
  EXPECT_TRUE(NoAlpha(String(1'000'000, u'1')));
  EXPECT_FALSE(DigitsInStr(letters));
  EXPECT_TRUE(kv_HexStrInvert(u"x" + letters.substr(0, 999'998) + u"0A") == u"0A" + letters.substr(0, 999'998));
}

// Widths and numbers at the 32-bit limits. A width that no string can have leaves S as it is.
TEST(HostileStrings, NumbersAtThe32BitLimits) {
  for (int len : kLowNumbers) EXPECT_EQ(LeadStr(u"7", u'0', len), u"7") << len;
#ifdef _WIN32
  // Natively INT_MAX characters (4 GB) are a string the process can build; not here.
  for (int len : kHighNumbers) EXPECT_EQ(LeadStr(u"7", u'0', len), u"7") << len;
#endif
  EXPECT_EQ(LeadStr(u"7", u'\xD800', 3), u"\xD800\xD800" u"7");
  struct Row { int n; const char16_t *two, *three; } rows[] = {
      {INT_MIN, u"0-2147483648", u"00-2147483648"},
      {-1, u"0-1", u"00-1"},
      {INT_MAX, u"2147483647", u"2147483647"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(GetTwoNr(r.n), r.two) << r.n;
    EXPECT_EQ(GetThreeNr(r.n), r.three) << r.n;
  }
  tally::Inputs("strings", 9);
}

// Surrogate halves are characters like any other: reversed one code unit at a time, never in
// the letter or digit sets, replaced and collapsed exactly.
TEST(HostileStrings, SurrogateHalves) {
  const String pairs = u"\U0001F600 \U00010400";
  EXPECT_EQ(kv_StrInvert(pairs), u"\xDC00\xD801 \xDE00\xD83D");
  EXPECT_EQ(kv_StrInvert(kv_StrInvert(pairs)), pairs);
  EXPECT_EQ(kv_HexStrInvert(u"\xD83D\xDE00\xD801\xDC00"), u"\xD801\xDC00\xD83D\xDE00");
  EXPECT_TRUE(NoAlpha(pairs + u"\xD800\xDFFF"));
  EXPECT_FALSE(DigitsInStr(pairs));
  EXPECT_EQ(ReplaceStr(pairs, u"\xD83D", u"x", true), u"x\xDE00 \U00010400");
  EXPECT_EQ(RemoveDblSpaces(u"\xD800  \xDC00"), u"\xD800 \xDC00");
  EXPECT_EQ(IsTxtInList(u"\xDE00", [] { StringList l; l.Add(u"a"); l.Add(u"\U0001F600"); return l; }()), 1);
  tally::Inputs("strings", 8);
}

// Texts that are no date or time: long runs of digits and numbers beyond 32 bits.
TEST(HostileStrings, DatesThatAreNone) {
  const String rows[] = {String(1'000'000, u'9'), u"99999999999999999999/1/2000", u"1.99999999999999999999.2000",
                         u"4294967297-1-1",       u"99999999999:00",              u"12:4294967356"};
  for (const String& s : rows) {
    EXPECT_FALSE(isDate(s)) << rtl::ToUtf8(s.substr(0, 40));
    EXPECT_FALSE(isTime(s)) << rtl::ToUtf8(s.substr(0, 40));
    EXPECT_FALSE(HasDate(s)) << rtl::ToUtf8(s.substr(0, 40));
    tally::Inputs("strings", 1);
  }
}

// ---- project xml ----------------------------------------------------------------------------

StringList LinesOf(std::initializer_list<String> lines) {
  StringList list;
  for (const String& line : lines) list.Add(line);
  return list;
}

// Very long lines: the value must lie within 1255 characters of the tag, the content within
// 10000 characters of the start marker; nothing beyond is copied.
TEST(HostileProjectXml, VeryLongLines) {
  const String far(1'000'000, u'x');
  struct Row { const char* label; String line, want; } values[] = {
      {"value fills the window", u"<V>" + String(1253, u'v') + u"</V>", String(1253, u'v')},
      {"closing tag cut by the window", u"<V>" + String(1254, u'v') + u"</V>", u""},
      {"closing tag far behind", u"<V>" + far + u"</V>", u""},
      {"long tail behind the value", u"<V>1</V>" + far, u"1"},
  };
  for (const Row& r : values) {
    EXPECT_TRUE(GetXMLValue(LinesOf({r.line}), u"<V>") == r.want) << r.label;
    tally::Inputs("project xml", 1);
  }
  const String amps = Repeat(u"&amp;", 1'000'000);
  EXPECT_TRUE(GetXMLProperty(LinesOf({u"<PropertyGroup>", u"<N>" + amps + u"</N>"}), u"<PropertyGroup", u"<N>") ==
              String(1'000'000, u'&'));
  struct Between { const char* label; String s, want; } betweens[] = {
      {"end marker at the window's edge", u"[" + String(9999, u'c') + u"]", String(9999, u'c')},
      {"end marker just beyond", u"[" + String(10000, u'c') + u"]", u""},
      {"end marker far behind", u"[" + far + u"]", u""},
  };
  for (const Between& r : betweens) {
    EXPECT_TRUE(ContentBetween(r.s, u"[", u"]") == r.want) << r.label;
    tally::Inputs("project xml", 1);
  }
  EXPECT_EQ(GetInnerValue(u"-->" + far + u"<!--").size(), far.size());
  EXPECT_EQ(GetInnerValue(u"-->" + far), u"");
  tally::Inputs("project xml", 3);
}

// Many lines: an output folder overridden on every line, references in descending order,
// groups that never close and groups whose every line holds the tag.
TEST(HostileProjectXml, ManyLines) {
  constexpr int kLines = 5'000;
  StringList outputs;
  for (int i = 0; i < kLines; ++i) outputs.Add(u"<DCC_ExeOutput>$(Platform)\\$(Config)" + rtl::IntToStr(i) + u"</DCC_ExeOutput>");
  EXPECT_EQ(GetXMLValue(outputs, u"<DCC_ExeOutput>"), u"$(Platform)\\$(Config)" + rtl::IntToStr(kLines - 1));

  StringList refs;
  refs.Add(u"<ItemGroup>");
  for (int i = kLines; i-- > 0;) refs.Add(u"  <DCCReference Include=\"u" + GetThreeNr(i / 1000) + GetThreeNr(i % 1000) + u".pas\"/>");
  refs.Add(u"</ItemGroup>");
  const String items = GetXMLItems(refs, u"<ItemGroup", u"<DCCReference");
  EXPECT_EQ(Occurrences(items, u';'), static_cast<size_t>(kLines));
  EXPECT_EQ(items.substr(0, 23), u"u000000.pas;u000001.pas");
  EXPECT_EQ(GetFieldStr(u';', items, kLines), u"u004999.pas");

  StringList open;
  for (int i = kLines; i-- > 0;) open.Add(u"<ItemGroup Label=\"" + rtl::IntToStr(i) + u"\">");
  open.Add(u"<DCCReference Include=\"a.pas\"/>");
  EXPECT_EQ(Occurrences(GetXMLItemGroups(open, u"<ItemGroup", u"<DCCReference"), u'\x01'), static_cast<size_t>(kLines));

  // Every line opens a group and holds the tag: line g is listed once for each later line.
  constexpr int kEvery = 300;
  StringList every;
  for (int i = 0; i < kEvery; ++i) every.Add(u"<PropertyGroup><N>");
  EXPECT_EQ(Occurrences(GetXMLPropertyGroups(every, u"<PropertyGroup", u"<N>"), u'\x01'),
            static_cast<size_t>(kEvery * (kEvery - 1) / 2));
  tally::Inputs("project xml", 4);
}

// Surrogate halves in tags, values and groups are matched and kept exactly.
TEST(HostileProjectXml, SurrogateHalves) {
  const StringList lines = LinesOf({u"<ItemGroup \xD800>", u"<R Include=\"\xDC00.pas\"/>", u"<R Include=\"a\U0001F600.pas\"/>",
                                    u"</ItemGroup>", u"<T\xD83D>\xDE00\xD83D</T\xD83D>"});
  EXPECT_EQ(GetXMLValue(lines, u"<T\xD83D>"), u"\xDE00\xD83D");
  const String items = GetXMLItems(lines, u"<ItemGroup \xD800", u"<R");
  EXPECT_NE(items.find(u"\xDC00.pas;"), String::npos);
  EXPECT_NE(items.find(u"a\U0001F600.pas;"), String::npos);
  EXPECT_EQ(GetXMLItemGroups(lines, u"\xD800", u"\U0001F600"), u"<ItemGroup \xD800>\x01");
  EXPECT_EQ(GetXMLProperty(lines, u"\xD800", u"<T\xD83D>"), u"\xDE00\xD83D");  // "</ItemGroup>" ends no property group
  EXPECT_EQ(GetInnerValue(u"-->\xD800<!--"), u"\xD800");
  EXPECT_EQ(ContentBetween(u"\U0001F600x\U0001F600", u"\xDE00", u"\xD83D"), u"x");
  tally::Inputs("project xml", 6);
}

// ---- password -------------------------------------------------------------------------------

// The rating by its definition, for a text of n characters alternating between two that are
// neighbours neither in code nor on the keyboard: every entropy is that of two symbols.
long double AlternatingRating(size_t n) {
  const auto two = [](long double a, long double b) { return -(a * std::log2(a) + b * std::log2(b)); };
  const long double chars = two(0.5L, 0.5L);
  const long double steps = two(static_cast<long double>(n / 2) / (n - 1), static_cast<long double>(n / 2 - 1) / (n - 1));
  return chars * (std::log(static_cast<long double>(n)) / std::log(8.0L)) * (2 * steps) / 64;
}

TEST(HostilePassword, HugePasswords) {
  constexpr size_t kLength = 200'000;
  const String alternating = Repeat(u"ak", kLength / 2);
  EXPECT_NEAR(PasswQuality(alternating), AlternatingRating(kLength), 1e-12L);
  EXPECT_EQ(PasswQuality(String(kLength, u'\xD800')), 0.0L);
  String irregular(kLength, u'\0');
  unsigned seed = 1;
  for (char16_t& c : irregular) c = static_cast<char16_t>((seed = seed * 1103515245u + 12345u) >> 16);
  EXPECT_EQ(PasswQuality(irregular), 1.0L);
  tally::Inputs("password", 3);
}

// A surrogate half counts by its code modulo 256 like any character off the keyboard: the
// rating equals that of the same low bytes moved to U+01xx (no key there either).
TEST(HostilePassword, SurrogateHalves) {
  const char16_t* rows[] = {u"\xD800\xD801\xD803", u"\xDC00\xDFFF\xDC7F", u"\xDC00\xD801\xDE00\xD83D",
                            u"\U0001F600\U00010400x", u"a\xD800" u"b\xDC00" u"c"};
  for (const char16_t* row : rows) {
    String moved = row;
    for (char16_t& c : moved)
      if (c >= 0xD800 && c <= 0xDFFF) c = static_cast<char16_t>(0x100 + (c & 0xFF));
    EXPECT_EQ(PasswQuality(row), PasswQuality(moved)) << rtl::ToUtf8(moved);
    tally::Inputs("password", 1);
  }
  String every;
  for (unsigned c = 0; c < 0x10000; ++c) every += static_cast<char16_t>(c);
  const long double rating = PasswQuality(every);
  EXPECT_GE(rating, 0.0L);
  EXPECT_LE(rating, 1.0L);
  tally::Inputs("password", 1);
}

// ---- file format ----------------------------------------------------------------------------

// Decisions over a megabyte: a big file decides as its short form with the same bytes at its
// ends does.
TEST(HostileFileFormat, HugeFiles) {
  struct Row { const char* label; std::string head, unit, tail; } rows[] = {
      {"ASCII", "", "a", ""},
      {"two-byte UTF-8", "", "\xC3\xA4", ""},
      {"UTF-8 cut in its last sequence", "", "\xC3\xA4", "\xE2\x82"},
      {"UTF-8 with an encoded surrogate half at the end", "", "\xC3\xA4", "\xED\xA0\x80"},
      {"ANSI high bytes", "", "\xE4", ""},
      {"UTF-8 mark before ANSI bytes", "\xEF\xBB\xBF", "\xE4", ""},
      {"UTF-32 big-endian mark before UTF-8", std::string("\0\0\xFE\xFF", 4), "\xC3\xA4", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    const std::string sample = r.head + RepeatBytes(r.unit, 4) + r.tail;
    const std::string huge = r.head + RepeatBytes(r.unit, 1'000'000 / r.unit.size()) + r.tail;
    int figure = -1, sample_figure = -1;
    bool line_break = true, sample_line_break = true;
    EXPECT_EQ(FileFormatOf(huge), FileFormatOf(sample));
    EXPECT_EQ(FileEncodingOf(huge), FileEncodingOf(sample));
    EXPECT_EQ(CheckedEncodingOf(huge, figure, line_break), CheckedEncodingOf(sample, sample_figure, sample_line_break));
    EXPECT_EQ(figure, sample_figure);
    EXPECT_FALSE(line_break);
    tally::Inputs("file format", 1);
  }
  EXPECT_EQ(FileFormatOf(RepeatBytes("\xC3\xA4", kLong / 2)), u"utf-8");
  EXPECT_EQ(FileFormatOf(std::string(kLong, 'a')), u"Ansi");
  tally::Inputs("file format", 2);
}

// A run of CRs before one LF: the scan takes the byte after a CR with it, so the break is
// found only when the last CR is met at its turn (an odd number of bytes before the LF).
TEST(HostileFileFormat, RunsOfCarriageReturns) {
  const size_t runs[] = {1'000'001, 1'000'000, 5, 4};
  for (size_t run : runs) {
    EXPECT_EQ(HasLineBreak(std::string(run, '\r') + "\n"), run % 2 == 1) << run;
    tally::Inputs("file format", 1);
  }
  EXPECT_FALSE(HasLineBreak(std::string(1'000'000, '\n') + std::string(1'000'000, '\r')));
  EXPECT_EQ(FindByteOrderMark(std::string(1'000'000, '\xFF')), ByteOrderMark::None);
  tally::Inputs("file format", 2);
}

}  // namespace
}  // namespace Kv_tools

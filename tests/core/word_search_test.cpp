#include "kv_tools/word_search.h"

#include <gtest/gtest.h>

#include "rtl/platform.h"

namespace Kv_tools {
namespace {

using WordSearch = int (*)(const String&, const String&);

TEST(WordSearch, WholeWordsByWordCharacters) {
  struct Row {
    const char* label;
    WordSearch find;
    const char16_t *word, *text;
    int want;
  } rows[] = {
      {"WordPos goes on past a non-word", WordPos, u"der", u"Oder der", 6},
      {"WordPos needs the exact case behind", WordPos, u"abc", u"xabc ABC", 0},
      {"WordPos takes a case-different word once gated", WordPos, u"abc", u"xabc Abc abc", 6},
      {"WordPos ignores case", WordPos, u"DER", u"oder der", 6},
      {"WordPos gate is case-sensitive", WordPos, u"DER", u"oder DER", 0},
      {"WordPos text behind a rejected start has no left neighbour", WordPos, u"aa", u"aaa", 2},
      {"WordPos hyphen divides", WordPos, u"foo", u"foo-bar", 1},
      {"WordPos2 hyphen is a letter", WordPos2, u"foo", u"foo-bar", 0},
      {"WordPos2 finds a later word", WordPos2, u"foo", u"foo-bar foo", 9},
      {"WordPos umlaut is a letter", WordPos, u"tat", u"état", 0},
      {"WordPos digits divide", WordPos, u"ab", u"1ab2", 2},
      {"WordPos match at the end", WordPos, u"ab", u"x ab", 3},
      {"WordPos whole text", WordPos, u"ab", u"AB", 1},
      {"WordPos empty word", WordPos, u"", u"abc", 0},
      {"WordPos word longer than text", WordPos, u"abcd", u"abc", 0},
      {"WordPos lower-cases umlauts", WordPos, u"ÄRGER", u"kein ärger", 6},
      {"WordNumberPos digit before", WordNumberPos, u"12", u"a12", 0},
      {"WordNumberPos space before", WordNumberPos, u"12", u"a 12", 3},
      {"WordNumberPos only the first", WordNumberPos, u"12", u"312 12", 0},
      {"WordPos3 as WordNumberPos", WordPos3, u"12", u"a 12", 3},
      {"WordPos3 digit after", WordPos3, u"12", u"123", 0},
      {"CharsetPos é is no German letter", CharsetPos, u"tat", u"état", 2},
      {"CharsetPos ß is one", CharsetPos, u"tat", u"ßtat", 0},
      {"WordLeftPos ignores the right", WordLeftPos, u"foo", u"foobar", 1},
      {"WordLeftPos letter on the left", WordLeftPos, u"bar", u"foobar", 0},
      {"WordLeftPos only the first", WordLeftPos, u"bar", u"foobar bar", 0},
  };
  for (const Row& r : rows) EXPECT_EQ(r.find(r.word, r.text), r.want) << r.label;
}

// Words that begin or end at the edges of the blocks of eight starts the search filters.
TEST(WordSearch, WordsAtBlockEdges) {
  for (size_t at : {7, 8, 15, 16, 17}) {
    for (const String after : {u"", u" xxxxxxxxx"}) {
      const String text = String(at - 1, u'x') + u" ReGen" + after;
      SCOPED_TRACE(rtl::ToUtf8(text));
      EXPECT_EQ(WordPos(u"regen", text), static_cast<int>(at) + 1);
      EXPECT_EQ(ULPos(u"REGEN", text), static_cast<int>(at) + 1);
      EXPECT_EQ(WordPos(u"regen", String(at, u'x') + u"ReGen" + after), 0);
    }
  }
}

TEST(WordSearch, WordPosFromLooksAtOneOccurrence) {
  EXPECT_EQ(WordPosFrom(u"ab", u"ab xab ab", 2), 0);
  EXPECT_EQ(WordPosFrom(u"ab", u"ab xab ab", 1), 1);
  EXPECT_EQ(WordPosFrom(u"ab", u"ab xab ab", 6), 8);
  EXPECT_EQ(WordPosFrom(u"AB", u"x ab", 3), 3);
  EXPECT_EQ(WordPosFrom(u"ab", u"ab", 0), 1);
  EXPECT_EQ(WordPosFrom(u"ab", u"ab", 3), 0);
}

// Many occurrences that are not whole words: no recursion, no rescan of the rest.
TEST(WordSearch, LongTextsStayLinear) {
  const String letters(1'000'000, u'a');
  EXPECT_EQ(WordPos(u"a", letters + u"b"), 0);
  EXPECT_EQ(WordPos(u"a", letters), 1'000'000);
  EXPECT_EQ(WordPos2(u"a", letters + u"b a"), 1'000'003);
  EXPECT_EQ(WordPos(u"a", String(1'000'000, u'A') + u"b a"), 1'000'003);
  EXPECT_EQ(RPos(u"b", letters), 0);
  EXPECT_EQ(InstrLeft(1'000'000, letters, u"ab"), 0);
  EXPECT_EQ(RPosFrom(u"aab", letters + u"b", 1'000'001), 999'999);
}

TEST(WordSearch, WordsInText) {
  struct Row {
    const char16_t *words, *text;
    bool want;
  } rows[] = {
      {u"foo;bar", u"a bar b", true}, {u"foo;baz", u"a bar b", false}, {u"", u"a", false},
      {u";;", u"a", false},           {u"x;;bar;", u"BAR", true},      {u"ba", u"bar", false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(WordsInText(u';', r.words, r.text), r.want) << rtl::ToUtf8(r.words);
}

TEST(WordSearch, PlainSearches) {
  EXPECT_EQ(Instr(3, u"abcabc", u"a"), 4);
  EXPECT_EQ(Instr(7, u"abcabc", u"a"), 0);
  EXPECT_EQ(Instr(4, u"abcabc", u"abc"), 4);
  EXPECT_EQ(Instr(0, u"abc", u"a"), 1);
  EXPECT_EQ(Instr(1, u"abc", u""), 0);
  EXPECT_EQ(InstrLeft(5, u"abcabc", u"bc"), 2);
  EXPECT_EQ(InstrLeft(6, u"abcabc", u"bc"), 5);
  EXPECT_EQ(InstrLeft(99, u"abcabc", u"bc"), 5);
  EXPECT_EQ(InstrLeft(0, u"abcabc", u"a"), 0);
  EXPECT_EQ(InstrLeft(-3, u"abcabc", u"a"), 0);
  EXPECT_EQ(RPosFrom(u"bc", u"abcabc", 5), 2);
  EXPECT_EQ(RPosFrom(u"", u"abc", 3), 0);
  EXPECT_EQ(RPos(u"bc", u"abcabc"), 5);
  EXPECT_EQ(RPos(u"abcd", u"abc"), 0);
  EXPECT_EQ(LastPos(u"ab", u"xab"), 2);
  EXPECT_EQ(LastPos(u"ab", u"abb"), 0);
  EXPECT_EQ(LastPos(u"b", u"abcb"), 4);
  EXPECT_EQ(LastPos(u"", u"abc"), 0);
  EXPECT_EQ(OccurNr(u"aa", u"aaaa", 2), 2);
  EXPECT_EQ(OccurNr(u"aa", u"aaaa", 3), 3);
  EXPECT_EQ(OccurNr(u"aa", u"aaaa", 4), -1);
  EXPECT_EQ(OccurNr(u"a", u"aaaa", 0), -1);
  EXPECT_EQ(OccurNr(u"", u"abc", 3), 3);
  EXPECT_EQ(OccurNr(u"", u"abc", 4), -1);
  EXPECT_EQ(ULPos(u"ÄB", u"xäb"), 2);
  EXPECT_EQ(ULPos(u"ŠKODA", u"eine škoda"), 6);  // a code page 1252 letter beyond Latin-1
  EXPECT_EQ(ULPos(u"", u"abc"), 0);
  EXPECT_EQ(FirstDifferent(u'0', u"0012"), 3);
  EXPECT_EQ(FirstDifferent(u'0', u"000"), 0);
  EXPECT_EQ(FirstDifferent(u'0', u""), 0);
  int p = 7;
  EXPECT_FALSE(kvxPos(u"x", u"abc", p));
  EXPECT_EQ(p, 0);
  EXPECT_TRUE(kvxPos(u"c", u"abc", p));
  EXPECT_EQ(p, 3);
}

// The searches look at eight starts at a time: every length and place around the blocks.
TEST(WordSearch, PlainSearchesAgreeWithTheLibraryAtEveryPlace) {
  for (size_t length = 0; length <= 40; ++length) {
    for (size_t at = 0; at < length; ++at) {
      for (const String& sub : {String(u"x"), String(u"xy"), String(u"xyzzyx")}) {
        String s(length, u'a');
        s.replace(at, std::min(sub.size(), length - at), sub.substr(0, length - at));
        s[length / 2] = sub.back();  // a false candidate for the last character
        SCOPED_TRACE(rtl::ToUtf8(s) + " / " + rtl::ToUtf8(sub));
        const size_t first = s.find(sub), last = s.rfind(sub);
        EXPECT_EQ(Instr(1, s, sub), first == String::npos ? 0 : static_cast<int>(first + 1));
        EXPECT_EQ(RPos(sub, s), last == String::npos ? 0 : static_cast<int>(last + 1));
        EXPECT_EQ(ULPos(sub, s), Instr(1, s, sub));
      }
    }
  }
}

// ULPos and the word searches fold case per code unit; that must give what lower-casing
// the whole text with the platform gives.
TEST(WordSearch, CaseFoldingMatchesThePlatform) {
  const String texts[] = {u"ÀÉÎÕÜ àéîõü ÆØÅ",        u"ΑΒΓ αβγ ΣΣ", u"ЖУК жук Ёж", u"İIıi KkK",
                          u"x\U00010400y\U00010428", u"ŒœŠšŽžŸÿ"};
  for (const String& text : texts) {
    const String lower = rtl::AnsiLowerCase(text);
    for (size_t at = 0; at < text.size(); ++at) {
      for (size_t n = 1; at + n <= text.size() && n <= 3; ++n) {
        const String sub = text.substr(at, n);
        const size_t hit = lower.find(rtl::AnsiLowerCase(sub));
        SCOPED_TRACE(rtl::ToUtf8(text) + " / " + rtl::ToUtf8(sub));
        EXPECT_EQ(ULPos(sub, text), hit == String::npos ? 0 : static_cast<int>(hit + 1));
      }
    }
  }
}

TEST(WordSearch, Like) {
  struct Row {
    const char16_t *s, *pattern;
    bool want;
  } rows[] = {
      {u"Project1.dproj", u"*.dproj", true},
      {u"abc", u"a?c", true},
      {u"abc", u"A*", false},
      {u"", u"*", true},
      {u"", u"", true},
      {u"a", u"", false},
      {u"", u"?", false},
      {u"abc", u"a*c", true},
      {u"abc", u"a*b", false},
      {u"ab", u"a??", false},
      {u"aXbXc", u"a*b*c", true},
      {u"a*c", u"a\\*c", false},
      {u"a?c", u"a?c", true},
      {u"xaab", u"*?ab", true},
      {u"xaab", u"*??b", true},
      {u"ab", u"*?ab", false},
      {u"abab", u"*ab", true},
      {u"abcabd", u"*ab?", true},
      {u"abcab", u"*ab?", false},
      {u"mississippi", u"m*iss*ppi", true},
      {u"mississippi", u"m*iss*x", false},
      {u"aaa", u"*a*a*a*", true},
      {u"aa", u"*a*a*a*", false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(kv_Like(r.s, r.pattern), r.want)
        << rtl::ToUtf8(r.s) << " ~ " << rtl::ToUtf8(r.pattern);
}

}  // namespace
}  // namespace Kv_tools

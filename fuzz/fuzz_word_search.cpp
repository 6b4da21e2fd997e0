// The searches against their algorithms written out step by step: the word family by its
// recursion, the searches from the right by trying every piece from a down to 1.
#include <vector>

#include "fuzz/fuzz_input.h"
#include "kv_tools/word_search.h"
#include "rtl/platform.h"
#include "tests/core/fields_reference.h"

namespace literal {

using fields_reference::Copy;
using fields_reference::Pos;
using rtl::String;

const char16_t* const kLetters =
    u"abcdefghijklmnopqrstuvwxyzüäöABCDEFGHIJKLMNOPQRSTUVWXYZÖÄÜßéíúáóèìùàòâêôîûÂÊÔÎÛñÑçÇ";
const String kLettersDigits = String(kLetters) + u"0123456789";
const String kLettersHyphen = String(kLetters) + u"-";
const char16_t* const kGerman = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZäöüÄÖÜß";

int Len(const String& s) { return static_cast<int>(s.size()); }


bool In(const String& set, char16_t c) { return set.find(c) != String::npos; }

// Steps 1 to 4, and step 5 (the recursion) when go_on.
int WordPos(const String& set, const String& word, const String& text, bool test_right, bool go_on,
            int from = 1) {
  const String low = rtl::AnsiLowerCase(word);
  const int p = Pos(low, rtl::AnsiLowerCase(text), from);
  if (p == 0) return 0;
  const bool left = p == 1 || !In(set, text[p - 2]);
  const bool right =
      !test_right || p + Len(word) - 1 == Len(text) || !In(set, text[p + Len(word) - 1]);
  if (left && right) return p;
  if (!go_on) return 0;
  const String rest = Copy(text, p + 1, Len(text));
  if (Pos(low, rest) == 0) return 0;
  const int r = WordPos(set, word, rest, test_right, go_on);
  return r == 0 ? 0 : r + p;
}

int RightmostWithin(const String& sub, const String& s, int limit) {
  for (int a = limit; a >= 1; --a)
    if (Pos(sub, Copy(s, a, limit - a + 1)) > 0) return a;
  return 0;
}

int LastPos(const String& sub, const String& s) {
  int j = Len(sub);
  for (int i = Len(s); i >= 1; --i) {
    if (s[i - 1] == sub[j - 1])
      --j;
    else
      j = Len(sub);
    if (j == 0) return i;
  }
  return 0;
}

int OccurNr(const String& sub, const String& s, int n) {
  int count = 0;
  for (int j = 1; j <= Len(s); ++j)
    if (Copy(s, j, Len(sub)) == sub && ++count == n) return j;
  return -1;
}

int FirstDifferent(char16_t ch, const String& s) {
  for (int i = 1; i <= Len(s); ++i)
    if (s[i - 1] != ch) return i;
  return 0;
}

// The two-phase scan as documented.
bool DocumentedLike(const String& s, const String& pattern) {
  size_t i = 0, p = 0, star = String::npos, resume = String::npos;
  bool star_phase = false;
  for (;;) {
    if (!star_phase) {
      if (p == pattern.size()) {
        if (i == s.size()) return true;
        if (star == String::npos || resume == String::npos) return false;
        i = resume, p = star, star_phase = true;
      } else if (pattern[p] == u'*') {
        star = ++p, star_phase = true;
      } else if (pattern[p] == u'?') {
        if (i == s.size()) return false;
        ++i, ++p;
      } else {
        if (i == s.size()) return false;
        if (pattern[p] == s[i]) {
          ++i, ++p;
        } else {
          if (star == String::npos || resume == String::npos) return false;
          i = resume, p = star, star_phase = true;
        }
      }
    } else {
      if (p == pattern.size()) return true;
      if (pattern[p] == u'*') {
        star = ++p;
      } else if (pattern[p] == u'?') {
        if (i == s.size()) return false;
        ++i, ++p;
      } else {
        const size_t hit = s.find(pattern[p], i);
        if (hit == String::npos) return false;
        i = resume = hit + 1;
        ++p, star_phase = false;
      }
    }
  }
}

// What the wildcards mean: every split of S tried.
bool Glob(const String& s, const String& pattern) {
  std::vector<std::vector<char>> memo(s.size() + 1, std::vector<char>(pattern.size() + 1, -1));
  auto match = [&](auto& self, size_t i, size_t p) -> bool {
    char& known = memo[i][p];
    if (known >= 0) return known;
    bool result;
    if (p == pattern.size())
      result = i == s.size();
    else if (pattern[p] == u'*')
      result = self(self, i, p + 1) || (i < s.size() && self(self, i + 1, p));
    else
      result =
          i < s.size() && (pattern[p] == u'?' || pattern[p] == s[i]) && self(self, i + 1, p + 1);
    return known = result;
  };
  return match(match, 0, 0);
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  const String word = fuzz::Text(in, 4);
  const String text = fuzz::Text(in, 80);
  const int from = in.ConsumeIntegralInRange<int>(1, 90);
  const int n = in.ConsumeIntegralInRange<int>(-1, 90);
  const char16_t ch = fuzz::Text(in, 1).append(1, u'a')[0];

  Same("WordPos", WordPos(word, text), literal::WordPos(literal::kLetters, word, text, true, true));
  Same("WordPos2", WordPos2(word, text),
       literal::WordPos(literal::kLettersHyphen, word, text, true, true));
  Same("WordPosFrom", WordPosFrom(word, text, from),
       literal::WordPos(literal::kLetters, word, text, true, false, from));
  Same("WordPosFrom below 1", WordPosFrom(word, text, 1 - from), WordPosFrom(word, text, 1));
  Same("WordNumberPos", WordNumberPos(word, text),
       literal::WordPos(literal::kLettersDigits, word, text, true, false));
  Same("WordPos3", WordPos3(word, text), WordNumberPos(word, text));
  Same("CharsetPos", CharsetPos(word, text),
       literal::WordPos(literal::kGerman, word, text, true, false));
  Same("WordLeftPos", WordLeftPos(word, text),
       literal::WordPos(literal::kGerman, word, text, false, false));
  bool any = false;
  for (const String& field : fields_reference::Fields(u';', text))
    any = any || literal::WordPos(literal::kLetters, field, word + u" " + text, true, true) != 0;
  Same("WordsInText", WordsInText(u';', text, word + u" " + text), any);

  int p = -1;
  Same("kvxPos", kvxPos(word, text, p), literal::Pos(word, text) != 0);
  Same("kvxPos P", p, literal::Pos(word, text));
  Same("Instr", Instr(from, text, word), literal::Pos(word, text, from));
  Same("Instr below 1", Instr(1 - from, text, word), literal::Pos(word, text));
  Same("InstrLeft", InstrLeft(n, text, word), literal::RightmostWithin(word, text, n));
  Same("RPosFrom", RPosFrom(word, text, n), literal::RightmostWithin(word, text, n));
  Same("RPos", RPos(word, text), literal::RightmostWithin(word, text, literal::Len(text)));
  if (!word.empty()) Same("LastPos", LastPos(word, text), literal::LastPos(word, text));
  Same("OccurNr", OccurNr(word, text, n), literal::OccurNr(word, text, n));
  Same("ULPos", ULPos(word, text),
       literal::Pos(rtl::AnsiLowerCase(word), rtl::AnsiLowerCase(text)));
  Same("FirstDifferent", FirstDifferent(ch, text), literal::FirstDifferent(ch, text));

  const bool like = kv_Like(text, word + text.substr(text.size() / 2));
  Same("kv_Like", like, literal::Glob(text, word + text.substr(text.size() / 2)));
  Same("kv_Like pattern", kv_Like(word, text), literal::Glob(word, text));
  // The documented scan misses matches where '?' follows a star, but never finds a false one.
  if (literal::DocumentedLike(word, text))
    fuzz::Holds("documented scan implies match", kv_Like(word, text));
  return 0;
}

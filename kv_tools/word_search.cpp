#include "kv_tools/word_search.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "kv_tools/fields.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

using rtl::StringView;
constexpr size_t npos = StringView::npos;

// A set of word characters; every listed character is below 256.
class WordChars {
 public:
  constexpr explicit WordChars(std::u16string_view chars) {
    for (char16_t c : chars) member_[c] = true;
  }
  bool Has(char16_t c) const { return c < member_.size() && member_[c]; }

 private:
  std::array<bool, 256> member_{};
};

constexpr WordChars kLetters(
    u"abcdefghijklmnopqrstuvwxyzüäöABCDEFGHIJKLMNOPQRSTUVWXYZÖÄÜßéíúáóèìùàòâêôîûÂÊÔÎÛñÑçÇ");
constexpr WordChars kLettersDigits(
    u"abcdefghijklmnopqrstuvwxyzüäöABCDEFGHIJKLMNOPQRSTUVWXYZÖÄÜßéíúáóèìùàòâêôîûÂÊÔÎÛñÑçÇ"
    u"0123456789");
constexpr WordChars kLettersHyphen(
    u"abcdefghijklmnopqrstuvwxyzüäöABCDEFGHIJKLMNOPQRSTUVWXYZÖÄÜßéíúáóèìùàòâêôîûÂÊÔÎÛñÑçÇ-");
constexpr WordChars kGermanLetters(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZäöüÄÖÜß");

int Found(size_t index) { return index == npos ? 0 : static_cast<int>(index + 1); }

// Index of the first of units (one to four of them with SSE2) in p[0, n), or n.
size_t FindAny(const char16_t* p, size_t n, std::u16string_view units) {
  if (units.empty()) return n;
  size_t i = 0;
#if defined(__SSE2__)
  if (units.size() <= 4) {
    __m128i wanted[4];
    for (size_t k = 0; k < 4; ++k)
      wanted[k] = _mm_set1_epi16(static_cast<short>(units[k < units.size() ? k : 0]));
    for (; i + 8 <= n; i += 8) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i hits = _mm_or_si128(
          _mm_or_si128(_mm_cmpeq_epi16(block, wanted[0]), _mm_cmpeq_epi16(block, wanted[1])),
          _mm_or_si128(_mm_cmpeq_epi16(block, wanted[2]), _mm_cmpeq_epi16(block, wanted[3])));
      const int mask = _mm_movemask_epi8(hits);
      if (mask != 0) return i + (__builtin_ctz(static_cast<unsigned>(mask)) >> 1);
    }
  }
#endif
  while (i < n && units.find(p[i]) == std::u16string_view::npos) ++i;
  return i;
}

bool SameAt(StringView s, size_t i, StringView sub) {
  return std::memcmp(s.data() + i, sub.data(), sub.size() * sizeof(char16_t)) == 0;
}

// The searches look at a start only when the text there begins with one of the units allowed
// first and has one of those allowed last where the sub ends; with SSE2, eight starts at a
// time (CandidateMask has two bits per start that passes). Width is the most units allowed at
// either end; a shorter set repeats its first unit.
#if defined(__SSE2__)
template <size_t Width>
struct Ends {
  Ends(std::u16string_view firsts, std::u16string_view lasts) {
    for (size_t k = 0; k < Width; ++k) {
      first[k] = _mm_set1_epi16(static_cast<short>(firsts[k < firsts.size() ? k : 0]));
      last[k] = _mm_set1_epi16(static_cast<short>(lasts[k < lasts.size() ? k : 0]));
    }
  }
  __m128i first[Width], last[Width];
};

template <size_t Width>
unsigned CandidateMask(const char16_t* p, size_t sub_size, const Ends<Width>& ends) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + sub_size - 1));
  __m128i at_first = _mm_cmpeq_epi16(a, ends.first[0]), at_last = _mm_cmpeq_epi16(b, ends.last[0]);
  for (size_t k = 1; k < Width; ++k) {
    at_first = _mm_or_si128(at_first, _mm_cmpeq_epi16(a, ends.first[k]));
    at_last = _mm_or_si128(at_last, _mm_cmpeq_epi16(b, ends.last[k]));
  }
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(at_first, at_last)));
}

// The first start in whole blocks of eight from i on, below candidates, that passes the ends
// and then match; npos when none. i moves past the blocks looked at.
template <size_t Width, class Match>
size_t FirstCandidate(StringView s, size_t& i, size_t candidates, size_t sub_size, const Ends<Width>& ends,
                      Match match) {
  for (; i + 8 <= candidates; i += 8) {
    for (unsigned mask = CandidateMask(s.data() + i, sub_size, ends); mask != 0;) {
      const unsigned low = __builtin_ctz(mask);
      const size_t k = i + (low >> 1);
      mask &= ~(3u << low);
      if (match(k)) return k;
    }
  }
  return npos;
}
#endif

bool MatchesAt(StringView s, size_t i, StringView sub) {
  return s[i] == sub.front() && s[i + sub.size() - 1] == sub.back() && SameAt(s, i, sub);
}

// Index of the first sub in s at or after from; npos when none or sub is empty.
size_t Find(StringView s, StringView sub, size_t from) {
  if (sub.empty() || from > s.size() || s.size() - from < sub.size()) return npos;
  const size_t candidates = s.size() - sub.size() + 1;
  size_t i = from;
#if defined(__SSE2__)
  const size_t hit = FirstCandidate(s, i, candidates, sub.size(), Ends<1>(sub.substr(0, 1), sub.substr(sub.size() - 1)),
                                    [&](size_t k) { return SameAt(s, k, sub); });
  if (hit != npos) return hit;
#endif
  for (; i < candidates; ++i)
    if (MatchesAt(s, i, sub)) return i;
  return npos;
}

// Index of the last sub that lies wholly within s; npos when none or sub is empty.
size_t FindBack(StringView s, StringView sub) {
  if (sub.empty() || s.size() < sub.size()) return npos;
  size_t candidates = s.size() - sub.size() + 1;
#if defined(__SSE2__)
  const Ends<1> ends(sub.substr(0, 1), sub.substr(sub.size() - 1));
  for (; candidates >= 8; candidates -= 8) {
    const size_t i = candidates - 8;
    for (unsigned mask = CandidateMask(s.data() + i, sub.size(), ends); mask != 0;) {
      const unsigned high = 31 - __builtin_clz(mask);
      const size_t k = i + (high >> 1);
      mask &= ~(3u << (high & ~1u));
      if (SameAt(s, k, sub)) return k;
    }
  }
#endif
  while (candidates-- > 0)
    if (MatchesAt(s, candidates, sub)) return candidates;
  return npos;
}

// The platform's lower-case mapping, which keeps every character in place: a table for the
// code units outside the surrogates, and the supplementary characters whose lower case
// differs (all in plane 1). Searching with it gives what searching the lower-cased texts
// gives, without a lower-cased copy of the text.
class LowerCase {
 public:
  static const LowerCase& Platform() {
    static const LowerCase lower;
    return lower;
  }

  // Code unit i of text as lower-casing all of text gives it.
  char16_t At(StringView text, size_t i) const {
    const char16_t c = text[i];
    return Surrogate(c) ? InPair(text, i) : table_[c];
  }

  // The code units outside the surrogates that lower-case to c.
  std::u16string_view Sources(char16_t c) const {
    return std::u16string_view(sources_).substr(first_source_[c],
                                                first_source_[c + 1] - first_source_[c]);
  }

  static bool Surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

  String Of(StringView text) const {
    String lower(text);
    for (size_t i = 0; i < text.size(); ++i) lower[i] = At(text, i);
    return lower;
  }

 private:
  LowerCase() : table_(0x10000, u'\0') {
    for (size_t i = 0; i < table_.size(); ++i) table_[i] = static_cast<char16_t>(i);
    for (auto [first, last] : {std::pair<size_t, size_t>{1, 0xD800}, {0xE000, 0x10000}}) {
      const String lower = rtl::AnsiLowerCase(StringView(table_).substr(first, last - first));
      if (lower.size() == last - first) table_.replace(first, lower.size(), lower);
    }
    first_source_.assign(0x10001, 0);
    for (size_t c = 0; c < 0x10000; ++c)
      if (!Surrogate(static_cast<char16_t>(c))) ++first_source_[table_[c] + 1];
    for (size_t c = 0; c < 0x10000; ++c) first_source_[c + 1] += first_source_[c];
    sources_.resize(first_source_[0x10000]);
    std::vector<uint32_t> next(first_source_.begin(), first_source_.end() - 1);
    for (size_t c = 0; c < 0x10000; ++c)
      if (!Surrogate(static_cast<char16_t>(c)))
        sources_[next[table_[c]]++] = static_cast<char16_t>(c);
    String plane1;
    for (char32_t c = 0x10000; c < 0x20000; ++c) plane1 += Pair(c);
    const String lower = rtl::AnsiLowerCase(plane1);
    for (size_t i = 0; i + 1 < lower.size() && lower.size() == plane1.size(); i += 2)
      if (lower.compare(i, 2, plane1, i, 2) != 0)
        changed_.push_back({Code(plane1[i], plane1[i + 1]), Code(lower[i], lower[i + 1])});
  }

  static String Pair(char32_t c) {
    return {static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
  }
  static char32_t Code(char16_t high, char16_t low) {
    return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (low - 0xDC00);
  }
  static bool High(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
  static bool Low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

  // A surrogate: its part of the lower-cased pair it belongs to, or itself when alone.
  char16_t InPair(StringView text, size_t i) const {
    const bool first = High(text[i]) && i + 1 < text.size() && Low(text[i + 1]);
    const bool second = Low(text[i]) && i > 0 && High(text[i - 1]);
    if (!first && !second) return text[i];
    const size_t at = first ? i : i - 1;
    const char32_t code = Code(text[at], text[at + 1]);
    const auto hit =
        std::lower_bound(changed_.begin(), changed_.end(), std::pair(code, char32_t{0}));
    if (hit == changed_.end() || hit->first != code) return text[i];
    return Pair(hit->second)[first ? 0 : 1];
  }

  String table_;
  String sources_;                                      // the units, grouped by their lower case
  std::vector<uint32_t> first_source_;                  // where each lower case's group starts
  std::vector<std::pair<char32_t, char32_t>> changed_;  // ascending
};

// Index of the first occurrence of low (lower-cased already) in text lower-cased, at or
// after from; npos when none or low is empty.
size_t FindLowered(StringView text, StringView low, size_t from) {
  if (low.empty() || from > text.size() || text.size() - from < low.size()) return npos;
  const LowerCase& lower = LowerCase::Platform();
  const size_t candidates = text.size() - low.size() + 1;
  const auto matches = [&](size_t i) {
    size_t k = 0;
    while (k < low.size() && lower.At(text, i + k) == low[k]) ++k;
    return k == low.size();
  };
  // A unit outside the surrogates can only come from one, which lower-cases alone: the
  // candidates begin with a unit that lower-cases to low's first and end with one that
  // lower-cases to its last.
  const bool plain = !LowerCase::Surrogate(low.front());
  const std::u16string_view firsts = lower.Sources(low.front()), lasts = lower.Sources(low.back());
  size_t i = from;
#if defined(__SSE2__)
  if (plain && !LowerCase::Surrogate(low.back()) && !firsts.empty() && !lasts.empty()) {
    const size_t widest = std::max(firsts.size(), lasts.size());
    size_t hit = npos;
    if (widest <= 2) hit = FirstCandidate(text, i, candidates, low.size(), Ends<2>(firsts, lasts), matches);
    else if (widest <= 4) hit = FirstCandidate(text, i, candidates, low.size(), Ends<4>(firsts, lasts), matches);
    if (hit != npos) return hit;
  }
#endif
  for (; i < candidates; ++i) {
    if (plain) {
      i += FindAny(text.data() + i, candidates - i, firsts);
      if (i == candidates) break;
    }
    if (matches(i)) return i;
  }
  return npos;
}

// The word family: the first occurrence at or after from of Word lower-cased in Text
// lower-cased counts when its neighbours in Text are not word characters (the right one
// only when test_right); a match at the start of the text searched needs no left test.
// With go_on, a rejected occurrence lets the search go on in the text behind its first
// character, as long as that text still holds the lower-cased Word in exactly that case;
// that occurrence is looked up once and kept until the search passes it.
int FindWord(const String& Word, const String& Text, size_t from, const WordChars& chars,
             bool test_right, bool go_on) {
  const String low = LowerCase::Platform().Of(Word);
  const StringView text(Text);
  size_t start = 0;  // the text searched begins here and is lower-cased on its own
  size_t exact = 0;  // next occurrence of low as written, once start has passed 0
  size_t p = FindLowered(text, low, from);
  while (p != npos) {
    const size_t end = p + low.size();
    const bool left_ok = p == start || !chars.Has(text[p - 1]);
    const bool right_ok = !test_right || end >= text.size() || !chars.Has(text[end]);
    if (left_ok && right_ok) return Found(p);
    if (!go_on) return 0;
    start = p + 1;
    if (exact < start && (exact = Find(text, low, start)) == npos) return 0;
    const size_t next = FindLowered(text.substr(start), low, 0);
    p = next == npos ? npos : start + next;
  }
  return 0;
}

// The rightmost Sub within the first limit characters of S.
int RightmostWithin(const String& S, const String& Sub, int limit) {
  if (limit <= 0) return 0;
  return Found(FindBack(StringView(S).substr(0, static_cast<size_t>(limit)), Sub));
}

}  // namespace

int WordPos(const String& Word, const String& Text) {
  return FindWord(Word, Text, 0, kLetters, true, true);
}

int WordPos2(const String& Word, const String& Text) {
  return FindWord(Word, Text, 0, kLettersHyphen, true, true);
}

int WordPosFrom(const String& Word, const String& Text, int From) {
  return FindWord(Word, Text, From > 1 ? static_cast<size_t>(From) - 1 : 0, kLetters, true, false);
}

int WordNumberPos(const String& Word, const String& Text) {
  return FindWord(Word, Text, 0, kLettersDigits, true, false);
}

int WordPos3(const String& Word, const String& Text) { return WordNumberPos(Word, Text); }

int CharsetPos(const String& Word, const String& Text) {
  return FindWord(Word, Text, 0, kGermanLetters, true, false);
}

int WordLeftPos(const String& Word, const String& Text) {
  return FindWord(Word, Text, 0, kGermanLetters, false, false);
}

bool WordsInText(char16_t Sep, const String& Words, const String& Text) {
  int count = 0, start = 1;
  const int fields = GetFieldsCount(Sep, Words);
  for (int nr = 1; nr <= fields; ++nr)
    if (WordPos(GetFieldStrAtStart(Sep, Words, nr, count, start), Text) != 0) return true;
  return false;
}

bool kvxPos(const String& Sub, const String& S, int& P) {
  P = Found(Find(S, Sub, 0));
  return P != 0;
}

int Instr(int Start, const String& S, const String& Sub) {
  return Found(Find(S, Sub, Start > 1 ? static_cast<size_t>(Start) - 1 : 0));
}

int InstrLeft(int Count, const String& S, const String& Sub) {
  return RightmostWithin(S, Sub, Count);
}

int RPosFrom(const String& Sub, const String& S, int From) { return RightmostWithin(S, Sub, From); }

int RPos(const String& Sub, const String& S) { return Found(FindBack(S, Sub)); }

int LastPos(const String& Sub, const String& S) {
  if (Sub.empty()) return 0;
  size_t j = Sub.size();
  for (size_t i = S.size(); i-- > 0;) {
    if (S[i] != Sub[j - 1]) {
      j = Sub.size();
    } else if (--j == 0) {
      return Found(i);
    }
  }
  return 0;
}

int OccurNr(const String& Sub, const String& S, int N) {
  if (N < 1) return -1;
  if (Sub.empty()) return static_cast<size_t>(N) <= S.size() ? N : -1;
  size_t hit = npos;
  for (size_t from = 0; N-- > 0; from = hit + 1)
    if ((hit = Find(S, Sub, from)) == npos) return -1;
  return Found(hit);
}

int ULPos(const String& Sub, const String& S) {
  return Found(FindLowered(S, LowerCase::Platform().Of(Sub), 0));
}

int FirstDifferent(char16_t Ch, const String& S) { return Found(S.find_first_not_of(Ch)); }

// Two phases over S and Pattern. The exact phase matches character by character. A star
// starts the star phase, which lets '?' take one character each and then skips S to the
// next occurrence of the literal character that follows. When the exact phase fails behind
// a star, S resumes one character after the place the star's run last ended (the '?'s taken
// in the star phase are taken again from there) and the star phase runs once more. A
// pattern that ends on a literal character first needs S to end on it.
bool kv_Like(const String& S, const String& Pattern) {
  const size_t n = S.size(), m = Pattern.size();
  if (m > 0 && Pattern[m - 1] != u'*' && Pattern[m - 1] != u'?' && (n == 0 || S[n - 1] != Pattern[m - 1]))
    return false;
  size_t s = 0, p = 0;
  size_t behind_star = npos, resume = npos;
  size_t singles = 0;  // '?'s taken in the star phase since the latest star
  bool star_phase = false;
  for (;;) {
    if (!star_phase) {
      while (p < m && s < n && Pattern[p] != u'*' && (Pattern[p] == u'?' || Pattern[p] == S[s])) ++s, ++p;
      if (p == m && s == n) return true;
      if (p < m && Pattern[p] == u'*') {
        behind_star = ++p;
        star_phase = true;
        singles = 0;
        continue;
      }
      if (p < m && s == n) return false;
      if (behind_star == npos || resume == npos) return false;
      s = resume;
      p = behind_star;
      star_phase = true;
      singles = 0;
    } else if (p == m) {
      return true;
    } else if (Pattern[p] == u'*') {
      behind_star = ++p;
      singles = 0;
    } else if (s == n) {
      return false;
    } else if (Pattern[p] == u'?') {
      ++s, ++p, ++singles;
    } else {
      const size_t hit = S.find(Pattern[p], s);
      if (hit == npos) return false;
      resume = hit - singles + 1;
      s = hit + 1;
      ++p;
      star_phase = false;
    }
  }
}

}  // namespace Kv_tools

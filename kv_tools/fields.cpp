#include "kv_tools/fields.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "kv_tools/globals.h"

namespace Kv_tools {

namespace {

using rtl::StringView;
constexpr size_t npos = StringView::npos;

// The longest string a writer builds: positions are 32-bit.
size_t MaxLength() { return std::min<size_t>(INT_MAX, String().max_size()); }

#ifdef __SSE2__
__m128i Load8(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
#endif

// How many code units of s equal c.
size_t CountUnits(StringView s, char16_t c) {
  const char16_t* p = s.data();
  size_t n = s.size();
  size_t total = 0;
#ifdef __SSE2__
  // Each 16-bit lane counts one hit per block of 8 units; add the lanes up before they wrap.
  const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
  const __m128i zero = _mm_setzero_si128();
  while (n >= 8) {
    size_t blocks = std::min<size_t>(n / 8, 0xFFFF);
    __m128i lanes = zero;
    for (size_t i = 0; i < blocks; ++i, p += 8) lanes = _mm_sub_epi16(lanes, _mm_cmpeq_epi16(Load8(p), needle));
    __m128i sums = _mm_add_epi32(_mm_unpacklo_epi16(lanes, zero), _mm_unpackhi_epi16(lanes, zero));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(1, 0, 3, 2)));
    sums = _mm_add_epi32(sums, _mm_shuffle_epi32(sums, _MM_SHUFFLE(2, 3, 0, 1)));
    total += static_cast<uint32_t>(_mm_cvtsi128_si32(sums));
    n -= blocks * 8;
  }
#endif
  return total + static_cast<size_t>(std::count(p, p + n, c));
}

#ifdef __SSE2__
// The number of bits in a mask with bits at even positions only (popcount without a library call).
size_t EvenBitCount(unsigned mask) {
  mask = (mask & 0x3333u) + ((mask >> 2) & 0x3333u);
  mask = (mask & 0x0F0Fu) + ((mask >> 4) & 0x0F0Fu);
  return (mask & 0xFFu) + (mask >> 8);
}
#endif

// Offset of the k-th code unit equal to c at or after from (k from 1 on), or npos when fewer
// follow. With SSE2 the hits are counted eight units at a time up to the block holding it.
size_t FindUnit(StringView s, char16_t c, size_t from, size_t k = 1) {
#ifdef __SSE2__
  const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
  for (; from + 8 <= s.size(); from += 8) {
    // One bit per hit: the low bit of each 16-bit lane.
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(Load8(s.data() + from), needle))) & 0x5555u;
    if (mask == 0) continue;
    const size_t hits = EvenBitCount(mask);
    if (hits < k) {
      k -= hits;
      continue;
    }
    for (; k > 1; --k) mask &= mask - 1;
    return from + std::countr_zero(mask) / 2;
  }
#endif
  for (; from < s.size(); ++from)
    if (s[from] == c && --k == 0) return from;
  return npos;
}

bool EndsWithSep(char16_t sep, StringView s) { return !s.empty() && s.back() == sep; }
// Not empty and not ending with the separator: the text after the last separator is a field.
bool IsOpen(char16_t sep, StringView s) { return !s.empty() && s.back() != sep; }

// One field of a field string: s[begin, end), the number-th field counted from where the
// scan began, followed by a separator when terminated.
struct Field {
  size_t begin;
  size_t end;
  bool terminated;
  int64_t number;
};

// The scan of the routines that look at the fields in turn: offers the fields of s to stop
// in order, one separator search each, and gives back the first field that stop accepts.
template <class Stop>
std::optional<Field> ScanFields(char16_t sep, StringView s, Stop stop) {
  int64_t number = 0;
  for (size_t begin = 0; begin < s.size();) {
    size_t end = FindUnit(s, sep, begin);
    Field f{begin, end == npos ? s.size() : end, end != npos, ++number};
    if (stop(f)) return f;
    if (!f.terminated) break;
    begin = end + 1;
  }
  return std::nullopt;
}

// Field nr of s, or nothing when nr is below 1 or above the field count: the field after
// the (nr-1)-th separator, when that separator is not the last unit.
std::optional<Field> LocateField(char16_t sep, StringView s, int64_t nr) {
  if (nr < 1) return std::nullopt;
  size_t begin = 0;
  if (nr > 1) {
    const size_t before = FindUnit(s, sep, 0, static_cast<size_t>(nr - 1));
    if (before == npos) return std::nullopt;
    begin = before + 1;
  }
  if (begin >= s.size()) return std::nullopt;
  const size_t end = FindUnit(s, sep, begin);
  return Field{begin, end == npos ? s.size() : end, end != npos, nr};
}

// Appends seps separators and value to s. A result too long to build leaves s as is.
void AppendWithSeparators(char16_t sep, String& s, const String& value, uint64_t seps) {
  if (s.size() + seps + value.size() > MaxLength()) return;
  s.append(static_cast<size_t>(seps), sep);
  s += value;
}

// The writers' rule for a number beyond the count fields of s: an empty s with Nr 1 becomes
// value; otherwise Nr - count - 1 separators, but at least one, then value.
// Example: 'a;b' with Nr 4 gives 'a;b;x', the empty string with Nr 3 gives ';;x'.
void AppendBeyondCount(char16_t sep, String& s, const String& value, int64_t nr, int64_t count) {
  if (nr == 1 && s.empty()) s = value;
  else AppendWithSeparators(sep, s, value, static_cast<uint64_t>(std::max<int64_t>(1, nr - count - 1)));
}

// Inserts value and a separator just after the k-th separator of s; nothing when s holds
// fewer separators.
void InsertAfterSeparator(char16_t sep, String& s, const String& value, int64_t k) {
  auto f = LocateField(sep, s, k);
  if (f && f->terminated) s.insert(f->end + 1, value + sep);
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool EqualsAsciiNoCase(StringView a, StringView b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

// Number of the first field that matches, or 0.
template <class Match>
int FirstMatchingField(char16_t sep, StringView s, Match match) {
  auto found = ScanFields(sep, s, [&](const Field& f) { return match(s.substr(f.begin, f.end - f.begin)); });
  return found ? static_cast<int>(found->number) : 0;
}

// A named-value entry: s[begin, end), from Name + Assigner to the next terminator or the end.
struct Entry {
  size_t begin;
  size_t end;
};

std::optional<Entry> FindEntry(StringView s, const String& name, char16_t terminator, char16_t assigner) {
  size_t begin = s.find(name + assigner);
  if (begin == npos) return std::nullopt;
  size_t end = s.find(terminator, begin);
  return Entry{begin, end == npos ? s.size() : end};
}

// Offset of the value within the entry: after its first assigner (0 when it has none).
size_t ValueOffset(StringView s, Entry e, char16_t assigner) {
  size_t a = s.substr(e.begin, e.end - e.begin).find(assigner);
  return a == npos ? 0 : a + 1;
}

void ReplaceValue(String& s, Entry e, const String& value, char16_t assigner) {
  size_t keep = ValueOffset(s, e, assigner);
  s.replace(e.begin + keep, e.end - e.begin - keep, value);
}

}  // namespace

String GetFieldStr(char16_t Sep, const String& S, int Nr) {
  auto f = LocateField(Sep, S, Nr);
  return f ? S.substr(f->begin, f->end - f->begin) : String();
}

int GetFieldsCount(char16_t Sep, const String& S) {
  return static_cast<int>(CountUnits(S, Sep)) + (IsOpen(Sep, S) ? 1 : 0);
}

String GetFieldStrAtStart(char16_t Sep, const String& S, int Nr, int& Count, int& Start) {
  if (Start < 1) Start = 1;
  size_t begin = std::min(static_cast<size_t>(Start) - 1, S.size());
  int64_t wanted = int64_t{Nr} - Count;  // the field asked for, counted from Start
  // Nr already reached: the walk stops at once and gives the text before the start.
  if (wanted == 0 && begin < S.size() && S[begin] != Sep) return S.substr(0, begin == 0 ? 0 : begin - 1);
  const StringView rest = StringView(S).substr(begin);
  auto f = LocateField(Sep, rest, wanted);
  // The separators passed: those up to the field, or all of them when it is missing.
  const int64_t passed = f ? wanted - (f->terminated ? 0 : 1) : static_cast<int64_t>(CountUnits(rest, Sep));
  Count = static_cast<int>(Count + passed);
  if (f) {
    Start = static_cast<int>(f->terminated ? begin + f->end + 2 : S.size() + 1);
    return S.substr(begin + f->begin, f->end - f->begin);
  }
  // Resumed beyond the end of an open string: its final field was already read.
  if (begin == S.size() && wanted == 1 && IsOpen(Sep, S)) Start = static_cast<int>(S.size() + 1);
  return String();
}

String CopyFieldStr(char16_t Sep, const String& S, int Nr) {
  auto f = LocateField(Sep, S, Nr);
  if (!f) return String();
  return f->terminated ? S.substr(f->begin, S.size() - 1 - f->begin) : S.substr(f->begin);
}

int GetFieldPos(char16_t Sep, const String& S, const String& Text) {
  int nr = FirstMatchingField(Sep, S, [&](StringView field) { return field == Text; });
  return nr == 0 ? -1 : nr;
}

int GetIndexOf(char16_t Sep, const String& S, const String& Text) {
  // The empty text only meets the empty "field" before a leading separator.
  if (Text.empty()) return !S.empty() && S[0] == Sep ? 1 : 0;
  return FirstMatchingField(Sep, S, [&](StringView field) { return EqualsAsciiNoCase(field, Text); });
}

void SetFieldStr(char16_t Sep, String& S, const String& Value, int Nr) {
  int count = GetFieldsCount(Sep, S);
  if (count < Nr) {
    AppendBeyondCount(Sep, S, Value, Nr, count);
    return;
  }
  auto f = LocateField(Sep, S, Nr);
  if (EndsWithSep(Sep, S)) S.pop_back();
  if (f) S.replace(f->begin, f->end - f->begin, Value);
}

void SetFieldStr2(char16_t Sep, String& S, const String& Value, int Nr) {
  if (Nr < 1) return;
  int count = GetFieldsCount(Sep, S);
  if (count < Nr) AppendWithSeparators(Sep, S, Value, static_cast<uint64_t>(int64_t{Nr} - count));
  else if (auto f = LocateField(Sep, S, Nr)) S.replace(f->begin, f->end - f->begin, Value);
}

void InsertFieldStr(char16_t Sep, String& S, const String& Value, int Nr) {
  if (S.find(Sep) == npos) {
    S.insert(0, Value + Sep);
    return;
  }
  if (Nr < 1) return;
  int count = GetFieldsCount(Sep, S);
  if (count < Nr) AppendBeyondCount(Sep, S, Value, Nr, count);
  else InsertAfterSeparator(Sep, S, Value, Nr);
}

void InsertFieldStrBefore(char16_t Sep, String& S, const String& Value, int Nr) {
  if (S.find(Sep) == npos || Nr == 1) {
    S.insert(0, Value + Sep);
    return;
  }
  if (Nr < 1) return;
  int count = GetFieldsCount(Sep, S);
  if (count < Nr) AppendBeyondCount(Sep, S, Value, Nr, count);
  else InsertAfterSeparator(Sep, S, Value, int64_t{Nr} - 1);
}

void DeleteFieldStr(char16_t Sep, String& S, int Nr) {
  auto f = LocateField(Sep, S, Nr);
  if (!f) return;
  if (f->terminated) S.erase(f->begin, f->end - f->begin + 1);  // the field and its separator
  else S.resize(f->begin == 0 ? 0 : f->begin - 1);              // the separator before it too
}

void kv_AddFieldStr(char16_t Sep, String& S, const String& Value) {
  if (IsOpen(Sep, S)) S += Sep;
  S += Value;
  S += Sep;
}

void kv_AddFieldStr2(char16_t Sep, String& S, const String& Value) {
  if (IsOpen(Sep, S)) S += Sep;
  S += Value;
}

void kv_AddFieldStr_Ver2(char16_t Sep, String& S, const String& Value) {
  bool open = IsOpen(Sep, S);
  kv_AddFieldStr2(Sep, S, Value);
  if (open) S += Sep;
}

void AddFieldsToStrList(char16_t Sep, const String& S, StringList& Strings) {
  ScanFields(Sep, S, [&](const Field& f) {
    Strings.Add(S.substr(f.begin, f.end - f.begin));
    return false;
  });
}

bool CreateDBFields(StringList& List, const String& S, char16_t Sep) {
  List.Clear();
  AddFieldsToStrList(Sep, S, List);
  return List.Count() > 0;
}

String asStr(const std::vector<String>& Items, char16_t Sep) {
  if (Items.empty()) return String();
  String result = Items.front();
  for (size_t i = 1; i < Items.size(); ++i) {
    result += Sep;
    result += Items[i];
  }
  return result;
}

String GLT(const std::vector<String>& Items) {
  for (const String& item : Items) {
    if (StringView(item).substr(0, 2) == ToolsLanguage) return item.size() > 3 ? item.substr(3, 5000) : String();
  }
  return String();
}

void sns(const String& Name, const String& Value, String& S, char16_t Terminator, char16_t Assigner) {
  if (auto e = FindEntry(S, Name, Terminator, Assigner)) ReplaceValue(S, *e, Value, Assigner);
}

void snsadd(const String& Name, const String& Value, String& S, char16_t Terminator, char16_t Assigner) {
  if (!FindEntry(S, Name, Terminator, Assigner)) {
    if (!S.empty()) S += Terminator;
    S += Name + Assigner;
  }
  sns(Name, Value, S, Terminator, Assigner);
}

void SetToStr(const String& Name, const String& Value, String& S, char16_t Terminator, char16_t Assigner) {
  if (auto e = FindEntry(S, Name, Terminator, Assigner)) ReplaceValue(S, *e, Value, Assigner);
  else S += Terminator + Name + Assigner + Value;
}

String gns(const String& Name, const String& S, bool Whole, char16_t Terminator, char16_t Assigner) {
  auto e = FindEntry(S, Name, Terminator, Assigner);
  if (!e) return String();
  size_t from = e->begin + (Whole ? 0 : ValueOffset(S, *e, Assigner));
  return S.substr(from, e->end - from);
}

}  // namespace Kv_tools

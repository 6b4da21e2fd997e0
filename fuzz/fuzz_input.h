// What the fuzz targets share: texts drawn from the input, and the check that stops a run
// when the library and the plain transcription disagree.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "rtl/string.h"

namespace fuzz {

using rtl::String;

// Characters that make the routines' cases likely: letters of both cases, umlauts and
// accents, digits, separators, quotes, wildcards, line breaks, a character whose low byte is
// that of 'a', the halves of a surrogate pair, letters whose case mapping is unusual.
constexpr std::u16string_view kAlphabet =
    u"aAbBzZ-0 ;.\"äÄéÉß*?<>/\\=\r\n\u0161\xD83D\xDE00\u0130\u212AkK";

// A text of at most max_length characters: mostly from kAlphabet, now and then any code unit.
inline String Text(FuzzedDataProvider& in, size_t max_length) {
  String text;
  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, max_length);
       n > 0 && in.remaining_bytes() > 0; --n) {
    const uint8_t pick = in.ConsumeIntegral<uint8_t>();
    text += pick < 240 ? kAlphabet[pick % kAlphabet.size()] : in.ConsumeIntegral<char16_t>();
  }
  return text;
}

inline std::string Show(const String& s) { return "\"" + rtl::ToUtf8(s) + "\""; }
inline std::string Show(long long n) { return std::to_string(n); }
inline std::string Show(long double x) { return std::to_string(static_cast<double>(x)); }

// Stops the run when mine and theirs differ; libFuzzer keeps the input.
template <class T>
void Same(const char* what, const T& mine, const T& theirs) {
  if (mine == theirs) return;
  std::fprintf(stderr, "%s: library %s, transcription %s\n", what, Show(mine).c_str(),
               Show(theirs).c_str());
  std::abort();
}

inline void Same(const char* what, int mine, int theirs) { Same<long long>(what, mine, theirs); }
inline void Same(const char* what, bool mine, bool theirs) { Same<long long>(what, mine, theirs); }

inline void Holds(const char* what, bool condition) {
  if (condition) return;
  std::fprintf(stderr, "%s does not hold\n", what);
  std::abort();
}

}  // namespace fuzz

#include "kv_tools/password.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace Kv_tools {
namespace {

// The keys of a German keyboard, row by row, unshifted and then shifted. A character's
// position here (from 1) stands for its key.
constexpr std::u16string_view kKeyboard =
    u"^1234567890ß´qwertzuiopü+asdfghjklöä#<yxcvbnm,.-"
    u"°!\"§$%&/()=?`QWERTZUIOPÜ*ASDFGHJKLÖÄ'>YXCVBNM;:_";
static_assert(kKeyboard.size() == 96);

using Counts = std::array<int, 256>;

// Shannon entropy, in bits per symbol, of n symbols with these counts; 0 for none.
long double Entropy(const Counts& counts, size_t n) {
  long double h = 0;
  for (int count : counts) {
    if (count == 0) continue;
    const long double p = static_cast<long double>(count) / static_cast<long double>(n);
    h -= p * std::log2(p);
  }
  return h;
}

unsigned OwnCode(char16_t c) { return c; }

unsigned KeyCode(char16_t c) {
  const size_t key = kKeyboard.find(c);
  return key == std::u16string_view::npos ? c : static_cast<unsigned>(key + 1);
}

// Entropy of the steps between neighbours, each the left code minus the right modulo 256.
long double StepEntropy(const String& s, unsigned (*code)(char16_t)) {
  if (s.size() <= 1) return 0;
  Counts counts{};
  for (size_t i = 0; i + 1 < s.size(); ++i)
    ++counts[static_cast<uint8_t>(code(s[i]) - code(s[i + 1]))];
  return Entropy(counts, s.size() - 1);
}

}  // namespace

long double PasswQuality(const String& Password) {
  Counts counts{};
  for (char16_t c : Password) ++counts[static_cast<uint8_t>(c)];
  const long double chars = Entropy(counts, Password.size());
  if (chars == 0) return 0;
  const long double length = std::log(static_cast<long double>(Password.size())) / std::log(8.0L);
  const long double steps = (StepEntropy(Password, KeyCode) + StepEntropy(Password, OwnCode)) / 64;
  const long double rating = std::fabs(chars * length * steps);
  return rating > 1 ? 1 : rating;
}

}  // namespace Kv_tools

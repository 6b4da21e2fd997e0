#include "kv_tools/password.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Kv_tools {
namespace {

// Three characters with two different steps of one kind and none of the other, or with
// two different steps of both kinds.
const long double kThreeOneKind = std::log2(3.0L) * std::log(3.0L) / std::log(8.0L) / 64;
const long double kThreeBothKinds = 2 * kThreeOneKind;

TEST(Password, Ratings) {
  struct Row { const char* label; String password; long double want; } rows[] = {
      {"empty", u"", 0},
      {"one character", u"x", 0},
      {"one character repeated", u"aaaa", 0},
      {"two characters", u"zQ", 0},
      {"characters count modulo 256", u"a\u0161a\u0161", 0},
      {"distinct steps of both kinds", u"abd", kThreeBothKinds},
      {"a constant step leaves the keyboard steps", u"abc", kThreeOneKind},
      {"a walk along a key row leaves the character steps", u"qwe", kThreeOneKind},
      {"a walk along a shifted key row", u"QWE", kThreeOneKind},
      {"umlaut keys are keys", u"öä#", kThreeOneKind},
  };
  for (const Row& r : rows) EXPECT_NEAR(PasswQuality(r.password), r.want, 1e-15L) << r.label;
  EXPECT_NEAR(PasswQuality(u"abd"), 0.0262L, 0.0001L);
}

TEST(Password, StaysWithinZeroAndOne) {
  String text;
  unsigned seed = 1;
  for (int i = 0; i < 400; ++i) {
    seed = seed * 1103515245u + 12345u;
    text += static_cast<char16_t>(0x21 + (seed >> 16) % 0x5E);
  }
  EXPECT_EQ(PasswQuality(text), 1.0L);
  for (size_t n = 0; n <= text.size(); n += 7) {
    const long double rating = PasswQuality(text.substr(0, n));
    EXPECT_GE(rating, 0.0L) << n;
    EXPECT_LE(rating, 1.0L) << n;
  }
  const long double middle = PasswQuality(u"Tr0ub4dor&3");
  EXPECT_GT(middle, 0.0L);
  EXPECT_LT(middle, 1.0L);
}

}  // namespace
}  // namespace Kv_tools

// The platform seam without a platform: code page 1252 and the case mapping of its letters.
#include <algorithm>

#include "rtl/platform.h"

namespace rtl {
namespace {

// Code page 1252 bytes 0x80..0x9F; the five undefined bytes map to the C1 control of the
// same value, as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The letter pairs of code page 1252 outside Latin-1: Œœ Šš Žž Ÿÿ.
constexpr char16_t kUpperBeyond[] = {0x0152, 0x0160, 0x017D, 0x0178};
constexpr char16_t kLowerBeyond[] = {0x0153, 0x0161, 0x017E, 0x00FF};

// c mapped by the pair table from -> to, or c when it is not in from.
char16_t Paired(char16_t c, const char16_t (&from)[4], const char16_t (&to)[4]) {
  const char16_t* hit = std::find(std::begin(from), std::end(from), c);
  return hit == std::end(from) ? c : to[hit - from];
}

char16_t LowerCp1252(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  return Paired(c, kUpperBeyond, kLowerBeyond);
}

char16_t UpperCp1252(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  return Paired(c, kLowerBeyond, kUpperBeyond);
}

int Compare(StringView a, StringView b, char16_t (*fold)(char16_t)) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = fold(a[i]), y = fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

char16_t Same(char16_t c) { return c; }

}  // namespace

String AnsiLowerCase(StringView s) {
  String r(s);
  for (auto& c : r) c = LowerCp1252(c);
  return r;
}

String AnsiUpperCase(StringView s) {
  String r(s);
  for (auto& c : r) c = UpperCp1252(c);
  return r;
}

int AnsiCompareText(StringView a, StringView b) { return Compare(a, b, LowerCp1252); }

int AnsiCompareStr(StringView a, StringView b) { return Compare(a, b, Same); }

unsigned AnsiCodePage() { return 1252; }

String DecodeAnsi(std::string_view bytes) {
  String r(bytes.size(), u'\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    r[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
  }
  return r;
}

std::string EncodeAnsi(StringView s) {
  std::string r(s.size(), '?');
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      r[i] = static_cast<char>(c);
    } else {
      const char16_t* hit = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
      if (hit != std::end(kCp1252High)) r[i] = static_cast<char>(0x80 + (hit - kCp1252High));
    }
  }
  return r;
}

}  // namespace rtl

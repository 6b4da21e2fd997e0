// The runtime's text conversions against their descriptions: UTF-8 decoded by a plain decoder
// and written back, the Latin-1 case mapping and the comparisons built on it, code page 1252 in
// both directions, and the four encoding objects.
#include "fuzz/fuzz_input.h"
#include "rtl/encoding.h"
#include "rtl/platform.h"

namespace literal {

using rtl::String;

// Each sequence checked whole; anything else is one U+FFFD per byte.
String FromUtf8(const std::string& s) {
  String out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char b = s[i];
    const int n = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    char32_t c = n == 1 ? b : n == 2 ? b & 0x1F : n == 3 ? b & 0x0F : b & 0x07;
    bool ok = n > 0 && i + n <= s.size();
    for (int k = 1; ok && k < n; ++k) {
      ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
      c = c << 6 | (s[i + k] & 0x3F);
    }
    ok = ok && !(n == 3 && c < 0x800) && !(n == 4 && (c < 0x10000 || c > 0x10FFFF)) && !(c >= 0xD800 && c <= 0xDFFF);
    if (!ok) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    if (c >= 0x10000) out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    else out += static_cast<char16_t>(c);
    i += n;
  }
  return out;
}

// Lone surrogates become U+FFFD.
String Paired(const String& s) {
  String out = s;
  for (size_t i = 0; i < out.size(); ++i) {
    const bool high = out[i] >= 0xD800 && out[i] <= 0xDBFF, low = out[i] >= 0xDC00 && out[i] <= 0xDFFF;
    if (high && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] <= 0xDFFF) ++i;
    else if (high || low) out[i] = u'\uFFFD';
  }
  return out;
}

// Code page 1252's letters: Latin-1's, and the pairs Œ/œ, Š/š, Ž/ž and Ÿ/ÿ above it.
char16_t Lower(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c == 0x152 || c == 0x160 || c == 0x17D) return c + 1;
  return c == 0x178 ? 0xFF : c;
}
char16_t Upper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c == 0x153 || c == 0x161 || c == 0x17E) return c - 1;
  return c == 0xFF ? 0x178 : c;
}

int Sign(int v) { return (v > 0) - (v < 0); }

const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
char16_t Cp1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b; }

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fuzz::Same;
  using rtl::Encoding;
  using rtl::String;
  FuzzedDataProvider in(data, size);
  const String a = fuzz::Text(in, 30), b = in.ConsumeBool() ? rtl::AnsiUpperCase(a) : fuzz::Text(in, 30);
  const std::string bytes = in.ConsumeRandomLengthString(60);

  Same("FromUtf8", rtl::FromUtf8(bytes), literal::FromUtf8(bytes));
  Same("ToUtf8 read back", rtl::FromUtf8(rtl::ToUtf8(a)), literal::Paired(a));
  if (literal::FromUtf8(bytes).find(u'\uFFFD') == String::npos)
    fuzz::Holds("valid UTF-8 written back", rtl::ToUtf8(rtl::FromUtf8(bytes)) == bytes);

  String lower = a, upper = a;
  for (char16_t& c : lower) c = literal::Lower(c);
  for (char16_t& c : upper) c = literal::Upper(c);
  Same("AnsiLowerCase", rtl::AnsiLowerCase(a), lower);
  Same("AnsiUpperCase", rtl::AnsiUpperCase(a), upper);
  String lower_b = b;
  for (char16_t& c : lower_b) c = literal::Lower(c);
  Same("AnsiCompareText", literal::Sign(rtl::AnsiCompareText(a, b)), literal::Sign(lower.compare(lower_b)));
  Same("AnsiCompareStr", literal::Sign(rtl::AnsiCompareStr(a, b)), literal::Sign(a.compare(b)));
  Same("AnsiCodePage", static_cast<long long>(rtl::AnsiCodePage()), 1252LL);

  String decoded;
  for (char byte : bytes) decoded += literal::Cp1252(static_cast<unsigned char>(byte));
  Same("DecodeAnsi", rtl::DecodeAnsi(bytes), decoded);
  fuzz::Holds("EncodeAnsi of DecodeAnsi", rtl::EncodeAnsi(decoded) == bytes);
  const std::string encoded = rtl::EncodeAnsi(a);
  fuzz::Holds("EncodeAnsi: one byte a character", encoded.size() == a.size());
  const String back = rtl::DecodeAnsi(encoded);
  for (size_t i = 0; i < a.size(); ++i) fuzz::Holds("EncodeAnsi: the character or '?'", back[i] == a[i] || back[i] == u'?');

  // The encoding objects: their marks, and text through each and back.
  Same("ANSI", Encoding::ANSI()->GetString(bytes), decoded);
  fuzz::Holds("ANSI bytes", Encoding::ANSI()->GetBytes(a) == encoded && Encoding::ANSI()->Preamble().empty());
  Same("UTF8", Encoding::UTF8()->GetString(bytes), literal::FromUtf8(bytes));
  fuzz::Holds("UTF8 bytes", Encoding::UTF8()->GetBytes(a) == rtl::ToUtf8(a) && Encoding::UTF8()->Preamble() == "\xEF\xBB\xBF");
  for (const Encoding* e : {Encoding::Unicode(), Encoding::BigEndianUnicode()}) {
    const bool big = e == Encoding::BigEndianUnicode();
    String units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      const unsigned char x = bytes[i], y = bytes[i + 1];
      units += static_cast<char16_t>(big ? x << 8 | y : y << 8 | x);
    }
    Same("UTF-16 decoded", e->GetString(bytes), units);
    Same("UTF-16 read back", e->GetString(e->GetBytes(a)), a);
    fuzz::Holds("UTF-16 mark", e->Preamble() == (big ? "\xFE\xFF" : "\xFF\xFE"));
  }
  return 0;
}

// Integer texts against the runtime's rules written out: blanks, a sign, decimal digits or a
// hexadecimal number after "$", "0x" or "x", nothing behind; decimal values within 32 bits,
// hexadecimal ones up to 0xFFFFFFFF wrapping to negative values. And IntToStr read back.
#include <climits>
#include <optional>

#include "fuzz/fuzz_input.h"
#include "rtl/errors.h"
#include "rtl/int_text.h"

namespace literal {

using rtl::String;

std::optional<int> Value(const String& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  const bool negative = i < s.size() && s[i] == u'-';
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) ++i;
  int base = 10;
  if (s.compare(i, 1, u"$") == 0 || s.compare(i, 1, u"x") == 0 || s.compare(i, 1, u"X") == 0) base = 16, i += 1;
  else if (s.compare(i, 2, u"0x") == 0 || s.compare(i, 2, u"0X") == 0) base = 16, i += 2;
  if (i == s.size()) return std::nullopt;
  unsigned __int128 v = 0;
  for (; i < s.size(); ++i) {
    const char16_t c = s[i];
    int d = c >= u'0' && c <= u'9' ? c - u'0' : -1;
    if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
    if (d < 0) return std::nullopt;
    v = v * base + d;
    if (v > (unsigned __int128)1 << 40) return std::nullopt;
  }
  if (base == 16) {
    if (v > 0xFFFFFFFFu) return std::nullopt;
    const uint32_t u = negative ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    return static_cast<int32_t>(u);
  }
  const long long n = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
  if (n < INT_MIN || n > INT_MAX) return std::nullopt;
  return static_cast<int>(n);
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  rtl::String text;
  for (int n = in.ConsumeIntegralInRange(0, 14); n > 0; --n) {
    static const char16_t* const kPieces[] = {u" ", u"-", u"+", u"$", u"0x", u"X", u"0", u"7", u"9", u"f",
                                              u"F", u"g", u"2147483648", u"4294967295", u"FFFFFFFF", u"\t"};
    text += in.ConsumeIntegralInRange(0, 9) ? rtl::String(kPieces[in.ConsumeIntegralInRange(0, 15)]) : fuzz::Text(in, 2);
  }
  const std::optional<int> want = literal::Value(text);
  int value = 12345;
  const bool ok = rtl::TryStrToInt(text, value);
  Same("TryStrToInt", ok, want.has_value());
  Same("TryStrToInt value", value, want ? *want : 12345);
  const int def = in.ConsumeIntegral<int>();
  Same("StrToIntDef", rtl::StrToIntDef(text, def), want ? *want : def);
  bool raised = false;
  try {
    Same("StrToInt", rtl::StrToInt(text), *want);
  } catch (const rtl::EConvertError& e) {
    raised = true;
    Same("StrToInt message", e.Message(), u"'" + text + u"' is not a valid integer value");
  }
  Same("StrToInt raises", raised, !want);

  const long long n = in.ConsumeIntegral<long long>();
  Same("IntToStr", rtl::IntToStr(n), rtl::FromUtf8(std::to_string(n)));
  const int small = static_cast<int>(n);
  Same("IntToStr read back", rtl::StrToInt(rtl::IntToStr(small)), small);
  return 0;
}

#include "rtl/int_text.h"

#include <cstdint>

namespace rtl {

bool TryStrToInt(StringView s, int& value) {
  size_t i = 0, n = s.size();
  while (i < n && s[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  bool hex = false;
  if (i < n && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;  // no digits
  uint64_t v = 0;
  for (; i < n; ++i) {
    char16_t c = s[i];
    unsigned d;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (hex && c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (hex && c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + d;
    if (v > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return false;
  }
  if (hex) {
    uint32_t u = static_cast<uint32_t>(v);
    if (negative) u = 0u - u;
    value = static_cast<int32_t>(u);
    return true;
  }
  if (!negative && v > 0x7FFFFFFFull) return false;
  value = negative ? static_cast<int>(-static_cast<int64_t>(v)) : static_cast<int>(v);
  return true;
}

int StrToInt(StringView s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError(u"'" + String(s) + u"' is not a valid integer value");
  return v;
}

int StrToIntDef(StringView s, int def) {
  int v;
  return TryStrToInt(s, v) ? v : def;
}

}  // namespace rtl

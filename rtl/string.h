// The library's string type and its conversions.
// String holds UTF-16 code units on every platform; one "character" is one code unit.
#pragma once

#include <string>
#include <string_view>

#include "rtl/export.h"

namespace rtl {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-16 to UTF-8, for printing. A lone surrogate becomes U+FFFD.
// Example: ToUtf8(u"Größe") == "Größe".
KV_API std::string ToUtf8(StringView s);

// UTF-8 to UTF-16. An invalid byte becomes U+FFFD.
// Example: FromUtf8("Größe") == u"Größe".
KV_API String FromUtf8(std::string_view s);

// Decimal text of a 64-bit integer. Example: IntToStr(-42) == u"-42".
KV_API String IntToStr(long long n);

#ifdef _WIN32
// The string as a zero-terminated wchar_t text for Win32 calls (wchar_t is 16 bits there).
inline const wchar_t* W(const String& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
// A Win32 text of n characters (n < 0: zero-terminated) as a String.
inline String FromW(const wchar_t* p, long long n = -1) {
  if (!p) return String();
  auto q = reinterpret_cast<const char16_t*>(p);
  return n < 0 ? String(q) : String(q, static_cast<size_t>(n));
}
#endif

}  // namespace rtl

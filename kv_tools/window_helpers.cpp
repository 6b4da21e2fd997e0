#include "kv_tools/window_helpers.h"

#include <algorithm>
#include <cstdint>

#include "rtl/platform.h"

namespace Kv_tools {
namespace {

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool SameAsciiText(const String& a, const String& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

bool WindowTitleMatches(const String& Caption, const String& ClassName, const String& WantedClass,
                        const String& TitlePart) {
  if (Caption.empty() || TitlePart.empty()) return false;
  if (!WantedClass.empty() && !SameAsciiText(ClassName, WantedClass)) return false;
  return rtl::AnsiLowerCase(Caption).find(rtl::AnsiLowerCase(TitlePart)) != String::npos;
}

}  // namespace Kv_tools

namespace Kv_tools {

String FitTextToWidth(int MaxWidth, const String& Text, const std::function<int(const String&)>& TextWidth) {
  String s = Text;
  try {
    if (TextWidth(s) <= MaxWidth) return s;
    // MaxWidth - 2 in 64 bits: any width a caller passes, the smallest included.
    while (!s.empty() && TextWidth(s + u"...") > int64_t{MaxWidth} - 2) {
      const bool pair = s.size() >= 2 && s.back() >= 0xDC00 && s.back() <= 0xDFFF &&
                        s[s.size() - 2] >= 0xD800 && s[s.size() - 2] <= 0xDBFF;
      s.resize(s.size() - (pair ? 2 : 1));
    }
    return s + u"...";
  } catch (...) {
    return s;
  }
}

void kv_toggle(bool& Value) { Value = !Value; }

}  // namespace Kv_tools

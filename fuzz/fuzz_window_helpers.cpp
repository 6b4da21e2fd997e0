// The window helpers' decisions against their descriptions: the title search's match, and the
// text shortened for a width measured by a made-up font (which may fail), surrogate pairs kept
// whole.
#include <climits>

#include "fuzz/fuzz_input.h"
#include "kv_tools/window_helpers.h"
#include "rtl/platform.h"

namespace literal {

using rtl::String;

String AsciiLower(String s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c += 32;
  return s;
}

bool TitleMatches(const String& caption, const String& class_name, const String& wanted, const String& part) {
  return !caption.empty() && !part.empty() && (wanted.empty() || AsciiLower(class_name) == AsciiLower(wanted)) &&
         rtl::AnsiLowerCase(caption).find(rtl::AnsiLowerCase(part)) != String::npos;
}

bool High(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool Low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

String Fit(int max_width, const String& text, const std::function<int(const String&)>& width) {
  String s = text;
  try {
    if (width(s) <= max_width) return s;
    while (!s.empty() && int64_t{width(s + u"...")} > int64_t{max_width} - 2)
      s.resize(s.size() - (s.size() >= 2 && Low(s.back()) && High(s[s.size() - 2]) ? 2 : 1));
    return s + u"...";
  } catch (int) {
    return s;
  }
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  const String caption = fuzz::Text(in, 20), class_name = fuzz::Text(in, 6);
  const String wanted = in.ConsumeBool() ? literal::AsciiLower(class_name) : fuzz::Text(in, 3);
  const String part = in.ConsumeBool() ? caption.substr(in.ConsumeIntegralInRange<size_t>(0, caption.size()), 4)
                                       : fuzz::Text(in, 3);
  Same("WindowTitleMatches", WindowTitleMatches(caption, class_name, wanted, part),
       literal::TitleMatches(caption, class_name, wanted, part));

  // A font of a few widths per character (negative ones too), failing on a chosen character
  // or after a number of measurements.
  int widths[4];
  for (int& w : widths) w = in.ConsumeIntegralInRange(-3, 20);
  const char16_t failing = fuzz::Text(in, 1).append(1, u'\xFFFF')[0];
  const int fail_after = in.ConsumeIntegralInRange(0, 60);
  const int max_width = in.ConsumeBool() ? in.ConsumeIntegralInRange(-5, 200) : in.ConsumeIntegral<int>();
  const String text = fuzz::Text(in, 30);
  auto font = [&](int& calls) {
    return [&](const String& s) {
      if (++calls == fail_after || s.find(failing) != String::npos) throw 1;
      long long w = 0;
      for (char16_t c : s) w += widths[c % 4];
      return static_cast<int>(w);
    };
  };
  int my_calls = 0, their_calls = 0;
  Same("FitTextToWidth", FitTextToWidth(max_width, text, font(my_calls)), literal::Fit(max_width, text, font(their_calls)));
  Same("FitTextToWidth measurements", my_calls, their_calls);

  bool flag = in.ConsumeBool();
  const bool was = flag;
  kv_toggle(flag);
  Same("kv_toggle", flag, !was);
  return 0;
}

// The string utilities against their descriptions written out character by character.
#include "fuzz/fuzz_input.h"
#include "kv_tools/strings.h"
#include "tests/core/fields_reference.h"

namespace literal {

using fields_reference::Copy;
using fields_reference::Pos;
using rtl::String;

int Len(const String& s) { return static_cast<int>(s.size()); }

String ReplaceStr(const String& s, const String& old_text, const String& new_text) {
  return fields_reference::ReplaceAll(s, old_text, new_text);
}

String RemoveDblSpaces(const String& s) {
  String buffer(s.size(), u'\0');
  int taken = 0;
  bool last_space = false;
  for (char16_t c : s) {
    if (c == u' ' && last_space) continue;
    buffer[taken++] = c;
    last_space = c == u' ';
  }
  return Copy(buffer, 1, taken);
}

bool NoneOf(const String& s, const String& set) {
  for (char16_t c : s)
    if (set.find(c) != String::npos) return false;
  return true;
}

String LeadStr(const String& s, char16_t ch, int len) {
  String out = s;
  while (Len(out) < len) out = ch + out;
  return out;
}

String HexStrInvert(const String& s) {
  String out;
  for (int i = 0; i <= Len(s) / 2 - 1; ++i) out += Copy(s, Len(s) - 2 * i - 1, 2);
  return out;
}

String Invert(const String& s) {
  String out;
  for (int i = Len(s); i >= 1; --i) out += s[i - 1];
  return out;
}

String Number(int n) { return rtl::IntToStr(n); }

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  const String s = fuzz::Text(in, 60), old_text = fuzz::Text(in, 3), new_text = fuzz::Text(in, 3);
  const int len = in.ConsumeIntegralInRange(-2, 70), n = in.ConsumeIntegralInRange(0, 100000);
  const char16_t ch = fuzz::Text(in, 1).append(1, u'0')[0];

  Same("ReplaceStr", ReplaceStr(s, old_text, new_text, in.ConsumeBool()),
       literal::ReplaceStr(s, old_text, new_text));
  Same("RemoveDblSpaces", RemoveDblSpaces(s), literal::RemoveDblSpaces(s));
  Same("NoAlpha", NoAlpha(s),
       literal::NoneOf(s, u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZäöüÄÖÜß"));
  Same("DigitsInStr", DigitsInStr(s), !literal::NoneOf(s, u"0123456789"));
  Same("LeadStr", LeadStr(s, ch, len), literal::LeadStr(s, ch, len));
  Same("GetTwoNr", GetTwoNr(n), (n <= 9 ? u"0" : u"") + literal::Number(n));
  Same("GetThreeNr", GetThreeNr(n), (n < 10 ? u"00" : n < 100 ? u"0" : u"") + literal::Number(n));
  Same("kv_StrInvert", kv_StrInvert(s), literal::Invert(s));
  Same("kv_HexStrInvert", kv_HexStrInvert(s), literal::HexStrInvert(s));

  rtl::StringList lines;
  int first = -1;
  for (int i = 0; i < 4; ++i) {
    lines.Add(fuzz::Text(in, 12));
    if (first < 0 && literal::Pos(old_text, lines[i]) > 0) first = i;
  }
  Same("IsTxtInList", IsTxtInList(old_text, lines), first);
  // The date tests only have to survive any text.
  isDate(s);
  isTime(s);
  HasDate(s);
  return 0;
}

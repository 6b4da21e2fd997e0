#include "kv_tools/strings.h"

#include <algorithm>

#include "kv_tools/globals.h"
#include "rtl/format_settings.h"

namespace Kv_tools {

String ReplaceStr(const String& S, const String& OldText, const String& NewText, bool) {
  if (OldText.empty()) return S;
  String r;
  r.reserve(S.size());
  size_t from = 0;
  for (size_t hit; (hit = S.find(OldText, from)) != String::npos; from = hit + OldText.size()) {
    r.append(S, from, hit - from);
    r += NewText;
  }
  r.append(S, from, String::npos);
  return r;
}

String RemoveDblSpaces(const String& S) {
  String r;
  r.reserve(S.size());
  for (char16_t c : S)
    if (c != u' ' || r.empty() || r.back() != u' ') r += c;
  return r;
}

bool NoAlpha(const String& S) {
  static constexpr std::u16string_view kAlpha =
      u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZäöüÄÖÜß";
  return S.find_first_of(kAlpha.data(), 0, kAlpha.size()) == String::npos;
}

bool DigitsInStr(const String& S) { return S.find_first_of(u"0123456789") != String::npos; }

String LeadStr(const String& S, char16_t Ch, int Len) {
  // A width that no string can have (beyond max_size in a 32-bit process) leaves S as well.
  if (Len <= static_cast<int>(std::min<size_t>(S.size(), 0x7FFFFFFF)) || static_cast<size_t>(Len) > S.max_size())
    return S;
  return String(static_cast<size_t>(Len) - S.size(), Ch) + S;
}

String GetTwoNr(int N) { return String(N <= 9 ? 1 : 0, u'0') + rtl::IntToStr(N); }

String GetThreeNr(int N) { return String(N < 10 ? 2 : N < 100 ? 1 : 0, u'0') + rtl::IntToStr(N); }

String kv_StrInvert(const String& S) { return String(S.rbegin(), S.rend()); }

String kv_HexStrInvert(const String& S) {
  String r;
  r.reserve(S.size());
  for (size_t end = S.size(); end >= 2; end -= 2) r.append(S, end - 2, 2);
  return r;
}

bool isDate(const String& S) {
  double v;
  return rtl::TryStrToDate(S, v, rtl::ProcessFormatSettings());
}

bool isTime(const String& S) {
  double v;
  return rtl::TryStrToTime(S, v, rtl::ProcessFormatSettings());
}

bool HasDate(const String& S) {
  if (FMS.DateSeparator == 0 || S.find(FMS.DateSeparator) == String::npos) return false;
  double v;
  return rtl::TryStrToDate(rtl::StringView(S).substr(0, 10), v, FMS);
}

int IsTxtInList(const String& Text, const rtl::StringList& Lines) {
  if (Text.empty()) return -1;
  for (int i = 0; i < Lines.Count(); ++i)
    if (Lines[i].find(Text) != String::npos) return i;
  return -1;
}

}  // namespace Kv_tools

// Kv_tools string utilities: replacement, spaces, fixed-width numbers, reversal,
// character-class tests, date and time tests, substring lookup over a list.
// Stateless; none raises an error. One character is one UTF-16 code unit.
#pragma once

#include "rtl/string.h"
#include "rtl/string_list.h"

namespace Kv_tools {

using rtl::String;

// S with every occurrence of OldText replaced by NewText, left to right, no overlaps,
// case-sensitive; Flag has no effect. An empty OldText leaves S as it is.
// Example: ReplaceStr(u"aaa", u"aa", u"b", true) == u"ba".
KV_API String ReplaceStr(const String& S, const String& OldText, const String& NewText, bool Flag);

// Every run of two or more spaces (code 32) shortened to one; other blanks stay.
// Example: RemoveDblSpaces(u"  a   b  ") == u" a b ".
KV_API String RemoveDblSpaces(const String& S);

// True when S holds none of a-z, A-Z, äöüÄÖÜß; true for the empty string.
// Example: NoAlpha(u"123-45") is true, NoAlpha(u"é1") is true, NoAlpha(u"ä1") is false.
KV_API bool NoAlpha(const String& S);

// True when S holds at least one digit 0-9. Example: DigitsInStr(u"a1") is true.
KV_API bool DigitsInStr(const String& S);

// S padded on the left with Ch to Len characters; unchanged when already that long, or when
// Len is more than a string can hold.
// Example: LeadStr(u"7", u'0', 3) == u"007".
KV_API String LeadStr(const String& S, char16_t Ch, int Len);

// N in decimal with a leading "0" when N is 9 or less. Example: GetTwoNr(7) == u"07".
KV_API String GetTwoNr(int N);

// N in decimal padded to three digits. Example: GetThreeNr(42) == u"042".
KV_API String GetThreeNr(int N);

// S in reverse order. Example: kv_StrInvert(u"abc") == u"cba".
KV_API String kv_StrInvert(const String& S);

// The two-character groups of S, counted from its end, in reverse order; with an odd
// length the first character is dropped. Example: kv_HexStrInvert(u"0A1B2C") == u"2C1B0A".
KV_API String kv_HexStrInvert(const String& S);

// True when S converts to a date under the process's format settings.
KV_API bool isDate(const String& S);

// True when S converts to a time of day under the process's format settings.
KV_API bool isTime(const String& S);

// True when S holds FMS's date separator and its first 10 characters convert to a date
// under FMS. Example: HasDate(u"24.12.2023 18:00") is true with German settings.
KV_API bool HasDate(const String& S);

// Index (from 0) of the first line that contains Text, case-sensitive; -1 when none does
// or Text is empty. Example: IsTxtInList(u"b", {"abc", "b"}) == 0.
KV_API int IsTxtInList(const String& Text, const rtl::StringList& Lines);

}  // namespace Kv_tools

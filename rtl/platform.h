// The few answers the portable core needs from the platform.
// Windows build: the user's locale and the ANSI code page through Win32.
// Native build: code page 1252 and the case mapping of its letters (Latin-1 and Œ Š Ž Ÿ).
#pragma once

#include <string>

#include "rtl/string.h"

namespace rtl {

// S lower-cased under the user's locale. Example: AnsiLowerCase(u"ÄB") == u"äb".
KV_API String AnsiLowerCase(StringView s);
// S upper-cased under the user's locale. Example: AnsiUpperCase(u"äb") == u"ÄB".
KV_API String AnsiUpperCase(StringView s);
// Locale comparison ignoring case: < 0, 0 or > 0. Example: AnsiCompareText(u"a", u"A") == 0.
KV_API int AnsiCompareText(StringView a, StringView b);
// Locale comparison with case: < 0, 0 or > 0.
KV_API int AnsiCompareStr(StringView a, StringView b);
// The process's ANSI code page (1252 in the native build).
KV_API unsigned AnsiCodePage();
// Bytes in the ANSI code page as a String. Example: DecodeAnsi("\xE4") == u"ä" on 1252.
KV_API String DecodeAnsi(std::string_view bytes);
// S in the ANSI code page; a character the code page lacks becomes its best-fit letter
// where the platform has one (Windows: Ω -> 'O'), otherwise '?'.
KV_API std::string EncodeAnsi(StringView s);

}  // namespace rtl

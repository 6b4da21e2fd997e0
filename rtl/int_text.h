// Integer text conversions with the runtime's rules (Delphi Val): leading blanks are
// skipped, an optional sign, decimal digits or a hexadecimal number after "$", "0x", "0X",
// "x" or "X"; nothing may follow the number; the value must fit 32 bits (hexadecimal
// texts up to 0xFFFFFFFF wrap to negative values).
#pragma once

#include "rtl/errors.h"
#include "rtl/string.h"

namespace rtl {

// True and value set when s is an integer text; false and value untouched otherwise.
// Example: TryStrToInt(u" 0x1F", v) gives v == 31; TryStrToInt(u"12 ", v) is false.
KV_API bool TryStrToInt(StringView s, int& value);
// The value of s; EConvertError "'s' is not a valid integer value" otherwise.
KV_API int StrToInt(StringView s);
// The value of s, or def when s is not an integer text.
KV_API int StrToIntDef(StringView s, int def);

}  // namespace rtl

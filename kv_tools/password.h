// Kv_tools password rating. Stateless; safe to call from any thread.
#pragma once

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// How strong Password is, from 0 (worthless) to 1 (strong): the Shannon entropy of its
// characters, times the logarithm of its length to base 8, times the summed entropies of
// the steps between neighbouring characters and between neighbouring keys of a German
// keyboard, divided by 64. Each character counts by its code modulo 256. Empty, one
// character, two characters or one character repeated: 0.
// Example: PasswQuality(u"aaaa") == 0, PasswQuality(u"abd") is about 0.0262.
KV_API long double PasswQuality(const String& Password);

}  // namespace Kv_tools

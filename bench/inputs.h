// The benchmarks' inputs, made the same way on every run from fixed seeds.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "rtl/string.h"
#include "rtl/string_list.h"

namespace bench {

using rtl::String;

// The last field of every FieldString; no other field equals it.
inline constexpr char16_t kLastField[] = u"~end~";

// fields fields of 0 to 6 characters (letters, digits, umlauts) divided by ';', the last one
// kLastField. Example: FieldString(3) might be u"ab;;~end~".
String FieldString(int fields);

// German prose of about chars characters: words with umlauts and capitals, commas, full
// stops, quotation marks, dashes and euro signs, lines ended by CR LF.
String GermanText(size_t chars);

// count names of project files and wildcard patterns for them, half of them matching.
// Patterns use '*' and '?' only.
std::vector<std::pair<String, String>> LikePairs(int count);

// count passwords of 8 to 32 characters: letters, digits, symbols and umlauts.
std::vector<String> Passwords(int count);

// A project file of lines lines in the IDE's layout: property groups, one element per line,
// and item groups of unit references.
rtl::StringList ProjectFile(int lines);

}  // namespace bench

// Kv_tools project-file extraction: a few values read from an MSBuild project file that is
// loaded into a list, one source line per entry, relying on the IDE writing one element per
// line. Nothing is parsed as XML: matching is plain, case-sensitive substring search, and an
// empty Group, Tag or marker is never found. Stateless; safe to call from any thread.
//
// A property group ends at the first following line that holds "</PropertyGroup>", an item
// group at the first that holds "</ItemGroup>". Results that hold several values put a
// joiner behind every value, the last one included: ';' behind item values, the character
// with code 1 behind group lines.
#pragma once

#include "rtl/string.h"
#include "rtl/string_list.h"

namespace Kv_tools {

using rtl::String;
using rtl::StringList;

// The text between Tag and the next "</" on the first line that holds Tag and "</"
// anywhere; "" when no line does, or when no "</" follows Tag within 1255 characters.
// For "<DCC_ExeOutput>" a value holding "$(Platform)\$(Config)" gives way to the next
// qualifying line's value.
// Example: {"<Version>1</Version>", "<Version>2</Version>"} with "<Version>" gives "1".
KV_API String GetXMLValue(const StringList& Lines, const String& Tag);

// The first Tag line of the first group (the first line holding Group), with Tag and its
// closing tag removed and "&amp;" turned into "&"; "" when the group ends first.
// Example: {"<PropertyGroup>", "  <Name>A&amp;B</Name>"} with "<PropertyGroup", "<Name>"
// gives "  A&B".
KV_API String GetXMLProperty(const StringList& Lines, const String& Group, const String& Tag);

// The second '"'-separated field of every trimmed Tag line within any item group that
// Group opens, sorted and without duplicates (both under the platform's locale comparison
// ignoring case; the first spelling seen stays), each followed by ';'.
// Example: references to "b.pas", "A.pas", "b.pas" give "A.pas;b.pas;".
KV_API String GetXMLItems(const StringList& Lines, const String& Group, const String& Tag);

// The opening lines of the item groups (Group lines) that hold a Tag line, the opening
// line itself included, sorted and without duplicates as in GetXMLItems, each followed by
// the character with code 1.
// Example: {"<ItemGroup>", "<DCCReference Include=\"a.pas\"/>", "</ItemGroup>"} with
// "<ItemGroup", "<DCCReference" gives "<ItemGroup>\x01".
KV_API String GetXMLItemGroups(const StringList& Lines, const String& Group, const String& Tag);

// The opening line of every property group (Group line) once for each Tag line in it, in
// file order, each followed by the character with code 1.
// Example: a group "<PropertyGroup>" with two "<Name>" lines gives
// "<PropertyGroup>\x01<PropertyGroup>\x01".
KV_API String GetXMLPropertyGroups(const StringList& Lines, const String& Group,
                                   const String& Tag);

// The text between the first "-->" and the next "<!--" (searched from the second character
// behind "-->"); "" when either is missing.
// Example: GetInnerValue(u"<!--a-->VALUE<!--b-->") == u"VALUE".
KV_API String GetInnerValue(const String& S);

// The text between the first StartMarker and the next EndMarker within the 10000 characters
// behind it; "" when either is missing.
// Example: ContentBetween(u"key=[abc] rest", u"[", u"]") == u"abc".
KV_API String ContentBetween(const String& S, const String& StartMarker, const String& EndMarker);

}  // namespace Kv_tools

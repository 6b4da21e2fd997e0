#include "kv_tools/project_xml.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "kv_tools/fields.h"
#include "kv_tools/strings.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

using rtl::StringView;
constexpr size_t npos = StringView::npos;
constexpr StringView kPropertyGroupEnd = u"</PropertyGroup>";
constexpr StringView kItemGroupEnd = u"</ItemGroup>";

// Index of the first sub in s at or after from; an empty sub is never found.
size_t PosOf(StringView s, StringView sub, size_t from = 0) {
  return sub.empty() ? npos : s.find(sub, from);
}

bool Contains(StringView s, StringView sub) { return PosOf(s, sub) != npos; }

// S without leading and trailing blanks and control characters.
String Trim(StringView s) {
  size_t first = 0, last = s.size();
  while (first < last && s[first] <= u' ') ++first;
  while (last > first && s[last - 1] <= u' ') --last;
  return String(s.substr(first, last - first));
}

// The values in ascending order by the platform's locale comparison ignoring case, each once:
// of values equal under it the first one found stays, as in a sorted list that ignores
// duplicates, but sorted once instead of inserted into the middle value by value.
// Example: {"b", "A", "B"} gives {"A", "b"}.
StringList SortedUnique(std::vector<String> values) {
  std::stable_sort(values.begin(), values.end(),
                   [](const String& a, const String& b) { return rtl::AnsiCompareText(a, b) < 0; });
  StringList list;
  for (const String& value : values)
    if (list.Count() == 0 || rtl::AnsiCompareText(list[list.Count() - 1], value) != 0) list.Add(value);
  return list;
}

// Every entry followed by joiner: the list's text with its line breaks replaced.
String Joined(const StringList& list, char16_t joiner) {
  return ReplaceStr(list.Text(), u"\r\n", String(1, joiner), true);
}

}  // namespace

String GetXMLValue(const StringList& Lines, const String& Tag) {
  String result;
  for (int i = 0; i < Lines.Count(); ++i) {
    const String& line = Lines[i];
    const size_t at = PosOf(line, Tag);
    if (at == npos || !Contains(line, u"</")) continue;
    const StringView after = StringView(line).substr(at + Tag.size(), 1255);
    const size_t end = after.find(u"</");
    result = end == npos ? String() : String(after.substr(0, end));
    // A later output folder without the platform and configuration macros wins.
    if (Tag != u"<DCC_ExeOutput>" || !Contains(result, u"$(Platform)\\$(Config)")) break;
  }
  return result;
}

String GetXMLProperty(const StringList& Lines, const String& Group, const String& Tag) {
  int group = 0;
  while (group < Lines.Count() && !Contains(Lines[group], Group)) ++group;
  String closing = Tag;
  closing.insert(Tag.empty() ? 0 : 1, u"/");
  for (int i = group + 1; i < Lines.Count(); ++i) {
    const String& line = Lines[i];
    if (Contains(line, Tag))
      return ReplaceStr(ReplaceStr(ReplaceStr(line, Tag, u"", true), closing, u"", true),
                        u"&amp;", u"&", true);
    if (Contains(line, kPropertyGroupEnd)) break;
  }
  return String();
}

// A line belongs to an item group when a Group line stands before it and no line between
// them ends an item group; the line that ends it still belongs to it.
String GetXMLItems(const StringList& Lines, const String& Group, const String& Tag) {
  std::vector<String> items;
  bool in_group = false;
  for (int i = 0; i < Lines.Count(); ++i) {
    const String& line = Lines[i];
    if (in_group && Contains(line, Tag)) items.push_back(GetFieldStr(u'"', Trim(line), 2));
    if (Contains(line, kItemGroupEnd)) in_group = false;
    if (Contains(line, Group)) in_group = true;
  }
  return Joined(SortedUnique(std::move(items)), u';');
}

// A group counts from its own Group line to the first line at or after it that ends an
// item group; the groups still open when a Tag line comes are listed, in file order.
String GetXMLItemGroups(const StringList& Lines, const String& Group, const String& Tag) {
  std::vector<String> groups;
  std::vector<int> open;  // open groups that have not met a Tag line yet
  for (int i = 0; i < Lines.Count(); ++i) {
    const String& line = Lines[i];
    if (Contains(line, Group)) open.push_back(i);
    if (Contains(line, Tag)) {
      for (int group : open) groups.push_back(Lines[group]);
      open.clear();
    }
    if (Contains(line, kItemGroupEnd)) open.clear();
  }
  return Joined(SortedUnique(std::move(groups)), u'\x01');
}

// tags[i]: the Tag lines from line i up to the first line at or after i that ends a
// property group, that line included. A group on line g holds tags[g + 1] of them.
String GetXMLPropertyGroups(const StringList& Lines, const String& Group, const String& Tag) {
  const int n = Lines.Count();
  std::vector<int> tags(static_cast<size_t>(n) + 1, 0);
  for (int i = n - 1; i >= 0; --i)
    tags[i] = (Contains(Lines[i], Tag) ? 1 : 0) +
              (Contains(Lines[i], kPropertyGroupEnd) ? 0 : tags[i + 1]);
  StringList groups;
  for (int g = 0; g < n; ++g)
    if (Contains(Lines[g], Group))
      for (int k = 0; k < tags[g + 1]; ++k) groups.Add(Lines[g]);
  return Joined(groups, u'\x01');
}

String GetInnerValue(const String& S) {
  const size_t arrow = S.find(u"-->");
  if (arrow == npos) return String();
  const size_t end = S.find(u"<!--", arrow + 4);
  return end == npos ? String() : S.substr(arrow + 3, end - (arrow + 3));
}

String ContentBetween(const String& S, const String& StartMarker, const String& EndMarker) {
  const size_t start = PosOf(S, StartMarker);
  if (start == npos) return String();
  const StringView after = StringView(S).substr(start + StartMarker.size(), 10000);
  const size_t end = PosOf(after, EndMarker);
  return end == npos ? String() : String(after.substr(0, end));
}

}  // namespace Kv_tools

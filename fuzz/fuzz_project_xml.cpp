// The project-file extractors against their line-by-line algorithms written out as nested
// visits of every group.
#include <vector>

#include "fuzz/fuzz_input.h"
#include "kv_tools/project_xml.h"
#include "rtl/platform.h"
#include "tests/core/fields_reference.h"

namespace literal {

using fields_reference::Copy;
using fields_reference::Pos;
using fields_reference::ReplaceAll;
using rtl::String;
using Lines = std::vector<String>;

int Len(const String& s) { return static_cast<int>(s.size()); }


String Trim(const String& s) {
  int first = 1, last = Len(s);
  while (first <= last && s[first - 1] <= u' ') ++first;
  while (last >= first && s[last - 1] <= u' ') --last;
  return Copy(s, first, last - first + 1);
}

// A list kept sorted by the locale comparison ignoring case, dropping equal values.
void AddSorted(Lines& list, const String& value) {
  size_t i = 0;
  while (i < list.size() && rtl::AnsiCompareText(list[i], value) < 0) ++i;
  if (i == list.size() || rtl::AnsiCompareText(list[i], value) != 0)
    list.insert(list.begin() + i, value);
}

String Joined(const Lines& list, char16_t joiner) {
  String out;
  for (const String& value : list) out += value + joiner;
  return out;
}

String GetXMLValue(const Lines& lines, const String& tag) {
  String result;
  for (const String& line : lines) {
    if (Pos(tag, line) == 0 || Pos(u"</", line) == 0) continue;
    const String after = Copy(line, Pos(tag, line) + Len(tag), 1255);
    result = Pos(u"</", after) == 0 ? String() : Copy(after, 1, Pos(u"</", after) - 1);
    if (tag != u"<DCC_ExeOutput>") break;
    if (Pos(u"$(Platform)\\$(Config)", result) == 0) break;
  }
  return result;
}

String GetXMLProperty(const Lines& lines, const String& group, const String& tag) {
  int i = 0;
  while (i < static_cast<int>(lines.size()) && Pos(group, lines[i]) == 0) ++i;
  if (i + 1 >= static_cast<int>(lines.size())) return String();
  String closing = tag;
  fields_reference::Insert(u"/", closing, 2);
  for (int j = i + 1; j < static_cast<int>(lines.size()); ++j) {
    if (Pos(tag, lines[j]) > 0)
      return ReplaceAll(ReplaceAll(ReplaceAll(lines[j], tag, u""), closing, u""), u"&amp;", u"&");
    if (Pos(u"</PropertyGroup>", lines[j]) > 0) return String();
  }
  return String();
}

// The item values of the groups, or (groups) the group lines, whose visit then starts at
// their own line.
String Visit(const Lines& lines, const String& group, const String& tag, bool groups) {
  Lines found;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (Pos(group, lines[i]) == 0) continue;
    for (size_t j = groups ? i : i + 1; j < lines.size(); ++j) {
      if (Pos(tag, lines[j]) > 0)
        AddSorted(found,
                  groups ? lines[i] : fields_reference::GetFieldStr(u'"', Trim(lines[j]), 2));
      if (Pos(u"</ItemGroup>", lines[j]) > 0) break;
    }
  }
  return Joined(found, groups ? u'\x01' : u';');
}

String GetXMLPropertyGroups(const Lines& lines, const String& group, const String& tag) {
  Lines found;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (Pos(group, lines[i]) == 0) continue;
    for (size_t j = i + 1; j < lines.size(); ++j) {
      if (Pos(tag, lines[j]) > 0) found.push_back(lines[i]);
      if (Pos(u"</PropertyGroup>", lines[j]) > 0) break;
    }
  }
  return Joined(found, u'\x01');
}

String GetInnerValue(const String& s) {
  const int a = Pos(u"-->", s);
  if (a == 0) return String();
  const int b = Pos(u"<!--", s, a + 4);
  return b == 0 ? String() : Copy(s, a + 3, b - (a + 3));
}

String ContentBetween(const String& s, const String& start, const String& end) {
  const int a = Pos(start, s);
  if (a == 0) return String();
  const String after = Copy(s, a + Len(start), 10000);
  const int b = Pos(end, after);
  return b == 0 ? String() : Copy(after, 1, b - 1);
}

}  // namespace literal

namespace {

// Pieces of project lines, so that groups, tags and their ends meet often.
const char16_t* const kPieces[] = {u"<ItemGroup>",
                                   u"</ItemGroup>",
                                   u"<PropertyGroup>",
                                   u"</PropertyGroup>",
                                   u"<ItemGroup ",
                                   u"<PropertyGroup ",
                                   u"<DCCReference Include=\"",
                                   u"\"/>",
                                   u"\"",
                                   u"a.pas",
                                   u"A.PAS",
                                   u"b.pas",
                                   u"<DCC_ExeOutput>",
                                   u"</DCC_ExeOutput>",
                                   u"$(Platform)\\$(Config)",
                                   u"</",
                                   u"&amp;",
                                   u"-->",
                                   u"<!--",
                                   u"  ",
                                   u"\t",
                                   u"x",
                                   u"<Name>",
                                   u"</Name>",
                                   u"[",
                                   u"]"};

rtl::String Piece(FuzzedDataProvider& in) {
  const uint8_t pick = in.ConsumeIntegral<uint8_t>();
  return pick < 200 ? rtl::String(kPieces[pick % std::size(kPieces)]) : fuzz::Text(in, 3);
}

rtl::String Line(FuzzedDataProvider& in) {
  rtl::String line;
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) line += Piece(in);
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  literal::Lines lines;
  StringList list;
  for (int n = in.ConsumeIntegralInRange(0, 24); n > 0 && in.remaining_bytes() > 0; --n) {
    String line = Line(in);
    for (char16_t& c : line)
      if (c == u'\r' || c == u'\n') c = u' ';  // one line per entry
    lines.push_back(line);
    list.Add(line);
  }
  const String group = Piece(in), tag = Piece(in), other = Piece(in);
  const String text = Line(in) + Line(in) + Line(in);

  Same("GetXMLValue", GetXMLValue(list, tag), literal::GetXMLValue(lines, tag));
  Same("GetXMLValue output", GetXMLValue(list, u"<DCC_ExeOutput>"),
       literal::GetXMLValue(lines, u"<DCC_ExeOutput>"));
  Same("GetXMLProperty", GetXMLProperty(list, group, tag),
       literal::GetXMLProperty(lines, group, tag));
  Same("GetXMLItems", GetXMLItems(list, group, tag), literal::Visit(lines, group, tag, false));
  Same("GetXMLItemGroups", GetXMLItemGroups(list, group, tag),
       literal::Visit(lines, group, tag, true));
  Same("GetXMLPropertyGroups", GetXMLPropertyGroups(list, group, tag),
       literal::GetXMLPropertyGroups(lines, group, tag));
  Same("GetInnerValue", GetInnerValue(text), literal::GetInnerValue(text));
  Same("ContentBetween", ContentBetween(text, tag, other),
       literal::ContentBetween(text, tag, other));
  return 0;
}

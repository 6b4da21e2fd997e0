// The list of strings and the in-memory INI file that the package exports, under any text:
// the list's line split against a plain rewrite, delimited and comma texts read back, a sorted
// list kept in order through any sequence of edits, name=value writes read back, and the INI
// file's reads after its writes and its lines read back unchanged once in the file's form.
#include <string_view>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "rtl/ini_file.h"
#include "rtl/platform.h"
#include "rtl/string_list.h"

namespace literal {

using rtl::String;

// Lines split at CR LF, CR or LF; a final line break adds no empty line.
std::vector<String> Lines(const String& text) {
  std::vector<String> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace literal

namespace {

using rtl::String;
using rtl::StringList;

std::vector<String> Entries(const StringList& list) {
  std::vector<String> entries;
  for (int i = 0; i < list.Count(); ++i) entries.push_back(list[i]);
  return entries;
}

// A name for a section or key: no line break, no bracket or '=', no blank at either end, not
// empty; as a file would hold it.
String Name(FuzzedDataProvider& in) {
  String name;
  for (char16_t c : fuzz::Text(in, 6))
    if (c != u'\r' && c != u'\n' && c != u']' && c != u'[' && c != u'=' && c != u';' && c != u' ') name += c;
  return name.empty() ? String(u"k") : name;
}

// The list's own order: the locale's comparison, with or without case.
int Order(const StringList& list, const String& a, const String& b) {
  return list.CaseSensitive() ? rtl::AnsiCompareStr(a, b) : rtl::AnsiCompareText(a, b);
}

void SortedListStaysInOrder(FuzzedDataProvider& in) {
  StringList list;
  list.SetCaseSensitive(in.ConsumeBool());
  list.SetDuplicates(in.PickValueInArray({rtl::Duplicates::Accept, rtl::Duplicates::Ignore}));
  list.SetSorted(true);
  for (int n = in.ConsumeIntegralInRange(0, 24); n > 0 && in.remaining_bytes() > 0; --n) {
    const int count = list.Count();
    switch (in.ConsumeIntegralInRange(0, 2)) {
      case 0: list.Add(fuzz::Text(in, 5)); break;
      case 1: if (count > 0) list.Delete(in.ConsumeIntegralInRange(0, count - 1)); break;
      default: list.SetValue(Name(in), in.ConsumeBool() ? fuzz::Text(in, 3) : String()); break;
    }
  }
  for (int i = 1; i < list.Count(); ++i) {
    const int order = Order(list, list[i - 1], list[i]);
    fuzz::Holds("sorted list in order", order <= 0);
    if (list.DuplicatesMode() == rtl::Duplicates::Ignore) fuzz::Holds("no duplicates", order < 0);
  }
  for (int i = 0; i < list.Count(); ++i) {
    int at = -1;
    fuzz::Holds("Find finds every entry", list.Find(list[i], at) && Order(list, list[at], list[i]) == 0);
  }
}

void NameValueWrites(FuzzedDataProvider& in, StringList& list) {
  const String name = Name(in), value = fuzz::Text(in, 6);
  int before = 0;
  for (int i = 0; i < list.Count(); ++i) before += list.Names(i) == name;
  list.SetValue(name, value);
  int after = 0;
  for (int i = 0; i < list.Count(); ++i) after += list.Names(i) == name;
  if (value.empty()) {
    fuzz::Holds("an empty value deletes one entry", after == (before > 0 ? before - 1 : 0));
  } else {
    fuzz::Same("Values after SetValue", list.Values(name), value);
    fuzz::Holds("SetValue adds only when the name is new", after == (before > 0 ? before : 1));
  }
}

// Any list reads back from its delimited and comma texts, for delimiters and quote characters
// that differ and are no blanks unless the delimiter is strict; any text once read reads back
// from its written form.
void DelimitedTextsReadBack(FuzzedDataProvider& in) {
  StringList list, again, comma;
  list.StrictDelimiter = again.StrictDelimiter = in.ConsumeBool();
  const std::u16string_view delimiters = list.StrictDelimiter ? u",;|x \t" : u",;|x";
  list.Delimiter = again.Delimiter = delimiters[in.ConsumeIntegralInRange<size_t>(0, delimiters.size() - 1)];
  list.QuoteChar = again.QuoteChar = in.PickValueInArray({u'"', u'\''});
  for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n) list.Add(fuzz::Text(in, 6));
  again.SetDelimitedText(list.DelimitedText());
  fuzz::Holds("a list reads back from its DelimitedText", Entries(again) == Entries(list));
  comma.SetCommaText(list.CommaText());
  fuzz::Holds("a list reads back from its CommaText", Entries(comma) == Entries(list));
  StringList read, reread;
  read.Delimiter = reread.Delimiter = list.Delimiter;
  read.QuoteChar = reread.QuoteChar = list.QuoteChar;
  read.StrictDelimiter = reread.StrictDelimiter = list.StrictDelimiter;
  read.SetDelimitedText(fuzz::Text(in, 24));
  reread.SetDelimitedText(read.DelimitedText());
  fuzz::Holds("a text once read reads back from its DelimitedText", Entries(reread) == Entries(read));
}

void IniReadsItsWrites(FuzzedDataProvider& in) {
  rtl::MemIniFile ini(u"");
  StringList lines;
  lines.SetText(fuzz::Text(in, 120));
  ini.SetStrings(lines);
  for (int n = in.ConsumeIntegralInRange(0, 6); n > 0 && in.remaining_bytes() > 0; --n) {
    const String section = Name(in), key = Name(in);
    String value;
    for (char16_t c : fuzz::Text(in, 8))
      if (c != u'\r' && c != u'\n') value += c;
    ini.WriteString(section, key, value);
    fuzz::Same("ReadString after WriteString", ini.ReadString(section, key, u"-"), value);
    if (in.ConsumeBool()) ini.DeleteKey(section, key);
    if (in.ConsumeBool()) ini.EraseSection(Name(in));
  }
  // Saved and read again, the lines are the file's own form (blanks around '=' dropped);
  // from then on they read back unchanged.
  StringList once, twice, thrice;
  ini.GetStrings(once);
  rtl::MemIniFile again(u""), third(u"");
  again.SetStrings(once);
  again.GetStrings(twice);
  third.SetStrings(twice);
  third.GetStrings(thrice);
  fuzz::Holds("the file's lines read back unchanged", Entries(twice) == Entries(thrice));
  StringList sections;
  ini.ReadSections(sections);
  for (int i = 0; i < sections.Count(); ++i) {
    StringList keys, values;
    ini.ReadSection(sections[i], keys);
    ini.ReadSectionValues(sections[i], values);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);

  const String text = fuzz::Text(in, 64);
  StringList list;
  list.SetText(text);
  fuzz::Holds("SetText splits at CR LF, CR and LF", Entries(list) == literal::Lines(text));
  StringList again;
  again.SetText(list.Text());
  fuzz::Holds("Text reads back as the same entries", Entries(again) == Entries(list));

  NameValueWrites(in, list);
  DelimitedTextsReadBack(in);
  SortedListStaysInOrder(in);
  IniReadsItsWrites(in);
  return 0;
}

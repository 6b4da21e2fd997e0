#include "rtl/string_list.h"

#include <algorithm>
#include <numeric>

#include "rtl/platform.h"

namespace rtl {
namespace {

[[noreturn]] void ThrowIndexError(int i) {
  throw EStringListError(u"List index out of bounds (" + IntToStr(i) + u")");
}

[[noreturn]] void ThrowSortedError() {
  throw EStringListError(u"Operation not allowed on sorted list");
}

// Runs change inside one batch of updates, so that the list reports one change.
template <class F>
void InBatch(StringList& list, F&& change) {
  list.BeginUpdate();
  try {
    change();
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}

// How a delimited text divides and quotes its entries.
struct DelimitedForm {
  char16_t delimiter, quote;
  bool strict;
};

constexpr DelimitedForm kCommaForm{u',', u'"', false};

bool IsBlank(char16_t c) { return c <= u' '; }

bool NeedsQuotes(const String& entry, const DelimitedForm& form) {
  for (char16_t c : entry)
    if (c == form.delimiter || c == form.quote || (!form.strict && IsBlank(c))) return true;
  return false;
}

String Quoted(const String& entry, char16_t quote) {
  String text(1, quote);
  for (char16_t c : entry) {
    text += c;
    if (c == quote) text += quote;
  }
  return text + quote;
}

String JoinDelimited(const StringList& list, const DelimitedForm& form) {
  if (list.Count() == 1 && list[0].empty()) return String(2, form.quote);
  String text;
  for (int i = 0; i < list.Count(); ++i) {
    if (i > 0) text += form.delimiter;
    text += NeedsQuotes(list[i], form) ? Quoted(list[i], form.quote) : list[i];
  }
  return text;
}

std::vector<String> SplitDelimited(const String& text, const DelimitedForm& form) {
  std::vector<String> entries;
  const size_t n = text.size();
  size_t p = 0;
  auto skip_blanks = [&] {
    while (!form.strict && p < n && IsBlank(text[p])) ++p;
  };
  skip_blanks();
  while (p < n) {
    String entry;
    if (text[p] == form.quote) {
      for (++p; p < n; ++p) {
        if (text[p] == form.quote && (p + 1 == n || text[p + 1] != form.quote)) break;
        if (text[p] == form.quote) ++p;  // a doubled quote character stands for one
        entry += text[p];
      }
      if (p < n) ++p;  // the closing quote character
    } else {
      const size_t start = p;
      while (p < n && text[p] != form.delimiter && (form.strict || !IsBlank(text[p]))) ++p;
      entry = text.substr(start, p - start);
    }
    entries.push_back(std::move(entry));
    skip_blanks();
    if (p < n && text[p] == form.delimiter) {
      if (++p == n) entries.emplace_back();
      skip_blanks();
    }
  }
  return entries;
}

}  // namespace

void StringList::CheckIndex(int i, int limit) const {
  if (i < 0 || i >= limit) ThrowIndexError(i);
}

int StringList::CompareStrings(const String& a, const String& b) const {
  if (compare_) return compare_(a, b);
  return case_sensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

void StringList::Changed() {
  if (update_count_ > 0) {
    changed_in_update_ = true;
  } else if (OnChange) {
    OnChange(*this);
  }
}

void StringList::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0 && changed_in_update_) {
    changed_in_update_ = false;
    if (OnChange) OnChange(*this);
  }
}

const String& StringList::operator[](int i) const {
  CheckIndex(i, Count());
  return items_[i].text;
}

void StringList::Put(int i, const String& s) {
  if (sorted_) ThrowSortedError();
  CheckIndex(i, Count());
  items_[i].text = s;
  Changed();
}

void* StringList::Objects(int i) const {
  CheckIndex(i, Count());
  return items_[i].object;
}

void StringList::PutObject(int i, void* obj) {
  CheckIndex(i, Count());
  items_[i].object = obj;
  Changed();
}

int StringList::Add(const String& s) { return AddObject(s, nullptr); }

int StringList::AddObject(const String& s, void* obj) {
  int index = Count();
  if (sorted_ && Find(s, index)) {
    if (duplicates_ == Duplicates::Ignore) return index;
    if (duplicates_ == Duplicates::Error) throw EStringListError(u"String list does not allow duplicates");
  }
  items_.insert(items_.begin() + index, Item{s, obj});
  Changed();
  return index;
}

void StringList::AddStrings(const StringList& other) {
  const std::vector<Item> source = other.items_;  // other may be this list
  InBatch(*this, [&] {
    for (const Item& item : source) AddObject(item.text, item.object);
  });
}

void StringList::Insert(int i, const String& s) { InsertObject(i, s, nullptr); }

void StringList::InsertObject(int i, const String& s, void* obj) {
  if (sorted_) ThrowSortedError();
  CheckIndex(i, Count() + 1);
  items_.insert(items_.begin() + i, Item{s, obj});
  Changed();
}

void StringList::Delete(int i) {
  CheckIndex(i, Count());
  items_.erase(items_.begin() + i);
  Changed();
}

void StringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void StringList::Exchange(int i, int j) {
  CheckIndex(i, Count());
  CheckIndex(j, Count());
  std::swap(items_[i], items_[j]);
  Changed();
}

void StringList::Move(int from, int to) {
  if (from == to) return;
  CheckIndex(from, Count());
  CheckIndex(to, Count());
  if (sorted_) ThrowSortedError();
  auto first = items_.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
  Changed();
}

int StringList::IndexOf(const String& s) const {
  if (sorted_) {
    int index = 0;
    return Find(s, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(items_[i].text, s) == 0) return i;
  }
  return -1;
}

bool StringList::Find(const String& s, int& index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    int mid = (low + high) / 2;
    int c = CompareStrings(items_[mid].text, s);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) found = true;
    }
  }
  index = low;
  return found;
}

int StringList::IndexOfObject(const void* obj) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[i].object == obj) return i;
  }
  return -1;
}

String StringList::Names(int i) const {
  const String& s = (*this)[i];
  size_t sep = s.find(NameValueSeparator);
  return sep == String::npos ? String() : s.substr(0, sep);
}

String StringList::ValueFromIndex(int i) const {
  const String& s = (*this)[i];
  size_t sep = s.find(NameValueSeparator);
  return sep == String::npos ? String() : s.substr(sep + 1);
}

int StringList::IndexOfName(const String& name) const {
  for (int i = 0; i < Count(); ++i) {
    const String& s = items_[i].text;
    size_t sep = s.find(NameValueSeparator);
    if (sep != String::npos && CompareStrings(s.substr(0, sep), name) == 0) return i;
  }
  return -1;
}

String StringList::Values(const String& name) const {
  int i = IndexOfName(name);
  return i < 0 ? String() : ValueFromIndex(i);
}

// A sorted list takes the new entry at its sorted place: the entry is replaced by delete and
// add, as a sorted list refuses Put.
void StringList::SetValue(const String& name, const String& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  String entry = name + NameValueSeparator + value;
  if (i >= 0 && !sorted_) {
    Put(i, entry);
    return;
  }
  InBatch(*this, [&] {
    if (i >= 0) Delete(i);
    Add(entry);
  });
}

String StringList::Text() const {
  String text;
  for (const Item& item : items_) text += item.text + u"\r\n";
  return text;
}

void StringList::SetText(const String& text) {
  std::vector<String> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == String::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == u'\r') ++pos;
    if (pos < text.size() && text[pos] == u'\n') ++pos;
  }
  SetEntries(lines);
}

String StringList::DelimitedText() const { return JoinDelimited(*this, {Delimiter, QuoteChar, StrictDelimiter}); }

void StringList::SetDelimitedText(const String& text) {
  SetEntries(SplitDelimited(text, {Delimiter, QuoteChar, StrictDelimiter}));
}

String StringList::CommaText() const { return JoinDelimited(*this, kCommaForm); }

void StringList::SetCommaText(const String& text) { SetEntries(SplitDelimited(text, kCommaForm)); }

void StringList::SetEntries(const std::vector<String>& entries) {
  InBatch(*this, [&] {
    Clear();
    for (const String& entry : entries) Add(entry);
  });
}

void StringList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void StringList::SetCaseSensitive(bool on) {
  if (on == case_sensitive_) return;
  case_sensitive_ = on;
  if (sorted_) Resort();
}

void StringList::SetCompare(Compare cmp) {
  compare_ = std::move(cmp);
  if (sorted_) Resort();
}

// A sorted list is in order already; sorting it again changes nothing.
void StringList::Sort() {
  if (!sorted_) Resort();
}

void StringList::CustomSort(const std::function<int(const StringList&, int, int)>& cmp) {
  if (!sorted_) SortItems(cmp);
}

// Stable sort by a comparison of indexes; the comparison sees the list as it was before
// sorting, so it may read entries and objects by those indexes.
void StringList::SortItems(const std::function<int(const StringList&, int, int)>& cmp) {
  if (items_.size() < 2) return;
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return cmp(*this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(std::move(items_[i]));
  items_ = std::move(sorted);
  Changed();
}

void StringList::Resort() {
  SortItems([](const StringList& list, int a, int b) {
    return list.CompareStrings(list.items_[a].text, list.items_[b].text);
  });
}

}  // namespace rtl

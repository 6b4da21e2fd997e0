// StringList: the runtime's ordered list of strings.
// Optional sorting with a chosen comparison, duplicate handling (sorted lists only),
// an attached object per entry, name=value access, Text joined by CR LF, batch updates.
#pragma once

#include <functional>
#include <vector>

#include "rtl/errors.h"
#include "rtl/string.h"

namespace rtl {

enum class Duplicates { Ignore, Accept, Error };

class KV_API StringList {
 public:
  // Three-way comparison: < 0, 0, > 0. The default is the platform's locale
  // case-insensitive comparison (CaseSensitive false) or ordinal comparison (true).
  using Compare = std::function<int(const String&, const String&)>;
  using ChangeEvent = std::function<void(StringList&)>;

  StringList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  // Entry i (0-based); EStringListError when i is out of range.
  const String& operator[](int i) const;
  const String& Strings(int i) const { return (*this)[i]; }
  // Replaces entry i; EStringListError on a sorted list or a bad index.
  void Put(int i, const String& s);
  // The object attached to entry i (nullptr when none); EStringListError on a bad index.
  void* Objects(int i) const;
  void PutObject(int i, void* obj);

  // Adds s (at its sorted place when Sorted); returns its index. On a sorted list a
  // duplicate is ignored (returns the existing index), accepted, or rejected by
  // EStringListError, as Duplicates says.
  int Add(const String& s);
  int AddObject(const String& s, void* obj);
  void AddStrings(const StringList& other);
  // Inserts at index i; EStringListError on a sorted list or an index out of 0..Count.
  void Insert(int i, const String& s);
  void InsertObject(int i, const String& s, void* obj);
  // Removes entry i; EStringListError on a bad index.
  void Delete(int i);
  void Clear();
  // Swaps two entries with their objects; EStringListError on a bad index.
  void Exchange(int i, int j);
  // Moves entry from to index to (both 0..Count-1) with its object. EStringListError on a bad
  // index or a sorted list; the list is then unchanged. Example: {a,b,c} Move(0, 2) -> {b,c,a}.
  void Move(int from, int to);

  // Index of the first entry equal to s under the list's comparison, or -1.
  int IndexOf(const String& s) const;
  // Binary search on a sorted list: true and the index when found, else false and the
  // index where s would be inserted.
  bool Find(const String& s, int& index) const;
  int IndexOfObject(const void* obj) const;

  // name=value access. Names(i) is the text before the first NameValueSeparator (empty
  // when the entry has none); Values(name) the text after it of the first entry whose name
  // matches, or empty. SetValue appends name=value, replaces the value, or deletes the
  // entry when value is empty; on a sorted list the new entry goes to its sorted place.
  String Names(int i) const;
  String ValueFromIndex(int i) const;
  String Values(const String& name) const;
  void SetValue(const String& name, const String& value);
  int IndexOfName(const String& name) const;

  // Every entry followed by CR LF. SetText splits at CR LF, CR or LF; a final line break
  // adds no empty entry.
  String Text() const;
  void SetText(const String& text);
  // Entries joined by Delimiter; an entry holding Delimiter, QuoteChar or (unless
  // StrictDelimiter) a blank or control character is quoted with QuoteChar, inner quote
  // characters doubled; a list of one empty entry gives two quote characters.
  // Example: {"a", "b c", "d\"e"} -> u"a,\"b c\",\"d\"\"e\"", {""} -> u"\"\"".
  String DelimitedText() const;
  // Replaces the entries by those of text: entries end at Delimiter; a quoted entry runs to
  // its closing quote character (a doubled one stands for one; without a closing one, to the
  // end). Unless StrictDelimiter, blanks and control characters around entries are skipped
  // and end an unquoted entry (u"a b" gives {"a", "b"}). A final Delimiter adds an empty entry.
  // Any list reads back from its DelimitedText when Delimiter differs from QuoteChar and,
  // unless StrictDelimiter, neither is a blank or control character.
  void SetDelimitedText(const String& text);
  // DelimitedText and SetDelimitedText with Delimiter ',', QuoteChar '"', StrictDelimiter off.
  // Example: {"a", "b c"} -> u"a,\"b c\"".
  String CommaText() const;
  void SetCommaText(const String& text);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool on);
  Duplicates DuplicatesMode() const { return duplicates_; }
  void SetDuplicates(Duplicates d) { duplicates_ = d; }
  // A comparison of the caller's choice; re-sorts a sorted list. Empty restores the default.
  void SetCompare(Compare cmp);
  // Sorts an unsorted list by its comparison, equal entries keeping their order; a sorted
  // list is in order already and stays as it is.
  void Sort();
  // As Sort, ordered by cmp(list, i, j) over the entries' indexes before the sort.
  void CustomSort(const std::function<int(const StringList&, int, int)>& cmp);

  char16_t NameValueSeparator = u'=';
  char16_t Delimiter = u',';
  char16_t QuoteChar = u'"';
  bool StrictDelimiter = false;
  ChangeEvent OnChange;

  // Batch updates: OnChange fires once, at the EndUpdate that ends the outermost batch,
  // when anything changed inside it.
  void BeginUpdate() { ++update_count_; }
  void EndUpdate();
  int UpdateCount() const { return update_count_; }

 private:
  struct Item {
    String text;
    void* object = nullptr;
  };
  int CompareStrings(const String& a, const String& b) const;
  // Clear, then Add of every entry, as one change.
  void SetEntries(const std::vector<String>& entries);
  void Changed();
  void CheckIndex(int i, int limit) const;
  void SortItems(const std::function<int(const StringList&, int, int)>& cmp);
  void Resort();

  std::vector<Item> items_;
  bool sorted_ = false;
  bool case_sensitive_ = false;
  Duplicates duplicates_ = Duplicates::Ignore;
  Compare compare_;
  int update_count_ = 0;
  bool changed_in_update_ = false;
};

}  // namespace rtl

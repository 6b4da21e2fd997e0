#include "rtl/string_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace rtl {
namespace {

StringList ListOf(std::initializer_list<const char16_t*> entries) {
  StringList list;
  for (const char16_t* e : entries) list.Add(e);
  return list;
}

std::vector<String> Entries(const StringList& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

// Runs call and returns the message of the EStringListError it raises ("" when none).
template <class F>
std::string ListError(F call) {
  try {
    call();
  } catch (const EStringListError& e) {
    return e.what();
  }
  return "";
}

TEST(StringList, BadIndexesRaiseAndChangeNothing) {
  StringList list = ListOf({u"a", u"b"});
  EXPECT_EQ(ListError([&] { (void)list[2]; }), "List index out of bounds (2)");
  EXPECT_EQ(ListError([&] { list.Delete(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ListError([&] { list.Insert(3, u"x"); }), "List index out of bounds (3)");
  EXPECT_EQ(ListError([&] { list.Move(0, 2); }), "List index out of bounds (2)");
  EXPECT_EQ(Entries(list), (std::vector<String>{u"a", u"b"}));
  list.Insert(2, u"c");  // Count itself is a valid place to insert
  EXPECT_EQ(Entries(list), (std::vector<String>{u"a", u"b", u"c"}));
}

TEST(StringList, UnsortedListKeepsOrderAndObjects) {
  int one = 1;
  StringList list = ListOf({u"c", u"a", u"c"});  // duplicates count only on sorted lists
  list.SetDuplicates(Duplicates::Error);
  EXPECT_EQ(list.Add(u"a"), 3);
  list.InsertObject(0, u"first", &one);
  EXPECT_EQ(list.IndexOfObject(&one), 0);
  EXPECT_EQ(list.IndexOf(u"C"), 1);  // first match, ignoring case by default

  list.Move(0, 4);  // objects travel with their entries
  EXPECT_EQ(Entries(list), (std::vector<String>{u"c", u"a", u"c", u"a", u"first"}));
  EXPECT_EQ(list.Objects(4), &one);
  list.Move(3, 0);
  list.Exchange(1, 4);
  EXPECT_EQ(Entries(list), (std::vector<String>{u"a", u"first", u"a", u"c", u"c"}));
  EXPECT_EQ(list.Objects(1), &one);
  list.Delete(0);
  list.Put(0, u"x");
  EXPECT_EQ(Entries(list), (std::vector<String>{u"x", u"a", u"c", u"c"}));
}

TEST(StringList, SortedAddFollowsDuplicates) {
  struct Row { const char* label; Duplicates mode; std::vector<String> entries; int index_of_b; };
  const Row rows[] = {
      {"ignore", Duplicates::Ignore, {u"a", u"b", u"c"}, 1},
      {"accept", Duplicates::Accept, {u"a", u"B", u"b", u"c"}, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    StringList list;
    list.SetSorted(true);
    list.SetDuplicates(r.mode);
    EXPECT_EQ(list.Add(u"c"), 0);
    EXPECT_EQ(list.Add(u"a"), 0);
    EXPECT_EQ(list.Add(u"b"), 1);
    int obj = 0;
    EXPECT_EQ(list.AddObject(u"B", &obj), 1);  // equal ignoring case: the place of "b"
    EXPECT_EQ(Entries(list), r.entries);
    EXPECT_EQ(list.IndexOf(u"b"), r.index_of_b);
  }
  StringList list = ListOf({u"b"});
  list.SetSorted(true);
  list.SetDuplicates(Duplicates::Error);
  EXPECT_EQ(ListError([&] { list.Add(u"B"); }), "String list does not allow duplicates");
  EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, FindAndCaseSensitivity) {
  StringList list = ListOf({u"pear", u"Apple", u"fig"});
  list.SetSorted(true);
  EXPECT_EQ(Entries(list), (std::vector<String>{u"Apple", u"fig", u"pear"}));
  struct Row { const char16_t* s; bool found; int index; } rows[] = {
      {u"apple", true, 0}, {u"FIG", true, 1}, {u"pear", true, 2},
      {u"banana", false, 1}, {u"", false, 0}, {u"zebra", false, 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.s));
    int index = -1;
    EXPECT_EQ(list.Find(r.s, index), r.found);
    EXPECT_EQ(index, r.index);
    EXPECT_EQ(list.IndexOf(r.s), r.found ? r.index : -1);
  }
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf(u"apple"), -1);
  EXPECT_EQ(list.IndexOf(u"Apple"), 0);
  list.SetSorted(false);
  EXPECT_EQ(list.IndexOf(u"FIG"), -1);
  list.SetCaseSensitive(false);
  EXPECT_EQ(list.IndexOf(u"FIG"), 1);
}

TEST(StringList, SortedListRefusesPlacedChanges) {
  StringList list = ListOf({u"b", u"a"});
  list.SetSorted(true);
  const std::string refused = "Operation not allowed on sorted list";
  EXPECT_EQ(ListError([&] { list.Insert(0, u"z"); }), refused);
  EXPECT_EQ(ListError([&] { list.Put(0, u"z"); }), refused);
  EXPECT_EQ(ListError([&] { list.Move(0, 1); }), refused);
  EXPECT_EQ(Entries(list), (std::vector<String>{u"a", u"b"}));  // nothing lost by the refused move
}

TEST(StringList, CustomOrders) {
  StringList list = ListOf({u"ccc", u"a", u"bb"});
  list.SetCompare([](const String& x, const String& y) {
    return static_cast<int>(x.size()) - static_cast<int>(y.size());
  });
  list.SetSorted(true);
  EXPECT_EQ(Entries(list), (std::vector<String>{u"a", u"bb", u"ccc"}));
  EXPECT_EQ(list.Add(u"zz"), 1);  // same length as "bb": ignored as a duplicate
  EXPECT_EQ(list.Count(), 3);
  list.SetCompare(nullptr);  // back to the default comparison, re-sorted
  list.Add(u"B");
  EXPECT_EQ(Entries(list), (std::vector<String>{u"a", u"B", u"bb", u"ccc"}));

  int w1 = 3, w2 = 1, w3 = 2;
  StringList by_object;
  by_object.AddObject(u"x", &w1);
  by_object.AddObject(u"y", &w2);
  by_object.AddObject(u"z", &w3);
  by_object.CustomSort([](const StringList& l, int i, int j) {
    return *static_cast<int*>(l.Objects(i)) - *static_cast<int*>(l.Objects(j));
  });
  EXPECT_EQ(Entries(by_object), (std::vector<String>{u"y", u"z", u"x"}));

  by_object.AddStrings(by_object);  // adding a list to itself doubles it
  EXPECT_EQ(Entries(by_object), (std::vector<String>{u"y", u"z", u"x", u"y", u"z", u"x"}));
  EXPECT_EQ(by_object.Objects(3), &w2);
}

TEST(StringList, NamesAndValues) {
  StringList list = ListOf({u"Width=10", u"plain", u"Path=C:\\a=b", u"empty="});
  struct Row { int i; const char16_t *name, *value; } rows[] = {
      {0, u"Width", u"10"}, {1, u"", u""}, {2, u"Path", u"C:\\a=b"}, {3, u"empty", u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.i);
    EXPECT_EQ(list.Names(r.i), r.name);
    EXPECT_EQ(list.ValueFromIndex(r.i), r.value);
  }
  EXPECT_EQ(list.Values(u"width"), u"10");
  EXPECT_EQ(list.Values(u"plain"), u"");  // an entry without separator has no name
  EXPECT_EQ(list.IndexOfName(u"PATH"), 2);
  EXPECT_EQ(list.IndexOfName(u"missing"), -1);

  list.SetValue(u"width", u"20");    // replaced in place, under the caller's spelling
  list.SetValue(u"Height", u"5");    // appended
  list.SetValue(u"path", u"");       // deleted
  list.SetValue(u"nothing", u"");    // nothing to delete
  EXPECT_EQ(Entries(list), (std::vector<String>{u"width=20", u"plain", u"empty=", u"Height=5"}));

  StringList colon;
  colon.NameValueSeparator = u':';
  colon.SetValue(u"Host", u"a=b");
  EXPECT_EQ(colon[0], u"Host:a=b");
  EXPECT_EQ(colon.Values(u"host"), u"a=b");
}

TEST(StringList, SetValueOnSortedListKeepsOrder) {
  StringList list = ListOf({u"b=2", u"d=4"});
  list.SetSorted(true);
  int changes = 0;
  list.OnChange = [&](StringList&) { ++changes; };
  list.SetValue(u"b", u"9");
  list.SetValue(u"a", u"1");
  list.SetValue(u"e", u"5");
  EXPECT_EQ(Entries(list), (std::vector<String>{u"a=1", u"b=9", u"d=4", u"e=5"}));
  EXPECT_EQ(changes, 3);
}

TEST(StringList, TextSplitsAndJoinsLines) {
  struct Row { const char16_t* text; std::vector<String> entries; const char16_t* joined; } rows[] = {
      {u"", {}, u""},
      {u"a", {u"a"}, u"a\r\n"},
      {u"a\r\nb\r\n", {u"a", u"b"}, u"a\r\nb\r\n"},
      {u"a\nb\rc", {u"a", u"b", u"c"}, u"a\r\nb\r\nc\r\n"},
      {u"a\n\r\nb", {u"a", u"", u"b"}, u"a\r\n\r\nb\r\n"},
      {u"a\n\rb", {u"a", u"", u"b"}, u"a\r\n\r\nb\r\n"},  // LF CR is two breaks
      {u"\r\n", {u""}, u"\r\n"},
      {u"a\r\n\r\n", {u"a", u""}, u"a\r\n\r\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.text));
    StringList list = ListOf({u"old"});
    list.SetText(r.text);
    EXPECT_EQ(Entries(list), r.entries);
    EXPECT_EQ(list.Text(), r.joined);
  }
  StringList sorted;
  sorted.SetSorted(true);
  sorted.SetText(u"b\na\nb");
  EXPECT_EQ(Entries(sorted), (std::vector<String>{u"a", u"b"}));
}

// How a test's delimited text is formed: delimiter, quote character, strict or not.
struct Form {
  char16_t delimiter = u',', quote = u'"';
  bool strict = false;
  void On(StringList& list) const {
    list.Delimiter = delimiter;
    list.QuoteChar = quote;
    list.StrictDelimiter = strict;
  }
};
constexpr Form kStrictSemicolon{u';', u'\'', true};

TEST(StringList, DelimitedTextQuotesWhatWouldNotReadBack) {
  struct Row { std::vector<String> entries; Form form; const char16_t* text; } rows[] = {
      {{u"a", u"b"}, {}, u"a,b"},
      {{u"a b", u"c,d", u"e"}, {}, u"\"a b\",\"c,d\",e"},
      {{u"say \"hi\""}, {}, u"\"say \"\"hi\"\"\""},
      {{u"tab\t", u"\r\n"}, {}, u"\"tab\t\",\"\r\n\""},
      {{u""}, {}, u"\"\""},
      {{u"", u""}, {}, u","},
      {{}, {}, u""},
      {{u"a,b", u"c d"}, {u';'}, u"a,b;\"c d\""},
      {{u"a b", u"c;d", u"it's"}, kStrictSemicolon, u"a b;'c;d';'it''s'"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.text));
    StringList list;
    for (const String& e : r.entries) list.Add(e);
    r.form.On(list);
    EXPECT_EQ(list.DelimitedText(), r.text);
    if (r.form.delimiter == u',' && !r.form.strict) {
      EXPECT_EQ(list.CommaText(), r.text);
    }
  }
}

TEST(StringList, SetDelimitedTextSplitsTheRuntimesForm) {
  struct Row { const char16_t* text; Form form; std::vector<String> entries; } rows[] = {
      {u" a , b ,c", {}, {u"a", u"b", u"c"}},
      {u"a b", {}, {u"a", u"b"}},
      {u"\"a b\" ,\"c,d\"", {}, {u"a b", u"c,d"}},
      {u"\"say \"\"hi\"\"\"", {}, {u"say \"hi\""}},
      {u"\"\"", {}, {u""}},
      {u"a,", {}, {u"a", u""}},
      {u",a", {}, {u"", u"a"}},
      {u"a, ", {}, {u"a"}},
      {u"", {}, {}},
      {u"\"open, end", {}, {u"open, end"}},
      {u"\"a\"b", {}, {u"a", u"b"}},
      {u" a b ;'c;d';", kStrictSemicolon, {u" a b ", u"c;d", u""}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToUtf8(r.text));
    StringList list = ListOf({u"old"});
    r.form.On(list);
    list.SetDelimitedText(r.text);
    EXPECT_EQ(Entries(list), r.entries);
    if (r.form.delimiter == u',' && !r.form.strict) {
      StringList comma = ListOf({u"old"});
      comma.SetCommaText(r.text);
      EXPECT_EQ(Entries(comma), r.entries);
    }
  }
}

TEST(StringList, AnyListReadsBackFromItsDelimitedText) {
  const std::vector<String> awkward = {u"", u" lead", u"trail ", u"a b", u"c,d", u"\"q\"", u"x;y|z",
                                       u"'", u"\t\r\n", String(1, u'\0'), u"ä€", u""};
  const std::vector<std::vector<String>> lists = {awkward, {u""}, {u"", u""}, {u"\""}, {}};
  for (const Form& form : {Form{}, kStrictSemicolon, Form{u'|', u'"', true}, Form{u' ', u'"', true}}) {
    for (const std::vector<String>& entries : lists) {
      StringList list, again, comma;
      form.On(list);
      form.On(again);
      for (const String& e : entries) list.Add(e);
      SCOPED_TRACE(ToUtf8(list.DelimitedText()));
      again.SetDelimitedText(list.DelimitedText());
      EXPECT_EQ(Entries(again), entries);
      comma.SetCommaText(list.CommaText());
      EXPECT_EQ(Entries(comma), entries);
    }
  }
}

TEST(StringList, ChangeNotificationsAndBatches) {
  StringList list;
  int changes = 0;
  list.OnChange = [&](StringList& l) {
    EXPECT_EQ(&l, &list);
    ++changes;
  };
  list.Add(u"a");
  list.Add(u"b");
  EXPECT_EQ(changes, 2);

  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(u"c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);  // still inside the outer batch
  list.EndUpdate();
  EXPECT_EQ(changes, 3);

  list.BeginUpdate();  // a batch without a change reports nothing
  list.EndUpdate();
  list.EndUpdate();  // an unmatched EndUpdate does nothing
  EXPECT_EQ(list.UpdateCount(), 0);
  EXPECT_EQ(changes, 3);

  list.SetText(u"x\ny\nz");  // one change for the whole text
  EXPECT_EQ(changes, 4);
  list.SetSorted(true);
  list.SetDuplicates(Duplicates::Ignore);
  list.Add(u"x");  // ignored duplicate: no change
  StringList empty;
  empty.OnChange = list.OnChange;
  empty.Clear();
  EXPECT_EQ(changes, 5);  // the sort of SetSorted only
}

}  // namespace
}  // namespace rtl

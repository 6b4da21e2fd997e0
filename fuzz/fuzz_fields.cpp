// The field routines against the field walks written out position by position
// (tests/core/fields_reference.h), and the named values against their description. Numbers
// below 1 are no field: there the writers leave the string alone where the walks do odd things.
#include <vector>

#include "fuzz/fuzz_input.h"
#include "kv_tools/fields.h"
#include "kv_tools/globals.h"
#include "tests/core/fields_reference.h"

namespace literal {

using namespace fields_reference;

// The entry of name: from its name to the character before the next terminator.
String Extent(const String& name, const String& s, char16_t terminator, char16_t assigner,
              int& at) {
  at = Pos(name + assigner, s);
  if (at == 0) return String();
  const int end = Pos(String(1, terminator), s, at);
  return Copy(s, at, end == 0 ? Len(s) - at + 1 : end - at);
}

void sns(const String& name, const String& value, String& s, char16_t terminator,
         char16_t assigner) {
  int at;
  const String entry = Extent(name, s, terminator, assigner, at);
  if (at == 0) return;
  Delete(s, at, Len(entry));
  Insert(Copy(entry, 1, Pos(String(1, assigner), entry)) + value, s, at);
}

void snsadd(const String& name, const String& value, String& s, char16_t terminator,
            char16_t assigner) {
  if (Pos(name + assigner, s) == 0)
    s = s.empty() ? name + assigner : s + terminator + name + assigner;
  sns(name, value, s, terminator, assigner);
}

void SetToStr(const String& name, const String& value, String& s, char16_t terminator,
              char16_t assigner) {
  if (Pos(name + assigner, s) > 0)
    sns(name, value, s, terminator, assigner);
  else
    s += terminator + name + assigner + value;
}

String gns(const String& name, const String& s, bool whole, char16_t terminator,
           char16_t assigner) {
  int at;
  const String entry = Extent(name, s, terminator, assigner, at);
  if (at == 0 || whole) return entry;
  return Copy(entry, Pos(String(1, assigner), entry) + 1, Len(entry));
}

}  // namespace literal

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  namespace ref = fields_reference;
  FuzzedDataProvider in(data, size);
  const char16_t sep = u";\x01^\\ a"[in.ConsumeIntegralInRange(0, 5)];
  String s = fuzz::Text(in, 40);
  for (char16_t& c : s)
    if (in.ConsumeIntegralInRange(0, 3) == 0) c = sep;
  const String value = fuzz::Text(in, 3);
  const int count = ref::GetFieldsCount(sep, s);
  const int seps = static_cast<int>(std::count(s.begin(), s.end(), sep));
  const bool terminated = s.empty() || s.back() == sep;
  const int resume_count = in.ConsumeIntegralInRange(-1, 3);
  const int resume_start = in.ConsumeIntegralInRange(1, static_cast<int>(s.size()) + 3);

  Same("GetFieldsCount", GetFieldsCount(sep, s), count);
  int read_count = 0, read_start = 1;
  for (int nr = -1; nr <= count + 2; ++nr) {
    Same("GetFieldStr", GetFieldStr(sep, s, nr), ref::GetFieldStr(sep, s, nr));
    if (nr >= 1)
      Same("GetFieldStrAtStart in turn", GetFieldStrAtStart(sep, s, nr, read_count, read_start),
           ref::GetFieldStr(sep, s, nr));
    int mine_count = resume_count, mine_start = resume_start;
    int ref_count = resume_count, ref_start = resume_start;
    Same("GetFieldStrAtStart resumed", GetFieldStrAtStart(sep, s, nr, mine_count, mine_start),
         ref::GetFieldStrAtStart(sep, s, nr, ref_count, ref_start));
    fuzz::Holds("GetFieldStrAtStart state", mine_count == ref_count && mine_start == ref_start);
    auto run = [&](auto op) {
      String out = s;
      op(sep, out, value, nr);
      return out;
    };
    String deleted = s, walked = s;
    DeleteFieldStr(sep, deleted, nr);
    ref::DeleteFieldStr(sep, walked, nr);
    Same("DeleteFieldStr", deleted, walked);
    Same("SetFieldStr", run(SetFieldStr), run(ref::SetFieldStr));
    if (nr >= 1) {
      Same("CopyFieldStr", CopyFieldStr(sep, s, nr), ref::CopyFieldStr(sep, s, nr));
      Same("SetFieldStr2", run(SetFieldStr2), run(ref::SetFieldStr2));
    }
    if (nr >= 1 || seps == 0) {
      Same("InsertFieldStr", run(InsertFieldStr), run(ref::InsertFieldStr));
      Same("InsertFieldStrBefore", run(InsertFieldStrBefore), run(ref::InsertFieldStrBefore));
    }
  }
  const String text =
      count > 0 ? ref::GetFieldStr(sep, s, in.ConsumeIntegralInRange(1, count)) : value;
  Same("GetFieldPos", GetFieldPos(sep, s, text), ref::GetFieldPos(sep, s, text));
  Same("GetIndexOf", GetIndexOf(sep, s, ref::Lower(text)), ref::GetIndexOf(sep, s, ref::Lower(text)));
  using Adder = void (*)(char16_t, String&, const String&);
  const std::pair<Adder, Adder> adders[] = {{kv_AddFieldStr, ref::kv_AddFieldStr},
                                            {kv_AddFieldStr2, ref::kv_AddFieldStr2},
                                            {kv_AddFieldStr_Ver2, ref::kv_AddFieldStr_Ver2}};
  for (auto [mine, theirs] : adders) {
    String a = s, b = s;
    mine(sep, a, value);
    theirs(sep, b, value);
    Same("kv_AddFieldStr family", a, b);
  }
  StringList list;
  list.Add(value);  // AddFieldsToStrList keeps what the list holds
  AddFieldsToStrList(sep, s, list);
  std::vector<String> added{value};
  for (const String& field : ref::Fields(sep, s)) added.push_back(field);
  Same("AddFieldsToStrList count", list.Count(), static_cast<int>(added.size()));
  for (int i = 0; i < list.Count(); ++i) Same("AddFieldsToStrList", list[i], added[i]);
  Same("CreateDBFields", CreateDBFields(list, s, sep), count > 0);
  std::vector<String> fields;
  for (int i = 0; i < list.Count(); ++i) fields.push_back(list[i]);
  fuzz::Holds("CreateDBFields lines", fields == ref::Fields(sep, s));
  Same("asStr", asStr(fields, sep),
       fields.empty() ? String() : s.substr(0, s.size() - (terminated && !s.empty())));

  ToolsLanguage = in.ConsumeBool() ? u"DE" : u"EN";
  String found;
  for (const String& item : fields) {
    if (ref::Copy(item, 1, 2) != ToolsLanguage) continue;
    found = ref::Copy(item, 4, 5000);
    break;
  }
  Same("GLT", GLT(fields), found);

  // Named values, with the fields' separator as terminator.
  const char16_t assigner = in.ConsumeBool() ? u'=' : u'a';
  const String name = fuzz::Text(in, 2);
  const bool whole = in.ConsumeBool();
  Same("gns", gns(name, s, whole, sep, assigner), literal::gns(name, s, whole, sep, assigner));
  using Setter = void (*)(const String&, const String&, String&, char16_t, char16_t);
  const std::pair<Setter, Setter> setters[] = {
      {sns, literal::sns}, {snsadd, literal::snsadd}, {SetToStr, literal::SetToStr}};
  for (auto [mine, theirs] : setters) {
    String a = s, b = s;
    mine(name, value, a, sep, assigner);
    theirs(name, value, b, sep, assigner);
    Same("named values", a, b);
  }
  return 0;
}

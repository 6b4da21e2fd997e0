// Field strings against Qt and plain std::u16string_view loops.
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "benches.h"
#include "inputs.h"
#include "kv_tools/fields.h"

namespace bench {
namespace {

using namespace Kv_tools;
using View = std::u16string_view;
constexpr size_t npos = View::npos;
constexpr char16_t kSep = u';';

// The same text as a QString (one copy, made before timing).
QString ToQString(const String& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<int>(s.size()));
}

// Adds a field that Qt gives to the checksum, as MixField does for ours.
void MixQField(uint64_t& h, const QString& field) {
  MixField(h, static_cast<size_t>(field.size()), field.isEmpty() ? u'\0' : field.at(0).unicode());
}

// Field nr of s found by a loop of find calls from the start, copied into a string.
String RescanField(View s, int nr) {
  size_t begin = 0;
  for (int k = 1; k < nr && begin != npos; ++k) {
    const size_t sep = s.find(kSep, begin);
    begin = sep == npos ? npos : sep + 1;
  }
  if (begin == npos || begin >= s.size()) return String();
  return String(s.substr(begin, s.find(kSep, begin) - begin));
}

// How the field string is described in the tables.
std::string InputText(const String& s, int fields) {
  return Count(static_cast<uint64_t>(fields)) + " fields of 0 to 6 characters, separator ';', " +
         Megabytes(static_cast<double>(s.size() * 2)) + " UTF-16";
}

// One of ours at a size: the call and the answer it must give.
struct SizedCall {
  std::function<uint64_t()> call;
  uint64_t expected;
};

// Ours at three sizes: the rate per field at 1M against the rate at 10k and at 100k. Linear
// growth keeps the time per field flat; a scan per field would make it grow with the size.
Operation Flatness(const std::string& name, const std::function<SizedCall(int)>& at) {
  auto contender = [&](int n, double min_ratio) {
    SizedCall sized = at(n);
    return Contender{"ours at " + Count(static_cast<uint64_t>(n)) + " fields", std::move(sized.call), min_ratio,
                     false, static_cast<double>(n), sized.expected};
  };
  return {"1. Field strings", name + ", time per field at 10k, 100k and 1M fields",
          "the first 10,000, 100,000 and 1,000,000 fields of the same kind, the last one \"~end~\"", 1e6,
          "fields", contender(1'000'000, 0), {contender(10'000, 1.0 / 3), contender(100'000, 1.0 / 3)},
          "flat when the time per field at 1M is at most 3x that at the smaller sizes (ratio >= 0.33); "
          "a scan per field would give about 0.01"};
}

}  // namespace

std::vector<Operation> FieldOperations() {
  constexpr int kFields = 1'000'000;
  auto s = std::make_shared<const String>(FieldString(kFields));
  auto q = std::make_shared<const QString>(ToQString(*s));
  const double bytes = static_cast<double>(s->size() * 2);
  const std::string input = InputText(*s, kFields);
  std::vector<Operation> ops;

  ops.push_back({"1. Field strings", "GetFieldStrAtStart, every field once", input, bytes, "B",
                 {"ours: GetFieldStrAtStart, Nr = 1, 2, 3 ...", [s] {
                    uint64_t h = 0;
                    int count = 0, start = 1;
                    for (int nr = 1; start <= static_cast<int>(s->size()); ++nr)
                      MixField(h, GetFieldStrAtStart(kSep, *s, nr, count, start));
                    return h;
                  }},
                 {{"Qt QString::split", [q] {
                    uint64_t h = 0;
                    for (const QString& field : q->split(QLatin1Char(';'))) MixQField(h, field);
                    return h;
                  }, 2},
                  {"std::u16string_view::find loop, copying", [s] {
                    uint64_t h = 0;
                    const View v(*s);
                    for (size_t begin = 0; begin < v.size();) {
                      const size_t end = std::min(v.find(kSep, begin), v.size());
                      MixField(h, String(v.substr(begin, end - begin)));
                      begin = end + 1;
                    }
                    return h;
                  }, 1.5}},
                 "every field comes back as its own string; each contender adds its length and first "
                 "unit to a checksum"});

  ops.push_back({"1. Field strings", "GetFieldStr, fields 1 to 1000, one call each", input, 1000, "calls",
                 {"ours: GetFieldStr", [s] {
                    uint64_t h = 0;
                    for (int nr = 1; nr <= 1000; ++nr) MixField(h, GetFieldStr(kSep, *s, nr));
                    return h;
                  }},
                 {{"std::u16string_view::find loop from the start", [s] {
                    uint64_t h = 0;
                    for (int nr = 1; nr <= 1000; ++nr) MixField(h, RescanField(*s, nr));
                    return h;
                  }, 1}}});

  ops.push_back({"1. Field strings", "GetFieldStr, every 20th field of 1 to 1000, one call each", input, 50,
                 "calls",
                 {"ours: GetFieldStr", [s] {
                    uint64_t h = 0;
                    for (int nr = 20; nr <= 1000; nr += 20) MixField(h, GetFieldStr(kSep, *s, nr));
                    return h;
                  }},
                 {{"Qt QString::section", [q] {
                    uint64_t h = 0;
                    for (int nr = 20; nr <= 1000; nr += 20) MixQField(h, q->section(QLatin1Char(';'), nr - 1, nr - 1));
                    return h;
                  }}},
                 "for the record; QString::section splits the whole string on every call, so 50 of "
                 "the 1000 calls are timed here (the rate per call is what compares)"});

  auto copy = std::make_shared<String>(s->size(), u'\0');
  ops.push_back({"1. Field strings", "GetFieldsCount", input, bytes, "B",
                 {"ours: GetFieldsCount", [s] { return static_cast<uint64_t>(GetFieldsCount(kSep, *s)); },
                  0, true, 0, kFields},
                 {{"memcpy of the same bytes", [s, copy] {
                    std::memcpy(copy->data(), s->data(), s->size() * 2);
                    benchmark::ClobberMemory();
                    return uint64_t{0};
                  }, 0.5, false},
                  {"std::count + open final field", [s] {
                    const bool open = !s->empty() && s->back() != kSep;
                    return static_cast<uint64_t>(std::count(s->begin(), s->end(), kSep) + (open ? 1 : 0));
                  }}}});

  ops.push_back(Flatness("AddFieldsToStrList", [](int n) {
    auto t = std::make_shared<const String>(FieldString(n));
    return SizedCall{[t] {
                       StringList list;
                       AddFieldsToStrList(kSep, *t, list);
                       return static_cast<uint64_t>(list.Count());
                     }, static_cast<uint64_t>(n)};
  }));
  ops.push_back(Flatness("GetFieldPos of the last field", [](int n) {
    auto t = std::make_shared<const String>(FieldString(n));
    return SizedCall{[t] { return static_cast<uint64_t>(GetFieldPos(kSep, *t, kLastField)); }, static_cast<uint64_t>(n)};
  }));
  ops.push_back(Flatness("SetFieldStr of the last field", [](int n) {
    // The value alternates between two of the same length, so the string keeps its size.
    auto t = std::make_shared<String>(FieldString(n));
    auto upper = std::make_shared<bool>(false);
    return SizedCall{[t, upper, n] {
                       *upper = !*upper;
                       SetFieldStr(kSep, *t, *upper ? u"~END~" : kLastField, n);
                       return static_cast<uint64_t>(t->size());
                     }, t->size()};
  }));
  return ops;
}

}  // namespace bench

// The in-memory helpers of the INI and registry family against their descriptions: name=value
// entries found under the locale's lower-casing (SetVerwItem) or A-Z only (GetVerwItem), the
// keys of a section counted, and string values read back from the native build's registry.
#include "fuzz/fuzz_input.h"
#include "kv_tools/ini_registry.h"
#include "rtl/platform.h"
#include "tests/core/fields_reference.h"

namespace literal {

using rtl::String;
using Lines = std::vector<String>;

void SetVerwItem(Lines& lines, const String& name, const String& value) {
  for (String& entry : lines) {
    const size_t eq = entry.find(u'=');
    if (eq != String::npos && rtl::AnsiLowerCase(entry.substr(0, eq)) == rtl::AnsiLowerCase(name)) {
      entry = name + u"=" + value;
      return;
    }
  }
  lines.push_back(name + u"=" + value);
}

String GetVerwItem(const Lines& lines, const String& name, const String& def) {
  for (const String& entry : lines) {
    const size_t eq = entry.find(u'=');
    if (eq != String::npos && fields_reference::Lower(entry.substr(0, eq)) == fields_reference::Lower(name))
      return entry.substr(eq + 1);
  }
  return def;
}

}  // namespace literal

namespace {

// Names that differ in case, in letters whose case the locale knows beyond A-Z, and in '='.
rtl::String Name(FuzzedDataProvider& in) {
  static const char16_t* const kPieces[] = {u"a", u"A", u"ä", u"Ä", u"=", u"w", u"W", u"\u0130", u"i", u" "};
  rtl::String s;
  for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n)
    s += in.ConsumeIntegralInRange(0, 7) ? rtl::String(kPieces[in.ConsumeIntegralInRange(0, 9)]) : fuzz::Text(in, 2);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  literal::Lines lines;
  StringList list;
  for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) {
    const String entry = Name(in) + (in.ConsumeBool() ? u"=" : u"") + Name(in);
    lines.push_back(entry);
    list.Add(entry);
  }
  const String name = Name(in), value = Name(in), def = fuzz::Text(in, 3);
  Same("GetVerwItem", GetVerwItem(list, name, def), literal::GetVerwItem(lines, name, def));
  SetVerwItem(list, name, value);
  literal::SetVerwItem(lines, name, value);
  Same("SetVerwItem count", list.Count(), static_cast<int>(lines.size()));
  for (int i = 0; i < list.Count(); ++i) Same("SetVerwItem", list[i], lines[i]);

  // The keys of a section of an INI object held in memory (its file is never written).
  rtl::MemIniFile ini(u"Q:\\no such drive\\fuzz.ini");
  StringList ini_lines;
  for (int n = in.ConsumeIntegralInRange(0, 10); n > 0; --n)
    ini_lines.Add(in.ConsumeBool() ? u"[" + Name(in) + u"]" : Name(in) + u"=" + Name(in));
  ini.SetStrings(ini_lines);
  const String section = Name(in);
  StringList keys;
  ini.ReadSection(section, keys);
  Same("CountEntries", CountEntries(ini, section), keys.Count());

  // A string value under a key of the process's registry, read back; an integer value is no
  // string; a missing key does not open.
  const String key = u"Software\\WTarnFuzz\\" + Name(in), value_name = Name(in), text = fuzz::Text(in, 8);
  const bool as_integer = in.ConsumeBool();
  {
    rtl::Registry reg;
    reg.OpenKey(key, true);
    if (as_integer) reg.WriteInteger(value_name, 7);
    else reg.WriteString(value_name, text);
  }
  String read = u"untouched";
  const bool ok = RegReadStr(key, value_name, read, HKEY_CURRENT_USER);
  Same("RegReadStr", ok, !as_integer);
  if (ok) Same("RegReadStr value", read, text);
  String missing = u"untouched";
  Same("RegReadStr of a missing key", RegReadStr(key + u"\\missing", value_name, missing, HKEY_CURRENT_USER), false);
  Same("RegReadStr of a missing key leaves the value", missing, String(u"untouched"));
  rtl::Registry().DeleteKey(u"Software\\WTarnFuzz");
  return 0;
}

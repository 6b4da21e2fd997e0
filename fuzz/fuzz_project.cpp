// The project routines of TarnEdata against their descriptions: file names made absolute
// against the project's folder (climbing one folder per "..\"), the parent folder, leading
// blanks, registry keys and values of the native build's registry, and the stored positions.
#include "fuzz/fuzz_input.h"
#include "kv_tools/ini_registry.h"
#include "tarnedata/globals.h"
#include "tarnedata/project.h"
#include "tests/core/fields_reference.h"

namespace literal {

using rtl::String;

String chkPath(const String& s) { return s.empty() || s.back() == u'\\' ? s : s + u'\\'; }

String GetPrevDir(const String& folder) {
  if (folder.size() <= 3) return folder;
  for (size_t i = folder.size() - 1; i-- > 0;)  // the last "\" before the final character
    if (folder[i] == u'\\') return folder.substr(0, i + 1);
  return folder;
}

// The name and the project folder after the call.
std::pair<String, String> GetFileName(const String& name, const String* path) {
  if (!path || name.find(u":\\") != String::npos || name.starts_with(u"\\\\")) return {name, path ? *path : String()};
  if (name.find(u"..") == String::npos && name.find(u'\\') == String::npos && name.find(u'/') == String::npos)
    return {chkPath(*path) + name, *path};
  String folder = *path;
  if (!folder.empty() && folder.back() == u'\\') folder.pop_back();
  String base = folder, rest = name;
  for (size_t up = rest.find(u"..\\"); up != String::npos; up = rest.find(u"..\\")) {
    base = GetPrevDir(base);
    rest.erase(up, 3);
  }
  return {chkPath(base) + rest, folder};
}

}  // namespace literal

namespace {

rtl::String PathText(FuzzedDataProvider& in) {
  static const char16_t* const kPieces[] = {u"C:", u"\\", u"..\\", u"..", u"/", u"P", u"App", u"U.pas", u":\\", u"."};
  rtl::String s;
  for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n)
    s += in.ConsumeIntegralInRange(0, 5) ? rtl::String(kPieces[in.ConsumeIntegralInRange(0, 9)]) : fuzz::Text(in, 2);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace TarnEdata;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  const String name = PathText(in), folder = PathText(in);
  TProject project;
  project.Path = folder;
  const bool with_project = in.ConsumeBool();
  Project = with_project ? &project : nullptr;
  const auto [want_name, want_folder] = literal::GetFileName(name, with_project ? &folder : nullptr);
  Same("GetFileName", GetFileName(name), want_name);
  if (with_project) Same("GetFileName: the project's folder", project.Path, want_folder);
  Project = nullptr;

  Same("GetPrevDir", GetPrevDir(folder), literal::GetPrevDir(folder));
  const String blanks = String(in.ConsumeIntegralInRange(0, 5), u' ') + fuzz::Text(in, 4);
  int spaces = 0;
  while (spaces < static_cast<int>(blanks.size()) && blanks[spaces] == u' ') ++spaces;
  Same("GetSpaceCount", GetSpaceCount(blanks), spaces);

  // A key of the process's registry (the native build's, in memory), made and removed again.
  const String key = u"Software\\WTarnFuzzProject\\" + PathText(in), value_name = fuzz::Text(in, 3);
  const bool make = in.ConsumeBool();
  if (make) {
    rtl::Registry reg;
    reg.OpenKey(key, true);
    reg.WriteString(value_name, folder);
  }
  Same("RegKeyExists", RegKeyExists(key, HKEY_CURRENT_USER), make);
  String mine = u"untouched", theirs = u"untouched";
  Same("RegReadStr", RegReadStr(key, value_name, mine, HKEY_CURRENT_USER),
       Kv_tools::RegReadStr(key, value_name, theirs, HKEY_CURRENT_USER));
  Same("RegReadStr value", mine, theirs);
  if (make) Same("RegReadStr reads the value", mine, folder);
  rtl::Registry().DeleteKey(u"Software\\WTarnFuzzProject");

  // Stored positions: lines Key #1 text, the first line of the key replaced.
  StringList positions, list;
  std::vector<String> lines;
  for (int n = in.ConsumeIntegralInRange(0, 5); n > 0; --n) {
    const String line = (in.ConsumeBool() ? String(u"U1") : fuzz::Text(in, 2)) + u'\x01' + fuzz::Text(in, 3);
    positions.Add(line);
    lines.push_back(line);
  }
  for (int n = in.ConsumeIntegralInRange(0, 3); n > 0; --n) list.Add(fuzz::Text(in, 4));
  const String pos_key = in.ConsumeBool() ? String(u"U1") : fuzz::Text(in, 2);
  SetPosChanges(list, pos_key);  // no list set: nothing happens
  slPosInfo = &positions;
  SetPosChanges(list, pos_key);
  slPosInfo = nullptr;
  const String line = pos_key + u'\x01' + fields_reference::ReplaceAll(list.Text(), u"\r\n", u"\x03");
  bool replaced = false;
  for (String& l : lines)
    if (!replaced && l.starts_with(pos_key + u'\x01')) l = line, replaced = true;
  if (!replaced) lines.push_back(line);
  Same("SetPosChanges count", positions.Count(), static_cast<int>(lines.size()));
  for (int i = 0; i < positions.Count(); ++i) Same("SetPosChanges", positions[i], lines[i]);
  return 0;
}

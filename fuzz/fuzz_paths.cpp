// The path rules against their descriptions written out character by character: trailing
// separators, the parent folder of the ANSI text, the name cleaners, the relocation rule with
// the existence tests counted, the short-name expansion component by component, the numbered
// names over a made-up set of taken names; and the platform forms against the pure ones.
#include <set>

#include "fuzz/fuzz_input.h"
#include "kv_tools/globals.h"
#include "kv_tools/paths.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/int_text.h"
#include "rtl/platform.h"
#include "tests/core/fields_reference.h"

namespace literal {

using fields_reference::Copy;
using rtl::String;

int Len(const String& s) { return static_cast<int>(s.size()); }
bool EndsWithSlash(const String& s) { return !s.empty() && s[s.size() - 1] == u'\\'; }

String chkPath(const String& path) { return path.empty() || EndsWithSlash(path) ? path : path + u"\\"; }
String RemoveSlash(const String& path) { return EndsWithSlash(path) ? Copy(path, 1, Len(path) - 1) : path; }

// The ANSI text (one byte per character on a single-byte code page), cut to 255.
String prevDir(const String& path) {
  const String s = Copy(rtl::DecodeAnsi(rtl::EncodeAnsi(path)), 1, 255);
  for (int i = Len(s); i >= 1; --i)
    if (s[i - 1] == u'\\' && i != Len(s)) return Copy(s, 1, i - 1);
  return String();
}

String GetValidDataDir(const String& data_dir, const String& alt_dir) {
  return fields_reference::Pos(u"c:\\programme", fields_reference::Lower(data_dir)) > 0 ||
                 fields_reference::Pos(u"c:\\program files", fields_reference::Lower(data_dir)) > 0
             ? alt_dir
             : data_dir;
}

bool In(const char16_t* set, char16_t c) { return String(set).find(c) != String::npos; }
bool Control(char16_t c) { return c >= 1 && c <= 31; }

// The literal loop: each position cleaned in turn, a doubled "\" seen on the text as it is
// by then (so of "\\\" at positions 2 to 4 only the third goes).
String kv_GetValidDirName(String s) {
  for (int p = 1; p <= Len(s); ++p) {
    if (Control(s[p - 1]) || In(u"\"*/<>?|", s[p - 1])) s[p - 1] = u'_';
    if (s[p - 1] == u':' && p != 2) s[p - 1] = u'_';
    if (p < Len(s) && p != 1 && s[p - 1] == u'\\' && s[p] == u'\\') s[p] = u'_';
  }
  return s;
}

String kv_GetValidFilename(String s) {
  for (char16_t& c : s)
    if (Control(c) || In(u"\"'*/:<>?\\|", c)) c = u'_';
  return s;
}

// Relocation as described; the tests are asked only where the rule needs them.
String Relocate(Kv_tools::Relocation kind, const String& path, const String& mode, const String& app,
                const Kv_tools::PathTest& dir_exists, const Kv_tools::PathTest& file_exists) {
  using Kv_tools::Relocation;
  if (mode != u"Mobile") return path;
  if (path.empty() && kind != Relocation::StrictPath) return path;
  if (Copy(path, 1, 2) == u"\\\\") return Copy(app, 1, 1) + u":\\usbnet=" + Copy(path, 3, Len(path));
  if (kind == Relocation::File && dir_exists(rtl::ExtractFilePath(path)) && file_exists(path)) return path;
  if (kind == Relocation::Path && dir_exists(path)) return path;
  return Copy(app, 1, 2) + Copy(path, 3, Len(path));
}

// Component by component: the path up to each component, asked of the shell once a "~"
// has been met in it; the answer, else the component, joined by single "\".
String Expand(const String& path, const std::function<String(const String&)>& display_name) {
  if (fields_reference::Pos(u"\\\\", path) > 0) return path;
  String so_far, result;
  for (const String& k : fields_reference::Fields(u'\\', path)) {
    so_far = so_far.empty() ? k : so_far + u"\\" + k;
    if (so_far.find(u'~') == String::npos) {
      result = so_far;
      continue;
    }
    const String d = display_name(so_far);
    const String part = d.empty() ? k : d;
    result = result.empty() ? (d.empty() ? so_far : d) : chkPath(result) + part;
  }
  return result;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The stem without its trailing digits, the number, the extension; the first one not taken.
String NotExisting(const String& name, const String& start_nr, const Kv_tools::PathTest& taken) {
  const String ext = rtl::ExtractFileExt(name);
  String stem = Copy(name, 1, Len(name) - Len(ext));
  while (!stem.empty() && IsDigit(stem[stem.size() - 1])) stem = Copy(stem, 1, Len(stem) - 1);
  const String first = start_nr.empty() ? name : stem + start_nr + ext;
  if (!taken(first)) return first;
  int start = 1;
  if (!start_nr.empty() && !rtl::TryStrToInt(start_nr, start)) throw rtl::EConvertError(u"no integer");
  for (long long n = start;; ++n)
    if (!taken(stem + rtl::IntToStr(n) + ext)) return stem + rtl::IntToStr(n) + ext;
}

}  // namespace literal

namespace {

// Texts that look like paths: drive letters, separators both ways, dots, digits, tildes.
rtl::String PathText(FuzzedDataProvider& in, size_t max_length) {
  static const char16_t* const kPieces[] = {u"C:",     u"\\",       u"\\\\",  u"/",         u".",
                                            u"a",      u"B1",       u"~1",    u"..\\",      u"x.txt",
                                            u"7",      u"Z:\\",     u":",     u"PROGRA~1",  u"Program Files",
                                            u"c:\\programme", u"C:\\Program Files", u" ", u"ä", u"*?"};
  rtl::String text;
  for (size_t n = in.ConsumeIntegralInRange<size_t>(0, max_length); n > 0 && in.remaining_bytes() > 0; --n) {
    const uint8_t pick = in.ConsumeIntegral<uint8_t>();
    text += pick < 200 ? rtl::String(kPieces[pick % std::size(kPieces)]) : fuzz::Text(in, 2);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);
  const String path = PathText(in, 12), other = PathText(in, 4);
  const String app = in.ConsumeBool() ? u"F:\\Tools\\" : PathText(in, 3);
  const String mode = in.ConsumeBool() ? u"Mobile" : in.ConsumeBool() ? u"Fixed" : fuzz::Text(in, 6);

  Same("chkPath", chkPath(path), literal::chkPath(path));
  Same("RemoveSlash", RemoveSlash(path), literal::RemoveSlash(path));
  Same("prevDir", prevDir(path), literal::prevDir(path));
  const String long_path = path + String(in.ConsumeIntegralInRange(0, 300), u'a') + path;
  Same("prevDir long", prevDir(long_path), literal::prevDir(long_path));
  Same("GetValidDataDir", GetValidDataDir(path, other), literal::GetValidDataDir(path, other));
  Same("kv_GetValidDirName", kv_GetValidDirName(path), literal::kv_GetValidDirName(path));
  Same("kv_GetValidFilename", kv_GetValidFilename(path), literal::kv_GetValidFilename(path));
  Same("ProgFromExtensionValue", ProgFromExtensionValue(path),
       path.empty() ? String() : fields_reference::GetFieldStr(u' ', path, 1));

  // Relocation with made-up answers; every question is recorded.
  const bool dir_answer = in.ConsumeBool(), file_answer = in.ConsumeBool();
  for (Relocation kind : {Relocation::File, Relocation::StrictFile, Relocation::Path, Relocation::StrictPath}) {
    std::vector<String> mine_asked, their_asked;
    auto tests = [&](std::vector<String>& asked) {
      return std::pair<PathTest, PathTest>{[&, dir_answer](const String& s) {
                                             asked.push_back(u"d" + s);
                                             return dir_answer;
                                           },
                                           [&, file_answer](const String& s) {
                                             asked.push_back(u"f" + s);
                                             return file_answer;
                                           }};
    };
    const auto [my_dir, my_file] = tests(mine_asked);
    const auto [their_dir, their_file] = tests(their_asked);
    Same("RelocatePath", RelocatePath(kind, path, mode, app, my_dir, my_file),
         literal::Relocate(kind, path, mode, app, their_dir, their_file));
    fuzz::Holds("RelocatePath asks only what the rule needs", mine_asked == their_asked);
  }

  // Expansion with a shell that knows the items whose path ends in a chosen component.
  const String known = PathText(in, 2);
  const auto shell = [&](const String& so_far) -> String {
    if (known.empty() || so_far.size() < known.size() || so_far.compare(so_far.size() - known.size(), known.size(), known) != 0)
      return String();
    return u"Long" + rtl::IntToStr(static_cast<long long>(so_far.size()));
  };
  Same("ExpandShortNames", ExpandShortNames(path, shell), literal::Expand(path, shell));

  // Numbered names over a set of taken names: the name itself and some numbered ones.
  const String start_nr = in.ConsumeBool() ? rtl::IntToStr(in.ConsumeIntegralInRange(-3, 12)) : fuzz::Text(in, 3);
  std::set<String> taken;
  if (in.ConsumeBool()) taken.insert(path);
  const String ext = rtl::ExtractFileExt(path);
  String stem = path.substr(0, path.size() - ext.size());
  while (!stem.empty() && literal::IsDigit(stem.back())) stem.pop_back();
  for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n) {
    const String nr = in.ConsumeBool() ? rtl::IntToStr(in.ConsumeIntegralInRange(-3, 20)) : start_nr;
    taken.insert(stem + nr + ext);
    taken.insert(path + nr);
  }
  const PathTest is_taken = [&](const String& s) { return taken.count(s) > 0; };
  String mine, theirs;
  bool mine_raised = false, their_raised = false;
  try { mine = NotExistingFilename(path, start_nr, is_taken); } catch (const rtl::EConvertError&) { mine_raised = true; }
  try { theirs = literal::NotExisting(path, start_nr, is_taken); } catch (const rtl::EConvertError&) { their_raised = true; }
  Same("NotExistingFilename raises", mine_raised, their_raised);
  Same("NotExistingFilename", mine, theirs);
  Same("NotExistingFilename from 1", NotExistingFilename(path, u"1", is_taken),
       literal::NotExisting(path, u"1", is_taken));
  String dir_name = path;
  for (long long n = 1; is_taken(dir_name); ++n) dir_name = path + rtl::IntToStr(n);
  Same("NotExistingDirName", NotExistingDirName(path, is_taken), dir_name);

  // The platform forms: the pure ones over the global disk mode, AppPath and the file system
  // (the native build's names stand for Linux paths, which are only looked at). A name that
  // holds a NUL names nothing there, so its numbering ends at once.
  const String& name = path;
  DiskMode = mode;
  const PathTest dir_exists = [](const String& s) { return rtl::DirectoryExists(s); };
  const PathTest file_exists = [](const String& s) { return rtl::FileExists(s); };
  Same("GetRelativFile", GetRelativFile(name),
       RelocatePath(Relocation::File, name, mode, AppPath(), dir_exists, file_exists));
  Same("GetStrictRelativFile", GetStrictRelativFile(name),
       RelocatePath(Relocation::StrictFile, name, mode, AppPath(), dir_exists, file_exists));
  Same("GetRelativPath", GetRelativPath(name),
       RelocatePath(Relocation::Path, name, mode, AppPath(), dir_exists, file_exists));
  Same("GetStrictRelativPath", GetStrictRelativPath(name),
       RelocatePath(Relocation::StrictPath, name, mode, AppPath(), dir_exists, file_exists));
  DiskMode.clear();
  Same("GetProgPath", GetProgPath(name), String());  // native: no Win.ini
  Same("kv_GetExpandedFilename", kv_GetExpandedFilename(name), ExpandShortNames(name, kv_GetLongFileName));
  Same("GetNotExistingFilename", GetNotExistingFilename(name), NotExistingFilename(name, u"1", file_exists));
  mine_raised = their_raised = false;
  try { mine = GetNotExistingFilename(name, start_nr); } catch (const rtl::EConvertError&) { mine_raised = true; }
  try { theirs = NotExistingFilename(name, start_nr, file_exists); } catch (const rtl::EConvertError&) { their_raised = true; }
  Same("GetNotExistingFilename with start raises", mine_raised, their_raised);
  Same("GetNotExistingFilename with start", mine, theirs);
  Same("GetNotExistingDirName", GetNotExistingDirName(name), NotExistingDirName(name, dir_exists));
  return 0;
}

// Kv_tools paths and file names: the text rules, and the routines that combine
// them with the file-system tests of rtl/file_system.h.
#include "kv_tools/paths.h"

#include "kv_tools/fields.h"
#include "kv_tools/globals.h"
#include "rtl/file_system.h"
#include "rtl/ini_file.h"
#include "rtl/int_text.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

// Copy(s, 3, 2000): the text from the third character on, at most 2000 characters.
String FromThird(const String& s) { return s.size() > 2 ? s.substr(2, 2000) : String(); }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

String LowerAsciiOnly(String s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

bool DirExists(const String& s) { return rtl::DirectoryExists(s); }
bool FileThere(const String& s) { return rtl::FileExists(s); }

// head + n + tail for the first of kNumberedNameTries numbers from first that taken says no
// to; "" when every one is taken.
String FirstFreeNumbered(const String& head, long long first, const String& tail, const PathTest& taken) {
  for (long long n = first; n < first + kNumberedNameTries; ++n) {
    String candidate = head + rtl::IntToStr(n) + tail;
    if (!taken(candidate)) return candidate;
  }
  return String();
}

}  // namespace

String chkPath(const String& Path) {
  if (Path.empty() || Path.back() == u'\\') return Path;
  return Path + u'\\';
}

String RemoveSlash(const String& Path) {
  if (!Path.empty() && Path.back() == u'\\') return Path.substr(0, Path.size() - 1);
  return Path;
}

// A short string, as the routine takes it: the ANSI bytes, cut to 255, scanned byte by byte.
String prevDir(const String& Path) {
  std::string s = rtl::EncodeAnsi(Path);
  if (s.size() > 255) s.resize(255);
  size_t len = s.size();
  for (size_t i = len; i >= 1; --i) {
    if (s[i - 1] == '\\' && i != len) return rtl::DecodeAnsi(std::string_view(s).substr(0, i - 1));
  }
  return String();
}

String AppPath() { return rtl::ExtractFilePath(rtl::ProgramFileName()); }

String ProgFromExtensionValue(const String& value) {
  return value.empty() ? String() : GetFieldStr(u' ', value, 1);
}

String GetProgPath(const String& Ext) {
  try {
    rtl::IniFile ini(chkPath(GetWindowsPath()) + u"Win.ini");
    return ProgFromExtensionValue(ini.ReadString(u"Extensions", Ext, String()));
  } catch (...) {
    return String();
  }
}

String ExpandShortNames(const String& path, const std::function<String(const String&)>& display_name) {
  if (path.find(u"\\\\") != String::npos) return path;
  String c, r;
  int count = GetFieldsCount(u'\\', path);
  for (int i = 1; i <= count; ++i) {
    String k = GetFieldStr(u'\\', path, i);
    c = c.empty() ? k : c + u"\\" + k;
    if (c.find(u'~') == String::npos) {
      r = c;
      continue;
    }
    String d = display_name(c);
    if (!d.empty()) r = r.empty() ? d : chkPath(r) + d;
    else r = r.empty() ? c : chkPath(r) + k;
  }
  return r;
}

String kv_GetExpandedFilename(const String& Path) { return ExpandShortNames(Path, kv_GetLongFileName); }

// --- Relocation ------------------------------------------------------------------------

String RelocatePath(Relocation kind, const String& path, const String& disk_mode, const String& app_path,
                    const PathTest& dir_exists, const PathTest& file_exists) {
  if ((path.empty() && kind != Relocation::StrictPath) || disk_mode != u"Mobile") return path;
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\')
    return app_path.substr(0, 1) + u":\\usbnet=" + FromThird(path);
  switch (kind) {
    case Relocation::File:
      if (dir_exists(rtl::ExtractFilePath(path)) && file_exists(path)) return path;
      break;
    case Relocation::Path:
      if (dir_exists(path)) return path;
      break;
    case Relocation::StrictFile:
    case Relocation::StrictPath:
      break;
  }
  return app_path.substr(0, 2) + FromThird(path);
}

String GetRelativFile(const String& FileName) {
  return RelocatePath(Relocation::File, FileName, DiskMode, AppPath(), DirExists, FileThere);
}

String GetStrictRelativFile(const String& FileName) {
  return RelocatePath(Relocation::StrictFile, FileName, DiskMode, AppPath(), DirExists, FileThere);
}

String GetRelativPath(const String& Path) {
  return RelocatePath(Relocation::Path, Path, DiskMode, AppPath(), DirExists, FileThere);
}

String GetStrictRelativPath(const String& Path) {
  return RelocatePath(Relocation::StrictPath, Path, DiskMode, AppPath(), DirExists, FileThere);
}

// --- Cleaning --------------------------------------------------------------------------

String GetValidDataDir(const String& DataDir, const String& AltDir) {
  String lower = LowerAsciiOnly(DataDir);
  if (lower.find(u"c:\\programme") != String::npos || lower.find(u"c:\\program files") != String::npos) return AltDir;
  return DataDir;
}

String kv_GetValidDirName(const String& S) {
  String r = S;
  size_t len = r.size();
  for (size_t p = 1; p <= len; ++p) {
    char16_t& c = r[p - 1];
    if ((c >= 1 && c <= 31) || c == u'"' || c == u'*' || c == u'/' || c == u'<' || c == u'>' || c == u'?' ||
        c == u'|')
      c = u'_';
    if (c == u':' && p != 2) c = u'_';
    if (p < len && p != 1 && r[p - 1] == u'\\' && r[p] == u'\\') r[p] = u'_';
  }
  return r;
}

String kv_GetValidFilename(const String& S) {
  String r = S;
  for (char16_t& c : r) {
    if ((c >= 1 && c <= 31) || c == u'"' || c == u'\'' || c == u'*' || c == u'/' || c == u':' || c == u'<' ||
        c == u'>' || c == u'?' || c == u'\\' || c == u'|')
      c = u'_';
  }
  return r;
}

// --- Names not yet taken -----------------------------------------------------------------

String NotExistingFilename(const String& file_name, const String& start_nr, const PathTest& file_exists) {
  String ext = rtl::ExtractFileExt(file_name);
  String stem = file_name.substr(0, file_name.size() - ext.size());
  while (!stem.empty() && IsDigit(stem.back())) stem.pop_back();
  String candidate = start_nr.empty() ? file_name : stem + start_nr + ext;
  if (!file_exists(candidate)) return candidate;
  return FirstFreeNumbered(stem, start_nr.empty() ? 1 : rtl::StrToInt(start_nr), ext, file_exists);
}

String GetNotExistingFilename(const String& FileName) { return NotExistingFilename(FileName, u"1", FileThere); }

String GetNotExistingFilename(const String& FileName, const String& StartNr) {
  return NotExistingFilename(FileName, StartNr, FileThere);
}

String NotExistingDirName(const String& path, const PathTest& dir_exists) {
  return dir_exists(path) ? FirstFreeNumbered(path, 1, String(), dir_exists) : path;
}

String GetNotExistingDirName(const String& Path) { return NotExistingDirName(Path, DirExists); }

}  // namespace Kv_tools

// The pure file-name helpers of rtl/file_system.h.
#include "rtl/file_system.h"

namespace rtl {
namespace {

// 0-based index of the last character of s that is in delims, or npos.
size_t LastDelimiter(StringView delims, const String& s) { return s.find_last_of(delims); }

}  // namespace

String ExtractFilePath(const String& name) {
  size_t i = LastDelimiter(u"\\:", name);
  return i == String::npos ? String() : name.substr(0, i + 1);
}

String ExtractFileDir(const String& name) {
  size_t i = LastDelimiter(u"\\:", name);
  if (i == String::npos) return String();
  if (i > 0 && name[i] == u'\\' && name[i - 1] != u'\\' && name[i - 1] != u':') return name.substr(0, i);
  return name.substr(0, i + 1);
}

String ExtractFileName(const String& name) {
  size_t i = LastDelimiter(u"\\:", name);
  return i == String::npos ? name : name.substr(i + 1);
}

String ExtractFileExt(const String& name) {
  size_t i = LastDelimiter(u".\\:", name);
  return i != String::npos && name[i] == u'.' ? name.substr(i) : String();
}

String ChangeFileExt(const String& name, const String& ext) {
  size_t i = LastDelimiter(u".\\:", name);
  if (i == String::npos || name[i] != u'.') i = name.size();
  return name.substr(0, i) + ext;
}

String IncludeTrailingPathDelimiter(const String& name) {
  return !name.empty() && name.back() == u'\\' ? name : name + u'\\';
}

String ExcludeTrailingPathDelimiter(const String& name) {
  return !name.empty() && name.back() == u'\\' ? name.substr(0, name.size() - 1) : name;
}

bool SeenAfterFailedQuery(uint32_t error, const std::function<bool()>& listed) {
  // File or path not found, device not ready, network path or share not found, bad name.
  constexpr uint32_t kNotFound[] = {2, 3, 21, 53, 67, 123};
  for (uint32_t code : kNotFound)
    if (error == code) return false;
  return listed();
}

// The runtime's ForceDirectories: the parent first, then the folder; roots and names of
// fewer than three characters count as present.
bool ForceDirectories(const String& dir_in) {
  if (dir_in.empty()) return false;
  String dir = ExcludeTrailingPathDelimiter(dir_in);
  if (dir.size() < 3 || DirectoryExists(dir) || ExtractFilePath(dir) == dir) return true;
  return ForceDirectories(ExtractFilePath(dir)) && CreateDir(dir);
}

}  // namespace rtl

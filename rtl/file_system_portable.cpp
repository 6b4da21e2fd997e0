// File-system queries of rtl/file_system.h over the Linux file system (native build).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "rtl/errors.h"
#include "rtl/file_system.h"

namespace rtl {

std::string NativePath(const String& name) {
  String s = name;
  if (s.size() >= 2 && s[1] == u':') {
    char16_t d = s[0];
    if (d != u'Z' && d != u'z') return std::string();  // another drive: names nothing
    s = s.substr(2);
    if (s.empty()) s = u"\\";
  } else if (s.size() >= 2 && s[0] == u'\\' && s[1] == u'\\') {
    return std::string();  // network names: nothing
  }
  for (char16_t& c : s)
    if (c == u'\\') c = u'/';
  return ToUtf8(s);
}

namespace {

bool StatOf(const String& name, bool followLink, struct stat& st) {
  std::string p = NativePath(name);
  if (p.empty()) return false;
  return (followLink ? stat(p.c_str(), &st) : lstat(p.c_str(), &st)) == 0;
}

}  // namespace

bool FileExists(const String& name, bool followLink) {
  if (HoldsNul(name)) return false;
  struct stat st;
  return StatOf(name, followLink, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& name, bool followLink) {
  if (HoldsNul(name)) return false;
  struct stat st;
  return StatOf(name, followLink, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const String& dir) {
  std::string p = NativePath(dir);
  return !p.empty() && mkdir(p.c_str(), 0777) == 0;
}

bool RemoveFile(const String& name) {
  std::string p = NativePath(name);
  struct stat st;
  return !p.empty() && lstat(p.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && unlink(p.c_str()) == 0;
}

bool RemoveDir(const String& dir) {
  std::string p = NativePath(dir);
  return !p.empty() && rmdir(p.c_str()) == 0;
}

String ProgramFileName() {
  std::vector<char> buf(4096);
  ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return String();
  String s = FromUtf8(std::string_view(buf.data(), static_cast<size_t>(n)));
  for (char16_t& c : s)
    if (c == u'/') c = u'\\';
  return u"Z:" + s;
}

std::string ReadFileBytes(const String& name) {
  std::FILE* f = std::fopen(NativePath(name).c_str(), "rb");
  if (!f) throw EFOpenError(u"Cannot open file \"" + name + u"\"", 2);
  std::string bytes;
  char buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw EReadError(u"Stream read error");
  return bytes;
}

}  // namespace rtl

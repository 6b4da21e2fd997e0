// Kv_tools special folders in the native build: folders from the environment as
// "Z:\..." names, files made in the Linux file system, no dialog.
#include <fcntl.h>
#include <glob.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>

#include "kv_tools/folders.h"
#include "kv_tools/folders_platform.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"

namespace Kv_tools {
namespace {

// A Linux path as the "Z:\..." name that Wine gives it.
String WindowsName(const std::string& linux_path) {
  String s = rtl::FromUtf8(linux_path);
  for (char16_t& c : s)
    if (c == u'/') c = u'\\';
  return u"Z:" + s;
}

String FromEnv(const char* name, const char* suffix) {
  const char* v = std::getenv(name);
  return v && *v ? WindowsName(std::string(v) + suffix) : String();
}

}  // namespace

namespace folders_platform {

String SpecialFolder(int csidl) {
  if (csidl == kCsidlAppData) {
    String xdg = FromEnv("XDG_CONFIG_HOME", "");
    return xdg.empty() ? FromEnv("HOME", "/.config") : xdg;
  }
  if (csidl == kCsidlPersonal) return FromEnv("HOME", "/Documents");
  return String();
}

String TempFileIn(const String& dir, const String& prefix) {
  static std::mt19937 engine{std::random_device{}()};
  String head = chkPath(dir) + prefix.substr(0, 3);
  for (int attempt = 0; attempt < 65536; ++attempt) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    unsigned n = engine() & 0xFFFF;
    if (n == 0) continue;
    String name = head;
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(n >> shift) & 15];
    name += u".TMP";
    std::string p = rtl::NativePath(name);
    if (p.empty()) return String();
    int fd = open(p.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0666);
    if (fd >= 0) {
      close(fd);
      return name.substr(0, 256);
    }
    if (errno != EEXIST) return String();
  }
  return String();
}

unsigned DriveType(const String& root) { return root == u"z:\\" ? 3u : 1u; }  // fixed, or no root

}  // namespace folders_platform

String Getfolder(int, const String&) { return String(); }

String GetTmpDir() {
  const char* t = std::getenv("TMPDIR");
  return chkPath(WindowsName(t && *t ? t : "/tmp"));
}

String GetUserProfilePath() { return UserProfilePathFor(true); }

bool kv_FileExists(const String& FileName) {
  if (FileName.find_first_of(u"*?") == String::npos) return rtl::FileExists(FileName);
  std::string pattern = rtl::NativePath(FileName);
  glob_t g{};
  bool found = !pattern.empty() && glob(pattern.c_str(), GLOB_MARK, nullptr, &g) == 0 && g.gl_pathc > 0 &&
               std::string(g.gl_pathv[0]).back() != '/';
  globfree(&g);
  return found;
}

}  // namespace Kv_tools

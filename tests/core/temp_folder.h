// Test helper: a fresh folder in the system's temporary folder, removed with its content
// when the object goes. Names are Windows names in both builds (the native build's
// "Z:\..." names stand for Linux paths, see rtl/file_system.h).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "kv_tools/folders.h"
#include "kv_tools/identifiers.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "rtl/string.h"

namespace wtarn_test {

inline std::filesystem::path FsPath(const rtl::String& name) {
#ifdef _WIN32
  return std::filesystem::path(std::wstring(rtl::W(name)));
#else
  return std::filesystem::path(rtl::NativePath(name));
#endif
}

class TempFolder {
 public:
  explicit TempFolder(const char16_t* tag = u"h4a") {
    path_ = Kv_tools::chkPath(Kv_tools::GetTmpDir()) + u"wtarn-" + tag + u"-" + Kv_tools::CreateStrID().substr(1, 8);
    rtl::ForceDirectories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(FsPath(path_), ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without trailing backslash.
  const rtl::String& Path() const { return path_; }
  // chkPath(folder) + name.
  rtl::String operator/(const rtl::String& name) const { return path_ + u"\\" + name; }

  // Creates a file with the given bytes; false on failure.
  bool Write(const rtl::String& name, const std::string& bytes) const {
    std::FILE* f = nullptr;
#ifdef _WIN32
    f = _wfopen(rtl::W(name), L"wb");
#else
    f = std::fopen(rtl::NativePath(name).c_str(), "wb");
#endif
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
  }

  // The file's bytes ("" when missing).
  static std::string Read(const rtl::String& name) {
    std::FILE* f = nullptr;
#ifdef _WIN32
    f = _wfopen(rtl::W(name), L"rb");
#else
    f = std::fopen(rtl::NativePath(name).c_str(), "rb");
#endif
    std::string r;
    if (!f) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) r.append(buf, n);
    std::fclose(f);
    return r;
  }

 private:
  rtl::String path_;
};

// Sets a String global for the length of a scope and restores it.
class ScopedGlobal {
 public:
  ScopedGlobal(rtl::String& global, const rtl::String& value) : global_(global), saved_(global) { global_ = value; }
  ~ScopedGlobal() { global_ = saved_; }

 private:
  rtl::String& global_;
  rtl::String saved_;
};

}  // namespace wtarn_test

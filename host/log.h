// The stand-in IDE's transcript: every step as a timed line on standard output and in the
// transcript file, which the companion program writes into as well.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "host/transcript.h"
#include "rtl/string.h"

namespace host {

class Log {
 public:
  Log(std::wstring file, uint64_t start) : file_(std::move(file)), start_(start) {}
  // One step: "  12.345  who:        what".
  void operator()(const char* who, const std::string& what) const {
    const std::string line = transcript::FormatLine(start_, who, what);
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
    transcript::Append(file_, line);
  }
  const std::wstring& File() const { return file_; }
  uint64_t Start() const { return start_; }

 private:
  std::wstring file_;
  uint64_t start_;
};

// A String as UTF-8 for the transcript. Example: Text(u"Tarn") == "Tarn".
inline std::string Text(const rtl::String& s) {
  return transcript::Utf8(std::wstring(s.begin(), s.end()));
}

// A number as 0x%08X. Example: Hex(0x16CF0000) == "0x16CF0000".
inline std::string Hex(uintptr_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

// The window's class name. Example: ClassOf(panel) == "TPanel".
inline std::string ClassOf(HWND wnd) {
  wchar_t name[80];
  return transcript::Utf8(std::wstring(name, static_cast<size_t>(GetClassNameW(wnd, name, 80))));
}

}  // namespace host

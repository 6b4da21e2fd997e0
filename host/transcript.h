// The road's transcript: one line per step, "  12.345  who          what", appended to a file
// that the stand-in IDE and the companion program both write into. Times count in seconds
// from the IDE's start, which the IDE hands to the companion through the environment.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "rtl/handles.h"

namespace transcript {

// Environment variables through which the IDE passes the transcript to the companion.
inline constexpr wchar_t kFileVariable[] = L"TARNPLUGIN_TRANSCRIPT";
inline constexpr wchar_t kStartVariable[] = L"TARNPLUGIN_TRANSCRIPT_T0";

// Now, in 100 ns units of the system clock.
inline uint64_t Now() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// UTF-16 text as UTF-8.
inline std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// The line for a step taken now by who, with its time since start.
inline std::string FormatLine(uint64_t start, const char* who, const std::string& what) {
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, "%8.3f  %-12s ", static_cast<double>(Now() - start) / 1e7,
                who);
  return stamp + what + "\n";
}

// Appends one line to the transcript file; nothing when there is no file.
inline void Append(const std::wstring& file, const std::string& line) {
  if (file.empty()) return;
  rtl::UniqueFile f(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written;
  if (f) WriteFile(f.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace transcript

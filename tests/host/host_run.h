// Helpers for the tests that run the stand-in IDE: its folder, a run of it with a transcript,
// and its Known Packages list, emptied for a test and given back as it was afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "rtl/handles.h"

namespace host_test {

// The IDE's Known Packages list under the current user (its release's registry key).
inline constexpr wchar_t kKnownPackages[] = L"Software\\Embarcadero\\BDS\\22.0\\Known Packages";

// The folder of the test program (the build's bin folder), with a trailing backslash.
inline std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  std::wstring p(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

// A file's bytes; "" when it cannot be read.
inline std::string ReadText(const std::wstring& file) {
  rtl::UniqueFile f(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  std::string text(f ? GetFileSize(f.get(), nullptr) : 0, '\0');
  DWORD n = 0;
  if (f) ReadFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  return text.substr(0, n);
}

// The transcript file of a test's IDE runs, in the temporary folder.
inline std::wstring TranscriptFile() {
  wchar_t temp[MAX_PATH];
  return std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"wtarn-host-test.txt";
}

// Starts the stand-in IDE, headless, in its folder, with these options and the transcript of
// TranscriptFile(); its process, or none.
inline rtl::UniqueHandle StartHost(const std::wstring& options) {
  std::wstring line = L"\"" + BinFolder() + L"wtarn_host.exe\" --headless --transcript=\"" +
                      TranscriptFile() + L"\" " + options;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      BinFolder().c_str(), &si, &pi))
    return rtl::UniqueHandle();
  CloseHandle(pi.hThread);
  return rtl::UniqueHandle(pi.hProcess);
}

// Runs the stand-in IDE to its end (at most 60 s); its transcript, or "" when it did not end.
inline std::string RunHost(const std::wstring& options) {
  rtl::UniqueHandle host = StartHost(options);
  if (!host || WaitForSingleObject(host.get(), 60000) != WAIT_OBJECT_0) return "";
  return ReadText(TranscriptFile());
}

// The seconds at the start of the transcript line holding text; -1 when there is none.
inline double TimeOf(const std::string& transcript, const std::string& text) {
  const size_t at = transcript.find(text);
  if (at == std::string::npos) return -1;
  const size_t line = transcript.rfind('\n', at);
  return std::stod(transcript.substr(line == std::string::npos ? 0 : line + 1));
}

// The Known Packages list, emptied while this lives; the values it held come back afterwards.
class KnownPackages {
 public:
  struct Value {
    std::wstring name;
    DWORD type;
    std::string data;
  };
  KnownPackages() {
    saved_ = Values();
    for (const Value& v : saved_) Remove(v.name);
  }
  ~KnownPackages() {
    for (const Value& v : Values()) Remove(v.name);
    for (const Value& v : saved_) Set(v.name, v.type, v.data);
  }
  KnownPackages(const KnownPackages&) = delete;
  KnownPackages& operator=(const KnownPackages&) = delete;

  // Adds a value; a text value when type is REG_SZ (data then is its text with the zero).
  static void Set(const std::wstring& name, DWORD type, const std::string& data) {
    rtl::UniqueKey key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kKnownPackages, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    key.put(), nullptr);
    RegSetValueExW(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
  }
  static void SetText(const std::wstring& name, const std::wstring& text) {
    Set(name, REG_SZ, std::string(reinterpret_cast<const char*>(text.c_str()), 2 * text.size() + 2));
  }
  static void Remove(const std::wstring& name) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kKnownPackages, name.c_str());
  }
  // The values of the list, in the registry's order.
  static std::vector<Value> Values() {
    std::vector<Value> values;
    rtl::UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKnownPackages, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
      return values;
    for (DWORD i = 0;; ++i) {
      wchar_t name[1024];
      std::string data(65536, '\0');
      DWORD name_len = 1024, type = 0, size = static_cast<DWORD>(data.size());
      if (RegEnumValueW(key.get(), i, name, &name_len, nullptr, &type,
                        reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return values;
      values.push_back({{name, name_len}, type, data.substr(0, size)});
    }
  }

 private:
  std::vector<Value> saved_;
};

}  // namespace host_test

// The platform seam on Win32: the user's locale and the process's ANSI code page.
#include <windows.h>

#include "rtl/platform.h"

namespace rtl {
namespace {

String MapCase(StringView s, DWORD flags) {
  if (s.empty()) return String();
  String r(s);
  // LCMapStringW keeps the length for plain case mapping.
  int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, reinterpret_cast<LPCWSTR>(s.data()),
                       static_cast<int>(s.size()), reinterpret_cast<LPWSTR>(r.data()),
                       static_cast<int>(r.size()));
  if (n <= 0) return String(s);
  r.resize(static_cast<size_t>(n));
  return r;
}

int CompareLocale(StringView a, StringView b, DWORD flags) {
  int r = CompareStringW(LOCALE_USER_DEFAULT, flags, reinterpret_cast<LPCWSTR>(a.data()),
                         static_cast<int>(a.size()), reinterpret_cast<LPCWSTR>(b.data()),
                         static_cast<int>(b.size()));
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

}  // namespace

String AnsiLowerCase(StringView s) { return MapCase(s, LCMAP_LOWERCASE); }

String AnsiUpperCase(StringView s) { return MapCase(s, LCMAP_UPPERCASE); }

int AnsiCompareText(StringView a, StringView b) { return CompareLocale(a, b, NORM_IGNORECASE); }

int AnsiCompareStr(StringView a, StringView b) { return CompareLocale(a, b, 0); }

unsigned AnsiCodePage() { return GetACP(); }

String DecodeAnsi(std::string_view bytes) {
  if (bytes.empty()) return String();
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  String r(static_cast<size_t>(n > 0 ? n : 0), u'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<LPWSTR>(r.data()), n);
  return r;
}

std::string EncodeAnsi(StringView s) {
  if (s.empty()) return std::string();
  auto w = reinterpret_cast<LPCWSTR>(s.data());
  int len = static_cast<int>(s.size());
  int n = WideCharToMultiByte(CP_ACP, 0, w, len, nullptr, 0, nullptr, nullptr);
  std::string r(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, len, r.data(), n, nullptr, nullptr);
  return r;
}

}  // namespace rtl

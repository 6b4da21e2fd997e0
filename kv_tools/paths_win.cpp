// Kv_tools paths: the platform's folders and the shell's display names.
#include <windows.h>
#include <shellapi.h>

#include "kv_tools/paths.h"

namespace Kv_tools {
namespace {

// A folder asked for with room for 144 characters; "" when it does not fit (the platform
// then fills nothing and answers the size it needs).
String FolderOf(UINT (WINAPI* query)(LPWSTR, UINT)) {
  wchar_t buf[145] = {};
  UINT n = query(buf, 144);
  return n == 0 || n >= 144 ? String() : rtl::FromW(buf, n);
}

}  // namespace

String GetWindowsPath() { return FolderOf(GetWindowsDirectoryW); }

String GetSystemPath() { return FolderOf(GetSystemDirectoryW); }

String kv_GetLongFileName(const String& Path) {
  SHFILEINFOW info{};
  if (SHGetFileInfoW(rtl::W(Path), 0, &info, sizeof info, SHGFI_DISPLAYNAME) == 0) return String();
  info.szDisplayName[MAX_PATH - 1] = 0;
  return rtl::FromW(info.szDisplayName);
}

}  // namespace Kv_tools

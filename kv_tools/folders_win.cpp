// Kv_tools special folders: the Win32 and shell parts.
#include <windows.h>
#include <shlobj.h>

#include "kv_tools/folders.h"
#include "kv_tools/folders_platform.h"
#include "kv_tools/processes.h"
#include "kv_tools/sysinfo.h"
#include "rtl/handles.h"

namespace Kv_tools {
namespace {

BrowseForFolderFn& BrowseHook() {
  static BrowseForFolderFn hook = nullptr;
  return hook;
}

// An item list from the shell, freed with the task allocator.
struct ItemList {
  LPITEMIDLIST pidl = nullptr;
  ~ItemList() { CoTaskMemFree(pidl); }
};

}  // namespace

namespace folders_platform {

String SpecialFolder(int csidl) {
  ItemList list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list.pidl)) || !list.pidl) return String();
  wchar_t buf[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(list.pidl, buf)) return String();
  buf[MAX_PATH] = 0;
  return rtl::FromW(buf);
}

// The platform writes the new name into a buffer of MAX_PATH characters; it refuses a folder
// longer than MAX_PATH - 14, but Wine copies any folder into the buffer, so such a folder is
// refused here ("").
String TempFileIn(const String& dir, const String& prefix) {
  wchar_t buf[MAX_PATH + 1] = {};
  if (dir.size() > MAX_PATH - 14 || GetTempFileNameW(rtl::W(dir), rtl::W(prefix), 0, buf) == 0) return String();
  buf[256] = 0;
  return rtl::FromW(buf);
}

unsigned DriveType(const String& root) { return GetDriveTypeW(rtl::W(root)); }

}  // namespace folders_platform

void SetBrowseForFolderHook(BrowseForFolderFn hook) { BrowseHook() = hook; }

String Getfolder(int Root, const String& Title) {
  HWND owner = GetActiveWindow();
  ItemList root;
  if (FAILED(SHGetSpecialFolderLocation(owner, Root, &root.pidl))) return String();
  wchar_t buffer[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = root.pidl;
  info.pszDisplayName = buffer;
  info.lpszTitle = rtl::W(Title);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;  // 0x41
  info.lpfn = bffCallback;
  info.lParam = 0;
  ItemList chosen;
  chosen.pidl = BrowseHook() ? BrowseHook()(&info) : SHBrowseForFolderW(&info);
  if (!chosen.pidl) return String();
  String result;
  if (Root == kCsidlNetwork) result = rtl::FromW(buffer);
  if (SHGetPathFromIDListW(chosen.pidl, buffer)) result = rtl::FromW(buffer);
  return result;
}

String GetTmpDir() {
  wchar_t buf[256] = {};
  DWORD n = GetTempPathW(255, buf);
  return n == 0 || n > 255 ? String() : rtl::FromW(buf, n);
}

String GetUserProfilePath() { return UserProfilePathFor(IsWindowsNT()); }

bool kv_FileExists(const String& FileName) {
  WIN32_FIND_DATAW data;
  rtl::UniqueFind find(FindFirstFileW(rtl::W(FileName), &data));
  return find && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace Kv_tools

// File-system queries of rtl/file_system.h on Win32, with the runtime's rules for links and a
// listing for names that cannot be examined (locked files, access denied).
#include <windows.h>

#include <algorithm>
#include <vector>

#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"

namespace rtl {
namespace {

// The attributes of the item a link leads to; INVALID_FILE_ATTRIBUTES when unreachable.
DWORD TargetAttributes(const String& name) {
  UniqueFile h(CreateFileW(W(name), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!h || !GetFileInformationByHandle(h.get(), &info)) return INVALID_FILE_ATTRIBUTES;
  return info.dwFileAttributes;
}

// The attributes of the first entry that a listing of pattern shows; INVALID_FILE_ATTRIBUTES
// when it shows none.
DWORD ListedAttributes(const String& pattern) {
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(W(pattern), &data));
  return find ? data.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

bool HoldsWildcard(const String& name) { return name.find_first_of(u"*?") != String::npos; }

// A name that GetFileAttributes cannot examine (in use, no access) but a listing shows as a
// file. A wildcard would list other entries: not seen.
bool ListedAsFile(const String& name) {
  if (HoldsWildcard(name)) return false;
  const DWORD attr = ListedAttributes(name);
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// As ListedAsFile for a folder: its entry in its parent's listing, or a listing of its content.
bool ListedAsFolder(const String& name) {
  if (HoldsWildcard(name)) return false;
  const String dir = ExcludeTrailingPathDelimiter(name);
  const DWORD attr = ListedAttributes(dir);
  if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) return true;
  return ListedAttributes(dir + u"\\*") != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool FileExists(const String& name, bool followLink) {
  if (HoldsNul(name)) return false;
  DWORD attr = GetFileAttributesW(W(name));
  if (attr != INVALID_FILE_ATTRIBUTES) {
    if ((attr & FILE_ATTRIBUTE_REPARSE_POINT) && followLink) {
      if (attr & FILE_ATTRIBUTE_DIRECTORY) return false;
      DWORD target = TargetAttributes(name);
      if (target != INVALID_FILE_ATTRIBUTES) return (target & FILE_ATTRIBUTE_DIRECTORY) == 0;
      return GetLastError() == ERROR_SHARING_VIOLATION;
    }
    return (attr & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  return SeenAfterFailedQuery(GetLastError(), [&] { return ListedAsFile(name); });
}

bool DirectoryExists(const String& name, bool followLink) {
  if (HoldsNul(name)) return false;
  DWORD attr = GetFileAttributesW(W(name));
  if (attr != INVALID_FILE_ATTRIBUTES) {
    if ((attr & FILE_ATTRIBUTE_REPARSE_POINT) && followLink) {
      DWORD target = TargetAttributes(name);
      return target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    return (attr & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  return SeenAfterFailedQuery(GetLastError(), [&] { return ListedAsFolder(name); });
}

bool CreateDir(const String& dir) { return CreateDirectoryW(W(dir), nullptr) != 0; }

bool RemoveFile(const String& name) { return DeleteFileW(W(name)) != 0; }

bool RemoveDir(const String& dir) { return RemoveDirectoryW(W(dir)) != 0; }

String ProgramFileName() {
  std::vector<wchar_t> buf(MAX_PATH + 1);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return String();
    if (n < buf.size()) return FromW(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

std::string ReadFileBytes(const String& name) {
  UniqueFile file(CreateFileW(W(name), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.get(), &size))
    throw EFOpenError(u"Cannot open file \"" + name + u"\"", GetLastError());
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  for (size_t done = 0; done < bytes.size();) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0)
      throw EReadError(u"Stream read error");
    done += got;
  }
  return bytes;
}

}  // namespace rtl

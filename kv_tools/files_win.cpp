// Kv_tools file operations through Win32 and the shell.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "kv_tools/files.h"
#include "kv_tools/message_box.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/format_settings.h"
#include "rtl/handles.h"
#include "rtl/platform.h"

namespace Kv_tools {
namespace {

// The full path of a name (GetFullPathNameW); the name itself when it cannot be expanded.
String ExpandFileName(const String& name) {
  std::vector<wchar_t> buf(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetFullPathNameW(rtl::W(name), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n == 0) return name;
    if (n < buf.size()) return rtl::FromW(buf.data(), n);
    buf.resize(n);
  }
}

// The first directory entry matching a name (wildcards allowed); nothing when none does.
std::optional<WIN32_FIND_DATAW> FirstEntry(const String& name) {
  WIN32_FIND_DATAW data;
  rtl::UniqueFind find(FindFirstFileW(rtl::W(name), &data));
  if (!find) return std::nullopt;
  return data;
}

std::optional<uint32_t> AttributesOf(const String& name) {
  const DWORD attributes = GetFileAttributesW(rtl::W(name));
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

// The read-only bit set or cleared, other bits kept; nothing written when it already has
// that state.
bool ChangeWriteProtect(const String& name, bool protect) {
  const std::optional<uint32_t> attributes = AttributesOf(name);
  if (!attributes) return false;
  const DWORD wanted = protect ? *attributes | FILE_ATTRIBUTE_READONLY : *attributes & ~FILE_ATTRIBUTE_READONLY;
  return wanted == *attributes || SetFileAttributesW(rtl::W(name), wanted);
}

// One shell file operation on a path; true when the shell reports success.
bool ShellFileOperation(const String& path, UINT func, FILEOP_FLAGS flags) {
  const String from = path + u'\0';  // the list ends with a second zero
  SHFILEOPSTRUCTW op{};
  op.wFunc = func;
  op.pFrom = rtl::W(from);
  op.fFlags = flags;
  return SHFileOperationW(&op) == 0;
}

// A local date-time from a UTC file time, at full precision.
std::optional<double> LocalDateTime(const FILETIME& utc) {
  FILETIME local;
  SYSTEMTIME t;
  double day, time_of_day;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t) ||
      !rtl::TryEncodeDate(t.wYear, t.wMonth, t.wDay, day) ||
      !rtl::TryEncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, time_of_day))
    return std::nullopt;
  return day + time_of_day;
}

// A local date-time from a UTC file time, through the file-date format.
std::optional<double> LocalFileDate(const FILETIME& utc) {
  FILETIME local;
  WORD date, time;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return std::nullopt;
  return FileDateToDateTime(static_cast<uint32_t>(date) << 16 | time);
}

// The UTC file time of a local date-time, through the file-date format.
std::optional<FILETIME> UtcFileTime(double local_date_time) {
  const uint32_t file_date = DateTimeToFileDate(local_date_time);
  FILETIME local, utc;
  if (file_date == 0 || !DosDateTimeToFileTime(HIWORD(file_date), LOWORD(file_date), &local) ||
      !LocalFileTimeToFileTime(&local, &utc))
    return std::nullopt;
  return utc;
}

rtl::UniqueFile OpenExisting(const String& name, DWORD access, DWORD flags = 0) {
  return rtl::UniqueFile(CreateFileW(rtl::W(name), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, flags, nullptr));
}

}  // namespace

FileSteps Win32FileSteps() {
  return FileSteps{
      [](const String& dir) { return rtl::ForceDirectories(dir); },
      AttributesOf,
      [](const String& name, uint32_t attributes) { return SetFileAttributesW(rtl::W(name), attributes) != 0; },
      [](const String& from, const String& to) { return MoveFileW(rtl::W(from), rtl::W(to)) != 0; },
      [](const String& from, const String& to) { return CopyFileW(rtl::W(from), rtl::W(to), FALSE) != 0; },
      [](const String& name) { return DeleteFileW(rtl::W(name)) != 0; },
  };
}

bool kv_CopyFile(const String& Source, const String& Target) {
  return CopyFileWith(Win32FileSteps(), Source, Target);
}

bool kv_MoveFile(const String& Source, const String& Target) {
  return MoveFileWith(Win32FileSteps(), Source, Target);
}

bool DelDir(const String& DirName) {
  return ShellFileOperation(DirName, FO_DELETE, FOF_SILENT | FOF_NOCONFIRMATION);
}

bool RecycleFile(const String& FileName) {
  return ShellFileOperation(FileName, FO_DELETE, FOF_ALLOWUNDO | FOF_NOCONFIRMATION);
}

bool SetWriteProtect(const String& FileName) { return ChangeWriteProtect(FileName, true); }

bool RemoveWriteProtect(const String& FileName) { return ChangeWriteProtect(FileName, false); }

bool IsWriteProtect(const String& FileName) {
  const std::optional<uint32_t> attributes = AttributesOf(FileName);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && (*attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

int64_t kv_GetFileSize(const String& FileName) {
  const std::optional<WIN32_FIND_DATAW> entry = FirstEntry(ExpandFileName(FileName));
  if (!entry) return -1;
  return static_cast<int64_t>(static_cast<uint64_t>(entry->nFileSizeHigh) << 32 | entry->nFileSizeLow);
}

// Opening the file (not its link) follows links.
double kv_GetFileAge(const String& FileName) {
  rtl::UniqueFile file = OpenExisting(FileName, 0, FILE_FLAG_BACKUP_SEMANTICS);
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return rtl::Now();
  return LocalDateTime(info.ftLastWriteTime).value_or(rtl::Now());
}

bool GetFileTimes(const String& FileName, double& Created, double& Accessed, double& Modified) {
  const std::optional<WIN32_FIND_DATAW> entry = FirstEntry(FileName);
  if (!entry) return false;
  const std::optional<double> created = LocalFileDate(entry->ftCreationTime);
  const std::optional<double> accessed = LocalFileDate(entry->ftLastAccessTime);
  const std::optional<double> modified = LocalFileDate(entry->ftLastWriteTime);
  if (!created || !accessed || !modified) return false;
  Created = *created;
  Accessed = *accessed;
  Modified = *modified;
  return true;
}

bool SetFileTimes(const String& FileName, double Created, double Accessed, double Modified) {
  rtl::UniqueFile file = OpenExisting(FileName, GENERIC_WRITE);
  if (!file) return false;
  if (const auto t = UtcFileTime(Created)) SetFileTime(file.get(), &*t, nullptr, nullptr);
  if (const auto t = UtcFileTime(Accessed)) SetFileTime(file.get(), nullptr, &*t, nullptr);
  if (const auto t = UtcFileTime(Modified)) SetFileTime(file.get(), nullptr, nullptr, &*t);
  return true;
}

double GetFileDateTime(const String& FileName) {
  const std::optional<WIN32_FIND_DATAW> entry = FirstEntry(ExpandFileName(FileName));
  const std::optional<double> modified = entry ? LocalFileDate(entry->ftLastWriteTime) : std::nullopt;
  return modified.value_or(rtl::Now());
}

double GetModifyDate(const String& FileName) {
  rtl::UniqueFile file = OpenExisting(FileName, GENERIC_READ);
  FILETIME written;
  const std::optional<double> modified =
      file && GetFileTime(file.get(), nullptr, nullptr, &written) ? LocalFileDate(written) : std::nullopt;
  return modified.value_or(rtl::Now());
}

void SaveAnsiStringToFile(const String& S, const String& FileName) {
  const std::string bytes = rtl::EncodeAnsi(S);
  rtl::UniqueFile file(CreateFileW(rtl::W(FileName), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    throw rtl::EFOpenError(u"Cannot create file \"" + FileName + u"\"", GetLastError());
}

void CompareThisFiles(const String& FileName1, const String& FileName2) {
  const int64_t size1 = kv_GetFileSize(FileName1);
  const int64_t size2 = kv_GetFileSize(FileName2);
  const std::string bytes1 = rtl::ReadFileBytes(FileName1);
  const std::string bytes2 = rtl::ReadFileBytes(FileName2);
  ShowMessage(CompareReport(FileName1, FileName2, size1, size2, bytes1, bytes2));
}

String GetBuildNumber(const String& FileName) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(rtl::W(FileName), &handle);
  if (size == 0) return String();
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixed_size = 0;
  if (!GetFileVersionInfoW(rtl::W(FileName), 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size) || !fixed)
    return String();
  return rtl::IntToStr(LOWORD(fixed->dwFileVersionLS));
}

}  // namespace Kv_tools

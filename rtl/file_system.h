// The runtime's file-name and file-system helpers (the SysUtils routines the library uses).
// Pure text helpers work on Windows path text (separator "\", drive colon ":") in every build.
// File-system queries: Win32 in the Windows build; in the native build a stand-in over the
// Linux file system, where "Z:\a\b" names "/a/b" (as Wine's Z: drive does), any other
// backslash is taken as "/", and other drive letters name nothing.
// None raises an error; failures give false or the empty string.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "rtl/string.h"

namespace rtl {

// --- Pure text helpers (Delphi SysUtils semantics) -------------------------------------

// Name up to and including its last "\" or ":"; "" when it has neither.
// Example: ExtractFilePath(u"C:\\a\\b.txt") == u"C:\\a\\", ExtractFilePath(u"C:x") == u"C:".
KV_API String ExtractFilePath(const String& name);
// As ExtractFilePath, without the final "\" unless that leaves a root ("C:\" or "\").
// Example: ExtractFileDir(u"C:\\a\\b.txt") == u"C:\\a", ExtractFileDir(u"C:\\b") == u"C:\\".
KV_API String ExtractFileDir(const String& name);
// Text after the last "\" or ":". Example: ExtractFileName(u"C:\\a\\b.txt") == u"b.txt".
KV_API String ExtractFileName(const String& name);
// From the last "." of the last component on, dot included; "" without one.
// Example: ExtractFileExt(u"C:\\a.d\\b") == u"", ExtractFileExt(u"x.tar.gz") == u".gz".
KV_API String ExtractFileExt(const String& name);
// Name with its extension (as ExtractFileExt) replaced by ext (which brings its own dot).
// Example: ChangeFileExt(u"C:\\IDE\\bds.exe", u".INI") == u"C:\\IDE\\bds.INI".
KV_API String ChangeFileExt(const String& name, const String& ext);
// Name with one "\" appended unless it ends in one; "" gives "\".
KV_API String IncludeTrailingPathDelimiter(const String& name);
// Name without its final "\" (one), when it has one.
KV_API String ExcludeTrailingPathDelimiter(const String& name);

// --- File-system queries (platform) ----------------------------------------------------

// True when name exists and is not a folder. Links are followed when followLink is true.
// A name holding a NUL character names nothing (the platform would see only the part before
// it): false. When the attribute query fails, SeenAfterFailedQuery decides with a listing.
KV_API bool FileExists(const String& name, bool followLink = true);
// True only when name is seen as a folder: its attributes read as one, or, when the query
// fails, SeenAfterFailedQuery with a listing of it. An unreachable network path
// (u"\\\\server\\share\\x", error 66 under Wine) gives false. Links are followed when followLink
// is true. A name holding a NUL character gives false, as for FileExists.
// Unlike the runtime's test, a failed query that no listing confirms is no folder.
KV_API bool DirectoryExists(const String& name, bool followLink = true);
// The existence tests' rule once the attribute query failed with Win32 error code error:
// a "not found" answer (2, 3, 21, 53, 67, 123) is no without asking listed(); any other (5
// access denied, 32 in use, 66 unreachable share ...) is what listed() (a listing of the
// name shows it) answers. Example: SeenAfterFailedQuery(66, listing) == false when
// the listing finds nothing.
KV_API bool SeenAfterFailedQuery(uint32_t error, const std::function<bool()>& listed);
// True when name holds a NUL character, which the platform takes as the name's end.
inline bool HoldsNul(const String& name) { return name.find(u'\0') != String::npos; }
// Creates one folder; false when it could not be created (also when it exists).
KV_API bool CreateDir(const String& dir);
// Creates dir with all missing parents; true when it exists afterwards. An empty dir
// gives false (a runtime that raises an I/O error there would break the no-raise rule; no caller
// of the library passes one).
KV_API bool ForceDirectories(const String& dir);
// Deletes one file; false on failure.
KV_API bool RemoveFile(const String& name);
// Removes one empty folder; false on failure.
KV_API bool RemoveDir(const String& dir);
// The whole content of a file, opened for reading while others may only read it.
// EFOpenError when it cannot be opened, EReadError when it yields fewer bytes than its size.
KV_API std::string ReadFileBytes(const String& name);
// Full file name of the running process's program file (host executable, not a DLL).
// Native: "Z:" + the Linux path of /proc/self/exe with "\" separators.
KV_API String ProgramFileName();

#ifndef _WIN32
// Native build only: the Linux path that a Windows-style name stands for (see top).
KV_API std::string NativePath(const String& name);
#endif

}  // namespace rtl

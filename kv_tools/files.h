// Kv_tools file operations: copy and move with care for the read-only attribute, delete a
// folder tree or recycle a file, write protection, sizes and size texts, file times,
// an 8-bit text file writer, a byte comparison of two files, the marked version text and
// the build number of a program file.
//
// Write protection is the read-only attribute (1); no routine touches the other bits.
// Times are local date-time values (days since 30 December 1899). All routines except
// kv_GetFileAge pass times through the file-date format (local time packed in 32 bits,
// years 1980 to 2107, seconds in 2-second steps rounded down).
// Only CompareThisFiles, SaveAnsiStringToFile and kv_GetFileVersion raise; the rest report
// by their results.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// The version record that kv_GetFileVersion fills: 8-bit strings in the ANSI code page.
struct TFileVersionInfo {
  std::string ProgID;
  std::string ProgVersion;
  std::string FileVersion;
  std::string System;
  std::string Password;
  std::string NetUse;
  std::string OnlyNetUse;

  bool operator==(const TFileVersionInfo&) const = default;
};

// A size as text with the process's decimal separator: above 1000 GB "%.2f TB", above
// 2^30 bytes "%.2f GB", above 2^20 "%.2f MB", below 1024 "%.2f kb" (a positive size that
// shows as "0,00 kb" gives "0,01 kb", "0.01 kb" under a point), else whole kilobytes "%d kb"
// (halves to even). Examples (comma): 512 gives u"0,50 kb", 3 gives u"0,01 kb", 1048576 gives
// u"1024 kb", 1073741825 gives u"1,00 GB".
// Deliberately: two decimals round halves away from zero; "0.01 kb" under a point too.
KV_API String GetSizeStr(int64_t Size);

// Reads the marked version text S: fields divided by the character of code 1, field 1
// exactly "@kv-VER@". Fields 2-5 go to ProgID, ProgVersion, FileVersion, System (a missing
// field leaves its member); field 6 sets LinesToRead (0 when empty); fields 7-9 go to
// Password, NetUse, OnlyNetUse (missing or empty: the member is emptied). False, nothing
// changed, without the marker. A field 6 that is no integer raises rtl::EConvertError
// after fields 2-5 are stored.
// Example: u"@kv-VER@\x01Tarn\x01" u"2.1" sets ProgID "Tarn", ProgVersion "2.1" and empties
// Password, NetUse, OnlyNetUse.
KV_API bool kv_GetFileVersion(const String& S, TFileVersionInfo& Info);

// --- Pure forms (the decisions, with the platform's answers passed in) -----------------

// The file-date form of a local date-time: seconds rounded down to even, milliseconds
// dropped; 0 for a year outside 1980..2107.
// Example: 1 January 1980 00:00:03 gives 0x00210001.
KV_API uint32_t DateTimeToFileDate(double DateTime);
// The local date-time of a file date; nothing when it holds no valid date and time.
KV_API std::optional<double> FileDateToDateTime(uint32_t FileDate);

// The text that CompareThisFiles shows for two files with their names, sizes and bytes:
// the size header, then the first difference with its position (1-based), both bytes and
// up to 10 bytes of context each ("Dateien sind gleich." when equal in size and bytes,
// nothing more when one is a prefix of the other). Lines are divided by CR alone.
// Example: equal files give u"3: Größe von a\r3: Größe von b\r\rDateien sind gleich.".
KV_API String CompareReport(const String& Name1, const String& Name2, int64_t Size1, int64_t Size2,
                            std::string_view Bytes1, std::string_view Bytes2);

// The platform steps of kv_CopyFile and kv_MoveFile, so that every step can fail on
// purpose in a test. Attributes answers nothing when the name cannot be examined.
struct FileSteps {
  std::function<bool(const String& dir)> ForceDirectories;  // true when dir exists afterwards
  std::function<std::optional<uint32_t>(const String& name)> Attributes;
  std::function<bool(const String& name, uint32_t attributes)> SetAttributes;
  std::function<bool(const String& from, const String& to)> Move;  // fails when `to` exists
  std::function<bool(const String& from, const String& to)> Copy;  // replaces `to`
  std::function<bool(const String& name)> Remove;
};

// kv_CopyFile over the given steps.
KV_API bool CopyFileWith(const FileSteps& Steps, const String& Source, const String& Target);
// kv_MoveFile over the given steps.
KV_API bool MoveFileWith(const FileSteps& Steps, const String& Source, const String& Target);

#ifdef _WIN32
// --- The platform ------------------------------------------------------------------------

// The Win32 steps behind kv_CopyFile and kv_MoveFile.
KV_API FileSteps Win32FileSteps();

// Copies Source onto Target (replacing it), creating Target's folder with its parents.
// A read-only source stays read-only and its copy gets the source's attributes. False when
// the folder cannot be made, the source is missing or a folder, or the copy fails.
// Example: kv_CopyFile(u"C:\\a.txt", u"C:\\new\\dir\\a.txt") creates C:\new\dir.
// Deliberately, the copy's own result decides: a failed copy onto an existing target is false.
KV_API bool kv_CopyFile(const String& Source, const String& Target);

// Moves Source to Target. A free target takes the platform's move (also across volumes);
// an existing one is replaced by copy, the source's attributes on the copy, and deletion
// of the source. False when any step fails; the source is then still there, unchanged.
// A read-only source onto an existing target gives false: the copy is made, the
// read-only source stays.
// Deliberately, a failed copy onto an existing target never deletes the source.
KV_API bool kv_MoveFile(const String& Source, const String& Target);

// Deletes a folder with everything in it (or a file), permanently, without confirmation
// or progress window; true when the shell reports success.
KV_API bool DelDir(const String& DirName);
// Sends a file or folder to the recycle bin, without confirmation; true on success.
KV_API bool RecycleFile(const String& FileName);

// Sets / clears the read-only attribute, keeping the other bits; true also when it already
// had the wanted state; false for a missing file or when the platform refuses.
KV_API bool SetWriteProtect(const String& FileName);
KV_API bool RemoveWriteProtect(const String& FileName);
// True when the file exists and is read-only; false for a folder or a missing file.
KV_API bool IsWriteProtect(const String& FileName);

// Size in bytes of the first directory entry that matches the expanded name (0 for a
// folder); -1 when there is none. Example: a file of 5 bytes gives 5.
KV_API int64_t kv_GetFileSize(const String& FileName);

// Last write time of a file at full precision (links followed); now when it is missing.
KV_API double kv_GetFileAge(const String& FileName);
// Creation, last access and last write of the first directory entry matching FileName,
// in 2-second steps; false, the out values untouched, when it is missing or a time cannot
// be converted.
KV_API bool GetFileTimes(const String& FileName, double& Created, double& Accessed, double& Modified);
// Sets the three times (each passes through the file-date format; one that cannot, such as
// a year before 1980, is skipped); false only when the file cannot be opened for writing.
// Example: a last write set to 12:00:01 reads back as 12:00:00.
KV_API bool SetFileTimes(const String& FileName, double Created, double Accessed, double Modified);
// Last write time, in 2-second steps, of the first directory entry matching the expanded
// name; now when there is none.
KV_API double GetFileDateTime(const String& FileName);
// Last write time, in 2-second steps, of the file opened for reading (others may read and
// write); now when it cannot be opened.
KV_API double GetModifyDate(const String& FileName);

// Writes S in the ANSI code page (characters it lacks become "?") as the whole content of
// FileName: no byte-order mark, no terminator. rtl::EFOpenError when the file cannot be
// created or written.
KV_API void SaveAnsiStringToFile(const String& S, const String& FileName);

// Shows CompareReport for the two files in a message box with an OK button.
// rtl::EFOpenError (before anything is shown) when a file cannot be read.
KV_API void CompareThisFiles(const String& FileName1, const String& FileName2);

// The build number (last of the four file-version numbers) of a program file's version
// resource as text; "" without a resource. Example: file version 11.3.0.1234 gives u"1234".
KV_API String GetBuildNumber(const String& FileName);
#endif

}  // namespace Kv_tools

// Kv_tools paths and file names: trailing separator, parent folder, the
// program's and the system's folders, short-name expansion, relocation of stored paths onto
// the program drive in Mobile mode, name cleaning, names not yet taken.
//
// The separator is "\"; "/" is an ordinary character. A folder "with trailing separator"
// ends in exactly the one "\" that chkPath adds. Positions are 1-based. No routine raises,
// except the two-argument GetNotExistingFilename (EConvertError, see there).
// The relocation routines read the global DiskMode; each has a pure form below
// that takes DiskMode, AppPath and the existence tests as arguments.
#pragma once

#include <functional>

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// Path with one trailing "\"; "" stays "". Only the last character is looked at.
// Example: chkPath(u"C:") == u"C:\\", chkPath(u"C:\\a/") == u"C:\\a/\\", chkPath(u"") == u"".
KV_API String chkPath(const String& Path);

// Path without its one trailing "\". Example: RemoveSlash(u"C:\\a\\\\") == u"C:\\a\\".
KV_API String RemoveSlash(const String& Path);

// Parent folder without trailing "\", computed on the first 255 characters of Path in the
// ANSI code page (characters it lacks come back as its replacement character).
// Example: prevDir(u"C:\\a\\b\\") == u"C:\\a", prevDir(u"C:\\a") == u"C:", prevDir(u"C:\\") == u"".
KV_API String prevDir(const String& Path);

// Folder of the host executable (the running process's program file), with trailing "\".
// Example: u"C:\\IDE\\bin\\" for C:\IDE\bin\bds.exe.
KV_API String AppPath();

// The Windows folder / the system folder as the platform reports them (no trailing "\");
// "" when the folder does not fit into 144 characters. Native: u"C:\\windows" and
// u"C:\\windows\\system32".
KV_API String GetWindowsPath();
KV_API String GetSystemPath();

// Program registered for an extension (without dot) in Win.ini [Extensions] of the Windows
// folder: the first space-separated field of the value; "" when none or on any error.
// Example: value "notepad.exe ^.txt" gives u"notepad.exe". Native: always "".
KV_API String GetProgPath(const String& Ext);

// Path with every short-name ("~") component replaced by the shell's display name; a path
// containing "\\\\" anywhere comes back unchanged. Components are rejoined by single "\", so
// u"C:\\dir\\" gives u"C:\\dir" and u"\\dir\\x" gives u"dir\\x".
KV_API String kv_GetExpandedFilename(const String& Path);

// The shell's display name of the item (one name, not a path, at most 260 characters);
// "" when the shell knows no such item. Native: the last component of an existing item.
KV_API String kv_GetLongFileName(const String& Path);

// Relocation in Mobile mode (DiskMode exactly "Mobile"; any other mode returns the argument):
// a network path "\\\\srv\\x" becomes program drive + ":\\usbnet=srv\\x"; otherwise the first
// two characters are replaced by the program drive with colon, unless the step-3 test keeps
// the path: GetRelativFile keeps it when its folder and the file exist, GetRelativPath when
// the folder exists, the Strict forms never. An empty argument is returned unchanged, except
// by GetStrictRelativPath, which gives the program drive with colon (u"F:").
// Example (Mobile, AppPath F:\T\): GetRelativFile(u"E:\\Data\\a.txt") == u"F:\\Data\\a.txt"
// when E:\Data\a.txt is missing.
KV_API String GetRelativFile(const String& FileName);
KV_API String GetStrictRelativFile(const String& FileName);
KV_API String GetRelativPath(const String& Path);
KV_API String GetStrictRelativPath(const String& Path);

// DataDir, or AltDir when DataDir lower-cased (A-Z only) contains "c:\\programme" or
// "c:\\program files". Example: GetValidDataDir(u"C:\\Program Files (x86)\\T", u"D:\\") == u"D:\\".
KV_API String GetValidDataDir(const String& DataDir, const String& AltDir);

// S with characters invalid in a folder path replaced by "_": codes 1-31, " * / < > ? |,
// ":" except at position 2, and the second "\" of any pair except a leading one.
// Example: kv_GetValidDirName(u"C:\\a:b\\\\c?") == u"C:\\a_b\\_c_".
KV_API String kv_GetValidDirName(const String& S);

// S with characters invalid in a file name replaced by "_": codes 1-31, " ' * / : < > ? \ |.
// Example: kv_GetValidFilename(u"a:b/c.txt") == u"a_b_c.txt".
KV_API String kv_GetValidFilename(const String& S);

// How many numbers the numbered-name searches below try before they give up with "".
inline constexpr int kNumberedNameTries = 100000;

// A numbered file name that does not exist yet: stem (trailing digits removed) + number +
// extension, numbering from 1. Example: u"C:\\d\\report5.txt" gives u"C:\\d\\report1.txt" when
// that is free. Never the unnumbered name.
// Deliberately bounded: "" when kNumberedNameTries numbers are taken, instead of searching for ever.
KV_API String GetNotExistingFilename(const String& FileName);
// As above with start number text StartNr: first candidate stem + StartNr + ext (the file
// name itself when StartNr is empty); when it exists, numbering from the value of StartNr
// (1 when empty), "" after kNumberedNameTries taken numbers. EConvertError when the first
// candidate exists and StartNr is no integer.
KV_API String GetNotExistingFilename(const String& FileName, const String& StartNr);

// Path when no folder of that name exists, else Path + "1", Path + "2", ... (folders only
// count). Example: u"C:\\x\\" gives u"C:\\x\\1" when C:\x\ exists.
// Deliberately bounded: "" when kNumberedNameTries numbers are taken, instead of searching for ever.
KV_API String GetNotExistingDirName(const String& Path);

// --- Pure forms (the decisions, with the platform's answers passed in) -----------------

using PathTest = std::function<bool(const String&)>;

enum class Relocation { File, StrictFile, Path, StrictPath };

// The relocation rule of GetRelativFile and its family. dir_exists / file_exists answer
// "is there a folder / a file of this name" and are asked only when the rule needs them.
// Example: RelocatePath(Relocation::File, u"\\\\srv\\a", u"Mobile", u"F:\\T\\", ...) ==
// u"F:\\usbnet=srv\\a".
KV_API String RelocatePath(Relocation kind, const String& path, const String& disk_mode,
                           const String& app_path, const PathTest& dir_exists,
                           const PathTest& file_exists);

// kv_GetExpandedFilename with the shell's display-name query passed in ("" = no such item).
KV_API String ExpandShortNames(const String& path,
                               const std::function<String(const String&)>& display_name);

// GetNotExistingFilename with the file test passed in.
KV_API String NotExistingFilename(const String& file_name, const String& start_nr,
                                  const PathTest& file_exists);

// GetNotExistingDirName with the folder test passed in.
KV_API String NotExistingDirName(const String& path, const PathTest& dir_exists);

// GetProgPath's reading of a Win.ini [Extensions] value. Example: u"notepad.exe ^.txt" ->
// u"notepad.exe".
KV_API String ProgFromExtensionValue(const String& value);

}  // namespace Kv_tools

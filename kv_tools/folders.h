// Kv_tools special folders, temporary files and data directories: the user's and
// the system's special folders, the folder-browse dialog, temporary files and folders in the
// system's temporary folder or under ProgDataPath, the disk mode, write probes, a file test
// by directory listing.
//
// Failures are reported by results ("" or false); only GetUserProfilePath lets an error
// reading the registry value reach the caller (rtl::ERegistryException).
#pragma once

#include <functional>
#include <optional>

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// CSIDL numbers the library uses.
inline constexpr int kCsidlPersonal = 5;   // CSIDL_PERSONAL, the user's documents
inline constexpr int kCsidlNetwork = 18;   // CSIDL_NETWORK, the network neighbourhood
inline constexpr int kCsidlAppData = 26;   // CSIDL_APPDATA, roaming application data

// The file-system path of special folder CSIDL (no trailing "\"), at most 261 characters;
// "" when the platform does not know the folder or it has no file-system path.
// Example: GetSpecialFolder(26) == u"C:\\Users\\me\\AppData\\Roaming".
// Native: 26 gives $XDG_CONFIG_HOME (else $HOME/.config), 5 $HOME/Documents, both as
// "Z:\\..." names; other numbers "".
KV_API String GetSpecialFolder(int CSIDL);

// Folder dialog with InitFolder = InitialFolder (a final "\" dropped when longer than 3
// characters) for its length; InitFolder is empty afterwards. Result as Getfolder.
KV_API String GetInitfolder(const String& InitialFolder, int Root, const String& Title);
// The shell's folder-browse dialog rooted at special folder Root, flags 0x41, callback
// bffCallback. The chosen folder's path; with Root 18 the chosen item's display name when it
// has no path; "" when cancelled or on failure. Native: always "" (no dialog).
KV_API String Getfolder(int Root, const String& Title);

// The system's temporary folder with trailing "\". Example: u"C:\\Users\\me\\AppData\\Local\\Temp\\".
KV_API String GetTmpDir();
// Full name of a new empty file made by the platform in GetTmpDir (first three characters
// of Prefix used); "" on failure.
KV_API String GetmyTmpFile(const String& Prefix);
// With ProgData false: GetmyTmpFile(Prefix). With true: a new file in
// chkPath(ProgDataPath) + "Temp" (created with its parents), falling back to GetmyTmpFile.
KV_API String GetModusTmpFile(bool ProgData, const String& Prefix);
// With false: GetTmpDir (trailing "\"). With true: chkPath(ProgDataPath) + "Temp" (created;
// no trailing "\"), or GetTmpDir when it cannot be created.
KV_API String GetModusTmpDir(bool ProgData);
// A new folder named by the first group G of a new GUID: chkPath(ProgDataPath) + "Temp-" + G
// (ProgData true) or chkPath(GetTmpDir) + G (false), created with its parents; GetTmpDir when
// it cannot be created. Nothing deletes it again.
KV_API String GetModusTmpNewDir(bool ProgData);

// "Mobile" when the program's drive (first character of AppPath) is removable, else "Fixed";
// "Fixed" on any error.
KV_API String GetDiskMode();

// ProfilesDirectory of the ProfileList key under HKEY_LOCAL_MACHINE with "%SystemDrive%"
// replaced by the Windows folder's drive; chkPath(GetWindowsPath) + "Profiles" when that is
// empty; "" when the key cannot be opened. ERegistryException when the value has another type.
KV_API String GetUserProfilePath();

// True when the entry Optionen/Writing=Test can be written into chkPath(folder of
// AppIniName) + "IniTest"; the probe is deleted again. Never raises.
KV_API bool CanWriteAppIni();
// As CanWriteAppIni with the probe chkPath(first two characters of Path) + "jjhhuu.ini",
// the root of Path's drive. Example: u"E:\\Data\\x" probes u"E:\\jjhhuu.ini".
KV_API bool CanWriteAFile(const String& Path);

// True when the first directory entry matching FileName (a name or a wildcard pattern) is
// not a folder. Example: kv_FileExists(u"C:\\Windows") is false.
KV_API bool kv_FileExists(const String& FileName);

// --- Pure forms --------------------------------------------------------------------------

// The disk mode a drive type gives: 2 (removable) "Mobile", every other type "Fixed".
KV_API String DiskModeFromDriveType(unsigned DriveType);
// The lower-cased root of the drive named by a program folder's first character.
// Example: DriveRootOf(u"F:\\Tools\\") == u"f:\\"; u":\\" for an empty folder.
KV_API String DriveRootOf(const String& AppFolder);
// GetUserProfilePath's text rule: value with "%SystemDrive%" (exact case) replaced by the
// first two characters of windows_path; chkPath(windows_path) + "Profiles" when empty.
// Example: (u"%SystemDrive%\\Users", u"D:\\Windows") -> u"D:\\Users".
KV_API String ProfilesFolderFrom(const String& value, const String& windows_path);
// GetInitfolder's start folder: a final "\" dropped when longer than 3 characters.
// Example: u"C:\\Data\\" -> u"C:\\Data", u"C:\\" -> u"C:\\".
KV_API String InitialFolderText(const String& folder);
// CanWriteAFile's probe name. Example: u"E:\\Data\\x" -> u"E:\\jjhhuu.ini",
// u"\\\\srv\\share" -> u"\\\\jjhhuu.ini".
KV_API String DriveProbeName(const String& path);

// Test seam: when set, GetSpecialFolder asks source first, and a value it returns is the
// result (std::nullopt: ask the platform). Pass an empty function to remove it.
using SpecialFolderSource = std::function<std::optional<String>(int csidl)>;
KV_API void SetSpecialFolderSource(SpecialFolderSource source);

}  // namespace Kv_tools

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>

namespace Kv_tools {
// Test seam for Getfolder: when set, it is called instead of SHBrowseForFolderW with the
// same BROWSEINFOW (so no dialog appears); null restores the platform's dialog.
using BrowseForFolderFn = PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW* info);
KV_API void SetBrowseForFolderHook(BrowseForFolderFn hook);
}  // namespace Kv_tools
#endif

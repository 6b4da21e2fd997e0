// Kv_tools special folders, temporary files and data directories: the rules, on
// top of the platform parts in folders_win.cpp / folders_portable.cpp.
#include "kv_tools/folders.h"

#include "kv_tools/folders_platform.h"
#include "kv_tools/globals.h"
#include "kv_tools/identifiers.h"
#include "kv_tools/paths.h"
#include "kv_tools/strings.h"
#include "rtl/file_system.h"
#include "rtl/ini_file.h"
#include "rtl/registry.h"

namespace Kv_tools {
namespace {

SpecialFolderSource& Source() {
  static SpecialFolderSource source;
  return source;
}

// A folder under ProgDataPath, created with its parents when missing; true when it exists.
bool EnsureFolder(const String& dir) {
  if (!rtl::DirectoryExists(dir)) rtl::ForceDirectories(dir);
  return rtl::DirectoryExists(dir);
}

String ProgDataTemp() { return chkPath(ProgDataPath) + u"Temp"; }

// Writes Optionen/Writing=Test into probe and deletes it again; true when the write worked.
bool ProbeWrite(const String& probe) {
  bool written = false;
  try {
    {
      rtl::IniFile ini(probe);
      ini.WriteString(u"Optionen", u"Writing", u"Test");
      written = true;
    }
    rtl::RemoveFile(probe);
  } catch (...) {
  }
  return written;
}

}  // namespace

void SetSpecialFolderSource(SpecialFolderSource source) { Source() = std::move(source); }

String GetSpecialFolder(int CSIDL) {
  if (Source()) {
    if (std::optional<String> answer = Source()(CSIDL)) return *answer;
  }
  return folders_platform::SpecialFolder(CSIDL);
}

String InitialFolderText(const String& folder) {
  if (folder.size() > 3 && folder.back() == u'\\') return folder.substr(0, folder.size() - 1);
  return folder;
}

String GetInitfolder(const String& InitialFolder, int Root, const String& Title) {
  InitFolder = InitialFolderText(InitialFolder);
  String result;
  try {
    result = Getfolder(Root, Title);
  } catch (...) {
    InitFolder.clear();
    throw;
  }
  InitFolder.clear();
  return result;
}

String GetmyTmpFile(const String& Prefix) { return folders_platform::TempFileIn(GetTmpDir(), Prefix); }

String GetModusTmpFile(bool ProgData, const String& Prefix) {
  if (!ProgData) return GetmyTmpFile(Prefix);
  String dir = ProgDataTemp();
  if (EnsureFolder(dir)) return folders_platform::TempFileIn(dir, Prefix);
  return GetmyTmpFile(Prefix);
}

String GetModusTmpDir(bool ProgData) {
  if (!ProgData) return GetTmpDir();
  String dir = ProgDataTemp();
  return EnsureFolder(dir) ? dir : GetTmpDir();
}

String GetModusTmpNewDir(bool ProgData) {
  String id = CreateStrID();
  String group = id.size() > 1 ? id.substr(1, 8) : String();
  String dir = ProgData ? chkPath(ProgDataPath) + u"Temp-" + group : chkPath(GetTmpDir()) + group;
  return EnsureFolder(dir) ? dir : GetTmpDir();
}

String DiskModeFromDriveType(unsigned DriveType) {
  return DriveType == 2 ? String(u"Mobile") : String(u"Fixed");  // DRIVE_REMOVABLE
}

String DriveRootOf(const String& AppFolder) {
  String root = AppFolder.substr(0, 1) + u":\\";
  for (char16_t& c : root)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return root;
}

String GetDiskMode() {
  try {
    return DiskModeFromDriveType(folders_platform::DriveType(DriveRootOf(AppPath())));
  } catch (...) {
    return u"Fixed";
  }
}

String ProfilesFolderFrom(const String& value, const String& windows_path) {
  String s = ReplaceStr(value, u"%SystemDrive%", windows_path.substr(0, 2), true);
  return s.empty() ? chkPath(windows_path) + u"Profiles" : s;
}

String UserProfilePathFor(bool nt) {
  rtl::Registry reg(rtl::kKeyRead);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  const char16_t* key = nt ? u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"
                           : u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";
  if (!reg.OpenKeyReadOnly(key)) return String();
  return ProfilesFolderFrom(reg.ReadString(u"ProfilesDirectory"), GetWindowsPath());
}

bool CanWriteAppIni() { return ProbeWrite(chkPath(rtl::ExtractFilePath(AppIniName)) + u"IniTest"); }

String DriveProbeName(const String& path) { return chkPath(path.substr(0, 2)) + u"jjhhuu.ini"; }

bool CanWriteAFile(const String& Path) { return ProbeWrite(DriveProbeName(Path)); }

}  // namespace Kv_tools

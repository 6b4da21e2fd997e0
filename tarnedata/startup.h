// TarnEdata start-up and shut-down: the project manager's data folders under
// "morvane\TarnPlugIn", its settings file (which replaces Kv_tools' AppIniName), its string
// lists and CurrentDelphi. Runs after Kv_tools has started; the package's unit table calls
// each once.
#pragma once

#include "rtl/string.h"

namespace TarnEdata {

using rtl::String;

// What start-up reads from Kv_tools and the platform.
struct DataFolderAnswers {
  String DiskMode;         // Kv_tools::DiskMode
  String ExeName;          // the host executable's full path
  String SysProgDataPath;  // Kv_tools::SysProgDataPath
  String SysUserDataPath;  // Kv_tools::SysUserDataPath
  String AppDataFolder;    // the user's application-data folder (special folder 26)
};

// The data folders and settings file start-up sets (before the "Datapath" setting).
struct DataFolders {
  String MyProgDataPath;
  String MyUserDataPath;
  String MyAppIniName;
  bool CreateProgDataPath = false;  // make sure MyProgDataPath exists (Fixed mode)
};

// Mobile (DiskMode exactly "Mobile"): both folders are the program folder and the settings
// file is <program folder><exe name>.ini. Otherwise: <SysProgDataPath>\morvane\TarnPlugIn,
// <SysUserDataPath>\morvane\TarnPlugIn and <AppDataFolder>\morvane\TarnPlugIn\<exe name>.INI.
// Example: Fixed, exe C:\IDE\bds.exe, app data C:\AD gives MyAppIniName
// u"C:\\AD\\morvane\\TarnPlugIn\\bds.INI".
KV_API DataFolders DataFoldersFor(const DataFolderAnswers& answers);

// Sets MyProgDataPath, MyUserDataPath, MyAppIniName and AppIniName of Kv_tools (creating
// MyProgDataPath in Fixed mode), then MyUserDataPath from Optionen/Datapath of AppIniName
// (created when missing; failures are swallowed), creates the string lists and sets
// CurrentDelphi to "Delphi 11 Alexandria".
KV_API void Startup();

// Frees the lists start-up created and clears every string global of TarnEdata; Project
// and slPosInfo stay with their owners.
KV_API void Shutdown();

}  // namespace TarnEdata

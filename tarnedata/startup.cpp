#include "tarnedata/startup.h"

#include <utility>

#include "kv_tools/globals.h"
#include "kv_tools/ini_registry.h"
#include "kv_tools/paths.h"
#include "rtl/file_system.h"
#include "tarnedata/globals.h"

namespace TarnEdata {

namespace {

StringList** const kStartupLists[] = {
    &slMethods,      &slMethodsHints, &slMethodsClass, &slUnits,
    &slExistingDelphis, &slProgs,     &slPrevNextLine, &slPrevNextFile,
    &slPropRepl,     &slValRepl,      &slRemoveFMX,    &slDelFilesAtEnd,
};

String* const kStrings[] = {
    &ProgLanguage,      &WPPProjectFile,       &DVersions,           &StdFontName,
    &StdFontNameUni,    &LastProjFile,         &LastSelectedNodeText, &LastSelectedDocText,
    &LastProjTV,        &LastDocTV,            &AADest,              &AASrc,
    &TheUserName,       &FileMan,              &PDFProg,             &MasterDelphi,
    &LastAddPath,       &LastSaveDir,          &MethodsFile,         &MethodsHintsFile,
    &MethodsClassFile,  &CurrentDelphi,
};

const char16_t kDataSubFolder[] = u"morvane\\TarnPlugIn";

}  // namespace

DataFolders DataFoldersFor(const DataFolderAnswers& answers) {
  const String exe_name = rtl::ExtractFileName(answers.ExeName);
  DataFolders folders;
  if (answers.DiskMode == u"Mobile") {
    const String program_folder = Kv_tools::chkPath(rtl::ExtractFilePath(answers.ExeName));
    folders.MyProgDataPath = program_folder;
    folders.MyUserDataPath = program_folder;
    folders.MyAppIniName = program_folder + rtl::ChangeFileExt(exe_name, u".ini");
  } else {
    folders.MyProgDataPath = Kv_tools::chkPath(answers.SysProgDataPath) + kDataSubFolder;
    folders.MyUserDataPath = Kv_tools::chkPath(answers.SysUserDataPath) + kDataSubFolder;
    folders.MyAppIniName = Kv_tools::chkPath(answers.AppDataFolder) + kDataSubFolder + u'\\' +
                           rtl::ChangeFileExt(exe_name, u".INI");
    folders.CreateProgDataPath = true;
  }
  return folders;
}

void Startup() {
  // Kv_tools started just before and holds the application-data folder already
  // (SysProgDataPath is that folder): no second look-up.
  const DataFolders folders = DataFoldersFor({Kv_tools::DiskMode, rtl::ProgramFileName(),
                                              Kv_tools::SysProgDataPath, Kv_tools::SysUserDataPath,
                                              Kv_tools::SysProgDataPath});
  Kv_tools::MyProgDataPath = folders.MyProgDataPath;
  Kv_tools::MyUserDataPath = folders.MyUserDataPath;
  Kv_tools::MyAppIniName = folders.MyAppIniName;
  Kv_tools::AppIniName = folders.MyAppIniName;
  if (folders.CreateProgDataPath && !rtl::DirectoryExists(folders.MyProgDataPath))
    rtl::ForceDirectories(folders.MyProgDataPath);

  Kv_tools::MyUserDataPath = Kv_tools::GetIniFileIniStr(Kv_tools::AppIniName, u"Optionen", u"Datapath",
                                                        Kv_tools::MyUserDataPath);
  if (!rtl::DirectoryExists(Kv_tools::MyUserDataPath)) rtl::ForceDirectories(Kv_tools::MyUserDataPath);

  for (StringList** list : kStartupLists) delete std::exchange(*list, new StringList);
  slMethods->SetSorted(true);
  slMethods->SetDuplicates(rtl::Duplicates::Ignore);
  slMethodsHints->SetSorted(true);
  slMethodsHints->SetDuplicates(rtl::Duplicates::Ignore);
  slMethodsClass->SetDuplicates(rtl::Duplicates::Ignore);
  CurrentDelphi = u"Delphi 11 Alexandria";
}

void Shutdown() {
  for (StringList** list : kStartupLists) delete std::exchange(*list, nullptr);
  for (String* s : kStrings) s->clear();
}

}  // namespace TarnEdata

// Test helper: every string global of Kv_tools and TarnEdata, and a snapshot that puts
// them, the format records and the process-wide format settings back as they were, for
// tests that run start-up or shut-down.
#pragma once

#include <iterator>
#include <utility>
#include <vector>

#include "kv_tools/globals.h"
#include "tarnedata/globals.h"

namespace wtarn_test {

using rtl::String;

inline String* const kKvStrings[] = {
    &Kv_tools::ToolsLanguage,   &Kv_tools::InitFolder,        &Kv_tools::DiskMode,
    &Kv_tools::sBuildHour,      &Kv_tools::curOS,             &Kv_tools::SysProgDataPath,
    &Kv_tools::SysUserDataPath, &Kv_tools::SysAppIniName,     &Kv_tools::AppName,
    &Kv_tools::ResPath,         &Kv_tools::MyCommonAppData,   &Kv_tools::MySysProgDataPath,
    &Kv_tools::MyProgDataPath,  &Kv_tools::MyUserDataPath,    &Kv_tools::MyAppIniName,
    &Kv_tools::AktOSName,       &Kv_tools::AppIniName,        &Kv_tools::ProgDataPath,
    &Kv_tools::Help_ExplizitFile, &Kv_tools::Help_IniFileName, &Kv_tools::Help_FormTitle,
    &Kv_tools::MakerLinkTools,  &Kv_tools::MakerLinkShop,
};

inline String* const kTarnStrings[] = {
    &TarnEdata::ProgLanguage,     &TarnEdata::WPPProjectFile,   &TarnEdata::DVersions,
    &TarnEdata::StdFontName,      &TarnEdata::StdFontNameUni,   &TarnEdata::LastProjFile,
    &TarnEdata::LastSelectedNodeText, &TarnEdata::LastSelectedDocText, &TarnEdata::LastProjTV,
    &TarnEdata::LastDocTV,        &TarnEdata::AADest,           &TarnEdata::AASrc,
    &TarnEdata::TheUserName,      &TarnEdata::FileMan,          &TarnEdata::PDFProg,
    &TarnEdata::MasterDelphi,     &TarnEdata::LastAddPath,      &TarnEdata::LastSaveDir,
    &TarnEdata::MethodsFile,      &TarnEdata::MethodsHintsFile, &TarnEdata::MethodsClassFile,
    &TarnEdata::CurrentDelphi,
};

class GlobalsSnapshot {
 public:
  GlobalsSnapshot() {
    for (String* s : kKvStrings) saved_.emplace_back(s, *s);
    for (String* s : kTarnStrings) saved_.emplace_back(s, *s);
  }
  ~GlobalsSnapshot() {
    for (auto& [where, value] : saved_) *where = value;
    Kv_tools::FMS = fms_;
    Kv_tools::FMSEN = fmsen_;
    Kv_tools::FMSOrg = fmsorg_;
    rtl::ProcessFormatSettings() = process_;
    Kv_tools::MonthFirst = month_first_;
  }
  GlobalsSnapshot(const GlobalsSnapshot&) = delete;
  GlobalsSnapshot& operator=(const GlobalsSnapshot&) = delete;

 private:
  std::vector<std::pair<String*, String>> saved_;
  rtl::FormatSettings fms_ = Kv_tools::FMS;
  rtl::FormatSettings fmsen_ = Kv_tools::FMSEN;
  rtl::FormatSettings fmsorg_ = Kv_tools::FMSOrg;
  rtl::FormatSettings process_ = rtl::ProcessFormatSettings();
  bool month_first_ = Kv_tools::MonthFirst;
};

}  // namespace wtarn_test

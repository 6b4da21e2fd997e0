// Kv_tools globals: the running program and its environment.
// Plain shared variables, no lock. Start-up fills them once when the package loads; clients
// may read and overwrite them.
#pragma once

#include <cstdint>

#include "rtl/format_settings.h"
#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

KV_API extern bool kv_DoLogging;          // false
KV_API extern String ToolsLanguage;       // "DE": the language GLT picks texts by
KV_API extern bool MonthFirst;            // the system's short date starts with the month
KV_API extern bool MobileModus;           // false
KV_API extern void* kv_HlpFrm;            // the help form, none
KV_API extern int32_t LinesToRead;        // set by kv_GetFileVersion
KV_API extern String InitFolder;          // start folder of the folder dialog
KV_API extern String DiskMode;            // "Fixed" or "Mobile"
KV_API extern String sBuildHour;          // "00:00"
KV_API extern String curOS;               // one-line OS description, lower case
KV_API extern int32_t CpusOnBoard;
KV_API extern int32_t CpuHard;
KV_API extern int32_t CPULogical;
KV_API extern rtl::FormatSettings FMS;     // German
KV_API extern rtl::FormatSettings FMSOrg;  // system default
KV_API extern rtl::FormatSettings FMSEN;   // US English
KV_API extern int64_t iTimerStart;
KV_API extern int64_t iTimerStop;
KV_API extern int64_t iTimerFreq;
KV_API extern String SysProgDataPath;
KV_API extern String SysUserDataPath;
KV_API extern String SysAppIniName;
KV_API extern uint32_t HighLightBrush;
KV_API extern String AppName;
KV_API extern String ResPath;
KV_API extern String MyCommonAppData;
KV_API extern String MySysProgDataPath;
KV_API extern String MyProgDataPath;
KV_API extern String MyUserDataPath;
KV_API extern String MyAppIniName;
KV_API extern String AktOSName;
KV_API extern String AppIniName;
KV_API extern String ProgDataPath;
KV_API extern String Help_ExplizitFile;
KV_API extern String Help_IniFileName;
KV_API extern String Help_FormTitle;
KV_API extern String MakerLinkTools;      // links to other products of the maker; stay empty
KV_API extern String MakerLinkShop;

}  // namespace Kv_tools

#include "kv_tools/globals.h"

namespace Kv_tools {

bool kv_DoLogging = false;
String ToolsLanguage = u"DE";
bool MonthFirst = false;
bool MobileModus = false;
void* kv_HlpFrm = nullptr;
int32_t LinesToRead = 0;
String InitFolder;
String DiskMode = u"Fixed";
String sBuildHour = u"00:00";
String curOS;
int32_t CpusOnBoard = 0;
int32_t CpuHard = 0;
int32_t CPULogical = 0;
rtl::FormatSettings FMS;
rtl::FormatSettings FMSOrg;
rtl::FormatSettings FMSEN;
int64_t iTimerStart = 0;
int64_t iTimerStop = 0;
int64_t iTimerFreq = 0;
String SysProgDataPath;
String SysUserDataPath;
String SysAppIniName;
uint32_t HighLightBrush = 0;
String AppName;
String ResPath;
String MyCommonAppData;
String MySysProgDataPath;
String MyProgDataPath;
String MyUserDataPath;
String MyAppIniName;
String AktOSName;
String AppIniName;
String ProgDataPath;
String Help_ExplizitFile;
String Help_IniFileName;
String Help_FormTitle;
String MakerLinkTools;
String MakerLinkShop;

}  // namespace Kv_tools

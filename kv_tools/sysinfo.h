// Kv_tools system information: the Windows version by name, 64-bit and administrator
// tests, tests for old Windows families, the dark-mode setting, computer and user names,
// the last system error as German text, screen-saver and taskbar state, printer resolution
// and whether a drive holds a readable medium. No state; only IsWindows64 raises.
//
// Two version sources: the version block (GetVersionExW, which answers as the process's
// compatibility declaration lets it) and the version record (the system's true version,
// with a display name and a one-line description). The names are decided by the pure
// functions below from those answers; Windows 11 reports 10.0 and is told by a record
// build of 22000 or more.
#pragma once

#include <cstdint>
#include <optional>

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// The version block as GetVersionExW fills it.
struct OSVersionBlock {
  uint32_t MajorVersion = 0;
  uint32_t MinorVersion = 0;
  uint32_t BuildNumber = 0;  // only the low 16 bits on the 95/98/ME family
  uint32_t PlatformId = 0;   // 1: 95/98/ME, 2: NT
  String CSDVersion;         // service-pack text, up to 128 characters
};

// The system's version record: display name, numbers and one-line description.
struct OSVersionRecord {
  String Name;  // Example: u"Windows 10" (also on Windows 11)
  int Major = 0;
  int Minor = 0;
  int Build = 0;
  String Description;  // Example: u"Windows 10 (Version 10.0, Build 19045, 64-bit Edition)"
};

// --- Pure decisions (a missing block means the read failed) ----------------------------

// True for a record build of 22000 or more. Example: IsWindows11Build(22621) is true.
KV_API bool IsWindows11Build(int recordBuild);

// GetOSName's name: "Windows 95" ... "Windows Seven", "Windows Eight", "Windows Ten",
// "Windows 11" (10.0 with a Windows 11 record build); "Unknown" otherwise.
// Example: NT 6.2 gives u"Windows Eight".
KV_API String OSNameOf(const std::optional<OSVersionBlock>& block, int recordBuild);

// GetOSNameEx's name: "Windows 7", "Windows 8.1", "Windows 10", "Windows 11",
// "Unknown:<major>.<minor>" for an unknown NT version; on NT only, withBuild appends
// ", Build <block build>" and withServicePack a blank and the service-pack text.
// Example: NT 10.0 build 22631, record 22631, (true, false) gives u"Windows 11, Build 22631".
KV_API String OSNameExOf(const std::optional<OSVersionBlock>& block, int recordBuild, bool withBuild,
                         bool withServicePack);

// GetOSNameEx2's name. full: the description (with "Windows 10" turned into "Windows 11"
// from record build 22000 on), below that name + "  Build " + build; not full:
// "WIN <major>.<minor>". Example: (record 10.0.19045 "Windows 10", true) gives
// u"Windows 10  Build 19045".
KV_API String OSNameEx2Of(const OSVersionRecord& record, bool full);

// GetWindowsVersion's line: the pattern of the platform and version filled with major,
// minor and the build's low 16 bits, at most 51 characters; "GetversionEx() Error"
// without a block, "" for an unknown platform.
// Example: NT 4.0 build 1381 gives u"Windows NT Version 4.0. Build 1381".
KV_API String WindowsVersionOf(const std::optional<OSVersionBlock>& block);

// IsWindowsNT's answer: a block of platform 2.
KV_API bool IsWindowsNTOf(const std::optional<OSVersionBlock>& block);

// IsWin95OSR2's answer: platform 1, not 98/ME (major 4 with minor above 0), low 16 bits of
// the build above 1000. Example: 4.0 build 1111 is true.
KV_API bool IsWin95OSR2Of(const std::optional<OSVersionBlock>& block);

// True when IsScreenSaverRunning asks for the "Screen-saver" desktop (NT up to major 6)
// instead of SystemParametersInfo.
KV_API bool ScreenSaverByDesktop(const std::optional<OSVersionBlock>& block);

// The version record for the system's true version numbers: workstation names
// "Windows 2000" ... "Windows 8.1", "Windows 10" (also for 11), else "Windows"; the
// description is name [+ " Service Pack <n>"] + " (Version M.m, Build B, 32-bit Edition)"
// or "64-bit Edition". Example: (6, 1, 7601, 1, false) gives u"Windows 7 Service Pack 1
// (Version 6.1, Build 7601, 32-bit Edition)".
KV_API OSVersionRecord OSVersionRecordOf(int major, int minor, int build, int servicePack, bool is64);

#ifdef _WIN32
// --- The platform's answers ------------------------------------------------------------

// The version block (GetVersionExW, 276-byte form); nullopt when the read fails.
KV_API std::optional<OSVersionBlock> ReadOSVersionBlock();
// The version record of the running system (its true version, whatever the process's
// compatibility declaration).
KV_API OSVersionRecord ReadOSVersionRecord();

// Short name of the Windows version; "Unknown" when the block cannot be read.
// Example: u"Windows Seven" on Windows 7.
KV_API String GetOSName();
// Name with optional build and service-pack suffixes (NT only). Example: (true, true) on
// Windows 7 SP1 gives u"Windows 7, Build 7601 Service Pack 1".
KV_API String GetOSNameEx(bool WithBuild, bool WithSP);
// Name from the version record. Example: GetOSNameEx2(false) == u"WIN 6.1" on Windows 7.
KV_API String GetOSNameEx2(bool Full);
// Formatted version line. Example: u"Windows 7 Version 6.1 Build 7601".
KV_API String GetWindowsVersion();

// True when this 32-bit process runs on 64-bit Windows; false when the system lacks
// IsWow64Process. Raises rtl::Exception "IsWindows64: bad process handle" when the query
// fails.
KV_API bool IsWindows64();
// True when the user has administrator rights (shell32's IsUserAnAdmin); false when it
// cannot be asked.
KV_API bool IsVistaAdmin();
// True on the NT family; false when the version cannot be read.
KV_API bool IsWindowsNT();
// True on Windows 95 OSR2 and later 95 builds.
KV_API bool IsWin95OSR2();
// True when System.INI [386ENH] 32BitDiskAccess reads "on" in any case (default "off").
KV_API bool Bit32On();
// True when HKCU ...\Themes\Personalize\AppsUseLightTheme is the integer 0; false in every
// other case.
KV_API bool DarkModeIsEnabled();

// The computer name; "" when it cannot be read.
KV_API String GetThisComputerName();
// The calling thread's user name; "All Users" when the platform reports a size of 0.
KV_API String GetComputerUserName();
// "Fehlernummer: <E> " CR LF <system text> for the thread's last error E.
// Example after error 2: u"Fehlernummer: 2 \r\nThe system cannot find the file specified.\r\n".
KV_API String GetlastErrorDesc();
// The thread's last error E; Desc := "Fehlernummer: <E>" CR LF <system text> (no blank).
KV_API uint32_t GetlastErrorInfo(String& Desc);

// True while a screen saver runs; false when it cannot be asked.
KV_API bool IsScreenSaverRunning();
// Screen height minus the top of the "Shell_TrayWnd" window; -1 when there is none.
KV_API int GetTaskbarHeight();
// Width of the "Shell_TrayWnd" window; -1 when there is none.
KV_API int GetTaskbarWidth();
// Dots per inch of the default printer, horizontally / vertically; 0 without a printer.
KV_API int GetPixelsPerInchX();
KV_API int GetPixelsPerInchY();

// True when the folder of Path can be listed (found, empty, or no more files); true for a
// network path "\\\\..." without access; false for "" and on any other answer. No system
// dialog asks for a medium. Example: DiskinDrive(u"A:\\x.txt") is false without a disk.
KV_API bool DiskinDrive(const String& Path);
#endif

}  // namespace Kv_tools

// System information through Win32: each routine reads the platform's answer and hands it
// to the decisions in sysinfo.cpp.
#include <windows.h>
#include <winspool.h>

#include "kv_tools/ini_registry.h"
#include "kv_tools/paths.h"
#include "kv_tools/sysinfo.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "rtl/platform.h"

namespace Kv_tools {

namespace {

void CloseDesk(HDESK desk) { CloseDesktop(desk); }
HDESK NullDesk() { return nullptr; }
void DeleteDc(HDC dc) { DeleteDC(dc); }
HDC NullDc() { return nullptr; }
using UniqueDesktop = rtl::Unique<HDESK, CloseDesk, NullDesk>;
using UniqueDc = rtl::Unique<HDC, DeleteDc, NullDc>;

// The rectangle of the taskbar window, or nothing.
std::optional<RECT> TaskbarRect() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT r;
  if (!tray || !GetWindowRect(tray, &r)) return std::nullopt;
  return r;
}

// An information context on the default printer; empty without one.
UniqueDc DefaultPrinterContext() {
  wchar_t name[MAX_PATH];
  DWORD size = MAX_PATH;
  if (!GetDefaultPrinterW(name, &size)) return UniqueDc();
  return UniqueDc(CreateICW(L"WINSPOOL", name, nullptr, nullptr));
}

int PrinterPixelsPerInch(int index) {
  UniqueDc dc = DefaultPrinterContext();
  return dc ? GetDeviceCaps(dc.get(), index) : 0;
}

// The system's text for an error number: at most 255 characters, "" when it has none.
String SystemErrorText(DWORD error) {
  wchar_t text[256] = {};
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, error, 0, text, 255, nullptr);
  return rtl::FromW(text, n);
}

String ErrorNumberText(DWORD error, const char16_t* after_number) {
  return u"Fehlernummer: " + rtl::IntToStr(error) + after_number + u"\r\n" + SystemErrorText(error);
}

}  // namespace

std::optional<OSVersionBlock> ReadOSVersionBlock() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;  // 276 bytes: the plain form
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return std::nullopt;
#pragma GCC diagnostic pop
  return OSVersionBlock{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId,
                        rtl::FromW(info.szCSDVersion)};
}

// RtlGetVersion answers the true version, whatever the process's compatibility
// declaration; GetVersionExW stands in where ntdll lacks it.
OSVersionRecord ReadOSVersionRecord() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  auto rtl_get_version = rtl::ProcAddress<RtlGetVersionFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!rtl_get_version || rtl_get_version(&info) != 0)
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
#pragma GCC diagnostic pop
  bool is64 = false;
  try {
    is64 = IsWindows64();
  } catch (const rtl::Exception&) {
  }
  return OSVersionRecordOf(static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion),
                           static_cast<int>(info.dwBuildNumber), info.wServicePackMajor, is64);
}

String GetOSName() { return OSNameOf(ReadOSVersionBlock(), ReadOSVersionRecord().Build); }

String GetOSNameEx(bool WithBuild, bool WithSP) {
  return OSNameExOf(ReadOSVersionBlock(), ReadOSVersionRecord().Build, WithBuild, WithSP);
}

String GetOSNameEx2(bool Full) { return OSNameEx2Of(ReadOSVersionRecord(), Full); }

String GetWindowsVersion() { return WindowsVersionOf(ReadOSVersionBlock()); }

bool IsWindows64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto is_wow64 = rtl::ProcAddress<IsWow64ProcessFn>(GetModuleHandleW(L"kernel32"), "IsWow64Process");
  if (!is_wow64) return false;
  BOOL wow64 = FALSE;
  if (!is_wow64(GetCurrentProcess(), &wow64)) throw rtl::Exception(u"IsWindows64: bad process handle");
  return wow64 != FALSE;
}

bool IsVistaAdmin() {
  rtl::UniqueModule shell(LoadLibraryW(L"shell32.dll"));
  if (!shell) return false;
  auto is_admin = rtl::ProcAddress<BOOL(WINAPI*)()>(shell.get(), "IsUserAnAdmin");
  return is_admin && is_admin();
}

bool IsWindowsNT() { return IsWindowsNTOf(ReadOSVersionBlock()); }

bool IsWin95OSR2() { return IsWin95OSR2Of(ReadOSVersionBlock()); }

bool Bit32On() {
  String value = GetIniFileIniStr(u"System.INI", u"386ENH", u"32BitDiskAccess", u"off");
  return rtl::AnsiUpperCase(value) == u"ON";
}

bool DarkModeIsEnabled() {
  rtl::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize\\", 0,
                    KEY_READ, key.put()) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, value = 1, size = sizeof value;
  return RegQueryValueExW(key.get(), L"AppsUseLightTheme", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                          &size) == ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof value && value == 0;
}

String GetThisComputerName() {
  wchar_t name[256] = {};
  DWORD size = 255;
  return GetComputerNameW(name, &size) ? rtl::FromW(name) : String();
}

String GetComputerUserName() {
  wchar_t name[256] = {};
  DWORD size = 255;
  GetUserNameW(name, &size);
  return size == 0 ? String(u"All Users") : rtl::FromW(name);
}

String GetlastErrorDesc() { return ErrorNumberText(GetLastError(), u" "); }

uint32_t GetlastErrorInfo(String& Desc) {
  DWORD error = GetLastError();
  Desc = ErrorNumberText(error, u"");
  return error;
}

bool IsScreenSaverRunning() {
  if (ScreenSaverByDesktop(ReadOSVersionBlock()))
    return static_cast<bool>(UniqueDesktop(OpenDesktopW(L"Screen-saver", 0, FALSE, DESKTOP_READOBJECTS)));
  BOOL running = FALSE;
  return SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
}

int GetTaskbarHeight() {
  std::optional<RECT> r = TaskbarRect();
  return r ? GetSystemMetrics(SM_CYSCREEN) - r->top : -1;
}

int GetTaskbarWidth() {
  std::optional<RECT> r = TaskbarRect();
  return r ? r->right - r->left : -1;
}

int GetPixelsPerInchX() { return PrinterPixelsPerInch(LOGPIXELSX); }

int GetPixelsPerInchY() { return PrinterPixelsPerInch(LOGPIXELSY); }

bool DiskinDrive(const String& Path) {
  if (Path.empty()) return false;
  if (Path.starts_with(u"\\\\")) return true;
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  WIN32_FIND_DATAW found;
  String pattern = chkPath(rtl::ExtractFilePath(Path)) + u"*.*";
  rtl::UniqueFind search(FindFirstFileW(rtl::W(pattern), &found));
  DWORD code = search ? ERROR_SUCCESS : GetLastError();
  SetErrorMode(previous);
  return code == ERROR_SUCCESS || code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES;
}

}  // namespace Kv_tools

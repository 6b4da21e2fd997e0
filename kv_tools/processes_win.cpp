// Kv_tools processes and shell through Win32, the shell and COM.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winnetwk.h>

#include <memory>
#include <vector>

#include "kv_tools/globals.h"
#include "kv_tools/message_box.h"
#include "kv_tools/processes.h"
#include "rtl/errors.h"
#include "rtl/file_system.h"
#include "rtl/handles.h"
#include "rtl/platform.h"
#include "rtl/registry.h"

namespace Kv_tools {
namespace {

// A command line as the writable text that CreateProcess wants.
wchar_t* MutableW(String& s) { return reinterpret_cast<wchar_t*>(s.data()); }

STARTUPINFOW StartupShowing(WORD show) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  return startup;
}

// ShellExecuteW's "open" without owner or folder; its result code.
INT_PTR ShellOpen(const String& file, const String& params, int show) {
  return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", rtl::W(file), rtl::W(params), L"", show));
}

// ShellExecuteExW without folder; true when the shell accepted. A process handle that the
// shell hands back is closed.
bool ShellExecuteRequest(HWND wnd, ULONG mask, const wchar_t* verb, const String& file, const wchar_t* params,
                         int show) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  info.hwnd = wnd;
  info.lpVerb = verb;
  info.lpFile = rtl::W(file);
  info.lpParameters = params;
  info.nShow = show;
  const bool accepted = ShellExecuteExW(&info) != 0;
  rtl::UniqueHandle process(info.hProcess);
  return accepted;
}

// Opens (creating) a key below the registry object's root and sets its default value;
// rtl::ERegistryException when either fails.
void WriteDefaultValue(rtl::Registry& registry, const String& key, const String& value) {
  if (!registry.OpenKey(key, true)) throw rtl::ERegistryException(u"Failed to create key '" + key + u"'");
  registry.WriteString(u"", value);
  registry.CloseKey();
}

template <typename T>
struct ComRelease {
  void operator()(T* p) const { p->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease<T>>;

// Lets the thread's window messages run; a quit request is left for the caller's loop.
void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

uint32_t TickCount() { return GetTickCount(); }

}  // namespace

// A program without folder starts in the caller's working folder (an empty folder text
// would make CreateProcessW fail).
bool ExecAndWait(const String& FileName, const String& Params, WORD WindowState) {
  String command_line = ExecCommandLine(FileName, Params);
  const String folder = rtl::ExtractFilePath(FileName);
  STARTUPINFOW startup = StartupShowing(WindowState);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, MutableW(command_line), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, folder.empty() ? nullptr : rtl::W(folder),
                      &startup, &info))
    return false;
  rtl::UniqueHandle process(info.hProcess), thread(info.hThread);
  WaitForSingleObject(process.get(), INFINITE);
  return true;
}

bool RunFileAsAdminUser(HWND Wnd, const String& FileName, const String& Params) {
  const ShellRequest request = RunAsRequest(FileName, Params, GetExeForFile);
  return ShellExecuteRequest(Wnd, 0, L"runas", request.File, rtl::W(request.Parameters), SW_SHOWNORMAL);
}

DWORD CreateProcessAsLogon(const String& User, const String& Password, const String& Program, const String& Params) {
  return CreateProcessAsLogonWith(CreateProcessWithLogonW, User, Password, Program, Params);
}

// A failure that leaves no error code (as a stub of the service may) still answers non-zero.
DWORD CreateProcessAsLogonWith(LogonProcessFn Create, const String& User, const String& Password,
                               const String& Program, const String& Params) {
  String command_line = LogonCommandLine(Program, Params);
  STARTUPINFOW startup = StartupShowing(SW_SHOWNORMAL);
  PROCESS_INFORMATION info{};
  SetLastError(0);
  if (Create(rtl::W(User), nullptr, rtl::W(Password), 0, nullptr, MutableW(command_line), CREATE_DEFAULT_ERROR_MODE,
             nullptr, nullptr, &startup, &info)) {
    rtl::UniqueHandle process(info.hProcess), thread(info.hThread);
    return 0;
  }
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_CALL_NOT_IMPLEMENTED;
}

bool kv_ShellExecute(HWND Wnd, const String& Operation, const String& FileName, const String& Params,
                     const String& Directory, int ShowCmd) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(Wnd, rtl::W(Operation), rtl::W(FileName),
                                                               rtl::W(Params), rtl::W(Directory), ShowCmd));
  if (result > 32) return true;
  ShowMessage(ShellExecuteErrorText(static_cast<int>(result)));
  return false;
}

void Shellparaline(const String& Line) {
  const std::optional<ShellRequest> request = SplitShellLine(Line);
  if (request && ShellOpen(request->File, request->Parameters, SW_SHOW) <= 32)
    ShowMessage(u"Konnte Datei \r\r" + request->File + u"\r\r nicht öffnen, Dateityp unbekannt!");
}

bool ShowProperties(HWND Wnd, const String& FileName, const wchar_t* Params) {
  return ShellExecuteRequest(Wnd, SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI,
                             L"properties", FileName, Params, SW_HIDE);
}

String GetExeForFile(const String& FileName) {
  wchar_t program[MAX_PATH] = {};
  const auto result = reinterpret_cast<INT_PTR>(FindExecutableW(rtl::W(FileName), nullptr, program));
  return result > 32 ? rtl::FromW(program) : String();
}

String GetExeFromLink(const String& LinkName) {
  IShellLinkW* raw_link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&raw_link))))
    return String();
  ComPtr<IShellLinkW> link(raw_link);
  IPersistFile* raw_file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&raw_file)))) return String();
  ComPtr<IPersistFile> file(raw_file);
  wchar_t path[MAX_PATH] = {};
  if (FAILED(file->Load(rtl::W(LinkName), STGM_READ)) || FAILED(link->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY)))
    return String();
  return rtl::FromW(path);
}

void RegisterFileType(const std::string& Prog, const std::string& /*Reserved*/, const std::string& Ext,
                      const std::string& Icon) {
  const String ext = rtl::DecodeAnsi(Ext);
  const String file_class = ext + u"_file";
  rtl::Registry registry;
  registry.SetRootKey(HKEY_CLASSES_ROOT);
  WriteDefaultValue(registry, u"\\." + ext, file_class);
  if (!Icon.empty()) WriteDefaultValue(registry, u"\\" + file_class + u"\\DefaultIcon", rtl::DecodeAnsi(Icon));
  String command = u"\"";
  command += rtl::DecodeAnsi(Prog);
  command += u"\" \"%1\"";
  try {
    WriteDefaultValue(registry, u"\\" + file_class + u"\\shell\\open\\command", command);
  } catch (const rtl::ERegistryException&) {
    registry.CloseKey();
    ShowMessage(
        u"Unter Vista, Windows 7, 8 oder neuer müssen Sie das Programm als Administrator starten, um diese "
        u"Funktion ausüben zu können!");
  }
}

void pf_ShowHelpEx(const String& Topic, void* /*Form*/) {
  const ShellRequest request = HelpViewerRequest(Topic, Help_ExplizitFile, rtl::ProgramFileName());
  ShellOpen(request.File, request.Parameters, SW_SHOW);
}

bool ConnectWithNetPath(const String& Path) {
  String remote = Path;
  NETRESOURCEW resource{};
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpRemoteName = MutableW(remote);
  return WNetUseConnectionW(GetActiveWindow(), &resource, nullptr, nullptr, CONNECT_INTERACTIVE, nullptr, nullptr,
                            nullptr) == NO_ERROR;
}

uint32_t kv_WaitFor(uint32_t Timeout, bool& Stop) { return WaitTicks(Timeout, &Stop, TickCount, PumpMessages); }

uint32_t kv_Delay(uint32_t Milliseconds, bool ProcessMessages) {
  return WaitTicks(Milliseconds, nullptr, TickCount,
                   ProcessMessages ? std::function<void()>(PumpMessages) : nullptr);
}

// A first read with room for 255 characters; a longer value is read again with the size
// the system asks for (and again, should it have grown meanwhile).
String GetEnvironment(const String& Name) {
  std::vector<wchar_t> value(256);
  DWORD n = GetEnvironmentVariableW(rtl::W(Name), value.data(), static_cast<DWORD>(value.size()));
  while (n >= value.size()) {
    value.resize(n);
    n = GetEnvironmentVariableW(rtl::W(Name), value.data(), n);
  }
  return rtl::FromW(value.data(), n);
}

int CALLBACK bffCallback(HWND Wnd, UINT uMsg, LPARAM, LPARAM) {
  if (uMsg == BFFM_INITIALIZED && !InitFolder.empty()) {
    if (InitFolder.size() == 2) InitFolder += u'\\';
    SendMessageW(Wnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(rtl::W(InitFolder)));
  }
  return 0;
}

}  // namespace Kv_tools

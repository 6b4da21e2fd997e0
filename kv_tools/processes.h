// Kv_tools processes and shell: start programs (and wait for them), hand files to the
// shell, register a file type, open the help viewer, connect a network path, wait while
// the user interface stays alive, read the environment, and the folder dialog's callback.
//
// Everything runs on the caller's thread. Failures are reported by results; kv_ShellExecute
// and Shellparaline show German messages through ShowMessage (kv_tools/message_box.h),
// RegisterFileType its administrator message. Only RegisterFileType raises.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "rtl/string.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace Kv_tools {

using rtl::String;

// --- Pure forms (the decisions, with the platform's answers passed in) -----------------

// ExecAndWait's command line: program and parameters each in double quotes, a blank
// between. Example: ExecCommandLine(u"C:\\p.exe", u"") == u"\"C:\\p.exe\" \"\"".
KV_API String ExecCommandLine(const String& FileName, const String& Params);

// CreateProcessAsLogon's command line: the program as given, then (when there are
// parameters) a blank and the parameters in double quotes.
// Example: LogonCommandLine(u"C:\\p.exe", u"a b") == u"C:\\p.exe \"a b\"".
KV_API String LogonCommandLine(const String& Program, const String& Params);

// The German message for a failed ShellExecute's result code (0 to 32); "" for a code
// without one. Example: ShellExecuteErrorText(2) == u"Datei wurde nicht gefunden.".
KV_API String ShellExecuteErrorText(int Code);

// What the shell is asked to open.
struct ShellRequest {
  String File;
  String Parameters;
};

// Shellparaline's reading of a line; nothing for an empty line. A line starting with a
// quote: the program up to its closing quote (searched in the next 255 characters) with
// its quotes, the trimmed rest (at most 255 characters) as parameters, put in quotes when
// it has none. Other lines with a quote: the trimmed text before it, the rest from the quote
// on (at most 255 characters). Without parameters the program loses every quote.
// Example: u"\"C:\\p.exe\" a.txt" gives {u"\"C:\\p.exe\"", u"\"a.txt\""}.
KV_API std::optional<ShellRequest> SplitShellLine(const String& Line);

// RunFileAsAdminUser's choice: a file whose lower-cased name holds ".exe" or ".com", or any
// call with parameters, runs as given; otherwise the program associated with the file
// (asked of exe_for_file, "" when none) runs with the file as its parameter, or, without
// such a program, the file runs as given.
// Example: (u"C:\\a.txt", u"") gives {u"C:\\np.exe", u"C:\\a.txt"} when np.exe opens .txt files.
KV_API ShellRequest RunAsRequest(const String& FileName, const String& Params,
                                 const std::function<String(const String&)>& exe_for_file);

// pf_ShowHelpEx's call: the viewer ShowHelp.exe in the program's folder, with the help file
// (explicit_file, or the program's name with extension ".cHelp") and the topic, each in
// double quotes. Example: (u"Start", u"", u"C:\\T\\t.exe") gives
// {u"C:\\T\\ShowHelp.exe", u"\"C:\\T\\t.cHelp\" \"Start\""}.
KV_API ShellRequest HelpViewerRequest(const String& Topic, const String& explicit_file, const String& program_file);

// The wait of kv_WaitFor and kv_Delay: calls pump (when given) and reads ticks until more
// than Milliseconds have passed since the first reading, or *stop (when given) is true
// after a pass; at least one pass. Time is the unsigned difference of the readings, so a
// wrap of the counter does not end the wait early. Returns the milliseconds passed.
// Example: ticks 0xFFFFFFF0, 0xFFFFFFFA, 0x05 with Milliseconds 20 end after the third
// reading with 21.
KV_API uint32_t WaitTicks(uint32_t Milliseconds, const bool* stop, const std::function<uint32_t()>& ticks,
                          const std::function<void()>& pump);

#ifdef _WIN32
// --- The platform ------------------------------------------------------------------------

// Starts FileName with Params (command line as ExecCommandLine, show state WindowState, a
// new console, the program's folder as working folder, the caller's for a name without
// folder) and waits until it ends, without processing messages; false, at once, when it
// cannot be started.
// Example: ExecAndWait(u"C:\\T\\tool.exe", u"x", SW_HIDE) runs "C:\T\tool.exe" "x" in C:\T\.
// Deliberately, a bare name (an empty folder) runs in the caller's folder instead of failing.
KV_API bool ExecAndWait(const String& FileName, const String& Params, WORD WindowState);

// Asks the shell to run a file elevated (verb "runas", see RunAsRequest); true when the
// shell accepted the request.
KV_API bool RunFileAsAdminUser(HWND Wnd, const String& FileName, const String& Params);

// Starts Program (command line as LogonCommandLine) as user User (no domain) with
// Password; returns 0 when started, else the platform's error code (never 0).
// Deliberately, a refusal without an error code (Wine's stub) is not reported as started.
KV_API DWORD CreateProcessAsLogon(const String& User, const String& Password, const String& Program,
                                  const String& Params);

// The platform's CreateProcessWithLogonW, or a stand-in for it.
using LogonProcessFn = BOOL(WINAPI*)(LPCWSTR user, LPCWSTR domain, LPCWSTR password, DWORD logon_flags,
                                     LPCWSTR application, LPWSTR command_line, DWORD creation_flags,
                                     LPVOID environment, LPCWSTR current_directory, LPSTARTUPINFOW startup,
                                     LPPROCESS_INFORMATION process);
// CreateProcessAsLogon over the given creator (the test seam).
KV_API DWORD CreateProcessAsLogonWith(LogonProcessFn Create, const String& User, const String& Password,
                                      const String& Program, const String& Params);

// ShellExecuteW with the arguments as given (empty texts stay empty texts); true on success.
// On failure ShellExecuteErrorText of the result is shown in a message box and the result
// is false. Example: a missing file shows u"Datei wurde nicht gefunden.".
KV_API bool kv_ShellExecute(HWND Wnd, const String& Operation, const String& FileName, const String& Params,
                            const String& Directory, int ShowCmd);

// Opens a line of program and parameters (see SplitShellLine) with the shell; on failure
// shows "Konnte Datei " CR CR <program> CR CR " nicht öffnen, Dateityp unbekannt!".
// An empty line does nothing.
KV_API void Shellparaline(const String& Line);

// Opens the shell's properties sheet of a file; true when the shell accepted the request.
KV_API bool ShowProperties(HWND Wnd, const String& FileName, const wchar_t* Params);

// The full path of the program that opens a document; "" when there is none.
// Example: GetExeForFile(u"C:\\a.txt") == u"C:\\windows\\system32\\notepad.exe".
KV_API String GetExeForFile(const String& FileName);

// The target path of a shortcut (.lnk) file; "" on any failure. COM must be initialised on
// the calling thread.
KV_API String GetExeFromLink(const String& LinkName);

// Registers extension Ext (without dot) under HKEY_CLASSES_ROOT: ".Ext" names the class
// "Ext_file", whose DefaultIcon is Icon (when not empty) and whose open command is
// "\"Prog\" \"%1\"". Texts are 8-bit (ANSI code page); Reserved is not used. When the
// command cannot be written, an administrator message is shown; a failure to write the
// class name or the icon raises rtl::ERegistryException.
KV_API void RegisterFileType(const std::string& Prog, const std::string& Reserved, const std::string& Ext,
                             const std::string& Icon);

// Opens Topic in the help viewer (see HelpViewerRequest) with the shell; a failure to start
// it is ignored. Form is not used.
KV_API void pf_ShowHelpEx(const String& Topic, void* Form);

// Connects a network disk resource (e.g. u"\\\\server\\share"), letting the system ask for
// credentials; true when connected.
KV_API bool ConnectWithNetPath(const String& Path);

// Processes the thread's messages until Stop is true or more than Timeout milliseconds have
// passed (at least once); returns the milliseconds passed.
KV_API uint32_t kv_WaitFor(uint32_t Timeout, bool& Stop);

// Waits more than Milliseconds, processing the thread's messages meanwhile when
// ProcessMessages is true; returns the milliseconds passed.
KV_API uint32_t kv_Delay(uint32_t Milliseconds, bool ProcessMessages);

// The value of an environment variable of the process, whole whatever its length; "" when
// it is not set.
KV_API String GetEnvironment(const String& Name);

// Callback of the shell's folder-browse dialog. On BFFM_INITIALIZED (1), when InitFolder is
// not empty: a bare drive of two characters gets a "\" appended (in the global itself),
// then the dialog is told to select InitFolder (BFFM_SETSELECTIONW, wParam TRUE).
// Every call returns 0.
KV_API int CALLBACK bffCallback(HWND Wnd, UINT uMsg, LPARAM lParam, LPARAM lpData);
#endif

}  // namespace Kv_tools

// TarnPlugIn.exe, the stand-in companion project manager.
//
// Started by the IDE's view as  TarnPlugIn.exe Slave "<IDE name>" "<view window>",  it keeps a
// hidden top-level "TApplication" window and a visible top-level "TMainForm" window, both
// captioned "TarnPlugIn Slave <IDE name>", ends on WM_CLOSE to either of them, and asks the
// view to open a project by sending it WM_COPYDATA 10023 with the project's UTF-16 path.
// The main window lists the project files (*.dproj) of the folder named in the settings
// (TARN.INI in %APPDATA%\morvane\TARN, section "Projects", key "Folder"); a double click or
// Enter asks for the chosen one. The program also ends once the view window is gone.
//
// Switches for tests, after the command line or in the environment variable
// TARNPLUGIN_SWITCHES:
//   /late=N       create the main window N ms after the start
//   /hidden       never show the main window
//   /noclose      ignore WM_CLOSE
//   /send=PATH    send request 10023 with PATH, /sendafter=N ms after the start (default 0)
// With TARNPLUGIN_TRANSCRIPT set it notes what it does in that transcript.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "host/transcript.h"

namespace {

constexpr ULONG_PTR kOpenProjectRequest = 10023;
constexpr UINT_PTR kLateTimer = 1, kSendTimer = 2, kWatchTimer = 3;
constexpr UINT kWatchInterval = 200;
constexpr int kListId = 100;

struct Options {
  bool slave = false;
  std::wstring ide_name;
  HWND view = nullptr;
  UINT late_ms = 0;
  bool hidden = false;
  bool no_close = false;
  bool send = false;
  std::wstring send_path;
  UINT send_after_ms = 0;
};

struct Companion {
  Options options;
  std::wstring caption;
  std::wstring project_folder;
  HWND application = nullptr;
  HWND main = nullptr;
  HWND list = nullptr;
  std::wstring transcript_file;
  uint64_t transcript_start = 0;
};

Companion app;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024];
  DWORD n = GetEnvironmentVariableW(name, value, 1024);
  return n < 1024 ? std::wstring(value, n) : std::wstring();
}

void Note(const std::string& what) {
  transcript::Append(app.transcript_file,
                     transcript::FormatLine(app.transcript_start, "companion:", what));
}

std::string Quoted(const std::wstring& text) {
  std::string quoted(1, '"');
  quoted += transcript::Utf8(text);
  quoted += '"';
  return quoted;
}

// The arguments of a command line, the program's name first.
std::vector<std::wstring> Arguments(const std::wstring& commandLine) {
  int n = 0;
  LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &n);
  std::vector<std::wstring> args(argv, argv + (argv ? n : 0));
  LocalFree(argv);
  return args;
}

void ReadSwitch(const std::wstring& arg, Options& options) {
  auto value = [&](const wchar_t* name) -> const wchar_t* {
    size_t len = std::wcslen(name);
    return arg.compare(0, len, name) == 0 ? arg.c_str() + len : nullptr;
  };
  if (const wchar_t* v = value(L"/late=")) options.late_ms = std::wcstoul(v, nullptr, 10);
  if (const wchar_t* v = value(L"/sendafter="))
    options.send_after_ms = std::wcstoul(v, nullptr, 10);
  if (const wchar_t* v = value(L"/send=")) options.send = true, options.send_path = v;
  if (arg == L"/hidden") options.hidden = true;
  if (arg == L"/noclose") options.no_close = true;
}

Options ReadOptions() {
  Options options;
  std::vector<std::wstring> args = Arguments(GetCommandLineW());
  size_t next = 1;
  if (args.size() >= 4 && args[1] == L"Slave") {
    options.slave = true;
    options.ide_name = args[2];
    options.view =
        reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoul(args[3].c_str(), nullptr, 10)));
    next = 4;
  }
  for (; next < args.size(); ++next) ReadSwitch(args[next], options);
  std::vector<std::wstring> extra = Arguments(L"x " + Environment(L"TARNPLUGIN_SWITCHES"));
  for (size_t i = 1; i < extra.size(); ++i) ReadSwitch(extra[i], options);
  return options;
}

std::wstring ProjectFolder() {
  std::wstring ini = Environment(L"APPDATA");
  if (!ini.empty() && ini.back() != L'\\') ini += L'\\';
  ini += L"morvane\\TARN\\TARN.INI";
  wchar_t folder[MAX_PATH];
  DWORD n = GetPrivateProfileStringW(L"Projects", L"Folder", L"", folder, MAX_PATH, ini.c_str());
  return std::wstring(folder, n);
}

void ListProjects() {
  if (app.project_folder.empty()) return;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((app.project_folder + L"\\*.dproj").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do SendMessageW(app.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
  while (FindNextFileW(find, &found));
  FindClose(find);
}

// Asks the view to open a project: WM_COPYDATA 10023 with the zero-terminated path.
void RequestProject(const std::wstring& path) {
  if (!app.options.view) return;
  COPYDATASTRUCT data{kOpenProjectRequest, static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(path.c_str())};
  LRESULT result = SendMessageW(app.options.view, WM_COPYDATA, reinterpret_cast<WPARAM>(app.main),
                                reinterpret_cast<LPARAM>(&data));
  Note("sent copy-data 10023 " + Quoted(path) + " (result " + std::to_string(result) + ")");
}

void RequestChosenProject() {
  LRESULT i = SendMessageW(app.list, LB_GETCURSEL, 0, 0);
  if (i == LB_ERR) return;
  std::wstring name(static_cast<size_t>(SendMessageW(app.list, LB_GETTEXTLEN, i, 0)), L'\0');
  SendMessageW(app.list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name.data()));
  RequestProject(app.project_folder + L"\\" + name);
}

// WM_CLOSE to either window ends the program, unless told to ignore it.
LRESULT OnClose(HWND wnd, const char* which) {
  Note(std::string("WM_CLOSE to ") + which + (app.options.no_close ? " (ignored)" : ""));
  if (app.options.no_close) return 0;
  DestroyWindow(wnd);
  if (wnd == app.application) app.application = nullptr;
  PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      MoveWindow(app.list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kListId && HIWORD(wp) == LBN_DBLCLK) RequestChosenProject();
      return 0;
    case WM_VKEYTOITEM:
      if (LOWORD(wp) == VK_RETURN) RequestChosenProject();
      return -1;
    case WM_CLOSE:
      return OnClose(wnd, "TMainForm");
    case WM_DESTROY:
      app.main = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

void CreateMainWindow() {
  app.main = CreateWindowExW(0, L"TMainForm", app.caption.c_str(),
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                             640, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  app.list = CreateWindowExW(
      0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT,
      0, 0, 0, 0, app.main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
      GetModuleHandleW(nullptr), nullptr);
  ListProjects();
  char style[16];
  std::snprintf(style, sizeof style, "0x%08lX", GetWindowLongW(app.main, GWL_STYLE));
  Note("main window TMainForm " + Quoted(app.caption) + ", style " + style +
       (app.options.hidden ? ", kept hidden" : ", shown"));
  if (!app.options.hidden) ShowWindow(app.main, SW_SHOWNORMAL);
}

LRESULT CALLBACK ApplicationProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kLateTimer) {
        KillTimer(wnd, kLateTimer);
        CreateMainWindow();
      } else if (wp == kSendTimer) {
        KillTimer(wnd, kSendTimer);
        RequestProject(app.options.send_path);
      } else if (wp == kWatchTimer && app.options.view && !IsWindow(app.options.view)) {
        Note("the view window is gone");
        PostQuitMessage(0);
      }
      return 0;
    case WM_CLOSE:
      return OnClose(wnd, "TApplication");
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

void RegisterWindowClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

// The command line after the program's name, as the program received it.
std::wstring Parameters() {
  std::wstring line = GetCommandLineW();
  size_t end = line[0] == L'"' ? line.find(L'"', 1) : line.find(L' ');
  end = end == std::wstring::npos ? line.size() : line.find_first_not_of(L' ', end + 1);
  return end == std::wstring::npos ? std::wstring() : line.substr(end);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  app.transcript_file = Environment(transcript::kFileVariable);
  app.transcript_start =
      std::wcstoull(Environment(transcript::kStartVariable).c_str(), nullptr, 10);
  app.options = ReadOptions();
  app.caption = app.options.slave ? L"TarnPlugIn Slave " + app.options.ide_name : L"TarnPlugIn";
  app.project_folder = ProjectFolder();
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  Note("started " + Quoted(self) + " with parameters: " + transcript::Utf8(Parameters()));

  RegisterWindowClass(L"TApplication", ApplicationProc);
  RegisterWindowClass(L"TMainForm", MainProc);
  app.application = CreateWindowExW(0, L"TApplication", app.caption.c_str(), WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (app.options.late_ms > 0)
    SetTimer(app.application, kLateTimer, app.options.late_ms, nullptr);
  else
    CreateMainWindow();
  if (app.options.send) SetTimer(app.application, kSendTimer, app.options.send_after_ms, nullptr);
  SetTimer(app.application, kWatchTimer, kWatchInterval, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (app.main) DestroyWindow(app.main);
  if (app.application) DestroyWindow(app.application);
  Note("ended");
  return 0;
}

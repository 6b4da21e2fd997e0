// Test helper: records how it was started. Writes its command line, a line feed and its
// working folder (UTF-16, no mark) to the file that the environment variable WTARN_RECORD
// names, then ends. Linked statically, so that a test may copy it anywhere.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t record[MAX_PATH];
  const DWORD record_length = GetEnvironmentVariableW(L"WTARN_RECORD", record, MAX_PATH);
  if (record_length == 0 || record_length >= MAX_PATH) return 2;
  wchar_t folder[MAX_PATH];
  const DWORD folder_length = GetCurrentDirectoryW(MAX_PATH, folder);
  const wchar_t* command_line = GetCommandLineW();

  // Written under a temporary name and renamed, so that a waiting test never reads half.
  wchar_t partial[MAX_PATH + 4];
  wsprintfW(partial, L"%s.tmp", record);
  HANDLE file = CreateFileW(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written;
  WriteFile(file, command_line, lstrlenW(command_line) * sizeof(wchar_t), &written, nullptr);
  WriteFile(file, L"\n", sizeof(wchar_t), &written, nullptr);
  WriteFile(file, folder, folder_length * sizeof(wchar_t), &written, nullptr);
  CloseHandle(file);
  return MoveFileExW(partial, record, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}

// Test helper: holds files open without sharing, so that the test finds them locked by
// another process. Command line: hold_file.exe <ready event> <release event> <file>...
// Opens every file (read and write access, share mode 0), sets the ready event, waits for
// the release event (a minute at most, so that it never outlives a broken test) and ends;
// the system closes the files. Exit code 0; 2 for a bad command line or missing events;
// 3 when a file cannot be opened (the ready event then stays unset).
#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 4) return 2;
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
  HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
  if (!ready || !release) return 2;
  for (int i = 3; i < argc; ++i)
    if (CreateFileW(argv[i], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr) ==
        INVALID_HANDLE_VALUE)
      return 3;
  SetEvent(ready);
  WaitForSingleObject(release, 60000);
  return 0;
}

// answer_probe.exe TARGET FILE EVENT: times how long a window's thread takes to answer, from a
// process of its own. Every 20 ms it posts the probe message (host/probe.h) to the window whose
// handle TARGET gives in decimal, until the named EVENT is set or the window is gone; then it
// gives the last probes a second for their answers and writes one line per probe into FILE: the
// milliseconds since its start at which the probe was posted and at which the answer came, -1
// for none.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "host/probe.h"

namespace {

constexpr DWORD kInterval = 20;

struct Probe {
  ULONGLONG sent;
  LONGLONG answered = -1;
};

std::vector<Probe> probes;
ULONGLONG start = 0;

LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == probe::Message()) {
    if (wp < probes.size() && probes[wp].answered < 0)
      probes[wp].answered = static_cast<LONGLONG>(GetTickCount64() - start);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 4) return 2;
  const auto target = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(argv[1], nullptr, 10)));
  HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"WTarnAnswerProbe";
  RegisterClassW(&wc);
  HWND self = CreateWindowW(L"WTarnAnswerProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            instance, nullptr);
  start = GetTickCount64();
  ULONGLONG next = start;
  while (stop && IsWindow(target)) {
    const ULONGLONG now = GetTickCount64();
    if (now >= next) {
      probes.push_back({now - start});
      PostMessageW(target, probe::Message(), probes.size() - 1, reinterpret_cast<LPARAM>(self));
      next = now + kInterval;
    }
    const DWORD wait = static_cast<DWORD>(next > now ? next - now : 0);
    if (MsgWaitForMultipleObjects(1, &stop, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  // The probes posted last get a moment for their answers.
  const ULONGLONG drain_end = GetTickCount64() + 1000;
  while (IsWindow(target) && GetTickCount64() < drain_end &&
         std::any_of(probes.begin(), probes.end(), [](const Probe& p) { return p.answered < 0; })) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  FILE* out = _wfopen(argv[2], L"w");
  if (!out) return 1;
  for (const Probe& p : probes) std::fprintf(out, "%llu %lld\n", p.sent, p.answered);
  std::fclose(out);
  return 0;
}

// Timing the IDE's thread from another process. The probe posts the probe message (wParam: a
// sequence number, lParam: the probe's window) to a window of the IDE's thread, which posts it
// straight back. A posted message is answered only when the thread runs its message loop, so
// the time until the answer tells how long the thread was away; a sent message would also be
// answered by a thread that waits inside a call to another thread.
#pragma once

#include <windows.h>

namespace probe {

inline UINT Message() {
  static const UINT message = RegisterWindowMessageW(L"WTarn.AnswerProbe");
  return message;
}

// Answers a probe: true when Msg was the probe message (it is posted back), false otherwise.
inline bool Answer(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg != Message()) return false;
  PostMessageW(reinterpret_cast<HWND>(LParam), Msg, WParam, 0);
  return true;
}

}  // namespace probe

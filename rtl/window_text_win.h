// The caption and class name of a window. A window of another process is not asked: both come
// from the system's copy, so a busy companion never holds the caller up.
#pragma once

#include <windows.h>

#include "rtl/string.h"

namespace rtl {

// Texts are read through buffers of 79 characters; longer ones come back cut to 78.
inline constexpr int kWindowTextBuffer = 79;

// The window's caption; "" when it has none or is gone. Example: WindowCaption(frame) == u"Tarn".
inline String WindowCaption(HWND wnd) {
  wchar_t text[kWindowTextBuffer];
  return FromW(text, GetWindowTextW(wnd, text, kWindowTextBuffer));
}

// The window's class name; "" when it is gone. Example: WindowClassName(main) == u"TMainForm".
inline String WindowClassName(HWND wnd) {
  wchar_t text[kWindowTextBuffer];
  return FromW(text, GetClassNameW(wnd, text, kWindowTextBuffer));
}

}  // namespace rtl

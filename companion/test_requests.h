// Requests that tests post to the stand-in companion's application window, so that its main
// window comes or goes at the moment a test chooses.
#pragma once

#include <windows.h>

namespace companion_test {

enum Request : WPARAM {
  kShowMain = 1,    // make the main window now, shown
  kHiddenMain = 2,  // make the main window now, never shown
  kEndMain = 3,     // destroy the main window (the program then ends)
};

inline UINT Message() {
  static const UINT message = RegisterWindowMessageW(L"TarnPlugIn.TestRequest");
  return message;
}

}  // namespace companion_test

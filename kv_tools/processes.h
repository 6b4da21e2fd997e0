// Kv_tools processes and shell. So far only the folder dialog's callback, which
// installs; the rest of the family comes with its own issue.
#pragma once

#include "rtl/string.h"

#ifdef _WIN32
#include <windows.h>

namespace Kv_tools {

// Callback of the shell's folder-browse dialog. On BFFM_INITIALIZED (1), when InitFolder is
// not empty: a bare drive of two characters gets a "\" appended (in the global itself),
// then the dialog is told to select InitFolder (BFFM_SETSELECTIONW, wParam TRUE).
// Every call returns 0.
KV_API int CALLBACK bffCallback(HWND Wnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

}  // namespace Kv_tools
#endif

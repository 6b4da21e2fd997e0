// Kv_tools processes and shell: so far the folder dialog's callback.
#include <windows.h>
#include <shlobj.h>

#include "kv_tools/globals.h"
#include "kv_tools/processes.h"

namespace Kv_tools {

int CALLBACK bffCallback(HWND Wnd, UINT uMsg, LPARAM, LPARAM) {
  if (uMsg == BFFM_INITIALIZED && !InitFolder.empty()) {
    if (InitFolder.size() == 2) InitFolder += u'\\';
    SendMessageW(Wnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(rtl::W(InitFolder)));
  }
  return 0;
}

}  // namespace Kv_tools

#include "package/constants.h"

#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace WTarnConstants {

rtl::String sPluginName() {
  const wchar_t* text = nullptr;
  // With no buffer, LoadString gives the resource's own read-only text and its length.
  int n = LoadStringW(reinterpret_cast<HINSTANCE>(&__ImageBase), sPluginNameId,
                      reinterpret_cast<wchar_t*>(&text), 0);
  return rtl::FromW(text, n > 0 ? n : 0);
}

}  // namespace WTarnConstants

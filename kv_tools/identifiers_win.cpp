// Kv_tools unique identifiers: a new GUID from the platform.
#include <windows.h>
#include <objbase.h>

#include "kv_tools/identifiers.h"

namespace Kv_tools {

String CreateStrID() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return String();
  wchar_t buf[64] = {};
  if (StringFromGUID2(guid, buf, 64) == 0) return String();
  return rtl::FromW(buf);
}

}  // namespace Kv_tools

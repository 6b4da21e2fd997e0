// Kv_tools paths in the native build: fixed Windows folders, and the last
// component of an existing item as its display name.
#include "kv_tools/paths.h"
#include "rtl/file_system.h"

namespace Kv_tools {

String GetWindowsPath() { return u"C:\\windows"; }

String GetSystemPath() { return u"C:\\windows\\system32"; }

String kv_GetLongFileName(const String& Path) {
  if (!rtl::FileExists(Path) && !rtl::DirectoryExists(Path)) return String();
  return rtl::ExtractFileName(rtl::ExcludeTrailingPathDelimiter(Path));
}

}  // namespace Kv_tools

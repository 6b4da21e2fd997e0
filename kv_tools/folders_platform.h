// Internal: the platform parts of kv_tools/folders.cpp (folders_win.cpp in the Windows
// build, folders_portable.cpp in the native one). Not exported.
#pragma once

#include "rtl/string.h"

namespace Kv_tools {

// GetUserProfilePath with the NT decision passed in (folders.cpp).
rtl::String UserProfilePathFor(bool nt);

namespace folders_platform {

// The platform's file-system path of special folder csidl, or "".
rtl::String SpecialFolder(int csidl);
// A new empty file made by the platform in dir (GetTempFileNameW, unique number 0), its
// full name (at most 256 characters), or "".
rtl::String TempFileIn(const rtl::String& dir, const rtl::String& prefix);
// The platform's drive type of a root such as u"f:\\" (GetDriveTypeW).
unsigned DriveType(const rtl::String& root);

}  // namespace folders_platform
}  // namespace Kv_tools

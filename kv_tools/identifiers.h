// Kv_tools unique identifiers: a new GUID as text, and a file name made of one.
#pragma once

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// A new GUID in registry text form (38 characters, braces, upper-case hexadecimal digits
// in groups 8-4-4-4-12); "" when the platform cannot make one.
// Example: u"{3F2504E0-4F89-11D3-9A0C-0305E82C3301}". Native: a random (version 4) GUID.
KV_API String CreateStrID();

// CreateStrID made a valid file name (kv_GetValidFilename) followed by ".mailmsg"
// (46 characters); ".mailmsg" alone when no GUID could be made.
KV_API String CreateFileID();

// The registry text form of a GUID given as its 16 bytes in memory order (Data1..Data3
// little-endian, then Data4). Example: all zero gives u"{00000000-0000-0000-0000-000000000000}".
KV_API String GuidText(const unsigned char (&bytes)[16]);

}  // namespace Kv_tools

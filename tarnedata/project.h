// TarnEdata project record and its small routines: file names made absolute against the
// current project's folder, the parent folder, leading blanks, registry lookups, and the
// bookkeeping of stored positions in slPosInfo.
#pragma once

#include <cstdint>

#include "rtl/registry.h"
#include "rtl/string.h"
#include "rtl/string_list.h"

namespace TarnEdata {

using rtl::String;

// One project of the project manager; constructed empty.
class KV_API TProject {
 public:
  String DelphiVersion;
  String Path;  // the project's folder
  String DPR;
  String DPROJ;
  String AppType;
  int32_t PasFiles = 0;
  int32_t FRMFiles = 0;
  String FrameWork;
  String ExeOutput;
  String FullDPRPath;
  String UpdateVersion;
};

// FileName made absolute against Project->Path. Unchanged when it contains ":\", starts
// with "\\\\", or no Project is set. A name with "..", "\" or "/" drops a trailing "\" from
// Project->Path itself (the record keeps the change) and climbs one folder per "..\".
// Example: with Project->Path u"C:\\P\\App\\", GetFileName(u"..\\Lib\\U.pas") ==
// u"C:\\P\\Lib\\U.pas" and Project->Path becomes u"C:\\P\\App".
KV_API String GetFileName(const String& FileName);

// The parent folder with its trailing "\": the text up to the last "\" before the final
// character. Texts of 3 characters or fewer, and texts without such a "\", stay.
// Example: GetPrevDir(u"C:\\A\\B") == u"C:\\A\\", GetPrevDir(u"C:\\") == u"C:\\".
KV_API String GetPrevDir(const String& Folder);

// Number of blanks (code 32) at the start of S. Example: GetSpaceCount(u"   x ") == 3.
KV_API int GetSpaceCount(const String& S);

// True when Key exists under Root; false on any error.
// Example: RegKeyExists(DelphiRegPaths[DelphiXE11], HKEY_CURRENT_USER).
KV_API bool RegKeyExists(const String& Key, rtl::RootKey Root);

// The string value Name of Key under Root (opened read-only) into Value: true when the key
// opens; false, Value untouched, when it does not; false on any other error.
KV_API bool RegReadStr(const String& Key, const String& Name, String& Value, rtl::RootKey Root);

// Stores List's text under Key in slPosInfo: the line Key + #1 + the text with every CR LF
// turned into #3, replacing the first line that starts with Key + #1, or appended. Nothing
// happens while slPosInfo is not set.
// Example: key u"U1", list {"a","b"} gives the line u"U1\x01a\x03b\x03".
// Deliberately: the key must be followed by #1 (U1 never replaces U10); without slPosInfo, nothing.
KV_API void SetPosChanges(const rtl::StringList& List, const String& Key);

}  // namespace TarnEdata

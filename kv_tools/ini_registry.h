// Kv_tools INI and registry helpers: one-call accessors of single values in the
// program's settings file (global AppIniName), in a neighbour file beside it or in a named
// file; numbered lists Item1..Item26; key counts; one registry string; name=value entries of
// an in-memory list.
//
// Every INI call opens its own rtl::IniFile (the platform's private-profile file), does its
// one read or write and releases it. Reads never fail: a missing file, section or key gives
// the default. A write that the platform refuses raises rtl::EIniFileException from
// SaveIniInt, SaveIniBool, SaveIniStr, SaveFileIniStr and kv_SavePersist (they catch
// nothing). Values: see rtl/ini_file.h (integers "0x.." hexadecimal, booleans "1"/"0").
#pragma once

#include "rtl/ini_file.h"
#include "rtl/registry.h"
#include "rtl/string.h"
#include "rtl/string_list.h"

namespace Kv_tools {

using rtl::String;
using rtl::StringList;

// --- The program's settings file (AppIniName) ------------------------------------------
KV_API void SaveIniInt(const String& Section, const String& Key, int Value);
KV_API int GetIniInt(const String& Section, const String& Key, int Default);
KV_API void SaveIniBool(const String& Section, const String& Key, bool Value);
// Example: a stored "2" or "0x10" reads true, "abc" gives Default.
KV_API bool GetIniBool(const String& Section, const String& Key, bool Default);
KV_API void SaveIniStr(const String& Section, const String& Key, const String& Value);
// "" (not Default) when Section or Key is empty; then no file is opened.
KV_API String GetIniStr(const String& Section, const String& Key, const String& Default);

// --- A neighbour file: chkPath(folder of AppIniName) + FileName -------------------------
// Nothing is written when FileName, Section or Key is empty.
KV_API void SaveFileIniStr(const String& FileName, const String& Section, const String& Key,
                           const String& Value);
// "" when FileName, Section or Key is empty (no file opened).
KV_API String GetFileIniStr(const String& FileName, const String& Section, const String& Key,
                            const String& Default);

// --- A named INI file ------------------------------------------------------------------
// Example: GetIniFileIniBool(u"C:\\IDE\\bin\\bds.INI", u"Optionen", u"MobileModus", false).
KV_API bool GetIniFileIniBool(const String& IniFileName, const String& Section, const String& Key,
                              bool Default);
KV_API String GetIniFileIniStr(const String& IniFileName, const String& Section, const String& Key,
                               const String& Default);

// The number of keys of Section in an open INI object (0 for a missing section).
KV_API int CountEntries(rtl::CustomIniFile& Ini, const String& Section);

// Erases Section of AppIniName, then writes List's first 26 entries as Item1..Item26
// (an empty entry as an empty value).
KV_API void kv_SavePersist(const StringList& List, const String& Section);
// Empties List, then appends the values of Item1, Item2, ... of Section of AppIniName up to
// the first missing or empty one (no upper bound).
KV_API void kv_LoadPersist(StringList& List, const String& Section);

// Reads the string value Name of key Key under Root (opened read-only) into Value: true
// when the key opens and the value reads as a string (a missing value reads ""); false,
// Value untouched, when the key does not open; false on any other error (such as a value
// of another type). Example: RegReadStr(u"Software\\X", u"Path", v, HKEY_CURRENT_USER).
KV_API bool RegReadStr(const String& Key, const String& Name, String& Value, rtl::RootKey Root);

// Replaces the first entry whose name (text before its first "=") equals Name under the
// locale's full lower-casing by Name=Value (Name in the caller's spelling), or appends
// Name=Value. Entries without "=" are skipped.
// Example: {"Width=10"} with (u"width", u"20") becomes {"width=20"}.
KV_API void SetVerwItem(StringList& List, const String& Name, const String& Value);
// The text after the first "=" of the first entry whose name equals Name with A-Z
// lower-cased (other letters must match exactly); Default when none.
// Example: {"a=b=c"} with u"A" gives u"b=c".
KV_API String GetVerwItem(const StringList& List, const String& Name, const String& Default);

}  // namespace Kv_tools

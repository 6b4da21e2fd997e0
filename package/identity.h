// The package's identity as the IDE reads it before loading the package: one resource of type
// RCDATA named "PACKAGEIDENTITY" (package/WTarnD11.rc), laid out as follows. Numbers are
// 16-bit little-endian words; texts are UTF-16 code units ended by a zero word.
//
//   offset  size    content
//   0       4       the bytes "WTPK"
//   4       word    layout version: 1
//   6       word    build kind, flags: 1 never rebuilt by the IDE, 2 design time only,
//                   4 run time only (neither 2 nor 4: usable at both)
//   8       text    package name                      "WTarnD11"
//   ...     text    description shown by the IDE      "--- Morvane Tarn PlugIn für ..."
//   ...     word    number N of required packages     3
//   ...     N texts their file names                  "designide280.bpl", ...
//
// Readers ignore bytes after the last text. The description is also the package's resource
// "DESCRIPTION" (RCDATA, one zero-ended UTF-16 text), where library routines read it.
#pragma once

#define WTARN_PACKAGE_NAME L"WTarnD11"
#define WTARN_PACKAGE_DESCRIPTION L"--- Morvane Tarn PlugIn f\x00FCr Delphi 11 Welcome Page"

#ifndef RC_INVOKED
namespace WTarnPackage {

inline constexpr wchar_t kIdentityResource[] = L"PACKAGEIDENTITY";
inline constexpr char kIdentityMagic[4] = {'W', 'T', 'P', 'K'};
inline constexpr unsigned kIdentityLayout = 1;
inline constexpr unsigned kNeverRebuilt = 1, kDesignTimeOnly = 2, kRunTimeOnly = 4;

}  // namespace WTarnPackage
#endif

// TarnEdata release catalogue: the IDE releases the project manager knows, their display
// names and registry keys, and the lookups from a version number text to a product name or
// an update label. Stateless; no routine raises.
#pragma once

#include "rtl/string.h"

namespace TarnEdata {

using rtl::String;

// The IDE releases, oldest first (ordinals 0 to 27).
enum TDelphiVersions {
  Delphi1, Delphi2, Delphi3, Delphi4, Delphi5, Delphi6, Delphi7, Delphi8,
  Delphi2005, Delphi2006, Delphi2007, Delphi2009, Delphi2010,
  DelphiXE, DelphiXE2, DelphiXE3, DelphiXE4, DelphiXE5, DelphiXE6, DelphiXE7, DelphiXE8,
  DelphiXE10, DelphiXE101, DelphiXE102, DelphiXE103, DelphiXE104, DelphiXE11, DelphiXE12,
};
inline constexpr int DelphiVersionCount = DelphiXE12 + 1;

// Display name per release. Example: DelphiVersionsNames[DelphiXE11] == u"RAD Studio XE11".
KV_API extern const char16_t* const DelphiVersionsNames[DelphiVersionCount];
// Registry key per release, below a root the caller chooses.
// Example: DelphiRegPaths[DelphiXE11] == u"\\Software\\Embarcadero\\BDS\\22.0".
KV_API extern const char16_t* const DelphiRegPaths[DelphiVersionCount];
// Product name for a version number text: every row whose key occurs anywhere in Version
// (case-sensitive) replaces the result, so the last matching row wins; "" when none
// matches. Unused has no effect.
// Example: GetDVersion(u"18.1", u"") == u"Delphi 10.1 Berlin", GetDVersion(u"22.0", u"") == u"".
KV_API String GetDVersion(const String& Version, const String& Unused);

// Update label for a version number text that equals a known key exactly; "" otherwise.
// Example: GetSpecs(u"19.5") == u" ( Update 2 or 3 )", GetSpecs(u"19.5 ") == u"".
KV_API String GetSpecs(const String& Version);

// Update number for a version number text that equals a known key exactly; "" otherwise
// and for first releases. Example: GetSpecsNr(u"19.5") == u"2/3", GetSpecsNr(u"19.3") == u"".
KV_API String GetSpecsNr(const String& Version);

}  // namespace TarnEdata

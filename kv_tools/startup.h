// Kv_tools start-up and shut-down: fill the library globals when the package loads,
// release them when it unloads. The package's unit table calls them once each.
#pragma once

#include "rtl/format_settings.h"

namespace Kv_tools {

// The system's short date format as the library keeps it: "m/d/yyyy" in any letter case
// becomes "M/d/yyyy", every other format stays. Example: u"m/D/YYYY" -> u"M/d/yyyy".
KV_API rtl::String NormalizedSystemShortDate(const rtl::String& format);

// True when a short date format starts with the month. Example: u"MM/dd/yyyy" -> true.
KV_API bool IsMonthFirst(const rtl::String& shortDateFormat);

// Fills the format records: FMS German with "dd.mm.yyyy" and "hh:mm", FMSEN US English,
// FMSOrg the system default; the process-wide settings take "." and ":" and FMS's month names.
KV_API void InitFormatSettings(const rtl::FormatSettings& german, const rtl::FormatSettings& english,
                               const rtl::FormatSettings& system);

KV_API void Startup();
KV_API void Shutdown();

}  // namespace Kv_tools

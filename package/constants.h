// WTarnConstants: the package's resource strings.
#pragma once

#include "rtl/string.h"

namespace WTarnConstants {

// Identifier of the resource string sPluginName in the package's string table.
inline constexpr unsigned sPluginNameId = 65520;

// The plug-in's name, "Tarn", read from the package's resources on every call; empty when the
// resource is missing.
KV_API rtl::String sPluginName();

}  // namespace WTarnConstants

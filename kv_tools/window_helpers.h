// Kv_tools: window, input and desktop helpers.
#pragma once

#include "rtl/string.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace Kv_tools {

using rtl::String;

// True when a window with this caption and class name answers a search for WantedClass (empty:
// any class) and TitlePart: the caption is not empty, the class name equals WantedClass
// ignoring ASCII letter case, and the lower-cased caption contains the lower-cased TitlePart.
// An empty TitlePart never matches.
// Example: WindowTitleMatches(u"TarnPlugIn Slave", u"TMainForm", u"tmainform", u"IN SLA") == true.
KV_API bool WindowTitleMatches(const String& Caption, const String& ClassName,
                               const String& WantedClass, const String& TitlePart);

#ifdef _WIN32
// The first visible top-level window, in z-order, that WindowTitleMatches accepts; 0 when none.
// At most 78 characters of a caption or class name take part.
// Example: InWindowTitle(u"TMainForm", u"tarnplugin slave") finds the companion's main window.
KV_API HWND InWindowTitle(const String& ClassName, const String& Title);

// As InWindowTitle, invisible windows included.
KV_API HWND InAllWindowTitle(const String& ClassName, const String& Title);
#endif

}  // namespace Kv_tools

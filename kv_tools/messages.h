// Kv_tools: messages between programs on the same desktop, with a short text attached as a
// global atom. The receiver reads the atom's name and deletes the atom; the senders delete it
// only when the post fails.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <string>

#include "rtl/string.h"

namespace Kv_tools {

// Posts Msg with Param as the first parameter and, as the second, an atom named Text (0 when
// Text is empty or the atom table refuses it, for example beyond 255 characters) to Wnd, or to
// every top-level window when Wnd is 0. True when a window was given, whatever the post did.
// Example: SendWndInterAppMessage(0, msg, 1, u"x") broadcasts and returns false.
// Deliberately, a failed post (the window is gone) deletes the atom it added.
KV_API bool SendWndInterAppMessage(HWND Wnd, uint16_t Msg, uint16_t Param, const rtl::String& Text);

// Short strings: at most 255 bytes in the ANSI code page; longer texts are cut there.
// With a class name and a title: posts as SendWndInterAppMessage to the top-level window with
// exactly that class and title and returns true, or returns false (adding no atom) when there
// is none. With either of them empty: broadcasts and returns true.
// Example: SendInterAppMessage("TMainForm", "", msg, 0, "x") broadcasts and returns true.
// Deliberately, a failed post deletes the atom it added.
KV_API bool SendInterAppMessage(const std::string& ClassName, const std::string& Title,
                                uint16_t Msg, uint16_t Param, const std::string& Text);

}  // namespace Kv_tools
#endif

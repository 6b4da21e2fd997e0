// Kv_tools message boxes: the one place where the library shows a modal message box.
// Every routine that tells the user something goes through ShowMessageBox, so a test can
// install a hook that records the text and answers in place of the user.
#pragma once

#ifdef _WIN32
#include <functional>

#include "rtl/string.h"

namespace Kv_tools {

using rtl::String;

// Stands in for the platform's message box: gets text, caption and the MB_ flags, returns
// the button "pressed" (IDOK, IDYES ...).
using MessageBoxHook = std::function<int(const String& Text, const String& Caption, unsigned Flags)>;

// Shows Text in a modal message box (MessageBoxW, owned by the thread's active window) or
// hands it to the installed hook; returns the answer, 0 when the box could not be shown.
// Example: ShowMessageBox(u"Weiter?", u"Tarn", MB_YESNO) == IDYES when the user says yes.
KV_API int ShowMessageBox(const String& Text, const String& Caption, unsigned Flags);

// A plain message with an OK button, captioned with the program's name (its file name
// without extension). Example: ShowMessage(u"Datei wurde nicht gefunden.").
KV_API void ShowMessage(const String& Text);

// Installs Hook (an empty one restores the platform's box) and returns the one it replaces.
KV_API MessageBoxHook SetMessageBoxHook(MessageBoxHook Hook);

}  // namespace Kv_tools
#endif

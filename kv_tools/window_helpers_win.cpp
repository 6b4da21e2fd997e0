#include "kv_tools/window_helpers.h"

namespace Kv_tools {
namespace {

// Window texts and class names are read through buffers of 79 characters.
constexpr int kTextBuffer = 79;

String WindowCaption(HWND wnd) {
  wchar_t text[kTextBuffer];
  return rtl::FromW(text, GetWindowTextW(wnd, text, kTextBuffer));
}

String WindowClass(HWND wnd) {
  wchar_t text[kTextBuffer];
  return rtl::FromW(text, GetClassNameW(wnd, text, kTextBuffer));
}

HWND FindTopLevel(const String& className, const String& title, bool visibleOnly) {
  for (HWND wnd = GetTopWindow(nullptr); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
    if (!IsWindow(wnd) || (visibleOnly && !IsWindowVisible(wnd))) continue;
    if (WindowTitleMatches(WindowCaption(wnd), WindowClass(wnd), className, title)) return wnd;
  }
  return nullptr;
}

}  // namespace

HWND InWindowTitle(const String& ClassName, const String& Title) {
  return FindTopLevel(ClassName, Title, true);
}

HWND InAllWindowTitle(const String& ClassName, const String& Title) {
  return FindTopLevel(ClassName, Title, false);
}

}  // namespace Kv_tools

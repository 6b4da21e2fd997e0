// Kv_tools: window, input and desktop helpers: finding windows by title or class, bringing
// the application forward, pop-up and system menus under a control, the touch keyboard,
// list-box and grid conveniences, shortening a text to a pixel width, a file's shell icon.
// Window texts and class names are read through buffers of 79 characters, so at most 78
// characters of them take part in a comparison.
#pragma once

#include <functional>

#include "rtl/string.h"

#ifdef _WIN32
#include <windows.h>

#include "rtl/canvas_win.h"
#include "rtl/forms_win.h"
#include "rtl/lists_win.h"
#include "rtl/stdctrls_win.h"
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

// Text unchanged when TextWidth(Text) <= MaxWidth; otherwise Text shortened from the end until
// it and "..." take at most MaxWidth - 2 pixels (or nothing is left), followed by "...". A
// surrogate pair goes as a whole. When TextWidth raises, the text reached so far (without
// "...") is returned.
// Example: 10 pixels a character, MaxWidth 60: u"abcdefgh" gives u"abc...".
KV_API String FitTextToWidth(int MaxWidth, const String& Text,
                             const std::function<int(const String&)>& TextWidth);

// Flips Value. Example: b = false; kv_toggle(b) leaves b == true.
KV_API void kv_toggle(bool& Value);

#ifdef _WIN32
// The first visible top-level window, in z-order, that WindowTitleMatches accepts; 0 when none.
// Example: InWindowTitle(u"TMainForm", u"tarnplugin slave") finds the companion's main window.
KV_API HWND InWindowTitle(const String& ClassName, const String& Title);

// As InWindowTitle, invisible windows included.
KV_API HWND InAllWindowTitle(const String& ClassName, const String& Title);

// The first grandchild (a child of the first child) of the top-level window titled exactly
// WindowTitle, or one of that grandchild's following siblings, whose non-empty text equals
// ChildText exactly; 0 when none. Example: FindChild(u"Setup", u"&Weiter").
KV_API HWND FindChild(const String& WindowTitle, const String& ChildText);

// Brings the application window to the foreground although another program has the input.
KV_API void kv_ShowMe();

// Pops Menu up under Control (at its left, one pixel below it), or above it (one pixel above
// its top) when Above is not 0. Example: kv_ShowPopUp(button, menu, 0).
KV_API void kv_ShowPopUp(rtl::TWinControl& Control, rtl::TPopupMenu& Menu, int Above);
// As kv_ShowPopUp at X in the panel's parent instead of the panel's left.
KV_API void kv_ShowPopUpPanel(rtl::TPanel& Panel, int X, rtl::TPopupMenu& Menu, int Above);
// Sends Wnd the message that pops up its system menu (0x313) at the screen point one pixel
// below Control's left bottom corner.
KV_API void kv_ShowSysMenu(rtl::TWinControl& Control, HWND Wnd);

// The system's touch keyboard (window class "IPTip_Main_Window"): start it, close it, toggle
// it, and whether it is there, visible and enabled.
KV_API void ShowMetroKeyboard();
KV_API void CloseMetroKeyboard();
KV_API void ToggleMetroKeyboard();
KV_API bool MetroKeyBoardIsVisible();
// KeyboardShown: the form's height becomes the keyboard window's top (nothing without one);
// otherwise the screen's height.
KV_API void SetWindowMetroHeight(rtl::TForm& Form, bool KeyboardShown);

// Switches window ghosting off for this process where the system offers it.
KV_API void DisableProcessWindowsGhosting();

class KV_API keys {
 public:
  keys() = delete;
  // True while a Shift key is held down.
  static bool IsShiftKeypressed();
};

// The item at client point X, Y of the list box; -1 when no item is there.
KV_API int FindLbIdx(rtl::TListBox& ListBox, int X, int Y);
KV_API int FindcLbIdx(rtl::TCheckListBox& ListBox, int X, int Y);
// True when the list box has no items or none is selected.
KV_API bool NoItemsAndNoSelection(rtl::TListBox& ListBox);
// The left of section Index in pixels: the widths of the sections before it; 0 for Index 0 or
// below, the width of all sections for an index beyond the last.
KV_API int GetSectionLeftPos(rtl::THeaderControl& Header, int Index);

// Reaches the string grid's protected row deletion.
class KV_API TGridCracker : public rtl::TStringGrid {
 public:
  using rtl::TStringGrid::DeleteRow;
};

// Deletes Row from the grid; the current row stays at its index, or becomes the last row when
// that index no longer exists. Example: deleting the current last row makes the new last current.
KV_API void DeleteRow(rtl::TStringGrid& Grid, int Row);

// Rect shrunk by N on every side. Example: DecRect({0, 0, 10, 10}, 2) == {2, 2, 8, 8}.
KV_API RECT DecRect(const RECT& Rect, int N);

// Text shortened for MaxWidth pixels in the canvas's font, as FitTextToWidth.
KV_API String FitStrLen(int MaxWidth, rtl::TCanvas& Canvas, const String& Text);

// Draws the shell's icon for the type of FileName (the file need not exist), large or small,
// at Rect's left + XOffset, top + YOffset.
KV_API void DrawAttachInfo(rtl::TCanvas& Canvas, const String& FileName, const RECT& Rect, bool Large,
                           int XOffset, int YOffset);
#endif

}  // namespace Kv_tools

// Kv_tools: window placement persistence. A program remembers where each of its windows was,
// per computer and per monitor resolution, in an INI file, and puts the window back there
// without letting it land off-screen.
//
// Position record (the value of one key): "left^top^right^bottom^showcmd^" with the window's
// normal (restored) rectangle and the show command at save time (1 normal, 2 minimized,
// 3 maximized). Section: "<width>x<height>:<computer name>:WinPos" of the monitor that
// decides (the primary one for SaveWindowPos and RestoreWindowPos, the form's own for the
// others). Minimized position: section "MinPos", value "x^y^".
#pragma once

#include "rtl/string.h"

#ifdef _WIN32
#include "rtl/forms_win.h"
#include "rtl/ini_file.h"
#endif

namespace Kv_tools {

using rtl::String;

// ---- The record and the clamping rules, free of the platform

struct WindowRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The fields of a stored position record.
struct StoredWindowPos {
  int Left = 0, Top = 0, Right = 0, Bottom = 0, ShowCmd = 0;
};

// What the clamping rules ask of the screens.
struct PlacementScreen {
  int MonitorWidth = 0, MonitorHeight = 0;  // the monitor nearest to the stored rectangle
  int DesktopLeft = 0, DesktopWidth = 0;    // the virtual desktop over all monitors
  int ScreenWidth = 0;                      // the primary monitor
  WindowRect WorkArea;                      // the primary monitor's work area
};

struct WindowBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const WindowBounds&) const = default;
};

// The INI section of a position record. Example: WindowPosSection(1920, 1080, u"PC7") ==
// u"1920x1080:PC7:WinPos".
KV_API String WindowPosSection(int Width, int Height, const String& ComputerName);

// The position record of a window whose normal rectangle is Normal. In the normal state the
// rectangle is moved (size kept) to the form's FormLeft, FormTop.
// Example: ({0, 0, 800, 600}, 1, true, 100, 50) gives u"100^50^900^650^1^".
KV_API String WindowPosRecord(const WindowRect& Normal, int ShowCmd, bool NormalState, int FormLeft,
                              int FormTop);

// Field Nr of a record as a decimal integer; EConvertError when it is missing or not a number.
// Example: WindowPosField(u"10^-20^", 2) == -20; WindowPosField(u"abc", 1) raises.
KV_API int WindowPosField(const String& Value, int Nr);

// True when the stored value holds at least one field. Example: u"" is false, u"^" true.
KV_API bool HasWindowPosRecord(const String& Value);

// The bounds for a whole stored record: a right edge beyond the desktop (plus 8) becomes the
// monitor's width with left 0, a bottom beyond the monitor's height (plus 8) that height with
// top 0; width and height are taken then; a top more than 15 above the work area moves just
// below its top, a left outside the desktop to the work area's left.
// Example: {2000, 100, 2600, 500} on one 1920x1080 desktop gives {0, 100, 1920, 400}.
// Deliberately: "beyond the desktop" is past its left plus its width, and edges add in 64 bits.
KV_API WindowBounds ClampWindowPos(const StoredWindowPos& Pos, const PlacementScreen& Screen);

// As ClampWindowPos for the position only: a right or bottom edge beyond the limits sets
// left or top to 0; the bounds keep Width and Height.
// Example: {2000, 100, 2600, 500} with 300x200 gives {0, 100, 300, 200}.
KV_API WindowBounds ClampWindowLeftTopPos(const StoredWindowPos& Pos, const PlacementScreen& Screen,
                                          int Width, int Height);

// The position from a record of an INI object: moved by a work area that starts right of or
// below the screen's corner, a top more than 15 above the work area just below its top, a
// left beyond the primary screen's width to the work area's left; the bounds keep Width and
// Height. Example: left 10, top 0 with a work area from top 40 gives left 10, top 40.
KV_API WindowBounds ShiftWindowLeftTopPos(int Left, int Top, const PlacementScreen& Screen, int Width,
                                          int Height);

enum class StoredState { Keep, Normal, Minimized, Maximized };

// The state a restore applies for a stored show command: 1 normal, 2 minimized (normal when
// MinimizedAsNormal), 3 maximized, any other keeps the state.
// Example: StoredStateToApply(2, true) == StoredState::Normal.
KV_API StoredState StoredStateToApply(int ShowCmd, bool MinimizedAsNormal);

#ifdef _WIN32
// ---- Saving and restoring forms

// Writes the form's record to the INI file IniName under the primary monitor's section. A
// failure shows "Nach <IniName> konnte nicht geschrieben werden!..." and is not raised.
// Example: SaveWindowPos(form, u"C:\\p\\prog.ini", u"Main").
KV_API void SaveWindowPos(rtl::TForm& Form, const String& IniName, const String& Key);

// Writes the form's record into MemIni (the caller writes the file) under the form's
// monitor's section; IniName is not used. A failure shows the message naming AppIniName.
KV_API void SaveWindowPosMIni(rtl::TForm& Form, const String& IniName, const String& Key,
                              rtl::MemIniFile& MemIni);
// As SaveWindowPosMIni, arguments in another order.
KV_API void IniSaveWindowPos(rtl::MemIniFile& MemIni, rtl::TForm& Form, const String& IniName,
                             const String& Key);

// Restores the form from the INI file IniName (primary monitor's section) by ClampWindowPos,
// and its state when ApplyState. False and nothing changed when the key holds no field;
// EConvertError (form unchanged) when a field is not a number.
// Example: RestoreWindowPos(form, ini, u"Main", true) after SaveWindowPos(form, ini, u"Main").
KV_API bool RestoreWindowPos(rtl::TForm& Form, const String& IniName, const String& Key, bool ApplyState);

// As RestoreWindowPos from the form's monitor's section, the state always applied and a
// minimized record shown in the normal state.
KV_API bool RestoreWindowNotMinPos(rtl::TForm& Form, const String& IniName, const String& Key);

// As RestoreWindowPos from the form's monitor's section, the position only
// (ClampWindowLeftTopPos); the form keeps its size.
KV_API bool RestoreWindowLeftTopPos(rtl::TForm& Form, const String& IniName, const String& Key,
                                    bool ApplyState);

// The position only, from an INI object, by ShiftWindowLeftTopPos (fields 1, 2 and 5 read).
KV_API bool RestoreWindowLeftTopPosIni(rtl::TForm& Form, rtl::CustomIniFile& IniObject, const String& Key,
                                       bool ApplyState);
// As RestoreWindowLeftTopPosIni from the INI file IniName.
KV_API bool RestoreWindowLeftTopPosIni2(rtl::TForm& Form, const String& IniName, const String& Key,
                                        bool ApplyState);

// Writes the form's minimized position "x^y^" under section "MinPos"; always true. A write
// failure raises EIniFileException.
KV_API bool SaveWindowMinPos(rtl::TForm& Form, const String& IniName, const String& Key);

// Sets the form's minimized position from section "MinPos" and minimizes it when Minimize.
// False when the key holds no field; EConvertError for a field that is not a number.
KV_API bool RestoreWindowMinPos(rtl::TForm& Form, const String& IniName, const String& Key, bool Minimize);

// Replaces OldText by NewText (case-sensitive, every occurrence) in the captions of the
// labels, panels and check boxes that the form owns, the text of its memos, the hint and
// caption of its menu items and the hint of its speed buttons.
// Example: ReplaceCaptionText(form, u"%APP%", u"Tarn").
KV_API void ReplaceCaptionText(rtl::TForm& Form, const String& OldText, const String& NewText);
#endif

}  // namespace Kv_tools

#include "kv_tools/placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "kv_tools/fields.h"
#include "rtl/int_text.h"

namespace Kv_tools {
namespace {

constexpr char16_t kSep = u'^';

// Stored records may hold any 32-bit values: edges are added and subtracted in 64 bits and
// the result saturated.
int Saturated(int64_t v) {
  return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A top more than 15 pixels above the work area moves just below the work area's top.
int KeptBelowWorkAreaTop(int top, const PlacementScreen& s) {
  return int64_t{top} + 15 < s.WorkArea.Top ? Saturated(int64_t{s.WorkArea.Top} + 1) : top;
}

// The desktop's right edge: its left plus its width (monitors may lie left of the primary).
int64_t DesktopRight(const PlacementScreen& s) { return int64_t{s.DesktopLeft} + s.DesktopWidth; }

int KeptOnDesktop(int left, const PlacementScreen& s) {
  return left < s.DesktopLeft || left > DesktopRight(s) ? s.WorkArea.Left : left;
}

}  // namespace

String WindowPosSection(int Width, int Height, const String& ComputerName) {
  return rtl::IntToStr(Width) + u"x" + rtl::IntToStr(Height) + u":" + ComputerName + u":WinPos";
}

String WindowPosRecord(const WindowRect& Normal, int ShowCmd, bool NormalState, int FormLeft, int FormTop) {
  const int64_t dx = NormalState ? int64_t{FormLeft} - Normal.Left : 0;
  const int64_t dy = NormalState ? int64_t{FormTop} - Normal.Top : 0;
  String record;
  for (int64_t v : {Normal.Left + dx, Normal.Top + dy, Normal.Right + dx, Normal.Bottom + dy, int64_t{ShowCmd}})
    record += rtl::IntToStr(Saturated(v)) + kSep;
  return record;
}

int WindowPosField(const String& Value, int Nr) { return rtl::StrToInt(GetFieldStr(kSep, Value, Nr)); }

bool HasWindowPosRecord(const String& Value) { return GetFieldsCount(kSep, Value) >= 1; }

WindowBounds ClampWindowPos(const StoredWindowPos& Pos, const PlacementScreen& Screen) {
  StoredWindowPos p = Pos;
  if (p.Right > DesktopRight(Screen) + 8) {
    p.Right = Screen.MonitorWidth;
    p.Left = 0;
  }
  if (int64_t{p.Bottom} > int64_t{Screen.MonitorHeight} + 8) {
    p.Bottom = Screen.MonitorHeight;
    p.Top = 0;
  }
  const int width = Saturated(int64_t{p.Right} - p.Left), height = Saturated(int64_t{p.Bottom} - p.Top);
  return {KeptOnDesktop(p.Left, Screen), KeptBelowWorkAreaTop(p.Top, Screen), width, height};
}

WindowBounds ClampWindowLeftTopPos(const StoredWindowPos& Pos, const PlacementScreen& Screen, int Width,
                                   int Height) {
  const int left = Pos.Right > DesktopRight(Screen) + 8 ? 0 : Pos.Left;
  const int top = int64_t{Pos.Bottom} > int64_t{Screen.MonitorHeight} + 8 ? 0 : Pos.Top;
  return {KeptOnDesktop(left, Screen), KeptBelowWorkAreaTop(top, Screen), Width, Height};
}

WindowBounds ShiftWindowLeftTopPos(int Left, int Top, const PlacementScreen& Screen, int Width, int Height) {
  const WindowRect& wa = Screen.WorkArea;
  const int top = KeptBelowWorkAreaTop(wa.Top > 0 ? Saturated(int64_t{Top} + wa.Top) : Top, Screen);
  const int left = wa.Left > 0 ? Saturated(int64_t{Left} + wa.Left) : Left;
  return {left > Screen.ScreenWidth ? wa.Left : left, top, Width, Height};
}

StoredState StoredStateToApply(int ShowCmd, bool MinimizedAsNormal) {
  switch (ShowCmd) {
    case 1: return StoredState::Normal;
    case 2: return MinimizedAsNormal ? StoredState::Normal : StoredState::Minimized;
    case 3: return StoredState::Maximized;
    default: return StoredState::Keep;
  }
}

}  // namespace Kv_tools

// Window placement against its description: the record written and read back field by field,
// and the clamping rules in 64-bit arithmetic (stored records may hold any 32-bit values, and
// sums beyond the integer range stop at its ends).
#include <algorithm>
#include <climits>

#include "fuzz/fuzz_input.h"
#include "kv_tools/placement.h"
#include "rtl/errors.h"
#include "rtl/int_text.h"
#include "tests/core/fields_reference.h"

namespace literal {

using namespace Kv_tools;
using rtl::String;

int Sat(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

int64_t DesktopRight(const PlacementScreen& s) { return int64_t{s.DesktopLeft} + s.DesktopWidth; }
int BelowWorkAreaTop(int top, const PlacementScreen& s) {
  return int64_t{top} < int64_t{s.WorkArea.Top} - 15 ? Sat(int64_t{s.WorkArea.Top} + 1) : top;
}
int OnDesktop(int left, const PlacementScreen& s) {
  return left < s.DesktopLeft || left > DesktopRight(s) ? s.WorkArea.Left : left;
}

WindowBounds Clamp(StoredWindowPos p, const PlacementScreen& s) {
  if (int64_t{p.Right} > DesktopRight(s) + 8) p.Left = 0, p.Right = s.MonitorWidth;
  if (int64_t{p.Bottom} > int64_t{s.MonitorHeight} + 8) p.Top = 0, p.Bottom = s.MonitorHeight;
  return {OnDesktop(p.Left, s), BelowWorkAreaTop(p.Top, s), Sat(int64_t{p.Right} - p.Left),
          Sat(int64_t{p.Bottom} - p.Top)};
}

WindowBounds ClampLeftTop(const StoredWindowPos& p, const PlacementScreen& s, int width, int height) {
  const int left = int64_t{p.Right} > DesktopRight(s) + 8 ? 0 : p.Left;
  const int top = int64_t{p.Bottom} > int64_t{s.MonitorHeight} + 8 ? 0 : p.Top;
  return {OnDesktop(left, s), BelowWorkAreaTop(top, s), width, height};
}

WindowBounds Shift(int left, int top, const PlacementScreen& s, int width, int height) {
  if (s.WorkArea.Left > 0) left = Sat(int64_t{left} + s.WorkArea.Left);
  if (s.WorkArea.Top > 0) top = Sat(int64_t{top} + s.WorkArea.Top);
  top = BelowWorkAreaTop(top, s);
  if (left > s.ScreenWidth) left = s.WorkArea.Left;
  return {left, top, width, height};
}

}  // namespace literal

namespace {

// Small values near each other most of the time, now and then any 32-bit value.
int Coordinate(FuzzedDataProvider& in) {
  return in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-100, 3000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace Kv_tools;
  using fuzz::Same;
  FuzzedDataProvider in(data, size);

  const int width = Coordinate(in), height = Coordinate(in);
  const String computer = fuzz::Text(in, 8);
  Same("WindowPosSection", WindowPosSection(width, height, computer),
       rtl::IntToStr(width) + u"x" + rtl::IntToStr(height) + u":" + computer + u":WinPos");

  const WindowRect normal{Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in)};
  const int show_cmd = in.ConsumeIntegralInRange(-1, 4), form_left = Coordinate(in), form_top = Coordinate(in);
  const bool normal_state = in.ConsumeBool();
  const String record = WindowPosRecord(normal, show_cmd, normal_state, form_left, form_top);
  const int64_t dx = normal_state ? int64_t{form_left} - normal.Left : 0;
  const int64_t dy = normal_state ? int64_t{form_top} - normal.Top : 0;
  const int fields[] = {literal::Sat(normal.Left + dx), literal::Sat(normal.Top + dy), literal::Sat(normal.Right + dx),
                        literal::Sat(normal.Bottom + dy), show_cmd};
  String want;
  for (int v : fields) want += rtl::IntToStr(v) + u"^";
  Same("WindowPosRecord", record, want);
  fuzz::Holds("HasWindowPosRecord of a record", HasWindowPosRecord(record));
  for (int nr = 1; nr <= 5; ++nr) Same("WindowPosField of a record", WindowPosField(record, nr), fields[nr - 1]);

  // Stored values as they may come from a file.
  String stored;
  for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n) {
    stored += in.ConsumeBool() ? rtl::IntToStr(in.ConsumeIntegral<int64_t>() >> in.ConsumeIntegralInRange(0, 63))
                               : fuzz::Text(in, 3);
    if (in.ConsumeIntegralInRange(0, 4)) stored += u'^';
  }
  Same("HasWindowPosRecord", HasWindowPosRecord(stored), !stored.empty());
  const int nr = in.ConsumeIntegralInRange(-1, 7);
  int value = 0;
  const bool number = rtl::TryStrToInt(fields_reference::GetFieldStr(u'^', stored, nr), value);
  int mine = 0;
  bool raised = false;
  try { mine = WindowPosField(stored, nr); } catch (const rtl::EConvertError&) { raised = true; }
  Same("WindowPosField raises", raised, !number);
  if (number) Same("WindowPosField", mine, value);

  PlacementScreen screen;
  screen.MonitorWidth = Coordinate(in), screen.MonitorHeight = Coordinate(in);
  screen.DesktopLeft = Coordinate(in), screen.DesktopWidth = Coordinate(in), screen.ScreenWidth = Coordinate(in);
  screen.WorkArea = {Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in)};
  const StoredWindowPos pos{Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in), show_cmd};
  fuzz::Holds("ClampWindowPos", ClampWindowPos(pos, screen) == literal::Clamp(pos, screen));
  fuzz::Holds("ClampWindowLeftTopPos",
              ClampWindowLeftTopPos(pos, screen, width, height) == literal::ClampLeftTop(pos, screen, width, height));
  fuzz::Holds("ShiftWindowLeftTopPos", ShiftWindowLeftTopPos(pos.Left, pos.Top, screen, width, height) ==
                                           literal::Shift(pos.Left, pos.Top, screen, width, height));

  const bool minimized_as_normal = in.ConsumeBool();
  const int cmd = in.ConsumeBool() ? in.ConsumeIntegralInRange(-1, 4) : in.ConsumeIntegral<int>();
  const StoredState want_state = cmd == 1   ? StoredState::Normal
                                 : cmd == 2 ? (minimized_as_normal ? StoredState::Normal : StoredState::Minimized)
                                 : cmd == 3 ? StoredState::Maximized
                                            : StoredState::Keep;
  fuzz::Holds("StoredStateToApply", StoredStateToApply(cmd, minimized_as_normal) == want_state);
  return 0;
}

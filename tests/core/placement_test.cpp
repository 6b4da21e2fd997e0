#include "kv_tools/placement.h"

#include <gtest/gtest.h>

#include <climits>

#include "rtl/errors.h"

namespace Kv_tools {
namespace {

// One 1920x1080 monitor; the work area may start lower (a taskbar at the top).
PlacementScreen SingleScreen(int workAreaTop = 0, int workAreaLeft = 0) {
  return {1920, 1080, 0, 1920, 1920, {workAreaLeft, workAreaTop, 1920, 1040}};
}

// A 1280x1024 monitor left of the primary 1920x1080 one: the desktop runs from -1280 to 1920.
PlacementScreen LeftExtendedScreen(int nearestWidth, int nearestHeight) {
  return {nearestWidth, nearestHeight, -1280, 3200, 1920, {0, 0, 1920, 1040}};
}

TEST(WindowPosRecord, TextOfTheRecordAndItsSection) {
  EXPECT_EQ(WindowPosSection(1920, 1080, u"PC7"), u"1920x1080:PC7:WinPos");
  EXPECT_EQ(WindowPosSection(1280, 900, u""), u"1280x900::WinPos");

  struct Row {
    const char* label;
    WindowRect normal;
    int show;
    bool normalState;
    int formLeft, formTop;
    const char16_t* record;
  } rows[] = {
      {"normal: moved to the form's corner", {0, 0, 800, 600}, 1, true, 100, 50, u"100^50^900^650^1^"},
      {"normal, already there", {10, 20, 30, 40}, 1, true, 10, 20, u"10^20^30^40^1^"},
      {"minimized: as the platform reports", {0, 0, 800, 600}, 2, false, -32000, -32000, u"0^0^800^600^2^"},
      {"maximized: as the platform reports", {5, 6, 700, 500}, 3, false, -8, -8, u"5^6^700^500^3^"},
      {"negative corner (monitor on the left)", {-1200, 10, -400, 610}, 1, true, -1210, 30,
       u"-1210^30^-410^630^1^"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(WindowPosRecord(r.normal, r.show, r.normalState, r.formLeft, r.formTop), r.record);
  }
}

TEST(WindowPosRecord, FieldsReadAsIntegersOrRaise) {
  EXPECT_FALSE(HasWindowPosRecord(u""));
  EXPECT_TRUE(HasWindowPosRecord(u"^"));
  EXPECT_TRUE(HasWindowPosRecord(u"abc"));
  EXPECT_EQ(WindowPosField(u"100^-10^900^560^1^", 2), -10);
  EXPECT_EQ(WindowPosField(u"100^-10^900^560^1", 5), 1) << "a final separator is optional";
  EXPECT_THROW(WindowPosField(u"abc", 1), rtl::EConvertError);
  EXPECT_THROW(WindowPosField(u"1^2^3^", 4), rtl::EConvertError) << "a missing field";
  EXPECT_THROW(WindowPosField(u"1^^3^", 2), rtl::EConvertError) << "an empty field";
  EXPECT_THROW(WindowPosField(u"99999999999^", 1), rtl::EConvertError) << "beyond 32 bits";
}

TEST(WindowPosClamp, WholeRecord) {
  struct Row {
    const char* label;
    StoredWindowPos pos;
    PlacementScreen screen;
    WindowBounds bounds;
  } rows[] = {
      {"fits: unchanged", {100, 50, 900, 650, 1}, SingleScreen(), {100, 50, 800, 600}},
      {"right beyond the desktop: monitor width from 0", {2000, 100, 2600, 500, 1}, SingleScreen(),
       {0, 100, 1920, 400}},
      {"right at desktop + 8 stays", {1200, 0, 1928, 500, 1}, SingleScreen(), {1200, 0, 728, 500}},
      {"bottom beyond the monitor: monitor height from 0", {100, 500, 900, 1200, 1}, SingleScreen(),
       {100, 0, 800, 1080}},
      {"bottom at monitor + 8 stays", {100, 500, 900, 1088, 1}, SingleScreen(), {100, 500, 800, 588}},
      {"top -10 stays (not 15 above the work area)", {100, -10, 900, 560, 1}, SingleScreen(), {100, -10, 800, 570}},
      {"top -40 moves below the work area, height taken before", {100, -40, 900, 560, 1}, SingleScreen(),
       {100, 1, 800, 600}},
      {"work area from 40: top 30 stays", {100, 30, 900, 630, 1}, SingleScreen(40), {100, 30, 800, 600}},
      {"work area from 40: top 20 becomes 41", {100, 20, 900, 620, 1}, SingleScreen(40), {100, 41, 800, 600}},
      {"left of the desktop: work area's left", {-50, 100, 700, 500, 1}, SingleScreen(0, 60), {60, 100, 750, 400}},
      {"left beyond the desktop's right edge", {1925, 100, 1927, 200, 1}, SingleScreen(0, 60), {60, 100, 2, 100}},
      {"on a monitor left of the primary: unchanged", {-1200, 100, -400, 700, 1}, LeftExtendedScreen(1280, 1024),
       {-1200, 100, 800, 600}},
      {"desktop reaching left: right edge is left + width", {2000, 100, 2600, 500, 1},
       LeftExtendedScreen(1920, 1080), {0, 100, 1920, 400}},
      {"desktop reaching left: a left beyond its right edge", {1925, 100, 1927, 200, 1},
       LeftExtendedScreen(1920, 1080), {0, 100, 2, 100}},
      {"extreme values saturate", {INT_MIN, INT_MIN, -5, -5, 1}, SingleScreen(), {0, 1, INT_MAX - 4, INT_MAX - 4}},
      {"extreme edges clamp to the monitor", {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1}, SingleScreen(),
       {0, 0, 1920, 1080}},
      {"reversed rectangle kept as read", {500, 100, 300, 50, 1}, SingleScreen(), {500, 100, -200, -50}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(ClampWindowPos(r.pos, r.screen), r.bounds);
  }
}

TEST(WindowPosClamp, PositionOnly) {
  struct Row {
    const char* label;
    StoredWindowPos pos;
    PlacementScreen screen;
    WindowBounds bounds;
  } rows[] = {
      {"fits: the form's size", {100, 50, 900, 650, 1}, SingleScreen(), {100, 50, 300, 200}},
      {"right beyond: left 0", {2000, 100, 2600, 500, 1}, SingleScreen(), {0, 100, 300, 200}},
      {"bottom beyond: top 0", {100, 900, 900, 1300, 1}, SingleScreen(), {100, 0, 300, 200}},
      {"top 0 after the bottom rule still moves below a work area from 40", {100, 900, 900, 1300, 1},
       SingleScreen(40), {100, 41, 300, 200}},
      {"left of the desktop", {-10, 50, 900, 650, 1}, SingleScreen(0, 30), {30, 50, 300, 200}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(ClampWindowLeftTopPos(r.pos, r.screen, 300, 200), r.bounds);
  }
}

TEST(WindowPosClamp, ShiftedByTheWorkArea) {
  struct Row {
    const char* label;
    int left, top;
    PlacementScreen screen;
    WindowBounds bounds;
  } rows[] = {
      {"work area at the corner: unchanged", 10, 20, SingleScreen(), {10, 20, 300, 200}},
      {"taskbar on top: top moved by it", 10, 0, SingleScreen(40), {10, 40, 300, 200}},
      {"taskbar on the left: left moved by it", 10, 10, SingleScreen(0, 60), {70, 10, 300, 200}},
      {"top -40 with the work area at 0", 10, -40, SingleScreen(), {10, 1, 300, 200}},
      {"top -10 with the work area at 0 stays", 10, -10, SingleScreen(), {10, -10, 300, 200}},
      {"far above a work area from 40", 10, -100, SingleScreen(40), {10, 41, 300, 200}},
      {"left beyond the primary screen's width", 2000, 10, SingleScreen(0, 60), {60, 10, 300, 200}},
      {"a negative left stays (monitor on the left)", -900, 10, LeftExtendedScreen(1280, 1024), {-900, 10, 300, 200}},
      {"extreme top saturates", 0, INT_MAX, SingleScreen(40), {0, INT_MAX, 300, 200}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(ShiftWindowLeftTopPos(r.left, r.top, r.screen, 300, 200), r.bounds);
  }
}

TEST(WindowPosClamp, StateToApply) {
  struct Row {
    int show;
    bool minimizedAsNormal;
    StoredState state;
  } rows[] = {
      {1, false, StoredState::Normal},    {2, false, StoredState::Minimized}, {2, true, StoredState::Normal},
      {3, false, StoredState::Maximized}, {3, true, StoredState::Maximized},  {0, false, StoredState::Keep},
      {6, false, StoredState::Keep},      {-1, true, StoredState::Keep},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "show " << r.show << ", minimized as normal " << r.minimizedAsNormal);
    EXPECT_EQ(StoredStateToApply(r.show, r.minimizedAsNormal), r.state);
  }
}

}  // namespace
}  // namespace Kv_tools

#include "kv_tools/graphics.h"

#include <gtest/gtest.h>

#include "kv_tools/globals.h"
#include "rtl/errors.h"

namespace Kv_tools {
namespace {

TEST(Base64, KnownTextsAndLineBreaksEvery76Characters) {
  struct Row { const char* label; std::string bytes, text; } rows[] = {
      {"empty", "", ""},
      {"one byte", "f", "Zg=="},
      {"two bytes", "fo", "Zm8="},
      {"three bytes", "foo", "Zm9v"},
      {"six bytes", "foobar", "Zm9vYmFy"},
      {"high bytes and a zero byte", std::string("\xFF\xFE\x00", 3), "//4A"},
      {"57 bytes: one full line, no break", std::string(57, '\0'), std::string(76, 'A')},
      {"58 bytes: break before the rest", std::string(58, '\0'), std::string(76, 'A') + "\r\nAA=="},
      {"114 bytes: two full lines, no final break", std::string(114, '\0'),
       std::string(76, 'A') + "\r\n" + std::string(76, 'A')},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(EncodeBase64Lines(r.bytes), r.text);
    EXPECT_EQ(DecodeBase64(r.text), r.bytes);
  }
}

TEST(Base64, DecodingSkipsLineBreaksAndRejectsBadText) {
  EXPECT_EQ(DecodeBase64(" Zm9v\r\nYmFy \t\n"), "foobar");
  EXPECT_EQ(DecodeBase64("Zm8"), "fo") << "padding may be missing";
  EXPECT_EQ(DecodeBase64("Zg"), "f");
  for (const char* bad : {"Zm9v!", "Z", "Zm9vY", "Zg=", "Zg===", "=Zg=", "Zg==Zg==", "Zm9v\xC3\xA4"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(DecodeBase64(bad), rtl::EConvertError);
  }
}

TEST(Colours, ChangeColorClampsAndRoundsHalfToEven) {
  struct Row { const char* label; uint32_t color; bool lighter; long double factor; uint32_t want; } rows[] = {
      {"lighter 255 doubles, blue clamps", 0x00804020, true, 255, 0x00FF8040},
      {"darker 255 gives black", 0x00FFFFFF, false, 255, 0},
      {"black stays black", 0, true, 1000, 0},
      {"factor 0 keeps the colour", 0x00123456, false, 0, 0x00123456},
      {"darker beyond 255 clamps at 0", 0x00FFFFFF, false, 600, 0},
      {"0.5 rounds down to 0", 0x00000001, true, -127.5L, 0},
      {"1.5 rounds up to 2", 0x00000003, false, 127.5L, 2},
      {"2.5 rounds down to 2", 0x00000005, false, 127.5L, 2},
      {"system colour high byte taken as number and dropped", 0xFF000005, true, 255, 0x0000000A},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(ChangeColor(r.color, r.lighter, r.factor), r.want);
  }
}

TEST(Colours, HtmlTextAndSelectionColourByOS) {
  EXPECT_EQ(RgbToHtml(0x000000FF), u"#FF0000");
  EXPECT_EQ(RgbToHtml(0x00563412), u"#123456");
  EXPECT_EQ(RgbToHtml(0x00ABCDEF), u"#EFCDAB");

  const String saved = curOS;
  struct Row { const char16_t* os; uint32_t want; } rows[] = {
      {u"windows 7", 0x123456},
      {u"linux mint 21", 0x72B392},
      {u"ubuntu 22.04", 0x4677F0},
      {u"ubuntu based mint", 0x72B392},
      {u"Linux Mint (upper case: not lower-cased here)", 0x123456},
      {u"", 0x123456},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(rtl::ToUtf8(r.os));
    curOS = r.os;
    EXPECT_EQ(GetSysSelColor(0x123456), r.want);
  }
  curOS = saved;
}

TEST(PictureFitting, FloatAndIntegerSizes) {
  struct Row { const char* label; int cw, ch; long double w, h, want_w, want_h; } rows[] = {
      {"shrunk to width", 100, 100, 400, 200, 100, 50},
      {"enlarged", 100, 100, 50, 25, 100, 50},
      {"shrunk to height", 100, 100, 200, 400, 50, 100},
      {"exact", 80, 60, 80, 60, 80, 60},
      {"rounding half to even", 10, 10, 1000, 250, 10, 2},  // 2.5 -> 2
      {"rounding 3.5 up", 10, 10, 1000, 350, 10, 4},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    long double w = r.w, h = r.h;
    FitPictureToContainer(r.cw, r.ch, w, h);
    EXPECT_EQ(w, r.want_w);
    EXPECT_EQ(h, r.want_h);
    int iw = static_cast<int>(r.w), ih = static_cast<int>(r.h);
    FitPictureToContainerInt(r.cw, r.ch, iw, ih);
    EXPECT_EQ(iw, static_cast<int>(r.want_w));
    EXPECT_EQ(ih, static_cast<int>(r.want_h));
  }
}

TEST(PictureFitting, ZeroSides) {
  long double w = 0, h = 200;
  FitPictureToContainer(100, 100, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 200) << "a picture side of 0 changes nothing";
  w = 400;
  EXPECT_THROW(FitPictureToContainer(0, 100, w, h), rtl::EZeroDivide);

  struct Row { const char* label; int cw, ch, w, h, want_w, want_h; } rows[] = {
      {"container width 0: unchanged", 0, 100, 400, 200, 400, 200},
      {"container height 0: unchanged", 100, 0, 400, 200, 400, 200},
      {"picture 0 x 0: unchanged", 100, 100, 0, 0, 0, 0},
      {"picture width 0 scales the height", 100, 100, 0, 50, 0, 100},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    int iw = r.w, ih = r.h;
    FitPictureToContainerInt(r.cw, r.ch, iw, ih);
    EXPECT_EQ(iw, r.want_w);
    EXPECT_EQ(ih, r.want_h);
  }
}

TEST(PictureFitting, StretchPixelsDropsSurplusPixels) {
  struct Row { const char* label; std::vector<uint32_t> src; int sw, sh, dw, dh; std::vector<uint32_t> want; } rows[] = {
      {"widen", {1, 2}, 2, 1, 4, 1, {1, 1, 2, 2}},
      {"narrow keeps the first", {1, 2}, 2, 1, 1, 1, {1}},
      {"rows top-down", {1, 2, 3, 4}, 2, 2, 2, 4, {1, 2, 1, 2, 3, 4, 3, 4}},
      {"odd shrink", {1, 2, 3}, 3, 1, 2, 1, {1, 2}},
      {"empty source: transparent", {}, 0, 0, 2, 1, {0, 0}},
      {"no destination", {1}, 1, 1, 0, 3, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    EXPECT_EQ(StretchPixels(r.src, r.sw, r.sh, r.dw, r.dh), r.want);
  }
}

}  // namespace
}  // namespace Kv_tools

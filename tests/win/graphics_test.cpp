// Pictures through GDI+ and rich text through riched20, round-tripped.
#include "kv_tools/graphics.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "rtl/string_list.h"

namespace Kv_tools {
namespace {

// A 24-bit BMP file of W x H pixels given top-down as 0xRRGGBB.
std::string Bmp(const std::vector<uint32_t>& pixels, int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::string rows;
  for (int y = h - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < 3; ++k) row[3 * x + k] = static_cast<char>(pixels[y * w + x] >> (8 * k));
    rows += row;
  }
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(54 + rows.size()), 0, 0, 54};
  BITMAPINFOHEADER info{sizeof info, w, h, 1, 24, BI_RGB, static_cast<DWORD>(rows.size()), 0, 0, 0, 0};
  return std::string(reinterpret_cast<char*>(&file), sizeof file) +
         std::string(reinterpret_cast<char*>(&info), sizeof info) + rows;
}

std::string Saved(const rtl::TPicture& picture) {
  rtl::MemoryStream stream;
  picture.SaveToStream(stream);
  return stream.Bytes();
}

const std::vector<uint32_t> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080};

TEST(PictureWin, Base64RoundTripKeepsTheFileAndItsPixels) {
  rtl::TImage img(nullptr);
  const std::string bmp = Bmp(kColours, 3, 2);
  ASSERT_TRUE(LoadImgFromBase64Str(img, rtl::FromUtf8(EncodeBase64Lines(bmp))));
  EXPECT_EQ(img.Picture().Width(), 3);
  EXPECT_EQ(img.Picture().Height(), 2);
  EXPECT_EQ(Saved(img.Picture()), bmp) << "saved in its own format";
  std::vector<uint32_t> opaque;
  for (uint32_t c : kColours) opaque.push_back(0xFF000000 | c);
  EXPECT_EQ(img.Picture().Pixels(), opaque);

  String text;
  ASSERT_TRUE(SaveImgToBase64Str(img, text));
  rtl::StringList lines;
  lines.SetText(text);
  EXPECT_EQ(lines[0].size(), 76u);
  EXPECT_FALSE(text.ends_with(u"\n"));
  rtl::TImage copy(nullptr);
  ASSERT_TRUE(LoadImgFromBase64Str(copy, text));
  EXPECT_EQ(Saved(copy.Picture()), bmp);
}

TEST(PictureWin, ConvertToPngSquareStretchesWithoutBlending) {
  rtl::TImage img(nullptr);
  rtl::MemoryStream bmp(Bmp(kColours, 3, 2));
  img.Picture().LoadFromStream(bmp);
  ConvertImgToPngSize(img, 6);
  EXPECT_EQ(Saved(img.Picture()).substr(0, 8), "\x89PNG\r\n\x1A\n");
  ASSERT_EQ(img.Picture().Width(), 6);
  ASSERT_EQ(img.Picture().Height(), 6);

  // Through Base64 and back, then every pixel against the picked source pixel.
  String text;
  ASSERT_TRUE(SaveImgToBase64Str(img, text));
  rtl::TImage png(nullptr);
  ASSERT_TRUE(LoadImgFromBase64Str(png, text));
  const std::vector<uint32_t> pixels = png.Picture().Pixels();
  ASSERT_EQ(pixels.size(), 36u);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(pixels[y * 6 + x], 0xFF000000 | kColours[(y / 3) * 3 + x / 2]) << x << "," << y;

  ConvertImgToPngSize(png, 0);
  EXPECT_EQ(png.Picture().Width(), 6) << "no square below one pixel";
}

TEST(PictureWin, EmptyBlankAndBadInput) {
  rtl::TImage img(nullptr);
  String text = u"old";
  EXPECT_FALSE(SaveImgToBase64Str(img, text));
  EXPECT_EQ(text, u"");
  EXPECT_FALSE(LoadImgFromBase64Str(img, u"  \r\n \t\r\n"));
  EXPECT_TRUE(img.Picture().Empty());

  ConvertImgToPngSize(img, 2);
  EXPECT_EQ(img.Picture().Pixels(), std::vector<uint32_t>(4, 0)) << "an empty picture gives a transparent square";

  const std::string before = Saved(img.Picture());
  EXPECT_THROW(LoadImgFromBase64Str(img, u"not base64!"), rtl::EConvertError);
  EXPECT_THROW(LoadImgFromBase64Str(img, rtl::FromUtf8(EncodeBase64Lines("no picture at all"))), rtl::EInvalidGraphic);
  EXPECT_EQ(Saved(img.Picture()), before) << "a failed load leaves the picture";
}

TEST(ColoursWin, HtmlOfPlainAndSystemColours) {
  EXPECT_EQ(ColorToHtml(0x000000FF), u"#FF0000");
  EXPECT_EQ(ColorToHtml(rtl::clWindow), RgbToHtml(GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(ColorToHtml(rtl::clBtnFace), RgbToHtml(GetSysColor(COLOR_BTNFACE)));
}

constexpr const char16_t* kRtf = u"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hallo {\\b fett}\\par Gr\\u246?\\u223?e \\u937?}";

TEST(RichTextWin, PlainTextOfRtfKeepsEveryCharacter) {
  EXPECT_EQ(GetPlainTextFromRtfStringEx(kRtf), u"Hallo fett\r\nGröße Ω\r\n")
      << "the Greek letter is not in the ANSI code page";

  rtl::TRichEdit edit(nullptr);
  edit.PlainText = true;
  EXPECT_EQ(GetPlainTextFromRtfString(u"{\\rtf1 eins\\par zwei}", edit), u"eins\r\nzwei\r\n");
  EXPECT_FALSE(edit.PlainText);
  EXPECT_TRUE(GetRTFTags(edit).starts_with(u"{\\rtf1")) << "the control keeps the content";
}

TEST(RichTextWin, LoadCopyAndTags) {
  rtl::TRichEdit source(nullptr), target(nullptr);
  ASSERT_TRUE(RtfLoadFromString(source, kRtf));
  const String tags = GetRTFTags(source);
  EXPECT_TRUE(tags.starts_with(u"{\\rtf1")) << rtl::ToUtf8(tags);
  EXPECT_TRUE(tags.ends_with(u"\r\n"));
  EXPECT_NE(tags.find(u"\\b"), String::npos) << "formatting kept";

  ASSERT_TRUE(CopyRtfToRtf(source, target));
  EXPECT_NE(GetRTFTags(target).find(u"\\b"), String::npos);
  target.PlainText = true;
  // Wine's RTF writer gives characters outside the code page as their closest ANSI letter.
  EXPECT_TRUE(GetRTFTags(target).starts_with(u"Hallo fett\r\nGröße ")) << "plain text in plain-text mode";
  EXPECT_TRUE(target.PlainText);
}

}  // namespace
}  // namespace Kv_tools

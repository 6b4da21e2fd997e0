// Kv_tools: graphics, colour and rich text.
// Colours are 0x00BBGGRR values (red in the lowest byte); 0xFF0000nn names system colour nn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/string.h"

#ifdef _WIN32
#include "rtl/graphics_win.h"
#include "rtl/rich_edit_win.h"
#endif

namespace Kv_tools {

using rtl::String;

// The bytes in standard Base64 with padding, a CR LF after every 76 characters and none
// after the last line. Example: EncodeBase64Lines("Hi!") == "SGkh"; 58 bytes give one full
// line of 76 characters, CR LF, and "AA==".
KV_API std::string EncodeBase64Lines(std::string_view bytes);

// The bytes of a Base64 text; characters up to the blank (line breaks, tabs) are skipped and
// the final padding may be missing. EConvertError on any other character, on a misplaced '='
// or on a lone final character. Example: DecodeBase64("SGkh\r\n") == "Hi!".
KV_API std::string DecodeBase64(std::string_view text);

// The colour lighter (c + Factor * c / 255 per channel) or darker (c - Factor * c / 255),
// each channel clamped to 0..255 and rounded half to even; the high byte is dropped and
// system colours are taken as plain numbers. Black stays black.
// Example: ChangeColor(0x00804020, true, 255) == 0x00FF8040; ChangeColor(c, false, 255) == 0.
KV_API uint32_t ChangeColor(uint32_t Color, bool Lighter, long double Factor);

// Pixels (rows top-down) of a SrcWidth x SrcHeight picture stretched to DstWidth x DstHeight
// by picking the nearest pixel to the upper left: surplus pixels are dropped, none blended.
// A source without pixels gives DstWidth * DstHeight zeros; a destination side below 1 none.
// Example: StretchPixels({1, 2}, 2, 1, 4, 1) == {1, 1, 2, 2}; StretchPixels({1, 2}, 2, 1, 1, 1) == {1}.
KV_API std::vector<uint32_t> StretchPixels(const std::vector<uint32_t>& Src, int SrcWidth, int SrcHeight,
                                           int DstWidth, int DstHeight);

// An RGB value as "#RRGGBB" in upper-case hexadecimal. Example: RgbToHtml(0x0000FF) == u"#FF0000".
KV_API String RgbToHtml(uint32_t Rgb);

// A selection colour that suits the running system: 0x72B392 when curOS contains "mint",
// else 0x4677F0 when it contains "ubuntu", else Default.
// Example: GetSysSelColor(0x123456) == 0x123456 on Windows.
KV_API uint32_t GetSysSelColor(uint32_t Default);

// Scales the picture's size to fill the container with its aspect ratio kept (larger or
// smaller), each side rounded half to even. Nothing changes when a picture side is 0;
// EZeroDivide when a container side is 0.
// Example: container 100 x 100, picture 400 x 200 -> 100 x 50; picture 50 x 25 -> 100 x 50.
KV_API void FitPictureToContainer(int ContainerWidth, int ContainerHeight, long double& PicWidth,
                                  long double& PicHeight);

// As FitPictureToContainer for integer sizes; when the sizes give no finite result (a container
// side of 0, a picture of 0 x 0, a result beyond the integer range) both values stay as they are.
// Example: container 0 x 100, picture 400 x 200 -> unchanged.
KV_API void FitPictureToContainerInt(int ContainerWidth, int ContainerHeight, int& PicWidth,
                                     int& PicHeight);

#ifdef _WIN32
// The colour as "#RRGGBB", system colours resolved to their current value.
// Example: ColorToHtml(0x000000FF) == u"#FF0000"; ColorToHtml(clWindow) gives the window colour.
KV_API String ColorToHtml(uint32_t Color);

// Replaces the image's picture with a PNG of Size x Size: the picture drawn at its own size,
// then stretched (dropping surplus lines, aspect ratio not kept) onto the square. An empty
// picture gives a transparent square; a Size below 1 leaves the picture unchanged.
// Example: a 4 x 2 picture and Size 8 give an 8 x 8 PNG.
KV_API void ConvertImgToPngSize(rtl::TImage& Img, int Size);

// Loads the image's picture from a Base64 text of a picture file in any supported format;
// false, picture unchanged, when the text holds only blanks and line breaks. EConvertError
// for bad Base64, EInvalidGraphic for bytes that are no picture.
// Example: LoadImgFromBase64Str(img, SavedText) == true.
KV_API bool LoadImgFromBase64Str(rtl::TImage& Img, const String& Str);

// Str becomes the picture's file in its own format as Base64 (lines of 76 characters joined
// by CR LF, none after the last); true when that text is not blank. An empty picture gives
// an empty text and false.
KV_API bool SaveImgToBase64Str(const rtl::TImage& Img, String& Str);

// The plain text of an RTF text, loaded into RichEdit (which keeps it); every line ends with
// CR LF. RichEdit is left with PlainText off. Example: u"{\\rtf1 Hallo\\par Welt}" gives
// u"Hallo\r\nWelt\r\n".
KV_API String GetPlainTextFromRtfString(const String& RtfString, rtl::TRichEdit& RichEdit);

// As GetPlainTextFromRtfString with a temporary rich-edit control.
KV_API String GetPlainTextFromRtfStringEx(const String& RtfString);

// Loads the RTF text into the control's formatted content; false, with the error swallowed,
// when that fails. Example: RtfLoadFromString(edit, u"{\\rtf1 x}") == true.
KV_API bool RtfLoadFromString(rtl::TRichEdit& RichEdit, const String& RtfString);

// Copies the formatted content of Source into Target as RTF; false when that fails.
KV_API bool CopyRtfToRtf(rtl::TRichEdit& Source, rtl::TRichEdit& Target);

// The control's content in its current mode (RTF markup, or plain text with PlainText on),
// every line ending with CR LF. Example: starts with u"{\\rtf1" for formatted content.
KV_API String GetRTFTags(rtl::TRichEdit& RichEdit);
#endif

}  // namespace Kv_tools

#include "kv_tools/graphics.h"

#include <algorithm>

#include "rtl/encoding.h"
#include "rtl/platform.h"
#include "rtl/string_list.h"

namespace Kv_tools {
namespace {

bool IsBlank(const String& s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c <= u' '; });
}

// Switches the control to plain text or RTF for one transfer and back afterwards.
class ModeScope {
 public:
  ModeScope(rtl::TRichEdit& edit, bool plain) : edit_(edit), previous_(edit.PlainText) { edit.PlainText = plain; }
  ~ModeScope() { edit_.PlainText = previous_; }
  ModeScope(const ModeScope&) = delete;
  ModeScope& operator=(const ModeScope&) = delete;

 private:
  rtl::TRichEdit& edit_;
  bool previous_;
};

// Loads the text, as lines in the ANSI code page, into the control in the given mode.
void LoadText(rtl::TRichEdit& edit, const String& text, bool plain) {
  rtl::StringList lines;
  lines.SetText(text);
  rtl::MemoryStream stream(rtl::EncodeAnsi(lines.Text()));
  ModeScope mode(edit, plain);
  edit.LoadFromStream(stream);
}

// The control's content in the given mode, every line ending with CR LF. Plain text comes
// as UTF-16, so that no character is lost to the code page.
String SavedText(rtl::TRichEdit& edit, bool plain) {
  rtl::MemoryStream stream;
  ModeScope mode(edit, plain);
  edit.SaveToStream(stream, plain);
  rtl::StringList lines;
  lines.SetText(plain ? rtl::Encoding::Unicode()->GetString(stream.Bytes()) : rtl::DecodeAnsi(stream.Bytes()));
  return lines.Text();
}

}  // namespace

String ColorToHtml(uint32_t Color) { return RgbToHtml(rtl::ColorToRGB(Color)); }

void ConvertImgToPngSize(rtl::TImage& Img, int Size) {
  if (Size < 1) return;
  rtl::TPicture& picture = Img.Picture();
  const std::vector<uint32_t> square =
      StretchPixels(picture.Pixels(), picture.Width(), picture.Height(), Size, Size);
  picture.AssignPng(square, Size, Size);
}

bool LoadImgFromBase64Str(rtl::TImage& Img, const String& Str) {
  if (IsBlank(Str)) return false;
  rtl::MemoryStream decoded(DecodeBase64(rtl::ToUtf8(Str)));
  Img.Picture().LoadFromStream(decoded);
  return true;
}

bool SaveImgToBase64Str(const rtl::TImage& Img, String& Str) {
  rtl::MemoryStream stream;
  Img.Picture().SaveToStream(stream);
  Str = rtl::FromUtf8(EncodeBase64Lines(stream.Bytes()));
  return !IsBlank(Str);
}

String GetPlainTextFromRtfString(const String& RtfString, rtl::TRichEdit& RichEdit) {
  LoadText(RichEdit, RtfString, false);
  String text = SavedText(RichEdit, true);
  RichEdit.PlainText = false;
  return text;
}

String GetPlainTextFromRtfStringEx(const String& RtfString) {
  rtl::TRichEdit edit(nullptr);
  return GetPlainTextFromRtfString(RtfString, edit);
}

bool RtfLoadFromString(rtl::TRichEdit& RichEdit, const String& RtfString) {
  try {
    LoadText(RichEdit, RtfString, false);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool CopyRtfToRtf(rtl::TRichEdit& Source, rtl::TRichEdit& Target) {
  try {
    LoadText(Target, SavedText(Source, false), false);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

String GetRTFTags(rtl::TRichEdit& RichEdit) { return SavedText(RichEdit, RichEdit.PlainText); }

}  // namespace Kv_tools

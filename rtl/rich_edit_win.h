// The runtime's rich-edit control: the platform's RichEdit 2.0 window (riched20.dll).
// Windows only.
#pragma once

#ifdef _WIN32
#include "rtl/controls_win.h"
#include "rtl/stream.h"

namespace rtl {

// A multi-line edit control with formatted text. Its content moves through streams as RTF,
// or as plain text while PlainText is on.
class KV_API TRichEdit : public TWinControl {
 public:
  explicit TRichEdit(TComponent* AOwner);

  // How the streams below read and write the content: plain text instead of RTF.
  bool PlainText = false;

  // Replaces the content with the bytes from the stream's position to its end: RTF, or with
  // PlainText plain text in the ANSI code page. EReadError when the control rejects them.
  // Example: a stream holding "{\rtf1 Hallo}" leaves the text "Hallo".
  void LoadFromStream(Stream& AStream);
  // Writes the content at the stream's position: RTF, or with PlainText plain text, in the
  // ANSI code page or, with Unicode true, as UTF-16 (RTF is ASCII either way).
  // EWriteError when the control reports an error.
  void SaveToStream(Stream& AStream, bool Unicode = false) const;
};

}  // namespace rtl
#endif

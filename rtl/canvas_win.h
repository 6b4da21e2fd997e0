// The runtime's canvas: drawing on a device context with a font, a brush and a pen.
// Windows only.
//
// The canvas does not own its device context. Font, Brush and Pen are plain values that the
// canvas realises at the next drawing call; it puts the context's own font back when the
// context is changed or the canvas goes.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include "rtl/controls_win.h"
#include "rtl/export.h"
#include "rtl/handles.h"
#include "rtl/string.h"

namespace rtl {

struct TBrush {
  TColor Color = clWindow;
};

struct TPen {
  TColor Color = 0x000000;
  int Width = 1;
};

class KV_API TCanvas {
 public:
  // A canvas on Dc (may be null: then every measure is 0 and drawing does nothing).
  explicit TCanvas(HDC Dc = nullptr) : dc_(Dc) {}
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return dc_; }
  void SetHandle(HDC Dc);

  TFont Font;
  TBrush Brush;
  TPen Pen;

  // The size of Text in Font, in pixels; 0 without a device context.
  // Example: TextWidth(u"") == 0; TextWidth(u"ii") < TextWidth(u"WW").
  int TextWidth(const String& Text);
  int TextHeight(const String& Text);
  SIZE TextExtent(const String& Text);
  // Draws Text at X, Y (top-left) in Font, on the brush colour.
  void TextOut(int X, int Y, const String& Text);
  // Fills Rect with the brush colour.
  void FillRect(const RECT& Rect);
  // Draws the outline of Rect with the pen and fills its inside with the brush.
  void Rectangle(const RECT& Rect);
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);

 private:
  void RealizeFont();
  void ReleaseFont();

  HDC dc_;
  UniqueGdiObject font_;
  TFont realized_font_;
  HGDIOBJ old_font_ = nullptr;
};

}  // namespace rtl
#endif

#include "rtl/canvas_win.h"

namespace rtl {
namespace {

// Selects an object into a device context for one scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

TCanvas::~TCanvas() { ReleaseFont(); }

void TCanvas::SetHandle(HDC Dc) {
  ReleaseFont();
  dc_ = Dc;
}

void TCanvas::ReleaseFont() {
  if (dc_ && old_font_) SelectObject(dc_, old_font_);
  old_font_ = nullptr;
  font_.reset();
}

void TCanvas::RealizeFont() {
  if (!dc_ || (font_ && realized_font_ == Font)) return;
  UniqueGdiObject font(CreateFontObject(Font));
  HGDIOBJ previous = SelectObject(dc_, font.get());
  if (!old_font_) old_font_ = previous;
  font_ = std::move(font);
  realized_font_ = Font;
}

SIZE TCanvas::TextExtent(const String& Text) {
  SIZE size{};
  if (!dc_) return size;
  RealizeFont();
  GetTextExtentPoint32W(dc_, W(Text), static_cast<int>(Text.size()), &size);
  return size;
}

int TCanvas::TextWidth(const String& Text) { return TextExtent(Text).cx; }

int TCanvas::TextHeight(const String& Text) { return TextExtent(Text).cy; }

void TCanvas::TextOut(int X, int Y, const String& Text) {
  if (!dc_) return;
  RealizeFont();
  SetTextColor(dc_, ColorToRGB(Font.Color));
  SetBkColor(dc_, ColorToRGB(Brush.Color));
  ExtTextOutW(dc_, X, Y, 0, nullptr, W(Text), static_cast<UINT>(Text.size()), nullptr);
}

void TCanvas::FillRect(const RECT& Rect) {
  if (!dc_) return;
  UniqueGdiObject brush(CreateSolidBrush(ColorToRGB(Brush.Color)));
  ::FillRect(dc_, &Rect, static_cast<HBRUSH>(brush.get()));
}

void TCanvas::Rectangle(const RECT& Rect) {
  if (!dc_) return;
  UniqueGdiObject pen(CreatePen(PS_SOLID, Pen.Width, ColorToRGB(Pen.Color)));
  UniqueGdiObject brush(CreateSolidBrush(ColorToRGB(Brush.Color)));
  Selected with_pen(dc_, pen.get()), with_brush(dc_, brush.get());
  ::Rectangle(dc_, Rect.left, Rect.top, Rect.right, Rect.bottom);
}

void TCanvas::MoveTo(int X, int Y) {
  if (dc_) MoveToEx(dc_, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  if (!dc_) return;
  UniqueGdiObject pen(CreatePen(PS_SOLID, Pen.Width, ColorToRGB(Pen.Color)));
  Selected with_pen(dc_, pen.get());
  ::LineTo(dc_, X, Y);
}

}  // namespace rtl

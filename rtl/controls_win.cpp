#include "rtl/controls_win.h"

#include <algorithm>
#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace rtl {
namespace {

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

constexpr wchar_t kControlProp[] = L"rtl.TWinControl";

// The window classes this module registered; they go when the module unloads, so that a
// later load of the module registers them again with its own window procedure.
class ClassRegistry {
 public:
  ~ClassRegistry() {
    for (const std::wstring& name : names_) UnregisterClassW(name.c_str(), ThisModule());
  }
  void Ensure(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(ThisModule(), name, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = name;
    if (RegisterClassExW(&wc)) names_.emplace_back(name);
  }

 private:
  std::vector<std::wstring> names_;
};

ClassRegistry& Classes() {
  static ClassRegistry registry;
  return registry;
}

int Span(LONG from, LONG to) { return std::max(0, static_cast<int>(to - from)); }

}  // namespace

COLORREF ColorToRGB(TColor color) {
  return (color & 0xFF000000u) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

HGDIOBJ CreateFontObject(const TFont& Font) {
  return CreateFontW(Font.Height, 0, 0, 0, (Font.Style & fsBold) ? FW_BOLD : FW_NORMAL,
                     (Font.Style & fsItalic) != 0, (Font.Style & fsUnderline) != 0,
                     (Font.Style & fsStrikeOut) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, W(Font.Name));
}

// ---- TComponent

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) std::erase(owner_->components_, this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* owned = components_.back();
    components_.pop_back();
    owned->owner_ = nullptr;
    delete owned;
  }
}

bool TComponent::GetInterface(const GUID&, void** Obj) {
  *Obj = nullptr;
  return false;
}

bool Supports(TComponent* Instance, const GUID& IID, void** Obj) {
  *Obj = nullptr;
  return Instance && Instance->GetInterface(IID, Obj);
}

// ---- TWinControl

TWinControl::TWinControl(TComponent* AOwner, const wchar_t* WindowClass, bool SystemClass,
                         DWORD SystemStyle)
    : TComponent(AOwner), own_class_(!SystemClass) {
  if (own_class_) Classes().Ensure(WindowClass, ControlProc);
  const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SystemStyle;
  HWND wnd = CreateWindowExW(0, WindowClass, L"", style, 0, 0, 0, 0, nullptr, nullptr,
                             own_class_ ? ThisModule() : nullptr, this);
  if (wnd && !own_class_) {
    Attach(wnd);
    default_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
  }
}

TWinControl::~TWinControl() {
  // Owned controls go first, so that their destructors still find their windows.
  DestroyComponents();
  for (TWinControl* child : controls_) child->parent_ = nullptr;
  controls_.clear();
  if (parent_) std::erase(parent_->controls_, this);
  // Child windows go with this one; each control forgets its handle on WM_NCDESTROY.
  if (handle_) DestroyWindow(handle_);
}

void TWinControl::Attach(HWND Wnd) {
  handle_ = Wnd;
  SetPropW(Wnd, kControlProp, this);
}

TWinControl* TWinControl::FromHandle(HWND Wnd) {
  return Wnd ? static_cast<TWinControl*>(GetPropW(Wnd, kControlProp)) : nullptr;
}

LRESULT CALLBACK TWinControl::ControlProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    auto self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(LParam)->lpCreateParams);
    self->default_proc_ = DefWindowProcW;
    self->Attach(Wnd);
  }
  TWinControl* self = FromHandle(Wnd);
  if (!self) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  if (Msg == WM_NCDESTROY) {
    LRESULT result = self->DefaultProc(Msg, WParam, LParam);
    RemovePropW(Wnd, kControlProp);
    self->handle_ = nullptr;
    return result;
  }
  return self->WndProc(Msg, WParam, LParam);
}

LRESULT TWinControl::DefaultProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  return CallWindowProcW(default_proc_, handle_, Msg, WParam, LParam);
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_SIZE:
      Realign();
      if (OnResize) OnResize(this);
      break;
    case WM_COMMAND:
      if (TWinControl* sender = FromHandle(reinterpret_cast<HWND>(LParam))) {
        sender->CommandNotify(HIWORD(WParam));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      auto item = reinterpret_cast<const DRAWITEMSTRUCT*>(LParam);
      if (TWinControl* owner = FromHandle(item->hwndItem)) {
        owner->DrawItem(*item);
        return TRUE;
      }
      break;
    }
    case WM_ERASEBKGND:
      if (own_class_) {
        RECT r;
        GetClientRect(handle_, &r);
        UniqueGdiObject brush(CreateSolidBrush(ColorToRGB(BackgroundColor())));
        FillRect(reinterpret_cast<HDC>(WParam), &r, static_cast<HBRUSH>(brush.get()));
        return 1;
      }
      break;
  }
  return DefaultProc(Msg, WParam, LParam);
}

void TWinControl::CommandNotify(WORD) {}

void TWinControl::DrawItem(const DRAWITEMSTRUCT&) {}

TColor TWinControl::BackgroundColor() const {
  return parent_background_ && parent_ ? parent_->BackgroundColor() : color_;
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (AParent == parent_) return;
  TWinControl* old = parent_;
  if (old) std::erase(old->controls_, this);
  parent_ = AParent;
  if (AParent) AParent->controls_.push_back(this);
  PlaceIn(AParent ? AParent->handle_ : nullptr);
  if (AParent) AParent->Realign();
  if (old) old->Realign();
}

void TWinControl::SetParentWindow(HWND Wnd) {
  SetParent(nullptr);
  PlaceIn(Wnd);
}

// A child window of ParentWnd with the nearest font, shown when Visible; a hidden pop-up
// again without a parent window.
void TWinControl::PlaceIn(HWND ParentWnd) {
  if (!handle_) return;
  const LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
  if (!ParentWnd) {
    ShowWindow(handle_, SW_HIDE);
    ::SetParent(handle_, nullptr);
    SetWindowLongPtrW(handle_, GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP);
    return;
  }
  SetWindowLongPtrW(handle_, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
  ::SetParent(handle_, ParentWnd);
  for (const TWinControl* c = this; c; c = c->parent_)
    if (c->font_handle_) {
      SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(c->font_handle_.get()), FALSE);
      break;
    }
  ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::SetAlign(TAlign Value) {
  align_ = Value;
  if (parent_) parent_->Realign();
}

RECT TWinControl::BoundsRect() const {
  RECT r{};
  if (!handle_) return r;
  GetWindowRect(handle_, &r);
  MapWindowPoints(HWND_DESKTOP, GetAncestor(handle_, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int TWinControl::Width() const {
  RECT r = BoundsRect();
  return Span(r.left, r.right);
}

int TWinControl::Height() const {
  RECT r = BoundsRect();
  return Span(r.top, r.bottom);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (handle_)
    SetWindowPos(handle_, nullptr, ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }

void TWinControl::SetVisible(bool Value) {
  visible_ = Value;
  if (handle_ && top_level_)
    ShowWindow(handle_, Value ? SW_SHOW : SW_HIDE);
  else if (handle_ && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
    ShowWindow(handle_, Value ? SW_SHOWNA : SW_HIDE);
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

bool TWinControl::Enabled() const { return handle_ && IsWindowEnabled(handle_); }

void TWinControl::SetEnabled(bool Value) {
  if (handle_) EnableWindow(handle_, Value);
}

String TWinControl::Caption() const {
  if (!handle_) return String();
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
  int n = GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()));
  return FromW(text.data(), n);
}

void TWinControl::SetCaption(const String& Value) {
  if (!handle_) return;
  SetWindowTextW(handle_, W(Value));
  InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetColor(TColor Value) {
  color_ = Value;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetParentBackground(bool Value) {
  parent_background_ = Value;
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::SetFont(const TFont& Value) {
  font_ = Value;
  font_handle_.reset(CreateFontObject(Value));
  if (!handle_) return;
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_handle_.get()), FALSE);
  EnumChildWindows(
      handle_,
      [](HWND child, LPARAM font) CALLBACK -> BOOL {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font_handle_.get()));
  InvalidateRect(handle_, nullptr, TRUE);
}

RECT TWinControl::AlignArea() const {
  RECT r{};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::Realign() {
  if (!handle_) return;
  RECT area = AlignArea();
  for (TAlign pass : {TAlign::alTop, TAlign::alLeft, TAlign::alClient}) {
    for (TWinControl* c : controls_) {
      if (c->align_ != pass || !c->visible_) continue;
      const int w = Span(area.left, area.right), h = Span(area.top, area.bottom);
      if (pass == TAlign::alTop) {
        c->SetBounds(area.left, area.top, w, c->Height());
        area.top += c->Height();
      } else if (pass == TAlign::alLeft) {
        c->SetBounds(area.left, area.top, c->Width(), h);
        area.left += c->Width();
      } else {
        c->SetBounds(area.left, area.top, w, h);
      }
    }
  }
}

// ---- TFrame, TPanel, TSpeedButton

TFrame::TFrame(TComponent* AOwner, const wchar_t* WindowClass) : TWinControl(AOwner, WindowClass) {}

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, L"TPanel") { SetParentBackground(true); }

void TPanel::SetBevelOuter(TBevelCut Value) {
  bevel_outer_ = Value;
  Realign();
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

RECT TPanel::AlignArea() const {
  RECT r = TWinControl::AlignArea();
  if (bevel_outer_ == TBevelCut::bvRaised) InflateRect(&r, -1, -1);
  return r;
}

LRESULT TPanel::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg != WM_PAINT) return TWinControl::WndProc(Msg, WParam, LParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  RECT r;
  GetClientRect(Handle(), &r);
  if (bevel_outer_ == TBevelCut::bvRaised) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  const String text = Caption();
  if (!text.empty()) {
    const TWinControl* source = this;
    while (source->Parent() && source->Font().Name.empty()) source = source->Parent();
    UniqueGdiObject font(CreateFontW(source->Font().Height, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE,
                                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                     W(source->Font().Name)));
    HGDIOBJ old = SelectObject(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(source->Font().Color));
    InflateRect(&r, -8, 0);
    DrawTextW(dc, W(text), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
    SelectObject(dc, old);
  }
  EndPaint(Handle(), &ps);
  return 0;
}

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TWinControl(AOwner, L"BUTTON", true, BS_PUSHBUTTON) {}

void TSpeedButton::CommandNotify(WORD Code) {
  if (Code == BN_CLICKED && OnClick) OnClick(this);
}

// ---- TTimer

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  Classes().Ensure(L"TPUtilWindow", TimerProc);
  window_ = CreateWindowExW(0, L"TPUtilWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            ThisModule(), nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Update();
}

TTimer::~TTimer() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK TTimer::TimerProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg != WM_TIMER) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  auto self = reinterpret_cast<TTimer*>(GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (self && self->OnTimer) self->OnTimer(self);
  return 0;
}

void TTimer::SetEnabled(bool Value) {
  enabled_ = Value;
  Update();
}

void TTimer::SetInterval(unsigned Value) {
  interval_ = Value;
  Update();
}

void TTimer::Update() {
  if (!window_) return;
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}

}  // namespace rtl

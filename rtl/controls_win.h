// The runtime's visual classes: components with owners, and real Win32 windows for frames,
// panels, speed buttons and timers. Windows only.
//
// A component frees the components it owns when it is freed (newest first). A control is a
// window: it is created at construction (as a hidden pop-up until it gets a parent), lays out
// its aligned children whenever its size changes, and forgets its handle when the window is
// destroyed, so a control whose parent window went first never touches a dead handle.
// The window class of each control is named after its class ("TFrame", "TPanel", or the name a
// derived frame passes, such as "TMainFrame"); controls that Win32 has (buttons, list boxes,
// edits) are windows of the system's class.
// Forms and the screen: rtl/forms_win.h; labels, check boxes, memos, menus: rtl/stdctrls_win.h;
// list boxes, header controls, string grids: rtl/lists_win.h; the canvas: rtl/canvas_win.h.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "rtl/export.h"
#include "rtl/handles.h"
#include "rtl/string.h"

namespace rtl {

// A colour: 0x00BBGGRR, or 0xFF0000nn for the system colour with index nn.
using TColor = uint32_t;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clBtnFace = 0xFF00000F;

// The RGB value of a colour; system colours resolve through the platform.
// Example: ColorToRGB(0x00123456) == 0x00123456; ColorToRGB(clWindow) == GetSysColor(5).
KV_API COLORREF ColorToRGB(TColor color);

class KV_API TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class KV_API TComponent : public TObject {
 public:
  // A component owned by AOwner (may be null), which frees it.
  explicit TComponent(TComponent* AOwner);
  // Frees the owned components, newest first, and leaves the owner's list.
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  // The components this one owns, oldest first.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int Index) const { return components_.at(static_cast<size_t>(Index)); }
  // The interface with this identifier that the component offers, with a reference added;
  // false and *Obj null when it offers none. Plain components offer none.
  virtual bool GetInterface(const GUID& IID, void** Obj);

  intptr_t Tag = 0;  // free for the program's use

 protected:
  // Frees the owned components, newest first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
};

// True when the component (may be null) offers the interface; *Obj then holds it.
// Example: Supports(frame, IID_X, &p) is false for a plain frame.
KV_API bool Supports(TComponent* Instance, const GUID& IID, void** Obj);

enum class TAlign { alNone, alTop, alLeft, alClient };
enum class TBevelCut { bvNone, bvRaised };
enum TStyleElement : unsigned { seFont = 1, seClient = 2, seBorder = 4 };

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Height in pixels: negative for the character height, positive for the cell height, 0 for
// the platform's default; Style holds TFontStyle bits.
struct TFont {
  String Name;
  int Height = 0;
  TColor Color = clWindowText;
  unsigned Style = 0;
  bool operator==(const TFont&) const = default;
};

// A new platform font for Font (the caller deletes it).
// Example: UniqueGdiObject f(CreateFontObject({u"Arial", -12}));
KV_API HGDIOBJ CreateFontObject(const TFont& Font);

class KV_API TWinControl : public TComponent {
 public:
  // Frees the owned components while this window still exists, then destroys the window.
  ~TWinControl() override;

  // The window, or null once it has been destroyed.
  HWND Handle() const { return handle_; }
  TWinControl* Parent() const { return parent_; }
  // Makes the control a child window of AParent (null: a hidden pop-up again).
  void SetParent(TWinControl* AParent);
  // Makes the control, without a parent control, a child of a window that is not a control.
  void SetParentWindow(HWND Wnd);
  // The control under this window handle, or null when the window is not a control.
  static TWinControl* FromHandle(HWND Wnd);

  void SetAlign(TAlign Value);
  // Position in the parent's client area and outer size, in pixels.
  int Left() const { return BoundsRect().left; }
  int Top() const { return BoundsRect().top; }
  int Width() const;
  int Height() const;
  RECT BoundsRect() const;
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  void SetHeight(int Value);

  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  bool Enabled() const;
  void SetEnabled(bool Value);
  String Caption() const;
  void SetCaption(const String& Value);

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  // With ParentBackground the control paints its parent's colour instead of its own.
  bool ParentBackground() const { return parent_background_; }
  void SetParentBackground(bool Value);
  // The parts of the control (TStyleElement bits) that the IDE's visual style may paint.
  unsigned StyleElements = seFont | seClient | seBorder;
  // Sets the font of this control and of every window inside it.
  void SetFont(const TFont& Value);
  const TFont& Font() const { return font_; }

  TNotifyEvent OnResize;
  String Hint;  // the help text shown for the control

 protected:
  // A window of the runtime's own class WindowClass, or of a system class (such as "BUTTON")
  // when SystemClass is true; SystemStyle adds style bits to it.
  TWinControl(TComponent* AOwner, const wchar_t* WindowClass, bool SystemClass = false,
              DWORD SystemStyle = 0);
  virtual LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam);
  // A notification (WM_COMMAND code) that the window sent to its parent.
  virtual void CommandNotify(WORD Code);
  // Draws an item of an owner-drawn window (WM_DRAWITEM that the window sent to its parent).
  virtual void DrawItem(const DRAWITEMSTRUCT& Item);
  // Lets a window without a parent control be shown (forms).
  void MakeTopLevel() { top_level_ = true; }
  // The inner rectangle that aligned children share.
  virtual RECT AlignArea() const;
  void Realign();

 private:
  static LRESULT CALLBACK ControlProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT DefaultProc(UINT Msg, WPARAM WParam, LPARAM LParam);
  TColor BackgroundColor() const;
  void Attach(HWND Wnd);
  void PlaceIn(HWND ParentWnd);

  HWND handle_ = nullptr;
  WNDPROC default_proc_ = nullptr;
  bool own_class_;
  bool top_level_ = false;
  TWinControl* parent_ = nullptr;
  std::vector<TWinControl*> controls_;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  TColor color_ = clBtnFace;
  bool parent_background_ = false;
  TFont font_;
  UniqueGdiObject font_handle_;
};

// A container for a group of controls, designed as a unit.
class KV_API TFrame : public TWinControl {
 public:
  explicit TFrame(TComponent* AOwner, const wchar_t* WindowClass = L"TFrame");
};

// A panel: an optional raised outer bevel, a caption, and room for aligned children inside
// the bevel.
class KV_API TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* AOwner);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut Value);

 protected:
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
  RECT AlignArea() const override;

 private:
  TBevelCut bevel_outer_ = TBevelCut::bvRaised;
};

// A push button that reports clicks through OnClick.
class KV_API TSpeedButton : public TWinControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  TNotifyEvent OnClick;

 protected:
  void CommandNotify(WORD Code) override;
};

// Calls OnTimer every Interval milliseconds while Enabled, on the thread that created it,
// through that thread's message loop.
class KV_API TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);
  TNotifyEvent OnTimer;

 private:
  static LRESULT CALLBACK TimerProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void Update();

  HWND window_ = nullptr;
  bool enabled_ = true;
  unsigned interval_ = 1000;
};

}  // namespace rtl
#endif

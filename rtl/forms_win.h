// The runtime's forms, screen and application window. Windows only.
//
// A form is a top-level window with a caption and a sizing frame; it starts hidden. The
// screen answers from the platform at every call (monitors, work area, virtual desktop), so
// it always tells the current layout.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <vector>

#include "rtl/controls_win.h"
#include "rtl/export.h"

namespace rtl {

// One display monitor; rectangles in screen coordinates.
struct KV_API TMonitor {
  HMONITOR Handle = nullptr;
  RECT BoundsRect{};
  RECT WorkareaRect{};
  bool Primary = false;
  int Left() const { return BoundsRect.left; }
  int Top() const { return BoundsRect.top; }
  int Width() const { return BoundsRect.right - BoundsRect.left; }
  int Height() const { return BoundsRect.bottom - BoundsRect.top; }
};

class KV_API TScreen {
 public:
  // The monitors in the platform's order.
  std::vector<TMonitor> Monitors() const;
  int MonitorCount() const { return static_cast<int>(Monitors().size()); }
  // The first monitor flagged primary, else the first monitor.
  TMonitor PrimaryMonitor() const;
  // The monitor that holds most of Rect, or the nearest one.
  TMonitor MonitorFromRect(const RECT& Rect) const;
  // The monitor that holds most of the window, or the nearest one.
  TMonitor MonitorFromWindow(HWND Wnd) const;
  // The primary monitor's work area (the desktop less the taskbar).
  RECT WorkAreaRect() const;
  // The virtual desktop that spans every monitor.
  int DesktopLeft() const;
  int DesktopTop() const;
  int DesktopWidth() const;
  int DesktopHeight() const;
  // The primary monitor's size.
  int Width() const;
  int Height() const;
};

// The program's screen object.
KV_API TScreen& Screen();

// The application's own top-level window: the one a program (or its host) set, else a hidden
// window of class "TApplication" made at the first request.
class KV_API TApplication {
 public:
  HWND Handle();
  void SetHandle(HWND Wnd) { handle_ = Wnd; }
  // Dispatches the messages waiting for this thread.
  void ProcessMessages();

 private:
  HWND handle_ = nullptr;
};

KV_API TApplication& Application();

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class KV_API TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner, const wchar_t* WindowClass = L"TForm");

  // Shows the form in its window state and activates it.
  void Show();
  // Normal, minimized or maximized; a hidden form takes the state when it is shown.
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  // While minimized or maximized the bounds become the normal (restored) rectangle.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // The monitor that holds most of the form.
  TMonitor Monitor() const;

 private:
  TWindowState state_ = TWindowState::wsNormal;
};

}  // namespace rtl
#endif

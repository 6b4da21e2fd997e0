#include "rtl/forms_win.h"

#include <algorithm>

namespace rtl {
namespace {

TMonitor MonitorOf(HMONITOR handle) {
  TMonitor m;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!handle || !GetMonitorInfoW(handle, &info)) return m;
  m.Handle = handle;
  m.BoundsRect = info.rcMonitor;
  m.WorkareaRect = info.rcWork;
  m.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  return m;
}

int ShowCommandOf(TWindowState state) {
  switch (state) {
    case TWindowState::wsMinimized: return SW_SHOWMINIMIZED;
    case TWindowState::wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
  }
}

// The window behind the application object.
class ApplicationWindow : public TWinControl {
 public:
  ApplicationWindow() : TWinControl(nullptr, L"TApplication") {}
};

}  // namespace

// ---- TScreen

std::vector<TMonitor> TScreen::Monitors() const {
  std::vector<TMonitor> list;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM data) CALLBACK -> BOOL {
        reinterpret_cast<std::vector<TMonitor>*>(data)->push_back(MonitorOf(monitor));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

TMonitor TScreen::PrimaryMonitor() const {
  const std::vector<TMonitor> list = Monitors();
  for (const TMonitor& m : list)
    if (m.Primary) return m;
  return list.empty() ? TMonitor{} : list.front();
}

TMonitor TScreen::MonitorFromRect(const RECT& Rect) const {
  return MonitorOf(::MonitorFromRect(&Rect, MONITOR_DEFAULTTONEAREST));
}

TMonitor TScreen::MonitorFromWindow(HWND Wnd) const {
  return MonitorOf(::MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST));
}

RECT TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

int TScreen::DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
int TScreen::DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }
int TScreen::DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
int TScreen::DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

// ---- TApplication

HWND TApplication::Handle() {
  if (!handle_) {
    static ApplicationWindow window;
    handle_ = window.Handle();
  }
  return handle_;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

TApplication& Application() {
  static TApplication application;
  return application;
}

// ---- TForm

TForm::TForm(TComponent* AOwner, const wchar_t* WindowClass)
    : TWinControl(AOwner, WindowClass, false,
                  WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) {
  MakeTopLevel();
  SetVisible(false);
}

void TForm::Show() {
  SetVisible(true);
  if (Handle()) ShowWindow(Handle(), ShowCommandOf(state_));
}

TWindowState TForm::WindowState() const {
  if (!Handle() || !IsWindowVisible(Handle())) return state_;
  if (IsIconic(Handle())) return TWindowState::wsMinimized;
  if (IsZoomed(Handle())) return TWindowState::wsMaximized;
  return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState Value) {
  state_ = Value;
  if (!Handle() || !IsWindowVisible(Handle())) return;
  ShowWindow(Handle(), ShowCommandOf(Value));
  // A window minimized from the maximized state comes back maximized first.
  if (Value == TWindowState::wsNormal && IsZoomed(Handle())) ShowWindow(Handle(), SW_SHOWNORMAL);
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!Handle() || !(IsIconic(Handle()) || IsZoomed(Handle())) ||
      !GetWindowPlacement(Handle(), &placement)) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  placement.rcNormalPosition = {ALeft, ATop, ALeft + std::max(0, AWidth), ATop + std::max(0, AHeight)};
  SetWindowPlacement(Handle(), &placement);
}

TMonitor TForm::Monitor() const { return Screen().MonitorFromWindow(Handle()); }

}  // namespace rtl

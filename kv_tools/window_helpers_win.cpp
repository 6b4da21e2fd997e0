#include "kv_tools/window_helpers.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "rtl/handles.h"
#include "rtl/window_text_win.h"

namespace Kv_tools {
namespace {

HWND FindTopLevel(const String& className, const String& title, bool visibleOnly) {
  for (HWND wnd = GetTopWindow(nullptr); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
    if (!IsWindow(wnd) || (visibleOnly && !IsWindowVisible(wnd))) continue;
    if (WindowTitleMatches(rtl::WindowCaption(wnd), rtl::WindowClassName(wnd), className, title)) return wnd;
  }
  return nullptr;
}

// Where a control's left bottom (or, Above, top) corner lies on the screen, one pixel off the
// control; X replaces the control's left.
POINT ScreenPointBy(const rtl::TWinControl& control, int x, bool above) {
  POINT p{x, above ? control.Top() - 1 : control.Top() + control.Height() + 1};
  if (HWND parent = GetAncestor(control.Handle(), GA_PARENT)) ClientToScreen(parent, &p);
  return p;
}

void PopUpAt(const rtl::TWinControl& control, int x, rtl::TPopupMenu& menu, int above) {
  const POINT p = ScreenPointBy(control, x, above != 0);
  menu.Popup(p.x, p.y);
}

constexpr wchar_t kKeyboardClass[] = L"IPTip_Main_Window";

HWND KeyboardWindow() { return FindWindowW(kKeyboardClass, nullptr); }

}  // namespace

HWND InWindowTitle(const String& ClassName, const String& Title) {
  return FindTopLevel(ClassName, Title, true);
}

HWND InAllWindowTitle(const String& ClassName, const String& Title) {
  return FindTopLevel(ClassName, Title, false);
}

HWND FindChild(const String& WindowTitle, const String& ChildText) {
  HWND top = FindWindowW(nullptr, rtl::W(WindowTitle));
  HWND child = top ? GetWindow(top, GW_CHILD) : nullptr;
  for (HWND wnd = child ? GetWindow(child, GW_CHILD) : nullptr; wnd; wnd = GetWindow(wnd, GW_HWNDNEXT)) {
    const String text = rtl::WindowCaption(wnd);
    if (!text.empty() && text == ChildText) return wnd;
  }
  return nullptr;
}

void kv_ShowMe() {
  const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD self = GetCurrentThreadId();
  AttachThreadInput(foreground, self, TRUE);
  SetForegroundWindow(rtl::Application().Handle());
  AttachThreadInput(foreground, self, FALSE);
}

void kv_ShowPopUp(rtl::TWinControl& Control, rtl::TPopupMenu& Menu, int Above) {
  PopUpAt(Control, Control.Left(), Menu, Above);
}

void kv_ShowPopUpPanel(rtl::TPanel& Panel, int X, rtl::TPopupMenu& Menu, int Above) {
  PopUpAt(Panel, X, Menu, Above);
}

void kv_ShowSysMenu(rtl::TWinControl& Control, HWND Wnd) {
  const POINT p = ScreenPointBy(Control, Control.Left(), false);
  SendMessageW(Wnd, 0x313, 0, MAKELPARAM(p.x, p.y));
}

void ShowMetroKeyboard() {
  ShellExecuteW(nullptr, L"open", L"\"C:\\Program Files\\Common Files\\Microsoft Shared\\ink\\TabTip.exe\"",
                L"", L"", SW_SHOW);
}

void CloseMetroKeyboard() {
  if (HWND keyboard = KeyboardWindow()) PostMessageW(keyboard, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool MetroKeyBoardIsVisible() {
  HWND keyboard = KeyboardWindow();
  return keyboard && IsWindowVisible(keyboard) && IsWindowEnabled(keyboard);
}

void ToggleMetroKeyboard() {
  if (MetroKeyBoardIsVisible())
    CloseMetroKeyboard();
  else
    ShowMetroKeyboard();
}

void SetWindowMetroHeight(rtl::TForm& Form, bool KeyboardShown) {
  if (!KeyboardShown) {
    Form.SetHeight(rtl::Screen().Height());
    return;
  }
  RECT r;
  if (HWND keyboard = KeyboardWindow(); keyboard && GetWindowRect(keyboard, &r)) Form.SetHeight(r.top);
}

void DisableProcessWindowsGhosting() {
  if (auto disable = rtl::ProcAddress<void(WINAPI*)()>(GetModuleHandleW(L"user32.dll"), "DisableProcessWindowsGhosting"))
    disable();
}

bool keys::IsShiftKeypressed() { return GetKeyState(VK_SHIFT) < 0; }

int FindLbIdx(rtl::TListBox& ListBox, int X, int Y) { return ListBox.ItemAtPos({X, Y}, true); }

int FindcLbIdx(rtl::TCheckListBox& ListBox, int X, int Y) { return ListBox.ItemAtPos({X, Y}, true); }

bool NoItemsAndNoSelection(rtl::TListBox& ListBox) { return ListBox.Count() == 0 || ListBox.ItemIndex() == -1; }

int GetSectionLeftPos(rtl::THeaderControl& Header, int Index) {
  int left = 0;
  for (int i = 0; i < std::min(Index, Header.SectionCount()); ++i) left += Header.SectionWidth(i);
  return left;
}

void DeleteRow(rtl::TStringGrid& Grid, int Row) {
  const int current = Grid.Row();
  (Grid.*(&TGridCracker::DeleteRow))(Row);
  Grid.SetRow(current < Grid.RowCount() ? current : Grid.RowCount() - 1);
}

RECT DecRect(const RECT& Rect, int N) { return {Rect.left + N, Rect.top + N, Rect.right - N, Rect.bottom - N}; }

String FitStrLen(int MaxWidth, rtl::TCanvas& Canvas, const String& Text) {
  return FitTextToWidth(MaxWidth, Text, [&Canvas](const String& s) { return Canvas.TextWidth(s); });
}

void DrawAttachInfo(rtl::TCanvas& Canvas, const String& FileName, const RECT& Rect, bool Large, int XOffset,
                    int YOffset) {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | (Large ? 0 : SHGFI_SMALLICON);
  auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(rtl::W(FileName), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags));
  if (list && Canvas.Handle())
    ImageList_Draw(list, info.iIcon, Canvas.Handle(), Rect.left + XOffset, Rect.top + YOffset, ILD_TRANSPARENT);
}

}  // namespace Kv_tools

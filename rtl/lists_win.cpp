#include "rtl/lists_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace rtl {
namespace {

constexpr DWORD kListStyle = LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                             WS_BORDER | WS_TABSTOP;
constexpr int kCheckSize = 13;

const wchar_t* HeaderClass() {
  static const bool ready = [] {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)ready;
  return WC_HEADERW;
}

// The check box square of an item of a check list box.
RECT CheckRect(const RECT& item) {
  const int top = item.top + (item.bottom - item.top - kCheckSize) / 2;
  return {item.left + 2, top, item.left + 2 + kCheckSize, top + kCheckSize};
}

}  // namespace

// ---- TListBox

TListBox::TListBox(TComponent* AOwner) : TListBox(AOwner, 0) {}

TListBox::TListBox(TComponent* AOwner, DWORD ExtraStyle)
    : TWinControl(AOwner, L"LISTBOX", true, kListStyle | ExtraStyle) {}

int TListBox::Add(const String& Item) {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), LB_ADDSTRING, 0,
                                                  reinterpret_cast<LPARAM>(W(Item))))
                  : -1;
}

void TListBox::Clear() {
  if (Handle()) SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

int TListBox::Count() const {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), LB_GETCOUNT, 0, 0)) : 0;
}

String TListBox::Items(int Index) const {
  if (Index < 0 || Index >= Count()) return String();
  std::wstring text(static_cast<size_t>(SendMessageW(Handle(), LB_GETTEXTLEN, Index, 0)) + 1, L'\0');
  const LRESULT n = SendMessageW(Handle(), LB_GETTEXT, Index, reinterpret_cast<LPARAM>(text.data()));
  return FromW(text.data(), std::max<LRESULT>(n, 0));
}

int TListBox::ItemIndex() const {
  return Handle() ? static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0)) : -1;
}

void TListBox::SetItemIndex(int Value) {
  if (Handle()) SendMessageW(Handle(), LB_SETCURSEL, Value, 0);
}

RECT TListBox::ItemRect(int Index) const {
  RECT r{};
  if (Index >= 0 && Index < Count()) SendMessageW(Handle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
  return r;
}

int TListBox::ItemAtPos(POINT Pos, bool Existing) const {
  if (Count() == 0) return -1;
  // The platform answers the nearest item; only a point inside an item's rectangle hits it.
  const LONG x = std::clamp<LONG>(Pos.x, 0, 0xFFFF), y = std::clamp<LONG>(Pos.y, 0, 0xFFFF);
  const int index = LOWORD(SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y)));
  if (!Existing) return index;
  const RECT r = ItemRect(index);
  return PtInRect(&r, Pos) ? index : -1;
}

// ---- TCheckListBox

TCheckListBox::TCheckListBox(TComponent* AOwner) : TListBox(AOwner, LBS_OWNERDRAWFIXED) {
  if (!Handle()) return;
  HDC dc = GetDC(Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  ReleaseDC(Handle(), dc);
  SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, std::max<LONG>(tm.tmHeight + 2, kCheckSize + 4));
}

bool TCheckListBox::Checked(int Index) const {
  return Index >= 0 && Index < Count() && SendMessageW(Handle(), LB_GETITEMDATA, Index, 0) == 1;
}

void TCheckListBox::SetChecked(int Index, bool Value) {
  if (Index < 0 || Index >= Count()) return;
  SendMessageW(Handle(), LB_SETITEMDATA, Index, Value ? 1 : 0);
  const RECT r = ItemRect(Index);
  InvalidateRect(Handle(), &r, TRUE);
}

LRESULT TCheckListBox::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_LBUTTONDOWN) {
    const POINT p{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
    const int index = ItemAtPos(p, true);
    const RECT check = CheckRect(ItemRect(index));
    if (index >= 0 && p.x < check.right + 2) SetChecked(index, !Checked(index));
  }
  return TListBox::WndProc(Msg, WParam, LParam);
}

void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& Item) {
  if (Item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = (Item.itemState & ODS_SELECTED) != 0;
  FillRect(Item.hDC, &Item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  RECT check = CheckRect(Item.rcItem);
  DrawFrameControl(Item.hDC, &check, DFC_BUTTON,
                   DFCS_BUTTONCHECK | (Item.itemData == 1 ? DFCS_CHECKED : 0));
  const String text = Items(static_cast<int>(Item.itemID));
  RECT text_rect = Item.rcItem;
  text_rect.left = check.right + 4;
  SetBkMode(Item.hDC, TRANSPARENT);
  SetTextColor(Item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(Item.hDC, W(text), -1, &text_rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// ---- THeaderControl

THeaderControl::THeaderControl(TComponent* AOwner)
    : TWinControl(AOwner, HeaderClass(), true, HDS_HORZ | HDS_BUTTONS) {}

void THeaderControl::AddSection(const String& Text, int Width) {
  if (!Handle()) return;
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = const_cast<wchar_t*>(W(Text));
  item.cxy = Width;
  item.fmt = HDF_LEFT | HDF_STRING;
  SendMessageW(Handle(), HDM_INSERTITEMW, SectionCount(), reinterpret_cast<LPARAM>(&item));
}

int THeaderControl::SectionCount() const {
  return Handle() ? std::max(0, static_cast<int>(SendMessageW(Handle(), HDM_GETITEMCOUNT, 0, 0))) : 0;
}

int THeaderControl::SectionWidth(int Index) const {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  if (Index < 0 || Index >= SectionCount() ||
      !SendMessageW(Handle(), HDM_GETITEMW, Index, reinterpret_cast<LPARAM>(&item)))
    return 0;
  return item.cxy;
}

void THeaderControl::SetSectionWidth(int Index, int Width) {
  if (Index < 0 || Index >= SectionCount()) return;
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = Width;
  SendMessageW(Handle(), HDM_SETITEMW, Index, reinterpret_cast<LPARAM>(&item));
}

// ---- TStringGrid

TStringGrid::TStringGrid(TComponent* AOwner) : TWinControl(AOwner, L"TStringGrid") {
  SetColor(clWindow);
  SetRowCount(5);
}

void TStringGrid::SetColCount(int Value) {
  col_count_ = std::max(1, Value);
  for (std::vector<String>& row : cells_) row.resize(static_cast<size_t>(col_count_));
  Changed();
}

void TStringGrid::SetRowCount(int Value) {
  cells_.resize(static_cast<size_t>(std::max(1, Value)), std::vector<String>(static_cast<size_t>(col_count_)));
  fixed_rows_ = std::min(fixed_rows_, RowCount() - 1);
  row_ = std::clamp(row_, fixed_rows_, RowCount() - 1);
  Changed();
}

void TStringGrid::SetFixedRows(int Value) {
  fixed_rows_ = std::clamp(Value, 0, RowCount() - 1);
  row_ = std::clamp(row_, fixed_rows_, RowCount() - 1);
  Changed();
}

void TStringGrid::SetRow(int ARow) {
  if (ARow < fixed_rows_ || ARow >= RowCount()) return;
  row_ = ARow;
  Changed();
}

String TStringGrid::Cells(int ACol, int ARow) const {
  if (ACol < 0 || ACol >= col_count_ || ARow < 0 || ARow >= RowCount()) return String();
  return cells_[static_cast<size_t>(ARow)][static_cast<size_t>(ACol)];
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
  if (ACol < 0 || ACol >= col_count_ || ARow < 0 || ARow >= RowCount()) return;
  cells_[static_cast<size_t>(ARow)][static_cast<size_t>(ACol)] = Value;
  Changed();
}

void TStringGrid::DeleteRow(int ARow) {
  if (ARow < 0 || ARow >= RowCount()) return;
  if (RowCount() == 1) {
    cells_[0].assign(static_cast<size_t>(col_count_), String());
    Changed();
    return;
  }
  cells_.erase(cells_.begin() + ARow);
  SetRowCount(RowCount());
}

void TStringGrid::Changed() {
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT TStringGrid::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg != WM_PAINT) return TWinControl::WndProc(Msg, WParam, LParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  for (int r = 0; r < RowCount(); ++r) {
    for (int c = 0; c < col_count_; ++c) {
      RECT cell{c * DefaultColWidth, r * DefaultRowHeight, (c + 1) * DefaultColWidth,
                (r + 1) * DefaultRowHeight};
      const bool fixed = r < fixed_rows_, current = r == row_;
      FillRect(dc, &cell, GetSysColorBrush(fixed ? COLOR_BTNFACE : current ? COLOR_HIGHLIGHT : COLOR_WINDOW));
      FrameRect(dc, &cell, GetSysColorBrush(COLOR_BTNSHADOW));
      SetTextColor(dc, GetSysColor(current && !fixed ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      InflateRect(&cell, -2, 0);
      DrawTextW(dc, W(Cells(c, r)), -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  SelectObject(dc, old_font);
  EndPaint(Handle(), &ps);
  return 0;
}

}  // namespace rtl

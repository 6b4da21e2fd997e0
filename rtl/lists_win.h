// The runtime's list controls: list boxes ("LISTBOX"), check list boxes (an owner-drawn
// list box with a check box before each item), header controls ("SysHeader32") and string
// grids (a window of the runtime's own class "TStringGrid"). Windows only.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <vector>

#include "rtl/controls_win.h"
#include "rtl/export.h"

namespace rtl {

class KV_API TListBox : public TWinControl {
 public:
  explicit TListBox(TComponent* AOwner);

  // Appends an item and returns its index.
  int Add(const String& Item);
  void Clear();
  int Count() const;
  String Items(int Index) const;
  // The selected item, -1 when none.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  // The item's rectangle in client coordinates; empty for an index that is not an item.
  RECT ItemRect(int Index) const;
  // The item at client point Pos; with Existing only an item whose rectangle holds the
  // point counts (-1 otherwise), else the nearest item (-1 in an empty list).
  int ItemAtPos(POINT Pos, bool Existing) const;

 protected:
  TListBox(TComponent* AOwner, DWORD ExtraStyle);
};

class KV_API TCheckListBox : public TListBox {
 public:
  explicit TCheckListBox(TComponent* AOwner);
  bool Checked(int Index) const;
  void SetChecked(int Index, bool Value);

 protected:
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
  void DrawItem(const DRAWITEMSTRUCT& Item) override;
};

class KV_API THeaderControl : public TWinControl {
 public:
  explicit THeaderControl(TComponent* AOwner);
  // Appends a section of Width pixels.
  void AddSection(const String& Text, int Width);
  int SectionCount() const;
  // The section's width; 0 for an index that is not a section.
  int SectionWidth(int Index) const;
  void SetSectionWidth(int Index, int Width);
};

// A grid of texts: ColCount by RowCount cells, the first FixedRows rows a fixed title.
// Row is the current row. RowCount is at least 1.
class KV_API TStringGrid : public TWinControl {
 public:
  explicit TStringGrid(TComponent* AOwner);

  int ColCount() const { return col_count_; }
  void SetColCount(int Value);
  int RowCount() const { return static_cast<int>(cells_.size()); }
  // Rows beyond the new count go with their texts; the current row stays within the grid.
  void SetRowCount(int Value);
  int FixedRows() const { return fixed_rows_; }
  void SetFixedRows(int Value);
  int Row() const { return row_; }
  // Makes ARow current; a row outside the grid is ignored.
  void SetRow(int ARow);
  // The text of a cell; "" outside the grid. Setting one outside the grid does nothing.
  String Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const String& Value);
  int DefaultRowHeight = 24;
  int DefaultColWidth = 64;

 protected:
  // Removes row ARow with its texts; the rows below move up. A row outside the grid is
  // ignored; the last remaining row is emptied instead of removed.
  void DeleteRow(int ARow);
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;

 private:
  void Changed();

  std::vector<std::vector<String>> cells_;
  int col_count_ = 5;
  int fixed_rows_ = 1;
  int row_ = 1;
};

}  // namespace rtl
#endif

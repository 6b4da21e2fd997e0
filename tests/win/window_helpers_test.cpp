// Window, input and desktop helpers on real windows (under Xvfb in the test run).
#include "kv_tools/window_helpers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "rtl/handles.h"

namespace Kv_tools {
namespace {

using rtl::TForm;

void Pump() { rtl::Application().ProcessMessages(); }

// A shown form of its own window class with a caption.
class ProbeForm : public TForm {
 public:
  ProbeForm(const wchar_t* windowClass, const String& caption, bool show = true) : TForm(nullptr, windowClass) {
    SetCaption(caption);
    SetBounds(50, 60, 320, 240);
    if (show) Show();
  }
};

// Forms stay hidden where the test allows: Wine takes seconds to take a shown window down.
// The one shown form is shared by the suite.
class WindowHelpersWin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { shown_ = new ProbeForm(L"TWTarnProbe", u"WTarn Probe Window 7a"); }
  static void TearDownTestSuite() { delete shown_; }
  static inline ProbeForm* shown_ = nullptr;
};

TEST_F(WindowHelpersWin, WindowSearchByTitleAndClass) {
  ProbeForm& shown = *shown_;
  ProbeForm hidden(L"TWTarnProbe", u"WTarn Hidden Probe 7a", false);
  ProbeForm long_title(L"TWTarnProbe", String(70, u'x') + u"0123456789 tail7a", false);

  EXPECT_EQ(InWindowTitle(u"", u"probe WINDOW 7A"), shown.Handle()) << "any class, other letter case";
  EXPECT_EQ(InWindowTitle(u"twtarnprobe", u"Probe Window 7a"), shown.Handle());
  EXPECT_EQ(InWindowTitle(u"TOtherClass", u"Probe Window 7a"), nullptr);
  EXPECT_EQ(InWindowTitle(u"TWTarnProbe", u""), nullptr) << "an empty title part never matches";
  EXPECT_EQ(InWindowTitle(u"", u"Hidden Probe 7a"), nullptr) << "invisible";
  EXPECT_EQ(InAllWindowTitle(u"TWTarnProbe", u"hidden probe 7a"), hidden.Handle());
  EXPECT_EQ(InAllWindowTitle(u"", u"x012345"), long_title.Handle()) << "within the first 78 characters";
  EXPECT_EQ(InAllWindowTitle(u"", u"tail7a"), nullptr) << "beyond 78 characters";
}

TEST_F(WindowHelpersWin, FindChildLooksAtTheGrandchildren) {
  ProbeForm form(L"TWTarnProbe", u"WTarn FindChild 7a", false);
  auto panel = new rtl::TPanel(&form);
  panel->SetParent(&form);
  panel->SetCaption(u"Weiter");
  auto back = new rtl::TSpeedButton(&form);
  auto next = new rtl::TSpeedButton(&form);
  back->SetParent(panel);
  next->SetParent(panel);
  back->SetCaption(u"Zurück");
  next->SetCaption(u"Weiter");

  EXPECT_EQ(FindChild(u"WTarn FindChild 7a", u"Weiter"), next->Handle()) << "not the panel with that text";
  EXPECT_EQ(FindChild(u"WTarn FindChild 7a", u"Zurück"), back->Handle());
  EXPECT_EQ(FindChild(u"WTarn FindChild 7a", u"weiter"), nullptr) << "letter case counts";
  EXPECT_EQ(FindChild(u"WTarn FindChild", u"Weiter"), nullptr) << "the title must be exact";
  EXPECT_EQ(FindChild(u"WTarn FindChild 7a", u""), nullptr);
}

// Ends the menu that is about to show, from inside its loop.
void CloseMenuSoon() {
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
    KillTimer(nullptr, id);
    EndMenu();
  });
}

// A form that records the position of a system-menu request.
class SysMenuProbe : public ProbeForm {
 public:
  SysMenuProbe() : ProbeForm(L"TWTarnProbe", u"WTarn SysMenu 7a", false) {}
  LPARAM request = -1;

 protected:
  LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override {
    if (Msg == 0x313) {
      request = LParam;
      return 0;
    }
    return ProbeForm::WndProc(Msg, WParam, LParam);
  }
};

TEST_F(WindowHelpersWin, MenusUnderAControl) {
  SysMenuProbe form;
  auto button = new rtl::TSpeedButton(&form);
  button->SetParent(&form);
  button->SetBounds(20, 30, 80, 25);
  auto panel = new rtl::TPanel(&form);
  panel->SetParent(&form);
  panel->SetBounds(10, 100, 200, 40);
  rtl::TPopupMenu menu(&form);
  auto item = new rtl::TMenuItem(&form);
  item->Caption = u"Öffnen";
  menu.Add(item);
  menu.OnPopup = [](rtl::TObject*) { CloseMenuSoon(); };

  auto screen = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(form.Handle(), &p);
    return p;
  };
  struct Row {
    const char* label;
    std::function<void()> show;
    POINT expected;
  } rows[] = {
      {"below the button", [&] { kv_ShowPopUp(*button, menu, 0); }, screen(20, 56)},
      {"above the button", [&] { kv_ShowPopUp(*button, menu, 1); }, screen(20, 29)},
      {"below the panel at x", [&] { kv_ShowPopUpPanel(*panel, 5, menu, 0); }, screen(5, 141)},
      {"above the panel at x", [&] { kv_ShowPopUpPanel(*panel, 5, menu, -1); }, screen(5, 99)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    r.show();
    EXPECT_EQ(menu.PopupPoint().x, r.expected.x);
    EXPECT_EQ(menu.PopupPoint().y, r.expected.y);
  }

  kv_ShowSysMenu(*button, form.Handle());
  const POINT p = screen(20, 56);
  EXPECT_EQ(form.request, MAKELPARAM(p.x, p.y));
}

// A stand-in for the system's touch keyboard window.
class StandInKeyboard {
 public:
  StandInKeyboard() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"IPTip_Main_Window";
    RegisterClassW(&wc);
    wnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"IPTip_Main_Window", L"", WS_POPUP | WS_SYSMENU, 0,
                           600, 800, 300, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(wnd_, SW_SHOWNOACTIVATE);
  }
  ~StandInKeyboard() {
    if (IsWindow(wnd_)) DestroyWindow(wnd_);
    UnregisterClassW(L"IPTip_Main_Window", GetModuleHandleW(nullptr));
  }
  HWND Handle() const { return wnd_; }

 private:
  HWND wnd_;
};

TEST_F(WindowHelpersWin, TouchKeyboard) {
  ProbeForm form(L"TWTarnProbe", u"WTarn Keyboard 7a", false);
  ASSERT_EQ(FindWindowW(L"IPTip_Main_Window", nullptr), nullptr) << "no touch keyboard here";
  EXPECT_FALSE(MetroKeyBoardIsVisible());
  CloseMetroKeyboard();
  SetWindowMetroHeight(form, true);
  EXPECT_EQ(form.Height(), 240) << "no keyboard: unchanged";
  SetWindowMetroHeight(form, false);
  EXPECT_EQ(form.Height(), rtl::Screen().Height());

  StandInKeyboard keyboard;
  EXPECT_TRUE(MetroKeyBoardIsVisible());
  SetWindowMetroHeight(form, true);
  EXPECT_EQ(form.Height(), 600) << "down to the keyboard's top";
  EnableWindow(keyboard.Handle(), FALSE);
  EXPECT_FALSE(MetroKeyBoardIsVisible()) << "disabled";
  EnableWindow(keyboard.Handle(), TRUE);
  ToggleMetroKeyboard();  // visible: closes it
  Pump();
  EXPECT_FALSE(IsWindow(keyboard.Handle()));
  EXPECT_FALSE(MetroKeyBoardIsVisible());
}

TEST_F(WindowHelpersWin, ListsAndHeaders) {
  ProbeForm form(L"TWTarnProbe", u"WTarn Lists 7a", false);
  rtl::TListBox list(&form);
  list.SetParent(&form);
  list.SetBounds(0, 0, 150, 200);
  rtl::TCheckListBox checks(&form);
  checks.SetParent(&form);
  checks.SetBounds(160, 0, 150, 200);

  EXPECT_TRUE(NoItemsAndNoSelection(list));
  EXPECT_EQ(FindLbIdx(list, 5, 5), -1) << "empty list";
  for (const char16_t* s : {u"eins", u"zwei", u"drei"}) {
    list.Add(s);
    checks.Add(s);
  }
  EXPECT_TRUE(NoItemsAndNoSelection(list)) << "items, none selected";
  list.SetItemIndex(1);
  EXPECT_FALSE(NoItemsAndNoSelection(list));

  // Points relative to each list's own items (the check list's items are taller).
  auto lists = {std::pair<rtl::TListBox*, int (*)(rtl::TListBox&, int, int)>{&list, FindLbIdx},
                {&checks, [](rtl::TListBox& l, int x, int y) { return FindcLbIdx(static_cast<rtl::TCheckListBox&>(l), x, y); }}};
  for (auto [box, find] : lists) {
    const RECT second = box->ItemRect(1), third = box->ItemRect(2);
    struct Row {
      const char* label;
      int x, y, index;
    } rows[] = {
        {"first item's corner", 0, 0, 0},
        {"inside the second item", 10, (second.top + second.bottom) / 2, 1},
        {"last pixel row of the third item", 10, third.bottom - 1, 2},
        {"below the last item", 10, third.bottom + 5, -1},
        {"left of the list", -3, 2, -1},
        {"above the list", 3, -2, -1},
        {"far away", 100000, 100000, -1},
    };
    for (const Row& r : rows) {
      SCOPED_TRACE(testing::Message() << (box == &list ? "list box: " : "check list box: ") << r.label);
      EXPECT_EQ(find(*box, r.x, r.y), r.index);
    }
  }
  checks.SetChecked(2, true);
  EXPECT_TRUE(checks.Checked(2));
  EXPECT_FALSE(checks.Checked(0));
  EXPECT_FALSE(checks.Checked(7));

  rtl::THeaderControl header(&form);
  header.SetParent(&form);
  EXPECT_EQ(GetSectionLeftPos(header, 2), 0) << "no sections";
  header.AddSection(u"Name", 50);
  header.AddSection(u"Größe", 70);
  header.AddSection(u"Datum", 30);
  for (auto [index, left] : {std::pair{-1, 0}, {0, 0}, {1, 50}, {2, 120}, {3, 150}, {9, 150}}) {
    SCOPED_TRACE(testing::Message() << "section " << index);
    EXPECT_EQ(GetSectionLeftPos(header, index), left);
  }
}

TEST_F(WindowHelpersWin, DeleteRowKeepsTheCurrentRow) {
  struct Row {
    const char* label;
    int rows, current, deleted, rows_after, current_after;
    const char16_t* first_cells;  // column 0 of every row after the deletion, one letter each
  } rows[] = {
      {"the current last row: the new last is current", 5, 4, 4, 4, 3, u"0abc"},
      {"a row above the current: its index stays", 5, 3, 1, 4, 3, u"0bcd"},
      {"a row below the current", 5, 1, 3, 4, 1, u"0abd"},
      {"a row outside the grid: nothing", 5, 2, 7, 5, 2, u"0abcd"},
      {"a negative row: nothing", 5, 2, -1, 5, 2, u"0abcd"},
      {"the fixed title row", 5, 2, 0, 4, 2, u"abcd"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    rtl::TStringGrid grid(nullptr);
    grid.SetRowCount(r.rows);
    for (int i = 0; i < r.rows; ++i) grid.SetCells(0, i, String(1, i == 0 ? u'0' : static_cast<char16_t>(u'a' + i - 1)));
    grid.SetRow(r.current);
    DeleteRow(grid, r.deleted);
    EXPECT_EQ(grid.RowCount(), r.rows_after);
    EXPECT_EQ(grid.Row(), r.current_after);
    String cells;
    for (int i = 0; i < grid.RowCount(); ++i) cells += grid.Cells(0, i);
    EXPECT_EQ(cells, r.first_cells);
  }
  rtl::TStringGrid single(nullptr);
  single.SetRowCount(1);
  single.SetCells(1, 0, u"x");
  DeleteRow(single, 0);
  EXPECT_EQ(single.RowCount(), 1) << "a grid keeps one row";
  EXPECT_EQ(single.Cells(1, 0), u"");
}

// A memory device context with a white 64x64 bitmap.
class MemoryCanvas {
 public:
  MemoryCanvas() : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateBitmap(64, 64, 1, 32, nullptr)) {
    old_ = SelectObject(dc_, bitmap_.get());
    PatBlt(dc_, 0, 0, 64, 64, WHITENESS);
    canvas.SetHandle(dc_);
  }
  ~MemoryCanvas() {
    canvas.SetHandle(nullptr);
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  int Painted(int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += (GetPixel(dc_, x, y) & 0xFFFFFF) != 0xFFFFFF;
    return n;
  }
  rtl::TCanvas canvas;

 private:
  HDC dc_;
  rtl::UniqueGdiObject bitmap_;
  HGDIOBJ old_;
};

TEST_F(WindowHelpersWin, FitStrLenOnARealCanvas) {
  MemoryCanvas mem;
  rtl::TCanvas& canvas = mem.canvas;
  canvas.Font = {u"Arial", -14};
  const String text = u"Ein ziemlich langer Dateiname für die Liste.txt";
  const int full = canvas.TextWidth(text), dots = canvas.TextWidth(u"...");
  ASSERT_GT(full, dots);

  EXPECT_EQ(FitStrLen(full, canvas, text), text) << "exactly wide enough";
  EXPECT_EQ(FitStrLen(dots - 1, canvas, text), u"...");
  for (int max : {full - 1, full / 2, dots + 3}) {
    SCOPED_TRACE(max);
    const String fitted = FitStrLen(max, canvas, text);
    ASSERT_TRUE(fitted.ends_with(u"..."));
    const String kept = fitted.substr(0, fitted.size() - 3);
    EXPECT_TRUE(text.starts_with(kept));
    EXPECT_LE(canvas.TextWidth(fitted), max - 2);
    if (kept.size() < text.size()) EXPECT_GT(canvas.TextWidth(text.substr(0, kept.size() + 1) + u"..."), max - 2);
  }
  canvas.Font.Height = -28;
  EXPECT_GT(canvas.TextWidth(text), full) << "the font follows the canvas's Font";
  rtl::TCanvas detached;
  EXPECT_EQ(FitStrLen(10, detached, text), text) << "no device: everything measures 0";
}

TEST_F(WindowHelpersWin, ShellIconOnTheCanvas) {
  MemoryCanvas mem;
  DrawAttachInfo(mem.canvas, u"Z:\\nowhere\\brief.txt", RECT{4, 6, 60, 60}, false, 10, 20);
  EXPECT_GT(mem.Painted(14, 26, 30, 42), 0) << "the small icon at rectangle + offsets";
  EXPECT_EQ(mem.Painted(0, 0, 64, 26), 0) << "nothing above it";
  EXPECT_EQ(mem.Painted(0, 0, 14, 64), 0) << "nothing left of it";
}

TEST_F(WindowHelpersWin, SmallHelpers) {
  const RECT r = DecRect(RECT{10, 20, 110, 220}, 3);
  EXPECT_TRUE(r.left == 13 && r.top == 23 && r.right == 107 && r.bottom == 217);
  const RECT grown = DecRect(RECT{0, 0, 10, 10}, -2);
  EXPECT_TRUE(grown.left == -2 && grown.right == 12);
  EXPECT_FALSE(keys::IsShiftKeypressed());
  DisableProcessWindowsGhosting();

  ProbeForm mine(L"TWTarnProbe", u"WTarn Mine 7a");
  SetForegroundWindow(shown_->Handle());
  rtl::Application().SetHandle(mine.Handle());
  kv_ShowMe();
  EXPECT_EQ(GetForegroundWindow(), mine.Handle());
  rtl::Application().SetHandle(nullptr);
}

}  // namespace
}  // namespace Kv_tools

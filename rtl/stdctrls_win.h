// The runtime's standard controls and pop-up menus, as windows of the system's classes:
// labels ("STATIC"), check boxes ("BUTTON"), memos ("EDIT"). Windows only.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <vector>

#include "rtl/controls_win.h"
#include "rtl/export.h"

namespace rtl {

// A line of text; Caption holds it.
class KV_API TLabel : public TWinControl {
 public:
  explicit TLabel(TComponent* AOwner);
};

// A check box with its caption; OnClick follows every change by the user.
class KV_API TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  bool Checked() const;
  void SetChecked(bool Value);
  TNotifyEvent OnClick;

 protected:
  void CommandNotify(WORD Code) override;
};

// A multi-line edit; its text is the window text (lines divided by CR LF).
class KV_API TMemo : public TWinControl {
 public:
  explicit TMemo(TComponent* AOwner);
  String Text() const { return Caption(); }
  void SetText(const String& Value) { SetCaption(Value); }
};

class TPopupMenu;

// An entry of a pop-up menu. It leaves its menu when it is freed.
class KV_API TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  String Caption;
  String Hint;
  bool Enabled = true;
  TNotifyEvent OnClick;

 private:
  friend class TPopupMenu;
  TPopupMenu* menu_ = nullptr;
};

// A menu that pops up at a screen point and reports the chosen item through its OnClick.
class KV_API TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // Appends Item (not owned: its owner frees it).
  void Add(TMenuItem* Item);
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int Index) const { return items_.at(static_cast<size_t>(Index)); }

  // Records X, Y as PopupPoint, calls OnPopup, shows the menu there (owned by the
  // application window) and returns when it closes, after the chosen item's OnClick.
  void Popup(int X, int Y);
  POINT PopupPoint() const { return popup_point_; }
  TNotifyEvent OnPopup;

 private:
  friend class TMenuItem;
  std::vector<TMenuItem*> items_;
  POINT popup_point_{};
};

}  // namespace rtl
#endif

#include "rtl/stdctrls_win.h"

#include <algorithm>
#include <memory>
#include <type_traits>

#include "rtl/forms_win.h"

namespace rtl {
namespace {

using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)>;

}  // namespace

TLabel::TLabel(TComponent* AOwner) : TWinControl(AOwner, L"STATIC", true, SS_LEFT | SS_NOPREFIX) {}

TCheckBox::TCheckBox(TComponent* AOwner)
    : TWinControl(AOwner, L"BUTTON", true, BS_AUTOCHECKBOX | WS_TABSTOP) {}

bool TCheckBox::Checked() const {
  return Handle() && SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool Value) {
  if (Handle()) SendMessageW(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::CommandNotify(WORD Code) {
  if (Code == BN_CLICKED && OnClick) OnClick(this);
}

TMemo::TMemo(TComponent* AOwner)
    : TWinControl(AOwner, L"EDIT", true,
                  ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER) {}

// ---- menus

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  if (menu_) std::erase(menu_->items_, this);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}

TPopupMenu::~TPopupMenu() {
  for (TMenuItem* item : items_) item->menu_ = nullptr;
}

void TPopupMenu::Add(TMenuItem* Item) {
  if (!Item || Item->menu_) return;
  Item->menu_ = this;
  items_.push_back(Item);
}

void TPopupMenu::Popup(int X, int Y) {
  popup_point_ = {X, Y};
  if (OnPopup) OnPopup(this);
  UniqueMenu menu(CreatePopupMenu(), &DestroyMenu);
  if (!menu) return;
  for (size_t i = 0; i < items_.size(); ++i)
    AppendMenuW(menu.get(), MF_STRING | (items_[i]->Enabled ? MF_ENABLED : MF_GRAYED), i + 1,
                W(items_[i]->Caption));
  HWND owner = Application().Handle();
  const int chosen = static_cast<int>(TrackPopupMenu(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, X, Y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen > 0 && static_cast<size_t>(chosen) <= items_.size()) {
    TMenuItem* item = items_[static_cast<size_t>(chosen) - 1];
    if (item->OnClick) item->OnClick(item);
  }
}

}  // namespace rtl

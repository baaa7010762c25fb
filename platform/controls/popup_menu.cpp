#include "platform/controls/popup_menu.h"

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), menu_(std::make_unique<QMenu>()) {}

TPopupMenu::~TPopupMenu() {
  Destroying();
}

void TPopupMenu::Popup(int X, int Y) {
  onPopup_(this);
  if (menu_->isEmpty()) return;
  menu_->popup(QPoint(X, Y));
}

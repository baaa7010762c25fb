#pragma once
// TPopupMenu: a context menu a control shows on a right click (unless its
// OnContextPopup handler says it was handled). The items are QActions of
// Menu().

#include <QMenu>
#include <QPointer>
#include <memory>

#include "platform/core/component.h"
#include "platform/core/events.h"

class TPopupMenu : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TNotifyEvent OnPopup READ OnPopup WRITE SetOnPopup)
 public:
  Q_INVOKABLE explicit TPopupMenu(TComponent* AOwner = nullptr);
  ~TPopupMenu() override;

  QMenu* Menu() const { return menu_.get(); }
  // The control whose context menu request showed the menu last.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value) { popupComponent_ = value; }
  // Raises OnPopup, then shows the menu at a screen position (without
  // blocking when there is no display to show it on).
  virtual void Popup(int X, int Y);

  const TNotifyEvent& OnPopup() const { return onPopup_; }
  void SetOnPopup(const TNotifyEvent& value) { onPopup_ = value; }

 private:
  std::unique_ptr<QMenu> menu_;
  QPointer<TComponent> popupComponent_;
  TNotifyEvent onPopup_;
};

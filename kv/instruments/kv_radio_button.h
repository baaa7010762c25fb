#pragma once
// TKvRadioButton: one choice of a group, shown as an LED (LED: shape, on and
// off colours, size) in a sunken round well, followed by the caption.
//
// The base runs in mRadioButton mode and does the grouping: the buttons of
// one owner with the same GroupIndex (> 0) share one status word with one
// bit set, so checking one (by the mouse, Space, or Checked = True) turns
// the others off. Every button needs a bit of its own in that word: a new
// button takes the lowest StatusBit that no other radio button of its owner
// uses yet (bit 31 when all are taken) and starts on, as its mode does.
// Joining a group adopts the group's word, so buttons created one after
// another form a working group by GroupIndex alone, the first one checked. A
// stored form keeps the bits it was written with.
//
// Space reaches the windowless button from the parent: Perform(WM_KEYDOWN,
// VK_SPACE, 0) checks it as a press does (not while disabled).

#include <memory>
#include <optional>

#include "kv/controls/kv_bin_control.h"
#include "kv/settings/led_settings.h"

class TKvRadioButton : public TKvBinGControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(TLED* LED READ LED)
  Q_PROPERTY(int StatusBit READ StatusBit WRITE SetStatusBit)
  Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(TNotifyEvent OnStatusChange READ OnStatusChange WRITE SetOnStatusChange)
  Q_PROPERTY(TNotifyEvent OnStatusIntChange READ OnStatusIntChange WRITE SetOnStatusIntChange)
  Q_CLASSINFO("default:Caption", "''")
  Q_CLASSINFO("default:GroupIndex", "0")
  // Checked has no default: an unchecked member of a group must be stored as
  // such, or reading would leave it on as a new button starts.

 public:
  // 100 x 21 pixels, in mRadioButton mode with the first free bit.
  Q_INVOKABLE explicit TKvRadioButton(TComponent* AOwner = nullptr);
  ~TKvRadioButton() override;

  TLED* LED() const { return led_.get(); }

  // The well around the LED (client coordinates).
  TRect WellRect() const;

  void ParamChange(TObject* Sender) override;
  void StatusChanged() override;
  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  // The lowest bit no other radio button of the owner uses.
  int32_t FreeBit() const;

  std::unique_ptr<TLED> led_;
  std::optional<bool> announced_;  // checked state last told to assistive technology
};

#pragma once
// TKvToggleSwitch: a slide switch with a caption. A sunken slot, as tall as
// the control and twice as wide (never wider than the control), shows
// SlotColorOn or SlotColorOff; the lever, a block painted with Bevel (raised
// unless its Style says otherwise) with a grip groove in the middle, covers
// the left half of the slot when off and the right half when on. The caption
// follows the slot in the control's font, grey while disabled.
//
// The base runs in mSwitch mode: each press of the left button flips the
// switch. A windowless control has no keyboard of its own, so Space reaches
// it from the parent: Perform(WM_KEYDOWN, VK_SPACE, 0) flips it as a press
// does (not while disabled).

#include <memory>
#include <optional>

#include "kv/controls/kv_bin_control.h"
#include "kv/settings/surface_bevel.h"

class TKvToggleSwitch : public TKvBinGControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(TKvSBevel* Bevel READ Bevel)
  Q_PROPERTY(TColor SlotColorOn READ SlotColorOn WRITE SetSlotColorOn)
  Q_PROPERTY(TColor SlotColorOff READ SlotColorOff WRITE SetSlotColorOff)
  Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
  Q_PROPERTY(int StatusBit READ StatusBit WRITE SetStatusBit)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(TNotifyEvent OnStatusChange READ OnStatusChange WRITE SetOnStatusChange)
  Q_PROPERTY(TNotifyEvent OnStatusIntChange READ OnStatusIntChange WRITE SetOnStatusIntChange)
  Q_CLASSINFO("default:Caption", "''")
  Q_CLASSINFO("default:SlotColorOn", "clLime")
  Q_CLASSINFO("default:SlotColorOff", "clGray")
  Q_CLASSINFO("default:GroupIndex", "0")
  Q_CLASSINFO("default:StatusBit", "0")
  Q_CLASSINFO("default:Checked", "False")

 public:
  // 80 x 20 pixels, off, in mSwitch mode.
  Q_INVOKABLE explicit TKvToggleSwitch(TComponent* AOwner = nullptr);
  ~TKvToggleSwitch() override;

  TKvSBevel* Bevel() const { return bevel_.get(); }
  TColor SlotColorOn() const { return slotColorOn_; }
  void SetSlotColorOn(TColor value);
  TColor SlotColorOff() const { return slotColorOff_; }
  void SetSlotColorOff(TColor value);

  // The slot and the lever for the current size and state (client coordinates).
  TRect SlotRect() const;
  TRect LeverRect() const;

  void ParamChange(TObject* Sender) override;
  void StatusChanged() override;
  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TKvSBevel> bevel_;
  TColor slotColorOn_ = clLime;
  TColor slotColorOff_ = clGray;
  std::optional<bool> announced_;  // checked state last told to assistive technology
};

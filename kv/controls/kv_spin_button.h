#pragma once
// TKvSpinButton: a small windowed control of two auto-repeat buttons stacked
// vertically, UpButton over DownButton, each showing an arrow glyph. Clicks
// (and repeats) of the buttons become OnUpClick and OnDownClick; the Up and
// Down arrow keys do the same while the control has the focus (it asks for
// the arrow keys, so the form does not move the focus with them). Pressing a
// button with the left mouse button hands the focus to FocusControl, or, when
// there is none to give it to, to the spin button itself if it is a tab stop.
//
// Size: at least 15 pixels wide; the up button takes the upper half (rounded
// down), the down button the rest.
//
// The built-in glyphs are the bitmap resources "KvSpinUp" and "KvSpinDown",
// compiled into the library: 9 x 6 arrows, an enabled and a disabled image
// side by side, olive as the transparent colour. Assigning an empty glyph
// brings the built-in one back.

#include "kv/controls/kv_timer_speed_btn.h"
#include "kv/core/kv_info.h"
#include "kv/core/unit_init.h"
#include "platform/controls/win_control.h"
#include "platform/graphics/bitmap.h"

class TKvSpinButton : public TWinControl {
  Q_OBJECT
  Q_PROPERTY(TKvInfo* KvInfo READ KvInfo STORED false)
  Q_PROPERTY(TBitmap* UpGlyph READ UpGlyph WRITE SetUpGlyph)
  Q_PROPERTY(TBitmap* DownGlyph READ DownGlyph WRITE SetDownGlyph)
  Q_PROPERTY(int UpNumGlyphs READ UpNumGlyphs WRITE SetUpNumGlyphs)
  Q_PROPERTY(int DownNumGlyphs READ DownNumGlyphs WRITE SetDownNumGlyphs)
  Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
  Q_PROPERTY(int StartDelay READ StartDelay WRITE SetStartDelay)
  Q_PROPERTY(TWinControl* FocusControl READ FocusControl WRITE SetFocusControl)
  Q_PROPERTY(TNotifyEvent OnUpClick READ OnUpClick WRITE SetOnUpClick)
  Q_PROPERTY(TNotifyEvent OnDownClick READ OnDownClick WRITE SetOnDownClick)
  Q_CLASSINFO("default:UpNumGlyphs", "1")
  Q_CLASSINFO("default:DownNumGlyphs", "1")
  Q_CLASSINFO("default:Interval", "100")
  Q_CLASSINFO("default:StartDelay", "500")

 public:
  // The narrowest spin button.
  static constexpr int kMinWidth = 15;

  // 15 x 24 pixels with the built-in arrows.
  Q_INVOKABLE explicit TKvSpinButton(TComponent* AOwner = nullptr);
  ~TKvSpinButton() override;

  TKvInfo* KvInfo() const { return kvInfo_; }
  TKvTimerSpeedBtn* UpButton() const { return upButton_; }
  TKvTimerSpeedBtn* DownButton() const { return downButton_; }

  TBitmap* UpGlyph() const { return upButton_->Glyph(); }
  // A non-empty bitmap is copied; an empty one (or none) restores the
  // built-in arrow with two images.
  void SetUpGlyph(TBitmap* value);
  TBitmap* DownGlyph() const { return downButton_->Glyph(); }
  void SetDownGlyph(TBitmap* value);
  int UpNumGlyphs() const { return upButton_->NumGlyphs(); }
  void SetUpNumGlyphs(int value) { upButton_->SetNumGlyphs(value); }
  int DownNumGlyphs() const { return downButton_->NumGlyphs(); }
  void SetDownNumGlyphs(int value) { downButton_->SetNumGlyphs(value); }

  // Written to both buttons (each ignores an interval below 50), read from
  // the up button.
  int Interval() const { return upButton_->Interval(); }
  void SetInterval(int value);
  int StartDelay() const { return int(upButton_->StartDelay()); }
  void SetStartDelay(int value);

  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);

  const TNotifyEvent& OnUpClick() const { return onUpClick_; }
  void SetOnUpClick(const TNotifyEvent& value) { onUpClick_ = value; }
  const TNotifyEvent& OnDownClick() const { return onDownClick_; }
  void SetOnDownClick(const TNotifyEvent& value) { onDownClick_ = value; }

  // Applies the size rule, then places the control.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetEnabled(bool value) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Up runs UpButton's click, Down DownButton's; nothing else is handled.
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void WndProc(TMessage& Message) override;

 private:
  // The size rule: width raised to the minimum, the buttons laid out in the
  // given size. Skipped while loading and before the buttons exist.
  void AdjustSize(int& width, int& height);
  void AdjustToCurrentSize();
  TKvTimerSpeedBtn* MakeButton();
  void LoadBuiltInGlyph(TKvTimerSpeedBtn* button, const char* resource);
  void ButtonClick(TObject* Sender);
  void ButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  TKvInfo* kvInfo_;
  TKvTimerSpeedBtn* upButton_ = nullptr;    // owned as a component
  TKvTimerSpeedBtn* downButton_ = nullptr;  // owned as a component
  TWinControl* focusControl_ = nullptr;
  TNotifyEvent onUpClick_;
  TNotifyEvent onDownClick_;
};

// The unit of the spin button: registers TKvSpinButton and TKvTimerSpeedBtn
// for form descriptions (see KvgradientUnit for how a program brings it up).
TUnit& KvSpinButtonUnit();

namespace kv_spin_button_detail {
inline const bool kUnitRegistered = RegisterUnit(KvSpinButtonUnit());
}  // namespace kv_spin_button_detail

#pragma once
// TKvGradient: a windowless control that paints a gradient over its whole
// area, typically aligned to fill a window as its background.
//
// It owns one TKvGradSettings (GradSettings) for its whole life. A stored
// form fills in that object's properties while nothing listens; Loaded()
// then subscribes ParamChange to it and closes the update bracket, which asks
// for the first repaint. From then on every settings change repaints the
// control. A control created by a running program without loading (and not
// in a designer) is never subscribed: its settings changes show at the next
// repaint something else asks for.
//
// The gradient is painted whenever the control itself is visible;
// GradSettings.Visible is for other owners of gradient settings and is not
// consulted here.
//
// Published: the framework's Align, Visible, OnClick, OnDblClick,
// OnMouseDown, OnMouseUp, the drag events OnDragDrop, OnDragOver, OnStartDrag,
// OnEndDrag (with the rest of the control's properties), and GradSettings.

#include <memory>

#include "kv/core/kv_graphic_control.h"
#include "kv/core/unit_init.h"
#include "kv/settings/grad_settings.h"
#include "platform/graphics/bitmap.h"

class TKvGradient : public TKvGraphicControl {
  Q_OBJECT
  Q_PROPERTY(TKvGradSettings* GradSettings READ GradSettings)

 public:
  // 50 x 50 pixels, settings at their initial values. In a designer the
  // control subscribes to its settings at once (Loaded()).
  Q_INVOKABLE explicit TKvGradient(TComponent* AOwner = nullptr);
  ~TKvGradient() override;

  TKvGradSettings* GradSettings() const { return gradSettings_.get(); }

  // Subscribes ParamChange to GradSettings and closes the update bracket
  // (with none open, that runs Change() and so requests a repaint).
  void Loaded() override;
  // Requests a repaint.
  void ParamChange(TObject* Sender) override;

 protected:
  // KvGradFill over the client rectangle with the settings' colours and
  // style, while the control is visible or being designed. The drawn
  // gradient is kept and copied again while the size, the colours (as given
  // and as they resolve) and the style stay the same: a background repaints
  // under every change of the controls on it.
  void Paint() override;

 private:
  struct TDrawn {
    int width = 0, height = 0;
    TColor from = 0, to = 0, rgbFrom = 0, rgbTo = 0;
    TGradientStyle style = gsHorizontal1;
    bool operator==(const TDrawn&) const = default;
  };

  bool Designing() const;

  std::unique_ptr<TKvGradSettings> gradSettings_;
  std::unique_ptr<TBitmap> drawn_;  // the gradient as last drawn, for drawnKey_
  TDrawn drawnKey_;
};

// The unit of the gradient control. Its initialisation registers TKvGradient
// with the class registry so that form descriptions can create it; it is
// registered with the unit list (RegisterUnit) by every program that
// includes this header, so the program's TUnitsInitialization brings it up
// before the main form is read. Code without such an object (tests, tools)
// calls KvgradientUnit().Require() before reading a form.
TUnit& KvgradientUnit();

namespace kv_gradient_detail {
// Any program that includes this header references the unit, so the linker
// keeps it and the unit takes its place in the unit list before main() runs.
// The list is a function-local static, so the order in which files are
// initialised does not matter.
inline const bool kUnitRegistered = RegisterUnit(KvgradientUnit());
}  // namespace kv_gradient_detail

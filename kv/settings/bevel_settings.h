#pragma once
// Two bevels the controls frame their parts with.
//
// TKvBevelSettings: the colours and width of a plain two-colour 3-D frame —
// ColorFrom on the top and left edges, ColorTo on the bottom and right. It
// only stores them; SwapColors turns a raised frame into a sunken one. It
// cannot be copied (assigning one raises the assignment error).
//
// TKvBtnBevel: a button-style bevel whose edge lines run through two
// gradients, highlight on the lit sides and shadow on the others, painted by
// PaintBevel. Copying into another button bevel copies the five fields and
// reports one change of the destination.

#include <cstdint>

#include "kv/core/kv_persistent.h"

class TCanvas;

// The gradient 3-D bevel both the button bevel and the surface bevel paint:
//  - if `filled`, a pen-width-1 rectangle over all of `rect` in `fillColor`
//    (pen and solid brush);
//  - then, for i = 1 to `width` (outermost first), one Draw3DFrame line whose
//    top/left colour is KvCalcColor(highlightFrom, highlightTo, width, i) and
//    bottom/right colour KvCalcColor(shadowFrom, shadowTo, width, i) when
//    `raised`; when sunken the top/left line runs from shadowTo to shadowFrom
//    and the bottom/right line from highlightTo to highlightFrom.
// On return `rect` is shrunk by `width` on every side (unchanged for width <= 0).
void KvPaintGradientBevel(TCanvas* canvas, TRect& rect, bool raised, bool filled, TColor fillColor,
                          TColor highlightFrom, TColor highlightTo, TColor shadowFrom, TColor shadowTo,
                          int32_t width);

class TKvBevelSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(TColor ColorFrom READ ColorFrom WRITE SetColorFrom)
  Q_PROPERTY(TColor ColorTo READ ColorTo WRITE SetColorTo)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)

 public:
  static constexpr TColor kDefaultColorTo = RGBColor(115, 115, 115);

  Q_INVOKABLE explicit TKvBevelSettings(QObject* parent = nullptr) : TKvPersistent(parent) {}
  ~TKvBevelSettings() override = default;

  TColor ColorFrom() const { return colorFrom_; }
  void SetColorFrom(TColor value);
  TColor ColorTo() const { return colorTo_; }
  void SetColorTo(TColor value);
  int32_t Width() const { return width_; }
  void SetWidth(int32_t value);

  // Exchanges the two colours and reports, also when they are equal.
  void SwapColors();

 private:
  TColor colorFrom_ = clWhite;
  TColor colorTo_ = kDefaultColorTo;
  int32_t width_ = 2;
};

class TKvBtnBevel : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(TColor ShadowColFrom READ ShadowColFrom WRITE SetShadowColFrom)
  Q_PROPERTY(TColor ShadowColTo READ ShadowColTo WRITE SetShadowColTo)
  Q_PROPERTY(TColor HighlightColFrom READ HighlightColFrom WRITE SetHighlightColFrom)
  Q_PROPERTY(TColor HighlightColTo READ HighlightColTo WRITE SetHighlightColTo)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_CLASSINFO("default:ShadowColFrom", "clBlack")
  Q_CLASSINFO("default:ShadowColTo", "clBtnShadow")
  Q_CLASSINFO("default:HighlightColFrom", "$00D2D2D2")
  Q_CLASSINFO("default:HighlightColTo", "clBtnHighlight")

 public:
  static constexpr TColor kDefaultHighlightColFrom = RGBColor(210, 210, 210);

  Q_INVOKABLE explicit TKvBtnBevel(QObject* parent = nullptr) : TKvPersistent(parent) {}
  ~TKvBtnBevel() override = default;

  TColor ShadowColFrom() const { return shadowColFrom_; }
  void SetShadowColFrom(TColor value);
  TColor ShadowColTo() const { return shadowColTo_; }
  void SetShadowColTo(TColor value);
  TColor HighlightColFrom() const { return highlightColFrom_; }
  void SetHighlightColFrom(TColor value);
  TColor HighlightColTo() const { return highlightColTo_; }
  void SetHighlightColTo(TColor value);
  int32_t Width() const { return width_; }
  // A negative width is ignored (nothing stored, nothing reported); 0 is kept.
  void SetWidth(int32_t value);

  // Fills `Rect` with FillColor when Filled, then draws Width gradient
  // frame lines, raised or sunken (KvPaintGradientBevel). `Rect` ends as the
  // face inside the bevel, shrunk by Width on every side.
  void PaintBevel(TCanvas* Canvas, TRect& Rect, bool Raised, bool Filled, TColor FillColor) const;

  // Into another button bevel: the five fields directly, then one Change of
  // the destination. Any other destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

 private:
  TColor shadowColFrom_ = clBlack;
  TColor shadowColTo_ = clBtnShadow;
  TColor highlightColFrom_ = kDefaultHighlightColFrom;
  TColor highlightColTo_ = clBtnHighlight;
  int32_t width_ = 2;
};

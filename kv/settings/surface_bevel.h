#pragma once
// TKvSBevel: the framed surface a control draws its content on — an optional
// outer line, a gradient 3-D bevel, an optional inner line, a surface in a
// flat colour or a gradient, an empty band (Spacing) between frame and
// content, and four extra content margins (Offset).
//
// The painters take the control's rectangle by reference, paint the frame
// and leave in it the content area inside. From the outer edge to the
// content it is TotalWidth = Spacing + Width + the number of lines (outer,
// inner), then the Offset margins:
//
//   outer line | Width bevel lines | inner line | Spacing | Offset | content
//
// The owned Offset and SurfaceGrad report their changes through ParamChange,
// which reports the bevel itself as changed: the owner always hears this
// bevel as sender, and TotalWidth is recomputed first.
//
// Both painters leave the canvas with pen width 1, pen colour PenColor and a
// clear brush.

#include <cstdint>
#include <memory>

#include "kv/core/kv_persistent.h"
#include "kv/settings/grad_settings.h"
#include "kv/settings/offset.h"
#include "platform/controls/bevel_types.h"

class TCanvas;

namespace KvBevelTypes {
Q_NAMESPACE

// Which of the two one-pixel lines in PenColor frame the bevel.
enum TBevelLine { blNone, blOuter, blInner, blBoth };
Q_ENUM_NS(TBevelLine)

}  // namespace KvBevelTypes

using TBevelLine = KvBevelTypes::TBevelLine;
using enum KvBevelTypes::TBevelLine;

class TKvSBevel : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(TKvOffset* Offset READ Offset)
  Q_PROPERTY(BevelTypes::TBevelStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
  Q_PROPERTY(KvBevelTypes::TBevelLine BevelLine READ BevelLine WRITE SetBevelLine)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(TColor ColorShadowFrom READ ColorShadowFrom WRITE SetColorShadowFrom)
  Q_PROPERTY(TColor ColorShadowTo READ ColorShadowTo WRITE SetColorShadowTo)
  Q_PROPERTY(TColor ColorHighLightFrom READ ColorHighLightFrom WRITE SetColorHighLightFrom)
  Q_PROPERTY(TColor ColorHighLightTo READ ColorHighLightTo WRITE SetColorHighLightTo)
  Q_PROPERTY(TColor PenColor READ PenColor WRITE SetPenColor)
  Q_PROPERTY(TKvGradSettings* SurfaceGrad READ SurfaceGrad)
  Q_CLASSINFO("default:Color", "clBtnFace")
  Q_CLASSINFO("default:ColorShadowFrom", "clBtnShadow")
  Q_CLASSINFO("default:ColorShadowTo", "clBtnShadow")
  Q_CLASSINFO("default:ColorHighLightFrom", "clBtnHighlight")
  Q_CLASSINFO("default:ColorHighLightTo", "clBtnHighlight")
  Q_CLASSINFO("default:PenColor", "clBlack")

 public:
  static constexpr TColor kSurfaceColorFrom = RGBColor(226, 226, 226);
  static constexpr TColor kSurfaceColorTo = RGBColor(143, 143, 143);

  Q_INVOKABLE explicit TKvSBevel(QObject* parent = nullptr);
  ~TKvSBevel() override;

  TKvOffset* Offset() const { return offset_.get(); }
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle value);
  int32_t Spacing() const { return spacing_; }
  // Stored as given; a negative spacing enlarges the content area.
  void SetSpacing(int32_t value);
  TBevelLine BevelLine() const { return bevelLine_; }
  void SetBevelLine(TBevelLine value);
  int32_t Width() const { return width_; }
  // A negative width is ignored (nothing stored, nothing reported).
  void SetWidth(int32_t value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor ColorShadowFrom() const { return colorShadowFrom_; }
  void SetColorShadowFrom(TColor value);
  TColor ColorShadowTo() const { return colorShadowTo_; }
  void SetColorShadowTo(TColor value);
  TColor ColorHighLightFrom() const { return colorHighLightFrom_; }
  void SetColorHighLightFrom(TColor value);
  TColor ColorHighLightTo() const { return colorHighLightTo_; }
  void SetColorHighLightTo(TColor value);
  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor value);
  TKvGradSettings* SurfaceGrad() const { return surfaceGrad_.get(); }

  // Distance from the outer edge of the painted rectangle to the content
  // area, before the Offset margins.
  int32_t TotalWidth() const { return totalWidth_; }

  // Recomputes TotalWidth, then reports with this bevel as sender.
  void Change() override;
  // The change handler of Offset and SurfaceGrad: ignores the sender and
  // reports this bevel as changed.
  void ParamChange(TObject* Sender);

  // The gradient 3-D bevel alone (as the button bevel paints it) with this
  // bevel's colours and Width; `Rect` shrinks by Width.
  void PaintGradBevel(TCanvas* Canvas, TRect& Rect, bool Raised, bool Filled, TColor FillColor) const;
  // Lines and bevel over a transparent surface; `Rect` in: the control's
  // rectangle, out: the content area.
  void PaintBevel(TCanvas* Canvas, TRect& Rect) const;
  // Lines and bevel over a surface in Color, or in the SurfaceGrad gradient
  // when that is visible (the gradient covers everything inside the bevel
  // and the inner line, the spacing band included); `Rect` as PaintBevel.
  void PaintFilledBevel(TCanvas* Canvas, TRect& Rect) const;
  // Round bevels are not drawn by this bevel: paints nothing and leaves
  // `Rect` as it is. Kept so that round controls can call it unconditionally.
  void PaintRoundBevel(TCanvas* Canvas, TRect& Rect, int32_t X, int32_t Y) const;

  // Into another surface bevel: the value fields directly, Offset and
  // SurfaceGrad through their own copies (each reporting through the
  // destination), then one more Change of the destination. Any other
  // destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

 private:
  int32_t LineCount() const;
  // Steps 6 to 8 shared by both painters: the inner and outer lines, then
  // Spacing and the Offset margins.
  void FinishFrame(TCanvas* Canvas, TRect& Rect, const TRect& outer) const;

  std::unique_ptr<TKvOffset> offset_;
  TBevelStyle style_ = bsRaised;
  int32_t spacing_ = 5;
  TBevelLine bevelLine_ = blNone;
  int32_t width_ = 2;
  TColor color_ = clBtnFace;
  TColor colorShadowFrom_ = clBtnShadow;
  TColor colorShadowTo_ = clBtnShadow;
  TColor colorHighLightFrom_ = clBtnHighlight;
  TColor colorHighLightTo_ = clBtnHighlight;
  TColor penColor_ = clBlack;
  std::unique_ptr<TKvGradSettings> surfaceGrad_;
  int32_t totalWidth_ = 0;
};

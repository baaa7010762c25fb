#pragma once
// TBarSettings: a bar graph — a plain bar, a bar of LED segments or a single
// point marker — with its colours, an optional value caption and a surface
// bevel for its frame (painted by the owning control, not by PaintBar).
//
// The owner fills the public state (BarRect, the caption texts, SectorColor,
// BidirOrigin) and calls PaintBar with a value in per mille of the bar's
// length: 0 empty, 1000 full. A rectangle wider than tall grows from left to
// right, any other from the bottom up. Values outside 0..1000 are drawn
// proportionally; what lies beyond the rectangle is cut off.
//
// Number rules: the scale factor is a single-precision float, the product
// with the value is rounded (ties to even) in extended precision, and
// "div 2" truncates toward zero.
//
// Each paint builds the bar in an off-screen bitmap and copies it onto the
// canvas in one operation, so the bar never flickers. The caption is drawn
// in the button highlight colour on black and combined by XOR, so it stays
// readable over the lit and the unlit part alike.
//
// The owned Font and Bevel report their changes through ChangeObject, with
// themselves as sender. SetFont and SetBevel copy the object given; the bar
// keeps its own.

#include <QString>
#include <cstdint>
#include <memory>

#include "kv/core/kv_persistent.h"
#include "kv/settings/surface_bevel.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/font.h"

class TCanvas;

namespace KvBarTypes {
Q_NAMESPACE

enum TBarStyle { bsBar, bsLED_Bar, bsPoint };
Q_ENUM_NS(TBarStyle)

// The direction a bar grows in; the painter takes it from the rectangle's shape.
enum TBarDirection { bdHorizontal, bdVertical };
Q_ENUM_NS(TBarDirection)

enum TBarOption { opValue = 0x1, opUnit = 0x2, opUseSectorCol = 0x4, opBidir = 0x8 };
Q_DECLARE_FLAGS(TBarOptions, TBarOption)
Q_FLAG_NS(TBarOptions)

}  // namespace KvBarTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(KvBarTypes::TBarOptions)

using TBarStyle = KvBarTypes::TBarStyle;
using TBarDirection = KvBarTypes::TBarDirection;
using TBarOption = KvBarTypes::TBarOption;
using TBarOptions = KvBarTypes::TBarOptions;
using enum KvBarTypes::TBarStyle;
using enum KvBarTypes::TBarDirection;
using enum KvBarTypes::TBarOption;

class TBarSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(KvBarTypes::TBarStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(KvBarTypes::TBarOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(TColor BkColor READ BkColor WRITE SetBkColor)
  Q_PROPERTY(TKvSBevel* Bevel READ Bevel WRITE SetBevel)
  Q_PROPERTY(int minHeight READ minHeight WRITE SetMinHeight)
  Q_PROPERTY(int minWidth READ minWidth WRITE SetMinWidth)

 public:
  // Width of a point marker and pitch of LED segments (3 lit pixels and a gap).
  static constexpr int32_t kPointWidth = 3;
  static constexpr int32_t kSegmentPitch = 4;

  Q_INVOKABLE explicit TBarSettings(QObject* parent = nullptr);
  ~TBarSettings() override;

  TBarStyle Style() const { return style_; }
  void SetStyle(TBarStyle value);
  TFont* Font() const { return font_.get(); }
  // Copies `value` into the owned font (unless it is that font), then reports.
  void SetFont(TFont* value);
  TBarOptions Options() const { return options_; }
  void SetOptions(TBarOptions value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  TKvSBevel* Bevel() const { return bevel_.get(); }
  // Copies `value` into the owned bevel (unless it is that bevel), then
  // reports. The caller keeps the object it passed.
  void SetBevel(TKvSBevel* value);
  // Minimum sizes for the owner's layout. Only values above 0 are taken, and
  // a taken value is always reported, also when it is the stored one.
  int32_t minHeight() const { return minHeight_; }
  void SetMinHeight(int32_t value);
  int32_t minWidth() const { return minWidth_; }
  void SetMinWidth(int32_t value);

  // --- State the owner fills before painting ----------------------------------
  TRect BarRect;
  QString ValueText;
  QString UnitText;
  // Bar colour instead of Color while opUseSectorCol is set.
  TColor SectorColor = clLime;
  // Start of the bar, per mille, while opBidir is set.
  int32_t BidirOrigin = 0;

  // Size of BarRect as the last paint took it.
  int32_t BarWidth() const { return barWidth_; }
  int32_t BarHeight() const { return barHeight_; }

  // Paints the bar for `Value` (per mille) into BarRect: horizontally when
  // BarRect is wider than tall, otherwise vertically.
  void PaintBar(TCanvas* Canvas, int32_t Value);
  void PaintHBar(TCanvas* Canvas, int32_t Value);
  void PaintVBar(TCanvas* Canvas, int32_t Value);

  // Into another bar settings object: colours, font, options, style, bevel
  // and minimum sizes (not the paint state), then one Change of the
  // destination. Any other destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

 private:
  void TakeSize();
  // The bar bitmap at the bar's size, filled with BkColor, with pen and
  // brush set to the bar colour.
  TCanvas* StartBitmap();
  TColor BarColor() const;
  // XORs the caption bitmap (text on black) onto the bar bitmap.
  void DrawCaption(bool vertical);

  TBarStyle style_ = bsBar;
  std::unique_ptr<TFont> font_;
  TBarOptions options_;
  TColor color_ = clLime;
  TColor bkColor_ = clBlack;
  std::unique_ptr<TKvSBevel> bevel_;
  int32_t minHeight_ = 5;
  int32_t minWidth_ = 5;

  int32_t barWidth_ = 0;
  int32_t barHeight_ = 0;
  // Kept between paints so that a paint allocates nothing at a steady size.
  TBitmap bar_;
  TBitmap caption_;
};

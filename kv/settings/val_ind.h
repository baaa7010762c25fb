#pragma once
// TKvValInd: a framed numeric read-out that a control places next to a
// reference point. The box is sized from the number format itself (not from
// a number), so it keeps its size whatever value it shows; it has a sunken
// frame and an optional caption around it.
//
// Painting is split in two: Draw lays out and paints box, frame, caption and
// a placeholder, and remembers the inner value area (ValueRect) and the text
// margin; DrawValue repaints only that area with a new number. DrawValue
// composes the value off-screen and copies the finished area in one block,
// so a read-out that changes many times a second never shows an empty or
// half-drawn value. A property change does not redo the layout: the owner,
// told through OnChange, calls Draw again.
//
// Owned sub-objects (bevel, caption, spacing, font) report through
// ChangeObject with themselves as sender. The read-out cannot be copied:
// assigning one raises the assignment error.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "kv/core/kv_persistent.h"
#include "kv/proc/text_output.h"
#include "kv/settings/bevel_settings.h"
#include "kv/settings/offset.h"
#include "kv/settings/scale_marks.h"
#include "platform/graphics/font.h"

class TBitmap;
class TCanvas;

class TKvValInd : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(QString FormatStr READ FormatStr WRITE SetFormatStr)
  Q_PROPERTY(TKvBevelSettings* Bevel READ Bevel)
  Q_PROPERTY(TKvText* Caption READ Caption)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(int OffsetX READ OffsetX WRITE SetOffsetX)
  Q_PROPERTY(int OffsetY READ OffsetY WRITE SetOffsetY)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(TKvOffset* TxtSpacing READ TxtSpacing)

 public:
  // Format "##0.0"; a sunken frame (the bevel's colours swapped) 2 pixels
  // wide; black background; value font Arial 10 bold in lime.
  Q_INVOKABLE explicit TKvValInd(QObject* parent = nullptr);
  ~TKvValInd() override;

  const QString& FormatStr() const { return formatStr_; }
  void SetFormatStr(const QString& value);
  TKvBevelSettings* Bevel() const { return bevel_.get(); }
  TKvText* Caption() const { return caption_.get(); }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFont* Font() const { return font_.get(); }
  // The owned font copies `value`; the font's own report is the only one.
  void SetFont(TFont* value);
  int32_t OffsetX() const { return offsetX_; }
  void SetOffsetX(int32_t value);
  int32_t OffsetY() const { return offsetY_; }
  void SetOffsetY(int32_t value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TKvOffset* TxtSpacing() const { return txtSpacing_.get(); }

  // The value area of the last Draw, in that canvas's coordinates (all zero
  // before the first Draw), and one seventh of the value font's text height.
  const TRect& ValueRect() const { return valueRect_; }
  int32_t TextMargin() const { return textMargin_; }

  // Lays out and paints the box so that its point named by `position` lies
  // one pixel right of `point` plus the offsets; then the caption (outside
  // the box on the side Caption.Pos names), the background, the sunken
  // frame and the format string as placeholder. Remembers the value area.
  // Nothing at all while not Visible.
  void Draw(TCanvas* canvas, const TPoint& point, toPos position);
  // Paints `value`, formatted with FormatStr, right-aligned into the value
  // area of the last Draw; a text wider than the area is cut at its left
  // edge. Nothing while not Visible or before a Draw.
  void DrawValue(TCanvas* canvas, double value);

 private:
  std::unique_ptr<TKvBevelSettings> bevel_;
  std::unique_ptr<TKvText> caption_;
  std::unique_ptr<TKvOffset> txtSpacing_;
  std::unique_ptr<TFont> font_;
  QString formatStr_;
  TColor color_ = clBlack;
  int32_t offsetX_ = 0;
  int32_t offsetY_ = 0;
  bool visible_ = false;
  TRect valueRect_{0, 0, 0, 0};
  int32_t textMargin_ = 0;
  // The off-screen value area, kept between DrawValue calls so that a
  // changing read-out does not allocate on every update.
  std::unique_ptr<TBitmap> buffer_;
  // The value font's change count when the buffer's canvas last took it.
  std::optional<quint64> bufferFontChange_;
};

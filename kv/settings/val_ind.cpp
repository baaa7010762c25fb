#include "kv/settings/val_ind.h"

#include "kv/proc/geometry.h"
#include "kv/settings/store_setting.h"
#include "platform/core/numbers.h"
#include "platform/core/types.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/frame3d.h"

// The bevel is made sunken and 2 wide before it is wired, so construction
// reports nothing.
TKvValInd::TKvValInd(QObject* parent) : TKvPersistent(parent) {
  bevel_ = std::make_unique<TKvBevelSettings>();
  bevel_->SwapColors();
  bevel_->SetWidth(2);
  bevel_->SetOnChange(ChangeObjectHandler());
  caption_ = std::make_unique<TKvText>();
  caption_->SetOnChange(ChangeObjectHandler());
  txtSpacing_ = std::make_unique<TKvOffset>();
  txtSpacing_->SetOnChange(ChangeObjectHandler());
  visible_ = true;
  formatStr_ = QStringLiteral("##0.0");
  font_ = std::make_unique<TFont>();
  font_->SetColor(clLime);
  font_->SetName(QStringLiteral("Arial"));
  font_->SetStyle(TFontStyles(fsBold));
  font_->SetSize(10);
  font_->SetOnChange(ChangeObjectHandler());
}

TKvValInd::~TKvValInd() {
  bevel_.reset();
  caption_.reset();
  font_.reset();
  txtSpacing_.reset();
}

void TKvValInd::SetFormatStr(const QString& value) {
  StoreSetting(this, formatStr_, value);
}
void TKvValInd::SetColor(TColor value) {
  StoreSetting(this, color_, value);
}
void TKvValInd::SetFont(TFont* value) {
  font_->Assign(value);
}
void TKvValInd::SetOffsetX(int32_t value) {
  StoreSetting(this, offsetX_, value);
}
void TKvValInd::SetOffsetY(int32_t value) {
  StoreSetting(this, offsetY_, value);
}
void TKvValInd::SetVisible(bool value) {
  StoreSetting(this, visible_, value);
}

void TKvValInd::Draw(TCanvas* canvas, const TPoint& point, toPos position) {
  if (!visible_) return;

  // The box is measured on the format string, so it does not change size
  // with the value it shows.
  canvas->SetFont(font_.get());
  const int64_t h = canvas->TextHeight(formatStr_);
  const int64_t w = canvas->TextWidth(formatStr_);
  textMargin_ = int32_t(h / 7);
  const int64_t bevelWidth = bevel_->Width();
  const TKvOffset& spacing = *txtSpacing_;
  // Sums are formed in 64 bits and saturated, so absurd widths or margins
  // from a description give an absurd box, never an overflow.
  const int32_t W =
      SaturatedInt32(w + 2 * bevelWidth + 2 * int64_t(textMargin_) + spacing.Left() + spacing.Right());
  const int32_t H = SaturatedInt32(h + 2 * bevelWidth + int64_t(spacing.Top()) + spacing.Bottom());

  // `position` names the point of the box that lands on the reference point
  // (plus the offsets, one pixel to the right).
  const int64_t x0 = int64_t(point.X) + offsetX_ + 1;
  const int64_t y0 = int64_t(point.Y) + offsetY_;
  const int column = int(position) % 3;  // left, centre, right
  const int row = int(position) / 3;     // top, middle, bottom
  const int64_t x = column == 0 ? x0 : column == 1 ? x0 - W / 2 : x0 - W;
  const int64_t y = row == 0 ? y0 : row == 1 ? y0 - H / 2 : y0 - H;
  const TRect box(SaturatedInt32(x), SaturatedInt32(y), SaturatedInt32(x + W), SaturatedInt32(y + H));
  valueRect_ = box;

  if (caption_->Visible()) {
    // The caption stands outside the box on the side its position names; the
    // text alignment is the mirror of that side, so the text faces the box.
    static constexpr toPos kFacing[9] = {toBotLeft, toBotCenter, toBotRight,  toMidRight, toMidCenter,
                                         toMidLeft, toTopLeft,   toTopCenter, toTopRight};
    const TPoint c = KvCenterPoint(box);
    const int pos = int(caption_->Pos());
    const int capColumn = pos % 3;
    const int capRow = pos / 3;
    int64_t ax = capColumn == 0 ? box.Left : capColumn == 1 ? c.X : box.Right;
    if (pos == toMidLeft) ax -= 1;
    const int64_t ay = capRow == 0 ? box.Top : capRow == 1 ? c.Y : box.Bottom;
    canvas->SetFont(caption_->Font());
    canvas->Brush()->SetStyle(bsClear);
    KvTextOut(canvas, SaturatedInt32(ax + caption_->OffsetX()), SaturatedInt32(ay + caption_->OffsetY()),
              caption_->Text(), kFacing[pos]);
    canvas->SetFont(font_.get());
    canvas->Brush()->SetStyle(bsSolid);
  }

  canvas->Pen()->SetColor(color_);
  canvas->Brush()->SetColor(color_);
  canvas->Rectangle(box);
  Draw3DFrame(canvas, valueRect_, bevel_->ColorFrom(), bevel_->ColorTo(), bevel_->Width());
  // The format string stands where DrawValue will put the value, so that a
  // read-out shows its layout until its first value arrives.
  KvTextOut(canvas, SaturatedInt32(int64_t(valueRect_.Right) - textMargin_ + 1 - spacing.Right()),
            SaturatedInt32(int64_t(valueRect_.Top) + spacing.Top()), formatStr_, toTopRight);
  KvMultiBorder(valueRect_, spacing.Left(), spacing.Top(), spacing.Right(), spacing.Bottom());
}

void TKvValInd::DrawValue(TCanvas* canvas, double value) {
  if (!visible_) return;
  const int64_t width = int64_t(valueRect_.Right) - valueRect_.Left;
  const int64_t height = int64_t(valueRect_.Bottom) - valueRect_.Top;
  if (width <= 0 || height <= 0) return;  // before the first Draw, or an inverted area

  // The text is formatted first, so a picture error leaves the screen as it was.
  const QString text = FormatFloat(formatStr_, value);
  if (!buffer_) buffer_ = std::make_unique<TBitmap>();
  buffer_->SetSize(int(width), int(height));
  TCanvas* off = buffer_->Canvas();
  // Selecting a font makes the canvas resolve it anew and forget the text
  // widths it measured; do it only when the value font has changed.
  if (!bufferFontChange_ || *bufferFontChange_ != font_->ChangeCount()) {
    off->SetFont(font_.get());
    bufferFontChange_ = font_->ChangeCount();
  }
  // The whole value area in the read-out's colour (a framed rectangle with
  // pen and brush in one colour covers the same pixels; a fill is cheaper).
  off->Brush()->SetColor(color_);
  off->Brush()->SetStyle(bsSolid);
  off->FillRect(TRect(0, 0, int(width), int(height)));
  KvTextOut(off, SaturatedInt32(width - textMargin_ + 1), 0, text, toTopRight);
  canvas->Draw(valueRect_.Left, valueRect_.Top, buffer_.get());
}

#include "platform/controls/speed_button.h"

#include <utility>

#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"
#include "platform/graphics/frame3d.h"

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), glyph_(std::make_unique<TBitmap>()) {
  SetBounds(Left(), Top(), 23, 22);
  SetColor(clBtnFace);
  // The button paints every pixel of its rectangle.
  SetControlStyle(ControlStyle() | csOpaque);
  glyph_->SetOnChange(TNotifyEvent(this, &TSpeedButton::GlyphChanged));
}

TSpeedButton::~TSpeedButton() {
  Destroying();
  glyph_->SetOnChange(TNotifyEvent());
}

void TSpeedButton::SetGlyph(TBitmap* value) {
  if (!value) {
    glyph_->SetImage(QImage());
    return;
  }
  if (value != glyph_.get()) glyph_->Assign(value);
}

void TSpeedButton::GlyphChanged(TObject* /*Sender*/) {
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
  if (value < 1 || value > 4) value = 1;
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  Invalidate();
}

void TSpeedButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  Invalidate();
}

TSpeedButton::TButtonState TSpeedButton::State() const {
  if (!Enabled()) return bsDisabled;
  if (pressedLook_) return bsDown;
  if (down_) return bsExclusive;
  return bsUp;
}

void TSpeedButton::SetPressedLook(bool value) {
  if (value == pressedLook_) return;
  pressedLook_ = value;
  Repaint();
}

void TSpeedButton::EnabledChanged() {
  if (!Enabled()) {
    dragging_ = false;
    pressedLook_ = false;
  }
  TGraphicControl::EnabledChanged();
}

// --- Mouse ----------------------------------------------------------------------------

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && Enabled()) {
    dragging_ = true;
    SetPressedLook(true);
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  if (dragging_) SetPressedLook(X >= 0 && Y >= 0 && X < Width() && Y < Height());
  TGraphicControl::MouseMove(Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The click itself came just before, when the release was over the button.
  if (Button == mbLeft && dragging_) {
    dragging_ = false;
    SetPressedLook(false);
  }
  TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      const bool inside = Message.Msg == CM_MOUSEENTER;
      if (inside != mouseInControl_) {
        mouseInControl_ = inside;
        // Only a flat button looks different under the mouse.
        if (flat_ && Enabled()) Invalidate();
      }
      break;
    }
    default:
      break;
  }
  TGraphicControl::WndProc(Message);
}

// --- Painting ----------------------------------------------------------------------

void TSpeedButton::Paint() {
  TCanvas* canvas = Canvas();
  TRect r(0, 0, Width(), Height());
  const TButtonState state = State();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(r);
  DrawFrame(r, state);
  DrawGlyph(r, state);
}

void TSpeedButton::DrawFrame(TRect& r, TButtonState state) {
  TCanvas* canvas = Canvas();
  const bool sunken = state == bsDown || state == bsExclusive;
  if (flat_) {
    // A flat button shows a thin frame only when pressed, held down or under the mouse.
    if (sunken)
      Draw3DFrame(canvas, r, clBtnShadow, clBtnHighlight, 1);
    else if (mouseInControl_ && state != bsDisabled)
      Draw3DFrame(canvas, r, clBtnHighlight, clBtnShadow, 1);
    else
      r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    return;
  }
  if (sunken) {
    Draw3DFrame(canvas, r, cl3DDkShadow, clBtnHighlight, 1);
    Draw3DFrame(canvas, r, clBtnShadow, clBtnFace, 1);
  } else {
    Draw3DFrame(canvas, r, clBtnHighlight, cl3DDkShadow, 1);
    Draw3DFrame(canvas, r, clBtnFace, clBtnShadow, 1);
  }
}

void TSpeedButton::DrawGlyph(const TRect& r, TButtonState state) {
  if (glyph_->Empty()) return;
  const QImage& image = glyph_->Image();
  const int w = image.width() / numGlyphs_;
  const int h = image.height();
  if (w <= 0 || h <= 0) return;
  // The image for the state, if the bitmap has one.
  int index = 0;
  if (int(state) < numGlyphs_) index = int(state);
  const bool emboss = state == bsDisabled && index == 0;
  // Centred in the area inside the frame; pressed, it moves one pixel down and right.
  int x = r.Left + (r.Width() - w) / 2;
  int y = r.Top + (r.Height() - h) / 2;
  if (state == bsDown || state == bsExclusive) {
    ++x;
    ++y;
  }
  const QRect source(index * w, 0, w, h);
  const QRgb key = ToQRgb(glyph_->TransparentColor());
  TCanvas* canvas = Canvas();
  if (!emboss) {
    canvas->DrawImage(TRect(x, y, x + w, y + h), image, source, key);
    return;
  }
  // No disabled image: every drawn pixel becomes shadow with a highlight
  // one pixel down and right of it, the look of an engraved glyph.
  QImage shape(w, h, QImage::Format_RGB32);
  for (const auto& [dx, color] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
    const QRgb paint = ToQRgb(color);
    const QRgb clear = ~paint | 0xFF000000u;  // any colour but the one painted
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i)
        shape.setPixel(i, j, (image.pixel(source.x() + i, j) & 0xFFFFFF) == (key & 0xFFFFFF) ? clear : paint);
    canvas->DrawImage(TRect(x + dx, y + dx, x + dx + w, y + dx + h), shape, shape.rect(), clear);
  }
}

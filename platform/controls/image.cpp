#include "platform/controls/image.h"

#include <cstdint>

#include "platform/graphics/graphic.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
  SetBounds(0, 0, 105, 105);
  picture_->SetOnChange([this](TObject*) { PictureChanged(); });
}

TImage::~TImage() {
  Destroying();
  picture_->SetOnChange(nullptr);
}

void TImage::SetPicture(TPicture* value) {
  if (value == picture_.get()) return;
  picture_->Assign(value);
}

void TImage::PictureChanged() {
  Invalidate();
}

void TImage::SetCenter(bool value) {
  if (center_ == value) return;
  center_ = value;
  Invalidate();
}

void TImage::SetProportional(bool value) {
  if (proportional_ == value) return;
  proportional_ = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  if (stretch_ == value) return;
  stretch_ = value;
  Invalidate();
}

TRect TImage::DestRect() const {
  int w = picture_->Width();
  int h = picture_->Height();
  if (w <= 0 || h <= 0) return TRect();
  const int cw = ClientWidth();
  const int ch = ClientHeight();
  if (stretch_ || (proportional_ && (w > cw || h > ch))) {
    if (proportional_) {
      // The largest size with the picture's aspect ratio inside the client
      // area; 64-bit products so that large pictures cannot overflow.
      if (int64_t(cw) * h <= int64_t(ch) * w) {
        h = int(int64_t(cw) * h / w);
        w = cw;
      } else {
        w = int(int64_t(ch) * w / h);
        h = ch;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  const int x = center_ ? int((int64_t(cw) - w) / 2) : 0;
  const int y = center_ ? int((int64_t(ch) - h) / 2) : 0;
  return Bounds(x, y, w, h);
}

void TImage::Paint() {
  TGraphic* graphic = picture_->Graphic();
  if (!graphic || graphic->Empty()) return;
  const TRect dest = DestRect();
  if (dest.Width() <= 0 || dest.Height() <= 0) return;
  Canvas()->StretchDraw(dest, graphic);
}

#pragma once
// TImage: a windowless control that shows a picture (a bitmap or a JPEG
// image). The picture is drawn at its own size in the top-left corner, or
// centred (Center), or scaled: Stretch fills the control, Proportional keeps
// the picture's aspect ratio and scales it down to fit when it is larger
// than the control (with Stretch as well, up to the largest size that fits).

#include <memory>

#include "platform/controls/graphic_control.h"
#include "platform/graphics/picture.h"

class TImage : public TGraphicControl {
  Q_OBJECT
  Q_PROPERTY(TPicture* Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(bool Center READ Center WRITE SetCenter)
  Q_PROPERTY(bool Proportional READ Proportional WRITE SetProportional)
  Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
  Q_CLASSINFO("default:Center", "False")
  Q_CLASSINFO("default:Proportional", "False")
  Q_CLASSINFO("default:Stretch", "False")

 public:
  Q_INVOKABLE explicit TImage(TComponent* AOwner = nullptr);
  ~TImage() override;

  // The picture shown; owned by the image for its whole life.
  TPicture* Picture() const { return picture_.get(); }
  // Copies `value` into the image's own picture.
  void SetPicture(TPicture* value);

  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Proportional() const { return proportional_; }
  void SetProportional(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);

  // Where the picture is drawn, in client coordinates (empty without a picture).
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();

  std::unique_ptr<TPicture> picture_;
  bool center_ = false;
  bool proportional_ = false;
  bool stretch_ = false;
};

#pragma once
// TLED: a lamp — its shape, its colours when on and off, and its size. The
// owning control lays it out (Width, Height) and sets LEDRect; Draw paints it
// with KvDrawLED, outlined in the button shadow colour. It cannot be copied.

#include <cstdint>

#include "kv/core/kv_persistent.h"
#include "kv/proc/painters.h"

class TCanvas;

class TLED : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(KvPainterTypes::TLEDShape Shape READ Shape WRITE SetShape)
  Q_PROPERTY(TColor ColorOn READ ColorOn WRITE SetColorOn)
  Q_PROPERTY(TColor ColorOff READ ColorOff WRITE SetColorOff)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_CLASSINFO("default:Shape", "sRound")
  Q_CLASSINFO("default:ColorOn", "clLime")
  Q_CLASSINFO("default:ColorOff", "clBtnFace")
  Q_CLASSINFO("default:Width", "13")
  Q_CLASSINFO("default:Height", "13")

 public:
  static constexpr int32_t kMinSize = 4;
  static constexpr int32_t kMaxSize = 40;

  Q_INVOKABLE explicit TLED(QObject* parent = nullptr) : TKvPersistent(parent) {}
  ~TLED() override = default;

  TLEDShape Shape() const { return shape_; }
  void SetShape(TLEDShape value);
  TColor ColorOn() const { return colorOn_; }
  void SetColorOn(TColor value);
  TColor ColorOff() const { return colorOff_; }
  void SetColorOff(TColor value);
  // Width and Height accept 4 to 40; anything else is ignored silently.
  int32_t Width() const { return width_; }
  void SetWidth(int32_t value);
  int32_t Height() const { return height_; }
  void SetHeight(int32_t value);

  // Where Draw paints the lamp; set by the owning control.
  TRect LEDRect;

  // The lamp in LEDRect, filled with ColorOn when `On`, else ColorOff.
  void Draw(TCanvas* Canvas, bool On) const;

 private:
  TLEDShape shape_ = sRound;
  TColor colorOn_ = clLime;
  TColor colorOff_ = clBtnFace;
  int32_t width_ = 13;
  int32_t height_ = 13;
};

#pragma once
// TPen: colour, width, style and raster mode of the lines a canvas draws and
// of the outlines of its framed shapes.

#include "platform/graphics/graphics_object.h"
#include "platform/graphics/graphics_types.h"

class TPen : public TGraphicsObject {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(Graphics::TPenMode Mode READ Mode WRITE SetMode)
  Q_PROPERTY(Graphics::TPenStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_CLASSINFO("default:Color", "clBlack")
  Q_CLASSINFO("default:Mode", "pmCopy")
  Q_CLASSINFO("default:Style", "psSolid")
  Q_CLASSINFO("default:Width", "1")
 public:
  Q_INVOKABLE explicit TPen(QObject* parent = nullptr) : TGraphicsObject(parent) {}
  ~TPen() override = default;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  // Width in pixels; 0 draws like 1.
  int Width() const { return width_; }
  void SetWidth(int value);

  void Assign(TPersistent* Source) override;

 private:
  TColor color_ = clBlack;
  TPenMode mode_ = pmCopy;
  TPenStyle style_ = psSolid;
  int width_ = 1;
};

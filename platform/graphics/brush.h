#pragma once
// TBrush: colour and style of the interiors a canvas fills. With a solid
// brush text is drawn on an opaque background of the brush colour; with a
// clear brush nothing is filled. Giving a clear brush a colour makes it solid.

#include "platform/graphics/graphics_object.h"
#include "platform/graphics/graphics_types.h"

class TBrush : public TGraphicsObject {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(Graphics::TBrushStyle Style READ Style WRITE SetStyle)
  Q_CLASSINFO("default:Color", "clWhite")
  Q_CLASSINFO("default:Style", "bsSolid")
 public:
  Q_INVOKABLE explicit TBrush(QObject* parent = nullptr) : TGraphicsObject(parent) {}
  ~TBrush() override = default;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);

  void Assign(TPersistent* Source) override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

#pragma once
// TArrowSettings: the shape number and the pen and brush colours of an arrow
// and of its two further parts (CP1, CP2). It only stores them for the
// control that draws the arrow. Copying into another arrow settings object
// copies the seven fields and reports one change of the destination.

#include <cstdint>

#include "kv/core/kv_persistent.h"

class TArrowSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(int Shape READ Shape WRITE SetShape)
  Q_PROPERTY(TColor ColorPen READ ColorPen WRITE SetColorPen)
  Q_PROPERTY(TColor ColorBrush READ ColorBrush WRITE SetColorBrush)
  Q_PROPERTY(TColor ColorCP1Pen READ ColorCP1Pen WRITE SetColorCP1Pen)
  Q_PROPERTY(TColor ColorCP1Brush READ ColorCP1Brush WRITE SetColorCP1Brush)
  Q_PROPERTY(TColor ColorCP2Pen READ ColorCP2Pen WRITE SetColorCP2Pen)
  Q_PROPERTY(TColor ColorCP2Brush READ ColorCP2Brush WRITE SetColorCP2Brush)
  Q_CLASSINFO("default:Shape", "0")
  Q_CLASSINFO("default:ColorPen", "clBlack")
  Q_CLASSINFO("default:ColorBrush", "clLime")
  Q_CLASSINFO("default:ColorCP1Pen", "clBlack")
  Q_CLASSINFO("default:ColorCP1Brush", "clBlack")
  Q_CLASSINFO("default:ColorCP2Pen", "clBlack")
  Q_CLASSINFO("default:ColorCP2Brush", "clBtnFace")

 public:
  Q_INVOKABLE explicit TArrowSettings(QObject* parent = nullptr) : TKvPersistent(parent) {}
  ~TArrowSettings() override = default;

  int32_t Shape() const { return shape_; }
  void SetShape(int32_t value);
  TColor ColorPen() const { return colorPen_; }
  void SetColorPen(TColor value);
  TColor ColorBrush() const { return colorBrush_; }
  void SetColorBrush(TColor value);
  TColor ColorCP1Pen() const { return colorCP1Pen_; }
  void SetColorCP1Pen(TColor value);
  TColor ColorCP1Brush() const { return colorCP1Brush_; }
  void SetColorCP1Brush(TColor value);
  TColor ColorCP2Pen() const { return colorCP2Pen_; }
  void SetColorCP2Pen(TColor value);
  TColor ColorCP2Brush() const { return colorCP2Brush_; }
  void SetColorCP2Brush(TColor value);

  void AssignTo(TPersistent* Dest) override;

 private:
  int32_t shape_ = 0;
  TColor colorPen_ = clBlack;
  TColor colorBrush_ = clLime;
  TColor colorCP1Pen_ = clBlack;
  TColor colorCP1Brush_ = clBlack;
  TColor colorCP2Pen_ = clBlack;
  TColor colorCP2Brush_ = clBtnFace;
};

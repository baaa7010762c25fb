#pragma once
// How a scale's marks and labels look, and a positioned caption text.
//
// TKvCustomScale holds what every scale shares: the label font and number
// format, two families of marks (StepLines for the main steps, SubStepLines
// for the steps between them), the label alignment and offsets, and a label
// angle that is either worked out by the painter (amAuto) or taken as given
// (amManual). TKvScale publishes these with a label text; TKvFlexScale
// publishes them with the number format and three properties that space and
// thin out the sub-steps. TKvText is a caption: a text with its own font,
// placed relative to a reference rectangle and shifted by a pixel offset.
//
// The objects only store and report. Their fonts and line settings are owned
// and report through ChangeObject, so a change deep inside reaches OnChange
// with the font, the line settings or the line settings' pen as sender. None
// of them can be copied: assigning one raises the assignment error.

#include <QString>
#include <cstdint>
#include <memory>

#include "kv/core/kv_persistent.h"
#include "kv/proc/text_output.h"
#include "kv/settings/line_settings.h"
#include "platform/graphics/font.h"

namespace KvScaleTypes {
Q_NAMESPACE

// Whether a scale's painter works out the label angle or takes Angle as given.
enum TAngleMode {
  amAuto,
  amManual,
};
Q_ENUM_NS(TAngleMode)

}  // namespace KvScaleTypes

using TAngleMode = KvScaleTypes::TAngleMode;
using enum KvScaleTypes::TAngleMode;

class TKvCustomScale : public TKvPersistent {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TKvCustomScale(QObject* parent = nullptr);
  ~TKvCustomScale() override;

  TFont* Font() const { return font_.get(); }
  // The owned font copies `value` (reporting with the font as sender), then
  // the scale reports once more; giving the owned font itself does nothing.
  void SetFont(TFont* value);
  const QString& FormatStr() const { return formatStr_; }
  void SetFormatStr(const QString& value);
  // The marks' settings are changed through these references.
  TKvLineSettings* StepLines() const { return stepLines_.get(); }
  TKvLineSettings* SubStepLines() const { return subStepLines_.get(); }
  int32_t TextOffsetX() const { return textOffsetX_; }
  void SetTextOffsetX(int32_t value);
  int32_t TextOffsetY() const { return textOffsetY_; }
  void SetTextOffsetY(int32_t value);
  const QString& Text() const { return text_; }
  void SetText(const QString& value);
  toPos TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(toPos value);
  int32_t Angle() const { return angle_; }
  void SetAngle(int32_t value);
  TAngleMode AngleMode() const { return angleMode_; }
  void SetAngleMode(TAngleMode value);

 private:
  std::unique_ptr<TFont> font_;
  QString formatStr_;
  std::unique_ptr<TKvLineSettings> stepLines_;
  std::unique_ptr<TKvLineSettings> subStepLines_;
  int32_t textOffsetX_ = 0;
  int32_t textOffsetY_ = 0;
  QString text_;
  toPos textAlignment_ = toTopLeft;
  int32_t angle_ = 0;
  TAngleMode angleMode_ = amAuto;
};

// A scale with a label text; its number format is not published.
class TKvScale : public TKvCustomScale {
  Q_OBJECT
  Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
  Q_PROPERTY(KvScaleTypes::TAngleMode AngleMode READ AngleMode WRITE SetAngleMode)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(TKvLineSettings* StepLines READ StepLines)
  Q_PROPERTY(TKvLineSettings* SubStepLines READ SubStepLines)
  Q_PROPERTY(KvTextTypes::toPos TextAlignment READ TextAlignment WRITE SetTextAlignment)
  Q_PROPERTY(int TextOffsetX READ TextOffsetX WRITE SetTextOffsetX)
  Q_PROPERTY(int TextOffsetY READ TextOffsetY WRITE SetTextOffsetY)
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_CLASSINFO("default:Angle", "0")
  Q_CLASSINFO("default:AngleMode", "amAuto")
  Q_CLASSINFO("default:TextOffsetX", "0")
  Q_CLASSINFO("default:TextOffsetY", "0")

 public:
  Q_INVOKABLE explicit TKvScale(QObject* parent = nullptr) : TKvCustomScale(parent) {}
};

// A scale with a number format and flexible sub-steps: SubStepAt (the value
// distance of sub-steps), StepMulti (sub-steps per main step) and SubStepsVis
// (which sub-steps are shown). All three start at 0 and accept only values
// above 0, so they stay 0 until an owner sets them.
class TKvFlexScale : public TKvCustomScale {
  Q_OBJECT
  Q_PROPERTY(float SubStepAt READ SubStepAt WRITE SetSubStepAt)
  Q_PROPERTY(int StepMulti READ StepMulti WRITE SetStepMulti)
  Q_PROPERTY(int SubStepsVis READ SubStepsVis WRITE SetSubStepsVis)
  Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
  Q_PROPERTY(KvScaleTypes::TAngleMode AngleMode READ AngleMode WRITE SetAngleMode)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(QString FormatStr READ FormatStr WRITE SetFormatStr)
  Q_PROPERTY(TKvLineSettings* StepLines READ StepLines)
  Q_PROPERTY(TKvLineSettings* SubStepLines READ SubStepLines)
  Q_PROPERTY(KvTextTypes::toPos TextAlignment READ TextAlignment WRITE SetTextAlignment)
  Q_PROPERTY(int TextOffsetX READ TextOffsetX WRITE SetTextOffsetX)
  Q_PROPERTY(int TextOffsetY READ TextOffsetY WRITE SetTextOffsetY)
  Q_CLASSINFO("default:Angle", "0")
  Q_CLASSINFO("default:AngleMode", "amAuto")
  Q_CLASSINFO("default:TextOffsetX", "0")
  Q_CLASSINFO("default:TextOffsetY", "0")

 public:
  Q_INVOKABLE explicit TKvFlexScale(QObject* parent = nullptr) : TKvCustomScale(parent) {}

  float SubStepAt() const { return subStepAt_; }
  // Ignores an unchanged value and any value not above 0.
  void SetSubStepAt(float value);
  int32_t StepMulti() const { return stepMulti_; }
  // Ignores an unchanged value and any value below 1.
  void SetStepMulti(int32_t value);
  int32_t SubStepsVis() const { return subStepsVis_; }
  // Ignores an unchanged value and any value below 1.
  void SetSubStepsVis(int32_t value);

 private:
  float subStepAt_ = 0.0f;
  int32_t stepMulti_ = 0;
  int32_t subStepsVis_ = 0;
};

// A caption: text, font, anchor position and pixel offset.
class TKvText : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(int OffsetX READ OffsetX WRITE SetOffsetX)
  Q_PROPERTY(int OffsetY READ OffsetY WRITE SetOffsetY)
  Q_PROPERTY(KvTextTypes::toPos Pos READ Pos WRITE SetPos)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

 public:
  Q_INVOKABLE explicit TKvText(QObject* parent = nullptr);
  ~TKvText() override;

  const QString& Text() const { return text_; }
  void SetText(const QString& value);
  TFont* Font() const { return font_.get(); }
  // The owned font copies `value`; the font's own report is the only one.
  void SetFont(TFont* value);
  int32_t OffsetX() const { return offsetX_; }
  void SetOffsetX(int32_t value);
  int32_t OffsetY() const { return offsetY_; }
  void SetOffsetY(int32_t value);
  toPos Pos() const { return pos_; }
  void SetPos(toPos value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

 private:
  QString text_;
  std::unique_ptr<TFont> font_;
  int32_t offsetX_ = 0;
  int32_t offsetY_ = 0;
  toPos pos_ = toTopLeft;
  bool visible_ = false;
};

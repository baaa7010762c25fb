#pragma once
// TScaleSettings: the look of a value scale (tick colour, pointer colour,
// label font, major and minor step counts, label pictures, label side, base
// line) and the painting of that scale as a round ring, a dial ring with
// longer ticks, a horizontal or a vertical scale, linear or logarithmic.
//
// A gauge that owns one works in two steps:
//  1. a size calculation (CalcSize for a vertical scale, CalcHSize for a
//     horizontal one, CalcRSize for round and dial scales) with the surface
//     and the start and end values: it builds the label list ScaleText,
//     measures it with the label font and derives tick lengths, pen width,
//     the label gap and the room the scale needs;
//  2. the matching painter with the surface and a rectangle. Painters only
//     read what the calculation left, and leave the geometry they used
//     (ends, centre, arc points) in the public fields for the gauge's pointer.
// The calculation must run again whenever the values, the settings or the
// font change.
//
// Number rules: per-step distances and angles are single floats; pixel
// positions are rounded half to even (Round); "div" truncates toward zero.
// Angles are degrees clockwise from 12 o'clock, rotated with KvRotate's
// clockwise flag. Logarithmic scales (LogScale set by the gauge) list decades
// with KvLogRangeStr; a start or end value not above 0 raises the logarithm's
// floating-point error and leaves ScaleText and the decade fields as they were.
//
// Every published property is written to form descriptions (none has a
// declared default).

#include <QString>
#include <memory>

#include "kv/core/kv_persistent.h"
#include "platform/core/types.h"
#include "platform/graphics/font.h"

class TCanvas;

class TScaleSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool DrawLine READ DrawLine WRITE SetDrawLine)
  Q_PROPERTY(TFont* Font READ Font WRITE SetFont)
  Q_PROPERTY(TColor PointerColor READ PointerColor WRITE SetPointerColor)
  Q_PROPERTY(bool PosLeftTop READ PosLeftTop WRITE SetPosLeftTop)
  Q_PROPERTY(int Steps READ Steps WRITE SetSteps)
  Q_PROPERTY(int SubSteps READ SubSteps WRITE SetSubSteps)
  Q_PROPERTY(QString ValueFormat READ ValueFormat WRITE SetValueFormat)
  Q_PROPERTY(QString ValueFormatLog READ ValueFormatLog WRITE SetValueFormatLog)

 public:
  static constexpr int kMinSteps = 1;
  static constexpr int kMaxSteps = 20;
  static constexpr int kMinSubSteps = 1;
  static constexpr int kMaxSubSteps = 10;

  Q_INVOKABLE explicit TScaleSettings(QObject* parent = nullptr);
  ~TScaleSettings() override;

  // Pen colour of ticks and base line.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // Colour of the owning gauge's pointer; the painters do not use it.
  TColor PointerColor() const { return pointerColor_; }
  void SetPointerColor(TColor value);
  // Whether the base line is drawn; every write reports a change.
  bool DrawLine() const { return drawLine_; }
  void SetDrawLine(bool value);
  // The label font; setting copies the given font into the owned one.
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value);
  // Labels above a horizontal scale and left of a vertical one.
  bool PosLeftTop() const { return posLeftTop_; }
  void SetPosLeftTop(bool value);
  // Major intervals of a linear scale, 1..20; other values are ignored and
  // every accepted write reports a change, also of the same value.
  int Steps() const { return steps_; }
  void SetSteps(int value);
  // Minor intervals per major interval, 1..10, written like Steps.
  int SubSteps() const { return subSteps_; }
  void SetSubSteps(int value);
  // Picture formats of linear and of logarithmic labels.
  const QString& ValueFormat() const { return valueFormat_; }
  void SetValueFormat(const QString& value);
  const QString& ValueFormatLog() const { return valueFormatLog_; }
  void SetValueFormatLog(const QString& value);

  // The font's change handler: reports a change of the settings.
  void FontChange(TObject* Sender);

  // Into another scale settings object, in this order and through its
  // setters except for the font (its own font copies this one, reporting
  // once): Color, DrawLine, Font, PointerColor, PosLeftTop, Steps, SubSteps,
  // ValueFormat, ValueFormatLog. The working fields are not copied. Any other
  // destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

  // Major intervals of a logarithmic scale spanning `decades`: the largest
  // divisor of the span not above `count` (count below 1 counts as 1; a span
  // of 0 gives 1). 6 decades with 5 steps give 3, 7 decades give 1.
  static int CalcLogScaleSteps(int count, int decades);

  // Size calculations; see the header comment for the two-step protocol.
  void CalcSize(TCanvas* canvas, float startValue, float endValue);   // vertical
  void CalcHSize(TCanvas* canvas, float startValue, float endValue);  // horizontal
  void CalcRSize(TCanvas* canvas, float startValue, float endValue);  // round, dial

  // A ring of ticks with labels outside, hanging from the top of `rect`,
  // from `startAngle` clockwise over `sweepAngle` degrees. `rect` becomes the
  // square inside the labels. A full circle draws no last label (the first
  // stands in its place).
  void RoundScala(TCanvas* canvas, TRect& rect, int startAngle, int sweepAngle);
  // The round scale with longer ticks, always Steps major intervals, and a
  // last label also on a full circle.
  void DialScala(TCanvas* canvas, TRect& rect, int startAngle, int sweepAngle);
  // Start value at the left edge of `rect`, end value n intervals further;
  // labels below the ticks or, with PosLeftTop, above them.
  void HorizScala(TCanvas* canvas, const TRect& rect);
  // End value at the top of `rect`, start value at the bottom; labels right
  // of the ticks or, with PosLeftTop, left of them.
  void VertiScala(TCanvas* canvas, const TRect& rect);

  // --- Working fields: the last size calculation and painting ----------------
  // Set by the owning gauge before the size calculation.
  bool LogScale = false;
  // Major intervals of a logarithmic scale and its decade exponents.
  int LogSteps = 0;
  int LogFrom = 0;
  int LogTo = 0;
  // Tick lengths, pen widths and the gap between tick ends and labels.
  int StepLength = 14;
  int SubStepLength = 7;
  int StepWidth = 2;
  int SubStepWidth = 1;
  int TextSpace = 4;
  // The label list, every label followed by ";".
  QString ScaleText;
  // The widest label and the label text height.
  int TextWidth = 0;
  int TextHeight = 0;
  // Room a straight scale needs, and StepWidth div 2 + 3.
  int NeedWidth = 0;
  int NeedHeight = 0;
  int EdgeSpace = 0;
  // Pixel coordinate of the start and end value along a straight scale.
  int PosFrom = 0;
  int PosTo = 0;
  // Centre of a round or dial scale; the square of its arc (inset by
  // StepLength from the returned rectangle); the outer end of the first major
  // tick and the inner end of the last.
  TPoint Center;
  TPoint ArcTopLeft;
  TPoint ArcBottomRight;
  TPoint ArcStart;
  TPoint ArcEnd;

 private:
  enum class TScaleShape { Vertical, Horizontal, Round };
  // What the three size calculations share: font and pen, label list, label
  // size and major pen width.
  void CalcCommon(TCanvas* canvas, float startValue, float endValue, TScaleShape shape);
  // Major intervals being drawn: LogSteps on a logarithmic scale, else Steps.
  int Intervals() const { return LogScale ? LogSteps : steps_; }
  // Makes the canvas font equal to Font. An equal font is not copied again:
  // copying would discard the canvas's measured text widths, and a gauge
  // repaints its scale with the same font over and over.
  void SelectLabelFont(TCanvas* canvas) const;
  // Font, pen colour and clear brush of every painter.
  void PreparePainting(TCanvas* canvas) const;
  void PaintRing(TCanvas* canvas, TRect& rect, int startAngle, int sweepAngle, bool dial);

  TColor color_ = clBlack;
  TColor pointerColor_ = clLime;
  bool drawLine_ = true;
  std::unique_ptr<TFont> font_;
  bool posLeftTop_ = false;
  int steps_ = 5;
  int subSteps_ = 2;
  QString valueFormat_ = QStringLiteral("##0");
  QString valueFormatLog_ = QStringLiteral("0e-0");
};

// The four scale painters of TScaleSettings. They read the label list, the
// lengths, widths and gaps of the last size calculation and leave the
// geometry they used in the public fields.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "kv/proc/conversions.h"
#include "kv/proc/geometry.h"
#include "kv/proc/log_scale.h"
#include "kv/proc/text_output.h"
#include "kv/settings/scale_settings.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"

namespace {

int RoundPx(long double x) {
  return static_cast<int>(Round(x));
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

void Line(TCanvas* canvas, const TPoint& a, const TPoint& b) {
  Line(canvas, a.X, a.Y, b.X, b.Y);
}

constexpr long double kDegToRad = 0.017453292519943295L;

// Sine and cosine of an angle in degrees as KvRotate takes them: the radians
// narrowed to a single float, then both in extended precision. Whole degrees
// (every start, sweep and minor tick angle, and the major ones of most
// scales) come from a table filled on first use, since the extended sine and
// cosine are the larger part of a ring's painting time.
struct TSinCos {
  long double sin = 0;
  long double cos = 1;
};

TSinCos ComputeSinCos(float angle) {
  const float a = static_cast<float>(static_cast<long double>(angle) * kDegToRad);
  return {std::sin(static_cast<long double>(a)), std::cos(static_cast<long double>(a))};
}

TSinCos SinCosOf(float angle) {
  constexpr int kTurns = 3;  // whole degrees in -1080 .. 1080
  constexpr int kRange = 360 * kTurns;
  struct TEntry {
    TSinCos value;
    bool known = false;
  };
  thread_local std::array<TEntry, 2 * kRange + 1> table;
  if (std::nearbyint(angle) != angle || std::fabs(angle) > kRange) return ComputeSinCos(angle);
  TEntry& entry = table[static_cast<size_t>(static_cast<int>(angle) + kRange)];
  if (!entry.known) entry = {ComputeSinCos(angle), true};
  return entry.value;
}

int32_t Wrap(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

// Turns points about a centre by one angle, clockwise, exactly as KvRotate
// does, with the sine and cosine taken once for every point at that angle (a
// ring turns three points per major tick and two per minor tick).
class TTurn {
 public:
  TTurn(const TPoint& centre, float angle) : centre_(centre), angle_(angle), sc_(SinCosOf(angle)) {}
  TPoint operator()(const TPoint& p) const {
    const long double dx = static_cast<long double>(int64_t(p.X) - centre_.X);
    const long double dy = static_cast<long double>(int64_t(p.Y) - centre_.Y);
    const long double ox = dx * sc_.cos - dy * sc_.sin;
    const long double oy = dy * sc_.cos + dx * sc_.sin;
    // A non-finite angle is KvRotate's to handle.
    if (!std::isfinite(ox) || !std::isfinite(oy)) return KvRotate(p, centre_, angle_, true);
    // llrint rounds halves to even in the default rounding mode, as Round
    // does, without saving and restoring the floating-point environment; the
    // sums wrap to 32 bits as KvRotate's do.
    return TPoint(Wrap(centre_.X + std::llrint(ox)), Wrap(centre_.Y + std::llrint(oy)));
  }

 private:
  TPoint centre_;
  float angle_;
  TSinCos sc_;
};

// Labels are taken one by one from the front of a copy of the list; once it
// runs out, further labels are empty.
class TLabelQueue {
 public:
  explicit TLabelQueue(const QString& list) : rest_(list) {}
  QString Next() { return KvStrToken(rest_, kKvListSeparator); }

 private:
  QString rest_;
};

// Minor steps: the distance of a minor step (as a share of the major step) on
// a logarithmic scale, log10(k * d) with d = 10 / subSteps held as a single.
long double LogShare(int k, int subSteps) {
  const float d = 10.0f / static_cast<float>(subSteps);
  return KvLog10(static_cast<long double>(k) * d);
}

}  // namespace

void TScaleSettings::PreparePainting(TCanvas* canvas) const {
  SelectLabelFont(canvas);
  canvas->Pen()->SetColor(color_);
  canvas->Brush()->SetStyle(bsClear);
}

void TScaleSettings::HorizScala(TCanvas* canvas, const TRect& rect) {
  PreparePainting(canvas);
  TLabelQueue labels(ScaleText);
  const int n = Intervals();
  const int L = rect.Left;
  const int T = rect.Top;
  canvas->Pen()->SetWidth(StepWidth);
  const float subPx = static_cast<float>(static_cast<long double>(rect.Right - L) / (subSteps_ * n));
  const float stepPx = static_cast<float>(static_cast<long double>(subSteps_) * subPx);
  auto xAt = [&](int i) { return RoundPx(static_cast<long double>(i) * stepPx + L); };
  PosFrom = L;
  PosTo = RoundPx(static_cast<long double>(n) * stepPx + L);

  // Ticks run from the base line y0 towards the labels' far side: upwards
  // (dir -1) under labels on top, downwards below a base line at the top.
  int y0, dir, labelY;
  toPos labelPos;
  if (posLeftTop_) {
    y0 = TextHeight / 2 + T + TextSpace + StepLength;
    dir = -1;
    labelY = T;
    labelPos = toMidCenter;
  } else {
    y0 = T;
    dir = 1;
    labelY = T + StepLength + TextSpace;
    labelPos = toTopCenter;
  }
  if (drawLine_) Line(canvas, PosFrom, y0, PosTo, y0);

  const int majorEnd = y0 + dir * StepLength;
  const int minorEnd = y0 + dir * SubStepLength;
  for (int i = 0; i < n; ++i) {
    const int x = xAt(i);
    canvas->Pen()->SetWidth(StepWidth);
    Line(canvas, x, y0, x, majorEnd);
    KvTextOut(canvas, x, labelY, labels.Next(), labelPos);
    canvas->Pen()->SetWidth(SubStepWidth);
    if (LogScale) {
      for (int k = 1; k <= subSteps_; ++k) {
        const int mx = RoundPx(LogShare(k, subSteps_) * stepPx + static_cast<long double>(stepPx) * i) + L;
        Line(canvas, mx, y0, mx, minorEnd);
      }
    } else {
      for (int k = 0; k < subSteps_; ++k) {
        const int mx =
            RoundPx(static_cast<long double>(k) * subPx + L + static_cast<long double>(i) * stepPx);
        Line(canvas, mx, y0, mx, minorEnd);
      }
    }
  }
  const int x = xAt(n);
  KvTextOut(canvas, x, labelY, labels.Next(), labelPos);
  canvas->Pen()->SetWidth(StepWidth);
  Line(canvas, x, y0, x, majorEnd);
}

void TScaleSettings::VertiScala(TCanvas* canvas, const TRect& rect) {
  PreparePainting(canvas);
  TLabelQueue labels(ScaleText);
  const int n = Intervals();
  const int L = rect.Left;
  const int T = rect.Top;
  const int R = rect.Right;
  const int B = rect.Bottom;
  canvas->Pen()->SetWidth(StepWidth);
  const float subPx = static_cast<float>(static_cast<long double>(B - T) / (n * subSteps_));
  const float stepPx = static_cast<float>(static_cast<long double>(subSteps_) * subPx);
  auto yAt = [&](int i) { return RoundPx(static_cast<long double>(i) * stepPx + T); };
  PosFrom = B;
  PosTo = RoundPx(B - static_cast<long double>(n) * stepPx);

  // Ticks start on the base line x0 and run away from the labels' side.
  int x0, dir, labelX;
  toPos labelPos;
  if (posLeftTop_) {
    x0 = R;
    dir = -1;
    labelX = R - StepLength - TextSpace + 1;
    labelPos = toMidRight;
  } else {
    x0 = L;
    dir = 1;
    labelX = L + StepLength + TextSpace;
    labelPos = toMidLeft;
  }
  if (drawLine_) Line(canvas, x0, T, x0, yAt(n));

  const int majorEnd = x0 + dir * StepLength;
  const int minorEnd = x0 + dir * SubStepLength;
  for (int i = 0; i < n; ++i) {
    const int y = yAt(i);
    canvas->Pen()->SetWidth(StepWidth);
    Line(canvas, x0, y, majorEnd, y);
    KvTextOut(canvas, labelX, y, labels.Next(), labelPos);
    canvas->Pen()->SetWidth(SubStepWidth);
    if (LogScale) {
      // Measured up from the next major tick, the lower value of the interval.
      const int next = RoundPx(static_cast<long double>(i + 1) * stepPx + T);
      for (int k = subSteps_ - 1; k >= 1; --k) {
        const int my = next - RoundPx(LogShare(k, subSteps_) * stepPx);
        Line(canvas, x0, my, minorEnd, my);
      }
    } else {
      for (int k = 0; k < subSteps_; ++k) {
        const int my =
            RoundPx(static_cast<long double>(k) * subPx + T + static_cast<long double>(i) * stepPx);
        Line(canvas, x0, my, minorEnd, my);
      }
    }
  }
  const int y = yAt(n);
  KvTextOut(canvas, labelX, y, labels.Next(), labelPos);
  canvas->Pen()->SetWidth(StepWidth);
  Line(canvas, x0, y, majorEnd, y);
}

void TScaleSettings::RoundScala(TCanvas* canvas, TRect& rect, int startAngle, int sweepAngle) {
  PaintRing(canvas, rect, startAngle, sweepAngle, false);
}

void TScaleSettings::DialScala(TCanvas* canvas, TRect& rect, int startAngle, int sweepAngle) {
  PaintRing(canvas, rect, startAngle, sweepAngle, true);
}

void TScaleSettings::PaintRing(TCanvas* canvas, TRect& rect, int startAngle, int sweepAngle, bool dial) {
  PreparePainting(canvas);
  TLabelQueue labels(ScaleText);
  const int n = dial ? steps_ : Intervals();
  const int L = rect.Left;
  const int T = rect.Top;
  const int R = rect.Right;
  const int cx = L + (R - L) / 2;

  // The labels' centres lie on the circle of radius r; the circle hangs from
  // the top of the rectangle with half a label height above it.
  const int r = (R - L - 2 * TextSpace) / 2 + TextSpace - TextWidth / 2;
  StepLength = dial ? r / 7 : r / 8;
  SubStepLength = StepWidth == 1 ? StepLength / 2 : RoundPx(StepLength / 1.4L);
  if (dial) {
    StepLength = std::max(StepLength, 3);
    SubStepLength = std::max(SubStepLength, 1);
  }
  const int cy = T + r + TextHeight / 2;
  Center = TPoint(cx, cy);

  // The square inside the labels.
  const int inset = TextWidth / 2 + StepWidth / 2;
  rect.Left = cx + inset - r;
  rect.Top = cy + inset - r;
  rect.Right = cx + r + StepWidth / 2 - TextWidth / 2 - 1;
  rect.Bottom = cy + r + StepWidth / 2 - TextWidth / 2 - 1;

  const float subAngle = static_cast<float>(static_cast<long double>(sweepAngle) / (subSteps_ * n));
  const float stepAngle = static_cast<float>(static_cast<long double>(subSteps_) * subAngle);

  // Reference points straight above the centre, turned to the start angle:
  // outer (A) and inner (B) end of a major tick, outer end of a minor tick
  // (C; minor ticks run from B outward) and the label anchor (D).
  const int outer = r - TextSpace;
  const int inner = outer - StepLength;
  const TTurn toStart(Center, static_cast<float>(startAngle));
  const TPoint A = toStart(TPoint(cx, cy - outer));
  const TPoint B = toStart(TPoint(cx, cy - inner));
  const TPoint C = toStart(TPoint(cx, cy - (inner + SubStepLength)));
  const TPoint D = toStart(TPoint(cx, cy - r));

  for (int i = 0; i < n; ++i) {
    const TTurn turn(Center, static_cast<float>(static_cast<long double>(i) * stepAngle));
    const TPoint d = turn(D);
    canvas->Pen()->SetWidth(StepWidth);
    KvTextOut(canvas, d.X, d.Y, labels.Next(), toMidCenter);
    Line(canvas, turn(A), turn(B));
    canvas->Pen()->SetWidth(1);
    for (int k = 1; k < subSteps_; ++k) {
      // Minor tick angles are whole degrees.
      const long double raw =
          LogScale ? LogShare(k, subSteps_) * stepAngle + static_cast<long double>(stepAngle) * i
                   : static_cast<long double>(i) * stepAngle + static_cast<long double>(k) * subAngle;
      const TTurn minor(Center, static_cast<float>(Round(raw)));
      Line(canvas, minor(B), minor(C));
    }
  }
  const TTurn toEnd(Center, static_cast<float>(sweepAngle));
  const TPoint b = toEnd(B);
  const TPoint d = toEnd(D);
  // On a full circle the first label already stands where the last would go.
  if (sweepAngle != 360 || dial) KvTextOut(canvas, d.X, d.Y, labels.Next(), toMidCenter);
  canvas->Pen()->SetWidth(StepWidth);
  Line(canvas, toEnd(A), b);

  ArcTopLeft = TPoint(rect.Left + StepLength, rect.Top + StepLength);
  ArcBottomRight = TPoint(rect.Right - StepLength, rect.Bottom - StepLength + 1);
  ArcEnd = b;
  ArcStart = A;
  if (StepWidth == 1) {
    ++rect.Left;
    ++rect.Top;
  }
}

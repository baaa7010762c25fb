// The example panel (examples/engine.panel, 760 x 480) as a whole, read
// through the panel library, against the same panel drawn with raw QPainter
// calls and no cache. The raw drawing takes every component's bounds from
// the panel read, so both cover the same areas: a radial gradient for the
// background, ring scales with ticks, labels, sector arcs, read-out and
// needle for the meters, dial and knob, bevelled bars with scales, lamps,
// switches, radio buttons, the spin box and the captions.
//
//  - BM_PanelFullRepaint: every instrument's static layer made stale (as a
//    settings change does), new values, then the whole form rendered;
//  - BM_PanelValueRepaint: new values only (layers from the cache), then the
//    whole form rendered. The raw side draws everything in both.
// Each reports kv_us, raw_us and ratio = kv / raw. A single 200 x 200
// meter's value-only repaint is BM_MeterValueRepaint in bench_instruments.
//
// `bench_panel --cpu_share[=seconds]` (default 10) measures instead what the
// live panel costs: the panel shown (offscreen unless QT_QPA_PLATFORM says
// otherwise) in the viewer's window with the real event loop, every analog
// instrument (meters, dial, bars, and the knob, which moves its meter)
// given a new value 60 times a second. It prints the process's CPU time over
// wall time as a share of one core and the paints it took, then the same for
// a plain Qt widget that paints the raw panel for the same dirty rectangles,
// and for the panel idle and with its gradient background hidden.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

#include "bench/bench_ratio.h"
#include "kv/controls/kv_analog_c_control.h"
#include "kv/controls/kv_gradient.h"
#include "kv/controls/kv_spin_button.h"
#include "kv/core/unit_init.h"
#include "kv/instruments/kv_bar_gauge.h"
#include "kv/instruments/kv_dial.h"
#include "kv/instruments/kv_knob.h"
#include "kv/instruments/kv_led_lamp.h"
#include "kv/instruments/kv_radio_button.h"
#include "kv/instruments/kv_round_meter.h"
#include "kv/instruments/kv_spin_box.h"
#include "kv/instruments/kv_toggle_switch.h"
#include "kv/timers/flash_timer.h"
#include "panel/panel_classes.h"
#include "panel/panel_file.h"
#include "panel/panel_flash.h"
#include "panel/panel_window.h"
#include "platform/controls/application.h"
#include "platform/controls/label.h"
#include "platform/graphics/colors.h"

namespace {

using bench::Clock;
constexpr double kPi = 3.14159265358979323846;
// BENCH_PANEL_FILE names another panel to measure.
QString ExamplePath() {
  const QString other = qEnvironmentVariable("BENCH_PANEL_FILE");
  return other.isEmpty() ? QStringLiteral(KV_SOURCE_DIR "/examples/engine.panel") : other;
}

QRect BoundsOf(const TControl* c) {
  return QRect(c->Left(), c->Top(), c->Width(), c->Height());
}

// --- The raw panel ------------------------------------------------------------------

void RawBevel(QPainter& p, const QRect& r, bool fill) {
  if (fill) p.fillRect(r, QColor(240, 240, 240));
  p.setPen(Qt::white);
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
  p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
  p.setPen(Qt::gray);
  p.drawLine(r.topRight(), r.bottomRight());
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
  p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
}

// A ring scale: ticks, labels, three sector arcs; what the round meter, the
// dial and the knob have in common. Returns the tick radius.
double RawRing(QPainter& p, const QRect& r, double start, double sweep, int steps, int subSteps, float from,
               float to, int fontSize, bool sectors) {
  const QPointF c(r.center().x() + 0.5, r.center().y() + 0.5);
  const double radius = std::min(r.width(), r.height()) / 2.0 - 2.2 * fontSize - 4;
  auto at = [&](double rr, double deg) {
    const double a = deg * kPi / 180;
    return c + QPointF(rr * std::sin(a), -rr * std::cos(a));
  };
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(fontSize);
  p.setFont(font);
  const int ticks = steps * subSteps;
  for (int i = 0; i <= ticks; ++i) {
    const double deg = start + sweep * i / ticks;
    const bool major = i % subSteps == 0;
    p.setPen(QPen(Qt::black, major ? 2 : 1));
    p.drawLine(at(radius, deg), at(major ? radius + 8 : radius + 5, deg));
    if (major) {
      const QString text = QString::number(from + (to - from) * i / ticks);
      p.drawText(QRectF(at(radius + 10 + fontSize * 1.3, deg) - QPointF(20, 8), QSizeF(40, 16)),
                 Qt::AlignCenter, text);
    }
  }
  if (sectors) {
    const QColor colours[3] = {Qt::darkGreen, Qt::yellow, Qt::red};
    for (int k = 0; k < 3; ++k) {
      p.setPen(QPen(colours[k], 4, Qt::SolidLine, Qt::FlatCap));
      p.drawArc(QRectF(c.x() - radius + 2, c.y() - radius + 2, 2 * radius - 4, 2 * radius - 4),
                int((90 - start - sweep * k / 3) * 16), int(-sweep / 3 * 16));
    }
  }
  return radius;
}

void RawNeedle(QPainter& p, const QPointF& c, double radius, double deg, const QColor& colour) {
  const double a = deg * kPi / 180;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(colour, std::max(3.0, radius / 20), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, c + QPointF((radius - 2) * std::sin(a), -(radius - 2) * std::cos(a)));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(c, std::max(3.0, radius / 10), std::max(3.0, radius / 10));
  p.restore();
}

double Position(float value, float from, float to) {
  return to == from ? 0 : std::clamp((value - from) / double(to - from), 0.0, 1.0);
}

void RawRoundMeter(QPainter& p, const TKvRoundMeter& m) {
  const QRect r = BoundsOf(&m);
  RawBevel(p, r, true);
  const TSignalSettings& s = *m.SignalSettings();
  const double radius =
      RawRing(p, r, m.StartAngle(), m.SweepAngle(), m.ScaleSettings()->Steps(), m.ScaleSettings()->SubSteps(),
              s.ValueFrom(), s.ValueTo(), m.ScaleSettings()->Font()->Size(), true);
  const QPointF c(r.center().x() + 0.5, r.center().y() + 0.5);
  const QRect box(int(c.x()) - 20, int(c.y() + radius / 2) - 8, 40, 16);
  p.fillRect(box, Qt::black);
  p.setPen(Qt::green);
  p.drawText(box.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter,
             QString::number(m.Value(), 'f', 0));
  RawNeedle(p, c, radius, m.StartAngle() + m.SweepAngle() * Position(m.Value(), s.ValueFrom(), s.ValueTo()),
            Qt::red);
}

void RawDial(QPainter& p, const TKvDial& d) {
  const QRect r = BoundsOf(&d);
  RawBevel(p, r, false);
  const int side = std::min(r.width(), r.height()) - 8;
  p.setPen(Qt::black);
  p.setBrush(QColor(240, 240, 240));
  p.drawEllipse(QRect(r.center().x() - side / 2, r.center().y() - side / 2, side, side));
  p.setBrush(Qt::NoBrush);
  const TSignalSettings& s = *d.SignalSettings();
  const double radius = RawRing(p, r, TKvDial::kStartAngle, TKvDial::kSweepAngle, d.ScaleSettings()->Steps(),
                                d.ScaleSettings()->SubSteps(), s.ValueFrom(), s.ValueTo(),
                                d.ScaleSettings()->Font()->Size(), true);
  RawNeedle(p, QPointF(r.center()), radius,
            TKvDial::kStartAngle + TKvDial::kSweepAngle * Position(d.Value(), s.ValueFrom(), s.ValueTo()),
            Qt::green);
}

void RawKnob(QPainter& p, const TKvKnob& k) {
  const QRect r = BoundsOf(&k);
  RawBevel(p, r, true);
  const TSignalSettings& s = *k.SignalSettings();
  const double radius = RawRing(p, r, TKvKnob::kStartAngle, TKvKnob::kSweepAngle, k.ScaleSettings()->Steps(),
                                k.ScaleSettings()->SubSteps(), s.ValueFrom(), s.ValueTo(),
                                k.ScaleSettings()->Font()->Size(), false);
  const QPointF c(r.center());
  p.setPen(Qt::black);
  p.setBrush(Qt::gray);
  p.drawEllipse(c, radius - 2, radius - 2);
  p.setPen(Qt::gray);
  p.setBrush(Qt::lightGray);
  p.drawEllipse(c, (radius - 2) * 0.8, (radius - 2) * 0.8);
  p.setBrush(Qt::NoBrush);
  const double a =
      (TKvKnob::kStartAngle + TKvKnob::kSweepAngle * Position(k.Value(), s.ValueFrom(), s.ValueTo())) * kPi /
      180;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::green, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c + QPointF(radius / 4 * std::sin(a), -radius / 4 * std::cos(a)),
             c + QPointF(radius * 0.7 * std::sin(a), -radius * 0.7 * std::cos(a)));
  p.restore();
}

void RawBar(QPainter& p, const TKvBarGauge& b) {
  const QRect r = BoundsOf(&b);
  RawBevel(p, r, true);
  const bool horizontal = r.width() > r.height();
  const TSignalSettings& s = *b.SignalSettings();
  const int steps = b.ScaleSettings()->Steps();
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(b.ScaleSettings()->Font()->Size());
  p.setFont(font);
  p.setPen(Qt::black);
  const QRect bar = horizontal ? QRect(r.left() + 14, r.top() + 6, r.width() - 28, r.height() / 2)
                               : QRect(r.left() + 6, r.top() + 10, r.width() / 2 - 6, r.height() - 20);
  // The bar's sunken frame, its dark ground and the lit part.
  p.drawRect(bar.adjusted(-1, -1, 0, 0));
  p.fillRect(bar, Qt::black);
  const double pos = Position(b.Value(), s.ValueFrom(), s.ValueTo());
  const bool led = b.BarSettings()->Style() == bsLED_Bar;
  if (horizontal) {
    const bool bidir = b.BarSettings()->Options() & opBidir;
    const double origin = bidir ? Position(0, s.ValueFrom(), s.ValueTo()) : 0;
    const int x0 = bar.left() + int(bar.width() * std::min(origin, pos));
    const int x1 = bar.left() + int(bar.width() * std::max(origin, pos));
    p.fillRect(QRect(x0, bar.top(), x1 - x0, bar.height()), Qt::green);
    if (b.BarSettings()->Options() & opValue) {
      p.setPen(Qt::white);
      p.drawText(bar, Qt::AlignCenter, QString::number(b.Value(), 'f', 1));
      p.setPen(Qt::black);
    }
  } else {
    const int top = bar.bottom() - int(bar.height() * pos);
    if (led) {
      for (int y = bar.bottom(); y > top; y -= 4)
        p.fillRect(QRect(bar.left(), y - 2, bar.width(), 3), Qt::yellow);
    } else {
      p.fillRect(QRect(bar.left(), top, bar.width(), bar.bottom() - top), Qt::green);
    }
  }
  // The scale beside the bar: ticks and labels.
  for (int i = 0; i <= steps * 2; ++i) {
    const bool major = i % 2 == 0;
    const double f = double(i) / (steps * 2);
    if (horizontal) {
      const int x = bar.left() + int(bar.width() * f);
      p.drawLine(x, bar.bottom() + 3, x, bar.bottom() + (major ? 9 : 6));
      if (major)
        p.drawText(QRect(x - 20, bar.bottom() + 10, 40, 14), Qt::AlignCenter,
                   QString::number(s.ValueFrom() + (s.ValueTo() - s.ValueFrom()) * f));
    } else {
      const int y = bar.bottom() - int(bar.height() * f);
      p.drawLine(bar.right() + 3, y, bar.right() + (major ? 9 : 6), y);
      if (major)
        p.drawText(QRect(bar.right() + 10, y - 7, 40, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(s.ValueFrom() + (s.ValueTo() - s.ValueFrom()) * f));
    }
  }
}

void RawLamp(QPainter& p, const TKvLedLamp& l, bool lit) {
  const QRect r = BoundsOf(&l);
  RawBevel(p, r, true);
  const QRect led(r.center().x() - l.LED()->Width() / 2, r.center().y() - l.LED()->Height() / 2,
                  l.LED()->Width(), l.LED()->Height());
  p.setPen(Qt::gray);
  p.setBrush(ToQColor(lit ? l.LED()->ColorOn() : l.LED()->ColorOff()));
  switch (l.LED()->Shape()) {
    case sRectangle:
      p.drawRect(led);
      break;
    case sRound:
      p.drawEllipse(led);
      break;
    default: {
      const QPolygon arrow({QPoint(led.left(), led.center().y()), led.topRight(), led.bottomRight()});
      p.drawPolygon(arrow);
    }
  }
  p.setBrush(Qt::NoBrush);
}

void RawCaption(QPainter& p, const QRect& r, int left, const QString& text, const QFont& font) {
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(r.left() + left, r.top(), r.width() - left, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
             text);
}

void RawSwitch(QPainter& p, const TKvToggleSwitch& s, const QFont& font) {
  const QRect r = BoundsOf(&s);
  const QRect slot(r.left(), r.top(), 2 * r.height(), r.height());
  p.fillRect(slot, s.Checked() ? Qt::green : Qt::gray);
  RawBevel(p,
           s.Checked() ? slot.adjusted(slot.width() / 2, 0, 0, 0) : slot.adjusted(0, 0, -slot.width() / 2, 0),
           true);
  RawCaption(p, r, slot.width() + 6, s.Caption(), font);
}

void RawRadio(QPainter& p, const TKvRadioButton& b, const QFont& font) {
  const QRect r = BoundsOf(&b);
  const QRect well(r.left() + 2, r.top() + 2, r.height() - 4, r.height() - 4);
  p.setPen(Qt::gray);
  p.setBrush(QColor(240, 240, 240));
  p.drawEllipse(well);
  p.setBrush(b.Checked() ? Qt::green : QColor(240, 240, 240));
  p.drawEllipse(well.adjusted(3, 3, -3, -3));
  p.setBrush(Qt::NoBrush);
  RawCaption(p, r, r.height() + 4, b.Caption(), font);
}

void RawSpinButtons(QPainter& p, const QRect& r) {
  const QRect up(r.left(), r.top(), r.width(), r.height() / 2);
  const QRect down(r.left(), r.top() + r.height() / 2, r.width(), r.height() - r.height() / 2);
  for (const QRect& b : {up, down}) {
    RawBevel(p, b, true);
    const QPoint c = b.center();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const int d = b == up ? -2 : 2;
    p.drawPolygon(
        QPolygon({QPoint(c.x() - 3, c.y() - d), QPoint(c.x() + 3, c.y() - d), QPoint(c.x(), c.y() + d)}));
    p.setBrush(Qt::NoBrush);
  }
}

void RawSpinBox(QPainter& p, const TKvSpinBox& s, const QFont& font) {
  const QRect r = BoundsOf(&s);
  const QRect field(r.left(), r.top(), r.width() - 16, r.height());
  p.fillRect(field, Qt::white);
  p.setPen(Qt::gray);
  p.drawRect(field.adjusted(0, 0, -1, -1));
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(field.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, s.ValueText());
  RawSpinButtons(p, QRect(field.right() + 1, r.top(), 16, r.height()));
}

// The whole panel drawn directly, component by component.
void RawPanel(QPainter& p, const TKvPanelForm& panel, bool lampPhase) {
  p.setRenderHint(QPainter::Antialiasing, false);
  const QRect all(0, 0, panel.ClientWidth(), panel.ClientHeight());
  QRadialGradient gradient(all.center(), all.width() / 2.0);
  gradient.setColorAt(0, QColor(0x28, 0x38, 0x50));
  gradient.setColorAt(1, QColor(0x04, 0x08, 0x10));
  p.fillRect(all, gradient);
  const QFont font = panel.Font()->ToQFont();
  for (int i = 0; i < panel.ComponentCount(); ++i) {
    TComponent* c = panel.Components(i);
    if (auto* m = qobject_cast<TKvRoundMeter*>(c)) {
      RawRoundMeter(p, *m);
    } else if (auto* d = qobject_cast<TKvDial*>(c)) {
      RawDial(p, *d);
    } else if (auto* k = qobject_cast<TKvKnob*>(c)) {
      RawKnob(p, *k);
    } else if (auto* b = qobject_cast<TKvBarGauge*>(c)) {
      RawBar(p, *b);
    } else if (auto* l = qobject_cast<TKvLedLamp*>(c)) {
      RawLamp(p, *l, l->Checked() && (!l->Flashing() || lampPhase));
    } else if (auto* s = qobject_cast<TKvToggleSwitch*>(c)) {
      RawSwitch(p, *s, font);
    } else if (auto* rb = qobject_cast<TKvRadioButton*>(c)) {
      RawRadio(p, *rb, font);
    } else if (auto* sb = qobject_cast<TKvSpinBox*>(c)) {
      RawSpinBox(p, *sb, font);
    } else if (auto* sp = qobject_cast<TKvSpinButton*>(c)) {
      RawSpinButtons(p, BoundsOf(sp));
    } else if (auto* label = qobject_cast<TLabel*>(c)) {
      p.setFont(label->Font()->ToQFont());
      p.setPen(ToQColor(label->Font()->Color()));
      p.drawText(BoundsOf(label).topLeft() + QPoint(0, label->Font()->ToQFont().pixelSize()),
                 label->Caption());
    }
  }
}

// --- Driving the panel --------------------------------------------------------------

// The analog instruments a value change reaches: every indicator and input
// control; an indicator linked to an input control follows it instead.
struct TAnalogs {
  std::vector<TKvAnalogGControl*> indicators;
  std::vector<TKvAnalogCControl*> inputs;
};

TAnalogs AnalogsOf(TKvPanelForm& panel) {
  TAnalogs a;
  a.indicators = panel.SimulatedIndicators();
  for (int i = 0; i < panel.ComponentCount(); ++i)
    if (auto* input = qobject_cast<TKvAnalogCControl*>(panel.Components(i))) a.inputs.push_back(input);
  return a;
}

// Sets frame `frame`'s values: each instrument on a sine of its own phase.
void SetValues(const TAnalogs& a, int frame) {
  int channel = 0;
  auto level = [&](int ch) { return 0.5 + 0.45 * std::sin(frame * 0.05 + ch * 1.3); };
  for (TKvAnalogGControl* g : a.indicators) {
    const TSignalSettings& s = *g->SignalSettings();
    g->SetValue(float(s.ValueFrom() + (s.ValueTo() - s.ValueFrom()) * level(channel++)));
  }
  for (TKvAnalogCControl* c : a.inputs) {
    const TSignalSettings& s = *c->SignalSettings();
    c->SetValue(float(s.ValueFrom() + (s.ValueTo() - s.ValueFrom()) * level(channel++)));
  }
}

// Makes every cached static layer stale, as a settings change does.
void InvalidateLayers(TKvPanelForm& panel) {
  for (int i = 0; i < panel.ComponentCount(); ++i) {
    TComponent* c = panel.Components(i);
    if (auto* a = qobject_cast<TKvAnalogInstrument*>(c)) a->ParamChange(a->Bevel());
    if (auto* k = qobject_cast<TKvKnob*>(c)) k->ParamChange(k->Bevel());
  }
}

int64_t InstrumentPaints(TKvPanelForm& panel) {
  int64_t n = 0;
  for (int i = 0; i < panel.ComponentCount(); ++i) {
    TComponent* c = panel.Components(i);
    if (auto* a = qobject_cast<TKvAnalogInstrument*>(c)) n += a->PaintCount();
    if (auto* k = qobject_cast<TKvKnob*>(c)) n += k->PaintCount();
  }
  return n;
}

int64_t LayerRebuilds(TKvPanelForm& panel) {
  int64_t n = 0;
  for (int i = 0; i < panel.ComponentCount(); ++i) {
    TComponent* c = panel.Components(i);
    if (auto* a = qobject_cast<TKvAnalogInstrument*>(c)) n += a->LayerRebuilds();
    if (auto* k = qobject_cast<TKvKnob*>(c)) n += k->LayerRebuilds();
  }
  return n;
}

void StopTicker(TKvPanelForm& panel) {
  if (auto* ticker = qobject_cast<TKvPanelFlash*>(panel.FindComponent(QStringLiteral("Ticker"))))
    ticker->SetIntervalMs(0);
}

// --- Benchmarks ---------------------------------------------------------------------

template <bool Full>
void RunPanel(benchmark::State& state) {
  TKvPanelWindow window(nullptr);
  if (!window.Open(ExamplePath()) || !window.Panel()) {
    state.SkipWithError(qPrintable(window.StatusText()));
    return;
  }
  TKvPanelForm& panel = *window.Panel();
  StopTicker(panel);
  const TAnalogs analogs = AnalogsOf(panel);
  QWidget* widget = panel.Widget();
  const QSize size(panel.ClientWidth(), panel.ClientHeight());
  QImage kvImage(size, QImage::Format_ARGB32_Premultiplied);
  QImage rawImage(size, QImage::Format_ARGB32_Premultiplied);
  widget->render(&kvImage);
  const int64_t rebuilds0 = LayerRebuilds(panel);
  Clock::duration kv{}, raw{};
  int frame = 0;
  for (auto _ : state) {
    ++frame;
    const auto t0 = Clock::now();
    if (Full) InvalidateLayers(panel);
    SetValues(analogs, frame);
    widget->render(&kvImage);
    const auto t1 = Clock::now();
    {
      QPainter painter(&rawImage);
      RawPanel(painter, panel, frame & 1);
    }
    const auto t2 = Clock::now();
    kv += t1 - t0;
    raw += t2 - t1;
    benchmark::DoNotOptimize(kvImage.constBits());
    benchmark::DoNotOptimize(rawImage.constBits());
  }
  bench::ReportRatio(state, kv, raw);
  state.counters["rebuilds_per_frame"] =
      double(LayerRebuilds(panel) - rebuilds0) / double(state.iterations());
  if (qEnvironmentVariableIsSet("BENCH_PANEL_SAVE")) {
    kvImage.save(QStringLiteral("bench_panel_kv.png"));
    rawImage.save(QStringLiteral("bench_panel_raw.png"));
  }
}

void BM_PanelFullRepaint(benchmark::State& state) {
  RunPanel<true>(state);
}
BENCHMARK(BM_PanelFullRepaint)->Unit(benchmark::kMicrosecond);

void BM_PanelValueRepaint(benchmark::State& state) {
  RunPanel<false>(state);
}
BENCHMARK(BM_PanelValueRepaint)->Unit(benchmark::kMicrosecond);

// --- CPU share at 60 value changes a second -----------------------------------------

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

class TPaintCounter : public QObject {
 public:
  int64_t paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

struct TShare {
  double cpu = 0, wall = 0;
  int frames = 0;
};

// Calls `frame(k)` 60 times a second for `seconds` on the running event loop
// and measures the process's CPU and wall time over that span.
template <typename Frame>
TShare RunFrames(double seconds, Frame frame) {
  QElapsedTimer wall;
  TShare share;
  const int frames = int(std::lround(seconds * 60));
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  timer.setSingleShot(true);
  QEventLoop loop;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    frame(++share.frames);
    if (share.frames >= frames) {
      loop.quit();
      return;
    }
    // The next frame on the 60 Hz grid, however late this one ran.
    const qint64 due = qint64(std::llround(share.frames * 1000.0 / 60));
    timer.start(int(std::max<qint64>(0, due - wall.elapsed())));
  });
  const double cpu0 = CpuSeconds();
  wall.start();
  timer.start(0);
  loop.exec();
  // Let the last frame's paint happen inside the measured span.
  QCoreApplication::processEvents();
  share.wall = double(wall.nsecsElapsed()) * 1e-9;
  share.cpu = CpuSeconds() - cpu0;
  return share;
}

// A plain Qt widget showing the raw panel: each frame asks for a repaint of
// the same rectangles the instruments would, and every paint draws the raw
// panel clipped to them.
class TRawPanelWidget : public QWidget {
 public:
  explicit TRawPanelWidget(const TKvPanelForm& panel) : panel_(panel) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(panel.ClientWidth(), panel.ClientHeight());
  }
  int64_t paints = 0;
  bool phase = false;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    QPainter p(this);
    p.setClipRegion(event->region());
    RawPanel(p, panel_, phase);
  }

 private:
  const TKvPanelForm& panel_;
};

int RunCpuShare(double seconds) {
  TKvPanelWindow window(nullptr);
  if (!window.Open(ExamplePath()) || !window.Panel()) {
    std::fprintf(stderr, "bench_panel: %s\n", qPrintable(window.StatusText()));
    return 1;
  }
  TKvPanelForm& panel = *window.Panel();
  StopTicker(panel);
  const TAnalogs analogs = AnalogsOf(panel);
  window.Show();
  if (!QTest::qWaitForWindowExposed(window.Widget())) {
    std::fprintf(stderr, "bench_panel: the window was never shown\n");
    return 1;
  }
  QTest::qWait(300);
  // Idle: the window shown, the 60 Hz timer running, no value changed. What
  // runs then (event loop, the library's flash heartbeat for the lamps) is
  // in both measurements below.
  const TShare idle = RunFrames(seconds, [](int) {});
  TPaintCounter counter;
  panel.Widget()->installEventFilter(&counter);
  const int64_t paints0 = InstrumentPaints(panel);
  const int64_t rebuilds0 = LayerRebuilds(panel);
  const TShare kv = RunFrames(seconds, [&](int k) { SetValues(analogs, k); });
  const int64_t kvPaints = counter.paints;
  const int64_t instrumentPaints = InstrumentPaints(panel) - paints0;
  const int64_t rebuilds = LayerRebuilds(panel) - rebuilds0;
  // The same without the gradient background (TKvGradient paints its
  // gradient afresh under every dirty rectangle): what the instruments cost.
  TShare bare;
  int64_t barePaints = 0;
  if (auto* background = qobject_cast<TControl*>(panel.FindComponent(QStringLiteral("Background")))) {
    background->SetVisible(false);
    QTest::qWait(100);
    const int64_t before = counter.paints;
    bare = RunFrames(seconds, [&](int k) { SetValues(analogs, k); });
    barePaints = counter.paints - before;
  }
  window.Hide();

  // The baseline: the raw panel in a plain widget, the instruments' rectangles
  // asked for again every frame (the lamps' too, as their flash does).
  std::vector<QRect> dirty;
  for (int i = 0; i < panel.ComponentCount(); ++i) {
    TComponent* c = panel.Components(i);
    if (qobject_cast<TKvAnalogGControl*>(c) || qobject_cast<TKvAnalogCControl*>(c) ||
        qobject_cast<TKvLedLamp*>(c))
      dirty.push_back(BoundsOf(static_cast<TControl*>(c)));
  }
  TRawPanelWidget rawWidget(panel);
  rawWidget.show();
  if (!QTest::qWaitForWindowExposed(&rawWidget)) return 1;
  QTest::qWait(300);
  rawWidget.paints = 0;
  const TShare raw = RunFrames(seconds, [&](int k) {
    SetValues(analogs, k);
    rawWidget.phase = (k / 30) & 1;
    for (const QRect& r : dirty) rawWidget.update(r);
  });
  const int64_t rawPaints = rawWidget.paints;

  const double kvShare = 100 * kv.cpu / kv.wall;
  const double rawShare = 100 * raw.cpu / raw.wall;
  std::printf("CPU share at 60 value changes a second, %d analog instruments, %.1f s each:\n",
              int(analogs.indicators.size() + analogs.inputs.size()), seconds);
  std::printf("  idle     : %d frames, nothing changed; CPU %.3f s over %.3f s = %.2f %% of one core\n",
              idle.frames, idle.cpu, idle.wall, 100 * idle.cpu / idle.wall);
  std::printf(
      "  kv panel : %d frames, %lld panel paints, %lld instrument paints, %lld layer rebuilds; CPU %.3f s "
      "over %.3f s = %.2f %% of one core (goal < 5 %%: %s)\n",
      kv.frames, (long long)kvPaints, (long long)instrumentPaints, (long long)rebuilds, kv.cpu, kv.wall,
      kvShare, kvShare < 5 ? "met" : "missed");
  if (bare.wall > 0)
    std::printf(
        "  kv panel, background hidden: %lld panel paints; CPU %.3f s over %.3f s = %.2f %% of one core\n",
        (long long)barePaints, bare.cpu, bare.wall, 100 * bare.cpu / bare.wall);
  std::printf("  raw Qt   : %d frames, %lld widget paints; CPU %.3f s over %.3f s = %.2f %% of one core\n",
              raw.frames, (long long)rawPaints, raw.cpu, raw.wall, rawShare);
  std::printf("  ratio kv / raw CPU share: %.2f (less idle: %.2f)\n", kvShare / rawShare,
              (kv.cpu - idle.cpu) / (raw.cpu - idle.cpu));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The units the panel classes live in, as the viewer starts them.
  RegisterUnit(KvflashtUnit());
  RegisterUnit(KvgradientUnit());
  RegisterUnit(KvSpinButtonUnit());
  std::optional<TUnitsInitialization> units;
  units.emplace();
  TApplication application(argc, argv);
  RegisterPanelClasses();
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--cpu_share", 11) == 0) {
      const double seconds = argv[i][11] == '=' ? std::atof(argv[i] + 12) : 10.0;
      return RunCpuShare(seconds > 0 ? seconds : 10.0);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

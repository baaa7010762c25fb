// The analog instruments on pixels: each paints the value it holds, its
// static layer is cached per size and pixel ratio and rebuilt only by a
// resize or a settings change, and one instrument survives a form
// description round trip with its settings. Also renders the gallery.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "kv/instruments/analog_instruments.h"
#include "kv/instruments/kv_bar_gauge.h"
#include "kv/instruments/kv_dial.h"
#include "kv/instruments/kv_knob.h"
#include "kv/instruments/kv_round_meter.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"
#include "tests/support/test_support.h"

namespace {

// What the control paints onto a white surface of its size at `ratio`.
QImage Painted(TKvAnalogInstrument& control, qreal ratio = 1) {
  QImage image(int(std::ceil(control.Width() * ratio)), int(std::ceil(control.Height() * ratio)),
               QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  control.PaintTo(painter);
  painter.end();
  return image;
}

// The colour at logical point `p` of an image painted at `ratio`.
TColor At(const QImage& image, QPointF p) {
  const qreal r = image.devicePixelRatio();
  return FromQRgb(image.pixel(int(std::floor(p.x() * r)), int(std::floor(p.y() * r))));
}

// A point `fraction` of the way out along the needle at `angle`.
QPointF OnNeedle(TPoint centre, int radius, double fraction, double angle) {
  const double a = angle * M_PI / 180;
  return {centre.X + 0.5 + fraction * radius * std::sin(a), centre.Y + 0.5 - fraction * radius * std::cos(a)};
}

template <typename T>
std::unique_ptr<T> Make(int w, int h) {
  auto c = std::make_unique<T>(nullptr);
  c->SetBounds(0, 0, w, h);
  c->Loaded();
  return c;
}

TEST(AnalogInstrumentPaint, RoundInstrumentsPointAtTheirValue) {
  struct Case {
    const char* name;
    bool dial;
    float from, to, value;
    qreal ratio;
  };
  const Case cases[] = {
      {"meter at start", false, 0, 100, 0, 1},       {"meter at 37", false, 0, 100, 37, 1},
      {"meter at end", false, 0, 100, 100, 1},       {"meter negative range", false, -50, 50, -20, 1},
      {"meter beyond range", false, 0, 100, 250, 1}, {"meter at 1.5x", false, 0, 100, 63, 1.5},
      {"meter at 2x", false, 0, 100, 81, 2},         {"dial at 12", true, 0, 10, 1.2f, 1},
      {"dial at 2x", true, 0, 10, 7.5f, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TKvAnalogInstrument> control;
    TPoint centre;
    int radius = 0;
    int start = 0, sweep = 0;
    if (c.dial) {
      auto d = Make<TKvDial>(140, 140);
      d->ScaleSettings()->SetPointerColor(clFuchsia);
      control = std::move(d);
      start = TKvDial::kStartAngle;
      sweep = TKvDial::kSweepAngle;
    } else {
      auto m = Make<TKvRoundMeter>(200, 200);
      m->ScaleSettings()->SetPointerColor(clFuchsia);
      control = std::move(m);
      start = -135;
      sweep = 270;
    }
    control->SignalSettings()->SetValueFrom(c.from);
    control->SignalSettings()->SetValueTo(c.to);
    control->SetValue(c.value);
    QImage image = Painted(*control, c.ratio);
    if (c.dial) {
      centre = static_cast<TKvDial*>(control.get())->NeedleCentre();
      radius = static_cast<TKvDial*>(control.get())->TickRadius();
    } else {
      centre = static_cast<TKvRoundMeter*>(control.get())->NeedleCentre();
      radius = static_cast<TKvRoundMeter*>(control.get())->TickRadius();
    }
    ASSERT_GT(radius, 20);
    const double fraction = std::clamp((double(c.value) - c.from) / (c.to - c.from), 0.0, 1.0);
    const double angle = start + sweep * fraction;
    // The needle at its angle, half and most of the way out; nothing of it
    // a quarter turn away.
    EXPECT_EQ(At(image, OnNeedle(centre, radius, 0.5, angle)), clFuchsia);
    EXPECT_EQ(At(image, OnNeedle(centre, radius, 0.85, angle)), clFuchsia);
    EXPECT_NE(At(image, OnNeedle(centre, radius, 0.7, angle + 90)), clFuchsia);
    if (::testing::Test::HasFailure()) kv::test::savePng(image, QString("analog_round_") + c.name);
  }
}

TEST(AnalogInstrumentPaint, AValueChangeLeavesTheScreenAsAFreshPaintWould) {
  // A value change repaints only where the pointer, marks and read-out were
  // and will be: what the window shows afterwards must equal the whole form
  // painted afresh, with no trace of an earlier value.
  TForm form(nullptr);
  form.SetColor(clTeal);
  form.SetClientWidth(360);
  form.SetClientHeight(330);
  auto* knob = new TKvKnob(&form);
  knob->SetBounds(4, 210, 110, 110);
  knob->SetParent(&form);
  auto* bar = new TKvBarGauge(&form);
  bar->SetBounds(208, 158, 150, 80);
  bar->SetParent(&form);
  auto* meter = new TKvRoundMeter(&form);
  meter->SetBounds(4, 4, 200, 200);
  meter->SetParent(&form);
  auto* dial = new TKvDial(&form);
  dial->SetBounds(208, 4, 150, 150);
  dial->SetParent(&form);
  for (TKvAnalogInstrument* c :
       {static_cast<TKvAnalogInstrument*>(meter), static_cast<TKvAnalogInstrument*>(dial),
        static_cast<TKvAnalogInstrument*>(bar)}) {
    c->MinMax()->SetMinVisible(true);
    c->MinMax()->SetMaxVisible(true);
  }
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  QScreen* screen = form.Widget()->screen();
  const float values[] = {37, 38, 90, 5, 100, 61.5f, 0, 73};
  for (float v : values) {
    SCOPED_TRACE(v);
    const int64_t paints = meter->PaintCount() + dial->PaintCount();
    meter->SetValue(v);
    dial->SetValue(100 - v);
    bar->SetValue(v / 2);
    knob->SetValue(v);
    QTRY_VERIFY(meter->PaintCount() + dial->PaintCount() >= paints + 2);
    QApplication::processEvents();
    const QImage shown =
        screen->grabWindow(form.Widget()->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = form.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(fresh.size(), QSize(360, 330));
    if (shown.copy(0, 0, 360, 330) != fresh) {
      kv::test::savePng(shown, QStringLiteral("analog_value_change_shown"));
      kv::test::savePng(fresh, QStringLiteral("analog_value_change_fresh"));
      FAIL() << "the window differs from a fresh paint";
    }
  }
}

TEST(AnalogInstrumentPaint, DialLabelsStayOnTheFace) {
  // Labels narrower than tall (one digit in a small font) and wider than
  // tall (three digits) once reached across the face's outline at the top
  // and the diagonals. A label pixel (blue) next to the surface outside the
  // face (fuchsia) is a label sticking out.
  struct Case {
    const char* name;
    float to;
    int fontSize;
    qreal ratio;
  };
  const Case cases[] = {{"one digit, small", 8, 10, 1},
                        {"three digits", 120, 8, 1},
                        {"default font", 10, 14, 1},
                        {"one digit at 2x", 8, 10, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto dial = Make<TKvDial>(150, 150);
    dial->SignalSettings()->SetValueTo(c.to);
    dial->ScaleSettings()->Font()->SetSize(c.fontSize);
    dial->ScaleSettings()->Font()->SetColor(clBlue);
    dial->Bevel()->SetColor(clWhite);
    QImage image(int(150 * c.ratio), int(150 * c.ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(c.ratio);
    image.fill(ToQColor(clFuchsia));
    {
      QPainter painter(&image);
      dial->PaintTo(painter);
    }
    const QRgb blue = ToQColor(clBlue).rgb(), outside = ToQColor(clFuchsia).rgb();
    int labelPixels = 0, sticking = 0;
    for (int y = 1; y < image.height() - 1; ++y)
      for (int x = 1; x < image.width() - 1; ++x) {
        if (image.pixel(x, y) != blue) continue;
        ++labelPixels;
        if (image.pixel(x - 1, y) == outside || image.pixel(x + 1, y) == outside ||
            image.pixel(x, y - 1) == outside || image.pixel(x, y + 1) == outside)
          ++sticking;
      }
    EXPECT_GT(labelPixels, 50);
    EXPECT_EQ(sticking, 0);
    if (::testing::Test::HasFailure()) kv::test::savePng(image, QString("analog_dial_labels_") + c.name);
  }
}

TEST(AnalogInstrumentPaint, BarGaugesEndWhereTheirValueIs) {
  struct Case {
    const char* name;
    int w, h;
    TBarStyle style;
    bool bidir;
    float value;
  };
  const Case cases[] = {
      {"vertical 40", 80, 200, bsBar, false, 40},
      {"vertical 95", 80, 200, bsBar, false, 95},
      {"horizontal 70", 220, 70, bsBar, false, 70},
      {"horizontal led 30", 220, 70, bsLED_Bar, false, 30},
      {"vertical bidir -50", 100, 200, bsBar, true, -50},
      {"horizontal bidir 60", 220, 70, bsBar, true, 60},
      // Too slim for a scale beside the bar: the bar alone.
      {"slim vertical 60", 40, 200, bsBar, false, 60},
      {"flat horizontal 25", 220, 26, bsBar, false, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto gauge = Make<TKvBarGauge>(c.w, c.h);
    gauge->BarSettings()->SetStyle(c.style);
    if (c.bidir) {
      gauge->BarSettings()->SetOptions(opBidir);
      gauge->SignalSettings()->SetValueFrom(-100);
    }
    gauge->SetValue(c.value);
    const QImage image = Painted(*gauge);
    const TRect r = gauge->BarRect();
    ASSERT_GT(r.Width(), 5);
    ASSERT_GT(r.Height(), 5);
    const bool horizontal = c.w > c.h;
    const double length = horizontal ? r.Width() : r.Height();
    const double from = c.bidir ? 0.5 : 0.0;
    const double to = (c.value - gauge->SignalSettings()->ValueFrom()) /
                      (gauge->SignalSettings()->ValueTo() - gauge->SignalSettings()->ValueFrom());
    // Lit pixels counted along the bar's middle line against the share the
    // value covers (LED segments light 3 of every 4 pixels).
    int lit = 0;
    int litOutside = 0;
    for (int i = 0; i < int(length); ++i) {
      const QPoint p = horizontal ? QPoint(r.Left + i, (r.Top + r.Bottom) / 2)
                                  : QPoint((r.Left + r.Right) / 2, r.Bottom - 1 - i);
      const double share = (i + 0.5) / length;
      const bool on = FromQRgb(image.pixel(p)) == clLime;
      const bool inside = share > std::min(from, to) && share < std::max(from, to);
      lit += on && inside;
      litOutside += on && !inside && std::fabs(share - to) > 0.02 && std::fabs(share - from) > 0.02;
    }
    const double expected = std::fabs(to - from) * length * (c.style == bsLED_Bar ? 0.75 : 1.0);
    EXPECT_NEAR(lit, expected, 4 + 0.02 * length);
    EXPECT_EQ(litOutside, 0);
    if (::testing::Test::HasFailure()) kv::test::savePng(image, QString("analog_bar_") + c.name);
  }
}

TEST(AnalogInstrumentLayers, RebuiltOnResizeAndSettingsChangesOnly) {
  auto meter = Make<TKvRoundMeter>(160, 160);
  struct Step {
    const char* name;
    std::function<void()> action;
    qreal ratio;
    bool rebuilds;
  };
  float v = 10;
  const Step steps[] = {
      {"first paint", [] {}, 1, true},
      {"repaint", [] {}, 1, false},
      {"value", [&] { meter->SetValue(v += 7); }, 1, false},
      {"another value", [&] { meter->SetValue(v += 7); }, 1, false},
      {"extremes", [&] { meter->ResetMinMax(); }, 1, false},
      {"limits", [&] { meter->SetLimitUpper(20); }, 1, false},
      {"resize", [&] { meter->SetBounds(0, 0, 180, 170); }, 1, true},
      {"move", [&] { meter->SetBounds(5, 5, 180, 170); }, 1, false},
      {"scale steps", [&] { meter->ScaleSettings()->SetSteps(4); }, 1, true},
      {"scale font", [&] { meter->ScaleSettings()->Font()->SetSize(11); }, 1, true},
      {"read-out format", [&] { meter->ValInd()->SetFormatStr("0.00"); }, 1, true},
      {"sector", [&] { meter->SectorSettings()->SetSector3From(800); }, 1, true},
      {"signal range", [&] { meter->SignalSettings()->SetValueTo(250); }, 1, true},
      {"bevel", [&] { meter->Bevel()->SetWidth(4); }, 1, true},
      {"pixel ratio 2", [] {}, 2, true},
      {"value at 2x", [&] { meter->SetValue(v += 7); }, 2, false},
      {"pixel ratio 1.5", [] {}, 1.5, true},
  };
  int64_t expected = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.action();
    Painted(*meter, s.ratio);
    expected += s.rebuilds;
    EXPECT_EQ(meter->LayerRebuilds(), expected);
  }
  EXPECT_EQ(meter->PaintCount(), int64_t(std::size(steps)));
}

TEST(AnalogInstrumentLayers, TheLayerIsMadeAtDeviceResolution) {
  auto meter = Make<TKvRoundMeter>(120, 100);
  for (qreal ratio : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(ratio);
    const QImage image = Painted(*meter, ratio);
    // The needle is as many device pixels wide as the ratio says: sharp,
    // not a 1x drawing scaled up.
    const TPoint c = meter->NeedleCentre();
    const int r = meter->TickRadius();
    const QPointF mid = OnNeedle(c, r, 0.6, -135 + 270 * 0.5);  // straight up
    int run = 0;
    const int y = int(mid.y() * ratio);
    for (int x = 0; x < image.width(); ++x) run += FromQRgb(image.pixel(x, y)) == clLime;
    EXPECT_GE(run, int(3 * ratio) - 1);
    EXPECT_LE(run, int(5 * ratio) + 1);
  }
}

// A layer that covers all of its size is kept opaque (copied, not blended)
// and lets its owner hide what lies beneath it, until it is made stale or
// asked for another size; one with a single uncovered pixel is neither.
TEST(AnalogInstrumentLayers, OnlyAFullyCoveredLayerCountsAsOpaque) {
  const QSize size(30, 20);
  for (const bool gap : {false, true}) {
    SCOPED_TRACE(gap ? "a pixel left uncovered" : "all covered");
    TKvLayerCache layers;
    QImage target(size, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    layers.Draw(painter, size, [&](TCanvas* canvas) {
      canvas->Brush()->SetColor(clNavy);
      canvas->FillRect(TRect(0, 0, size.width(), size.height()));
      if (gap) {
        QPainter* p = canvas->Painter();
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->fillRect(QRect(29, 19, 1, 1), Qt::transparent);
      }
    });
    painter.end();
    EXPECT_EQ(layers.Opaque(), !gap);
    EXPECT_EQ(layers.OpaqueFor(size), !gap);
    EXPECT_EQ(layers.Image().hasAlphaChannel(), gap);
    // The copy has the layer's pixels either way.
    EXPECT_EQ(FromQRgb(target.pixel(0, 0)), clNavy);
    EXPECT_EQ(FromQRgb(target.pixel(29, 19)), gap ? clWhite : clNavy);
    EXPECT_FALSE(layers.OpaqueFor(QSize(31, 20)));
    layers.Invalidate();
    EXPECT_FALSE(layers.OpaqueFor(size));
  }
  // A meter's filled bevel covers it: once painted, it hides its background.
  auto meter = Make<TKvRoundMeter>(120, 100);
  EXPECT_FALSE(meter->PaintsOpaque());
  Painted(*meter);
  EXPECT_TRUE(meter->PaintsOpaque());
  meter->ParamChange(meter->Bevel());
  EXPECT_FALSE(meter->PaintsOpaque());
}

TEST(AnalogInstrumentLayers, DegenerateAndHugeSizesPaintWithoutHarm) {
  // Too small for a scale, or too big to keep a layer for: painted anyway
  // (the huge one straight onto the surface, counted as a rebuild each time).
  struct Case {
    int w, h;
    int64_t rebuildsAfterTwoPaints;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{1, 1, 1}, Case{6, 300, 1}, Case{9000, 12, 2}}) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    auto meter = Make<TKvRoundMeter>(c.w, c.h);
    meter->SetValue(std::numeric_limits<float>::quiet_NaN());
    meter->SetValue(1e30f);
    if (c.w > 0) {
      Painted(*meter);
      Painted(*meter);
    }
    EXPECT_EQ(meter->LayerRebuilds(), c.rebuildsAfterTwoPaints);
  }
}

// --- Form descriptions ------------------------------------------------------------------

TEST(AnalogInstrumentForms, ARoundMeterWithSettingsSurvivesARoundTrip) {
  KvAnalogInstrumentsUnit().Require();
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName("Form1");
  auto* meter = new TKvRoundMeter(form.get());
  meter->SetName("Meter1");
  meter->SetSweepAngle(240);
  meter->SetStartAngle(-120);
  meter->ScaleSettings()->SetSteps(4);
  meter->ScaleSettings()->SetPointerColor(clRed);
  meter->ValInd()->SetFormatStr("0.00");
  meter->SectorSettings()->SetSector3From(800);
  meter->SignalSettings()->SetValueTo(250);
  meter->SignalSettings()->SetName1("Rail pressure");
  meter->Bevel()->SetWidth(3);
  auto* bar = new TKvBarGauge(form.get());
  bar->SetName("Bar1");
  bar->BarSettings()->SetStyle(bsLED_Bar);
  bar->BarSettings()->SetOptions(TBarOptions(opBidir) | opValue);
  const QString text = WriteComponentToText(form.get());
  for (const char* line :
       {"SweepAngle = 240", "ScaleSettings.Steps = 4", "ValInd.FormatStr = '0.00'",
        "SectorSettings.Sector3From = 800", "Bevel.Width = 3", "BarSettings.Style = bsLED_Bar"})
    EXPECT_TRUE(text.contains(line)) << line << "\n" << text.toStdString();

  TForm copy(nullptr);
  ReadComponentFromText(text, &copy, "ROUNDTRIP");
  auto* m = qobject_cast<TKvRoundMeter*>(copy.FindComponent("Meter1"));
  auto* b = qobject_cast<TKvBarGauge*>(copy.FindComponent("Bar1"));
  ASSERT_NE(m, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(m->SweepAngle(), 240);
  EXPECT_EQ(m->StartAngle(), -120);
  EXPECT_EQ(m->ScaleSettings()->Steps(), 4);
  EXPECT_EQ(m->ScaleSettings()->PointerColor(), clRed);
  EXPECT_EQ(m->ValInd()->FormatStr(), "0.00");
  EXPECT_EQ(m->SectorSettings()->Sector3From(), 800);
  EXPECT_EQ(m->SignalSettings()->ValueTo(), 250.0f);
  EXPECT_EQ(m->SignalSettings()->Name1(), "Rail pressure");
  EXPECT_EQ(m->Bevel()->Width(), 3);
  EXPECT_EQ(b->BarSettings()->Style(), bsLED_Bar);
  EXPECT_EQ(b->BarSettings()->Options(), TBarOptions(opBidir) | opValue);
  copy.SetName("Form1");
  EXPECT_EQ(WriteComponentToText(&copy), text);
}

// --- Gallery ----------------------------------------------------------------------------

TEST(AnalogInstrumentGallery, RendersEveryInstrument) {
  TApplication app;
  TForm form(nullptr);
  form.SetClientWidth(800);
  form.SetClientHeight(240);
  auto* meter = new TKvRoundMeter(&form);
  meter->SetBounds(10, 20, 200, 200);
  meter->SignalSettings()->SetValueUnit("bar");
  meter->Loaded();
  auto* dial = new TKvDial(&form);
  dial->SetBounds(220, 20, 140, 140);
  dial->SignalSettings()->SetValueTo(10);
  dial->Loaded();
  auto* knob = new TKvKnob(&form);
  knob->SetParent(&form);
  knob->SetBounds(370, 20, 130, 130);
  knob->Loaded();
  auto* vbar = new TKvBarGauge(&form);
  vbar->SetBounds(510, 10, 80, 220);
  vbar->BarSettings()->SetOptions(opUseSectorCol);
  vbar->Loaded();
  auto* hbar = new TKvBarGauge(&form);
  hbar->SetBounds(600, 20, 190, 70);
  hbar->BarSettings()->SetStyle(bsLED_Bar);
  hbar->Loaded();
  auto* bidir = new TKvBarGauge(&form);
  bidir->SetBounds(600, 100, 190, 70);
  bidir->BarSettings()->SetOptions(TBarOptions(opBidir) | opValue);
  bidir->SignalSettings()->SetValueFrom(-100);
  bidir->ScaleSettings()->SetSteps(4);
  bidir->Loaded();
  knob->SetValueIndicator(meter);
  knob->SetValue(72);
  meter->ResetMinMax();
  knob->SetValue(64);
  knob->SetValue(58);
  dial->SetValue(3.7f);
  vbar->SetValue(81);
  hbar->SetValue(45);
  bidir->SetValue(-35);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  const QImage shot = form.Widget()->grab().toImage();
  const QString path = kv::test::savePng(shot, "instruments_analog");
  EXPECT_FALSE(path.isEmpty());
  EXPECT_GT(meter->PaintCount(), 0);
  EXPECT_GT(knob->PaintCount(), 0);
}

}  // namespace

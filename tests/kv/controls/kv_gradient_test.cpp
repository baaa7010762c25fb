#include "kv/controls/kv_gradient.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "kv/proc/gradient_fill.h"
#include "platform/controls/form.h"
#include "platform/core/class_registry.h"
#include "platform/forms/form_reader.h"
#include "platform/forms/form_writer.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/colors.h"
#include "tests/support/test_support.h"

namespace {

TColor Grey(int level) {
  return RGBColor(level, level, level);
}

// Counts ParamChange calls (with their senders) and repaint requests.
class TProbeGradient : public TKvGradient {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TProbeGradient(TComponent* AOwner = nullptr) : TKvGradient(AOwner) {}
  std::vector<TObject*> senders;
  int invalidations = 0;
  void ParamChange(TObject* Sender) override {
    senders.push_back(Sender);
    TKvGradient::ParamChange(Sender);
  }
  void Invalidate() override {
    ++invalidations;
    TKvGradient::Invalidate();
  }
};

// What the control paints onto a surface of its size.
QImage Painted(TKvGradient& control) {
  QImage image(control.Width(), control.Height(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  control.PaintTo(painter);
  painter.end();
  return image;
}

TColor At(const QImage& image, int x, int y) {
  return FromQRgb(image.pixel(x, y));
}

TEST(KvGradient, NewControlIsFiftyPixelsSquareWithInitialSettings) {
  TProbeGradient control(nullptr);
  EXPECT_EQ(control.Width(), 50);
  EXPECT_EQ(control.Height(), 50);
  EXPECT_TRUE(control.Visible());
  ASSERT_NE(control.GradSettings(), nullptr);
  EXPECT_EQ(control.GradSettings()->ColorFrom(), Grey(226));
  EXPECT_EQ(control.GradSettings()->ColorTo(), Grey(143));
  EXPECT_FALSE(control.GradSettings()->Visible());
  EXPECT_EQ(control.GradSettings()->Style(), gsHorizontal1);
  // Created by a running program without loading: nobody listens yet.
  control.GradSettings()->SetColorTo(clRed);
  EXPECT_TRUE(control.senders.empty());
  EXPECT_EQ(control.invalidations, 0);
}

TEST(KvGradient, LoadedSubscribesAndRequestsTheFirstRepaint) {
  TProbeGradient control(nullptr);
  control.Loaded();
  ASSERT_EQ(control.senders.size(), 1u);
  EXPECT_EQ(control.senders[0], &control);  // EndUpdate -> Change -> ParamChange(this)
  EXPECT_EQ(control.invalidations, 1);
  EXPECT_EQ(control.UpdateCount(), 0);
}

TEST(KvGradient, EachSettingsChangeOfALoadedControlRequestsOneRepaint) {
  TProbeGradient control(nullptr);
  control.Loaded();
  control.senders.clear();
  control.invalidations = 0;
  control.GradSettings()->SetColorTo(clBlue);
  ASSERT_EQ(control.senders.size(), 1u);
  EXPECT_EQ(control.senders[0], control.GradSettings());
  EXPECT_EQ(control.invalidations, 1);
  control.GradSettings()->SetColorTo(clBlue);  // the same colour again
  EXPECT_EQ(control.invalidations, 1);
  // An open update bracket does not hold settings changes back.
  control.BeginUpdate();
  control.GradSettings()->SetStyle(gsRectangle);
  EXPECT_EQ(control.invalidations, 2);
  control.EndUpdate();
  EXPECT_EQ(control.invalidations, 3);
}

TEST(KvGradient, CopyingSettingsRequestsARepaintPerChangedPropertyAndOneMore) {
  TProbeGradient control(nullptr);
  control.Loaded();
  control.invalidations = 0;
  TKvGradSettings source;
  source.SetColorFrom(clWhite);
  source.SetVisible(true);
  source.SetStyle(gsTopLeft);
  control.GradSettings()->Assign(&source);
  EXPECT_EQ(control.invalidations, 4);
  control.GradSettings()->Assign(&source);
  EXPECT_EQ(control.invalidations, 5);
}

TEST(KvGradient, PaintsTheGradientAlthoughItsSettingsAreNotVisible) {
  TProbeGradient control(nullptr);
  control.SetBounds(0, 0, 30, 90);
  ASSERT_FALSE(control.GradSettings()->Visible());
  QImage image = Painted(control);
  // 90 rows, M = 83: h = 1, N = 90, step single(-83/90); the last row is
  // Trunc(226 + 89 * -0.92222) = Trunc(143.92) = 143.
  EXPECT_EQ(At(image, 0, 0), Grey(226));
  EXPECT_EQ(At(image, 29, 0), Grey(226));
  EXPECT_EQ(At(image, 0, 1), Grey(225));
  EXPECT_EQ(At(image, 29, 89), Grey(143));
  if (::testing::Test::HasFailure()) kv::test::savePng(image, "kv_gradient_paint");
}

// The control keeps what it drew; every change of size, colour or style
// must show at the next paint, subscribed or not, exactly as drawn afresh.
TEST(KvGradient, RepaintsShowEveryChangeOfSizeColourAndStyle) {
  TProbeGradient control(nullptr);
  TKvGradSettings* g = control.GradSettings();
  const std::vector<std::function<void()>> steps = {
      [] {},
      [&] { g->SetStyle(gsElliptic2); },
      [&] { control.SetBounds(0, 0, 61, 33); },
      [&] { g->SetColorFrom(clRed); },
      [&] { g->SetColorTo(clBtnFace); },
      [&] { g->SetStyle(gsDiamond1); },
      [&] { control.SetBounds(0, 0, 33, 61); },
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    steps[i]();
    QImage fresh(control.Width(), control.Height(), QImage::Format_RGB32);
    {
      TBitmap expected;
      expected.SetSize(control.Width(), control.Height());
      KvGradFill(expected.Canvas(), TRect(0, 0, control.Width(), control.Height()), g->ColorFrom(),
                 g->ColorTo(), g->Style());
      fresh = expected.ToImage();
    }
    for (int paint = 0; paint < 2; ++paint) {
      const QImage image = Painted(control);
      EXPECT_EQ(image, fresh) << "step " << i << ", paint " << paint;
      if (image != fresh) kv::test::savePng(image, "kv_gradient_cached");
    }
  }
}

TEST(KvGradient, AHiddenControlPaintsNothingUnlessDesigned) {
  TProbeGradient control(nullptr);
  control.SetVisible(false);
  QImage image = Painted(control);
  EXPECT_EQ(image.pixel(10, 10), QColor(Qt::magenta).rgb());

  auto form = std::make_unique<TForm>(nullptr);
  form->SetDesigning(true);
  auto* designed = new TProbeGradient(form.get());
  designed->SetVisible(false);
  image = Painted(*designed);
  EXPECT_EQ(At(image, 10, 0), Grey(226));
}

TEST(KvGradient, ADesignedControlListensFromTheStart) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetDesigning(true);
  auto* control = new TProbeGradient(form.get());
  // Loaded() ran in the constructor, before the probe's own overrides
  // existed; the subscription is to the virtual ParamChange, so changes
  // arrive at the probe now.
  control->GradSettings()->SetVisible(true);
  ASSERT_EQ(control->senders.size(), 1u);
  EXPECT_EQ(control->senders[0], control->GradSettings());
  EXPECT_EQ(control->invalidations, 1);
}

// --- On a form -------------------------------------------------------------------

const char kFormText[] =
    "object Form1: TForm\n"
    "  Left = 0\n"
    "  Top = 0\n"
    "  ClientWidth = 120\n"
    "  ClientHeight = 90\n"
    "  object KvGradient1: TKvGradient\n"
    "    Left = 0\n"
    "    Top = 0\n"
    "    Width = 120\n"
    "    Height = 90\n"
    "    Align = alClient\n"
    "    GradSettings.Visible = False\n"
    "    GradSettings.Style = gsHorizontal1\n"
    "  end\n"
    "end\n";

TEST(KvGradientOnAForm, TheUnitRegistersTheClassForFormDescriptions) {
  const int held = KvgradientUnit().Count();
  {
    TUnitsInitialization units;  // the unit is in the program's unit list
    EXPECT_EQ(KvgradientUnit().Count(), held + 1);
    EXPECT_NE(FindClass("TKvGradient"), nullptr);
  }
  EXPECT_EQ(KvgradientUnit().Count(), held);
}

TEST(KvGradientOnAForm, ReadFromADescriptionItPaintsTheFormBackground) {
  KvgradientUnit().Require();
  TForm form(nullptr);
  ReadComponentFromText(QString::fromLatin1(kFormText), &form, "GRADFORM");
  auto* gradient = qobject_cast<TKvGradient*>(form.FindComponent("KvGradient1"));
  ASSERT_NE(gradient, nullptr);
  EXPECT_EQ(gradient->Parent(), &form);
  EXPECT_EQ(gradient->Align(), alClient);
  EXPECT_EQ(gradient->Width(), form.ClientWidth());
  EXPECT_EQ(gradient->Height(), form.ClientHeight());

  QImage shot = form.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_GE(shot.height(), 90);
  EXPECT_EQ(FromQRgb(shot.pixel(5, 0)), Grey(226));
  EXPECT_EQ(FromQRgb(shot.pixel(115, 89)), Grey(143));
  if (::testing::Test::HasFailure()) kv::test::savePng(shot, "kv_gradient_form");

  gradient->GradSettings()->SetStyle(gsVertical1);
  shot = form.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(FromQRgb(shot.pixel(0, 80)), Grey(226));
  EXPECT_EQ(FromQRgb(shot.pixel(119, 5)), Grey(143));
}

TEST(KvGradientOnAForm, LoadingSubscribesOnceTheStoredSettingsAreIn) {
  RegisterComponentClass<TProbeGradient>();
  TForm form(nullptr);
  QString text = QString::fromLatin1(kFormText).replace("TKvGradient", "TProbeGradient");
  text.replace("    Align = alClient\n", "    Align = alClient\n    GradSettings.ColorTo = clRed\n");
  ReadComponentFromText(text, &form, "GRADFORM");
  auto* probe = qobject_cast<TProbeGradient*>(form.FindComponent("KvGradient1"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->GradSettings()->ColorTo(), clRed);
  // The stored settings were read while nothing listened; Loaded asked for
  // the first repaint with the control itself as sender.
  ASSERT_EQ(probe->senders.size(), 1u);
  EXPECT_EQ(probe->senders[0], probe);
  EXPECT_EQ(probe->invalidations, 1);
  probe->GradSettings()->SetColorTo(clBlue);
  EXPECT_EQ(probe->invalidations, 2);
  probe->GradSettings()->SetColorTo(clBlue);
  EXPECT_EQ(probe->invalidations, 2);
}

TEST(KvGradientOnAForm, WrittenDescriptionHoldsVisibleAndStyleButNotTheColours) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName("Form1");
  auto* gradient = new TKvGradient(form.get());
  gradient->SetName("KvGradient1");
  const QString text = WriteComponentToText(form.get());
  EXPECT_TRUE(text.contains("object KvGradient1: TKvGradient")) << text.toStdString();
  EXPECT_TRUE(text.contains("GradSettings.Visible = False")) << text.toStdString();
  EXPECT_TRUE(text.contains("GradSettings.Style = gsHorizontal1")) << text.toStdString();
  EXPECT_FALSE(text.contains("GradSettings.Color")) << text.toStdString();
  EXPECT_FALSE(text.contains("KvInfo")) << text.toStdString();
  EXPECT_TRUE(text.contains("Width = 50")) << text.toStdString();
  gradient->GradSettings()->SetColorTo(clRed);
  EXPECT_TRUE(WriteComponentToText(form.get()).contains("GradSettings.ColorTo = clRed"));
}

}  // namespace

#include "kv_gradient_test.moc"

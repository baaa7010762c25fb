// Windowless controls painted by their parent: creation order, clipping to
// their bounds, native children on top, repaint requests of their rectangle.

#include <QImage>

#include "platform/graphics/colors.h"
#include "tests/platform/controls/controls_fixture.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::ControlsTest;
using kv::test::Swatch;

QRgb Rgb(int r, int g, int b) {
  return qRgb(r, g, b);
}

class GreenBox : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(ClientRect());
  }
};

TEST_F(ControlsTest, WindowlessChildrenPaintInCreationOrderClippedToTheirBounds) {
  TForm form(nullptr);
  form.SetBorderStyle(bsSizeable);
  form.SetColor(clWhite);
  form.SetClientWidth(100);
  form.SetClientHeight(60);
  auto* red = new Swatch(&form, &form, Bounds(10, 10, 40, 30), clRed);
  auto* blue = new Swatch(&form, &form, Bounds(30, 20, 40, 30), clBlue);
  auto* hidden = new Swatch(&form, &form, Bounds(0, 0, 100, 60), clBlack);
  hidden->SetVisible(false);
  // A native child lies on top of the windowless ones.
  auto* green = new GreenBox(&form);
  green->SetBounds(0, 0, 15, 15);
  green->SetParent(&form);

  const QImage image = form.Widget()->grab().toImage();
  struct Probe {
    int x, y;
    QRgb expected;
  };
  const Probe probes[] = {
      {20, 15, Rgb(255, 0, 0)},      // red only
      {35, 25, Rgb(0, 0, 255)},      // overlap: the later control wins
      {65, 45, Rgb(0, 0, 255)},      // blue only
      {55, 15, Rgb(255, 255, 255)},  // right of red, above blue: red was clipped
      {15, 45, Rgb(255, 255, 255)},  // below red
      {9, 20, Rgb(255, 255, 255)},   // left of red
      {75, 30, Rgb(255, 255, 255)},  // right of blue
      {12, 12, Rgb(0, 255, 0)},      // the native child covers the red one
      {16, 16, Rgb(255, 0, 0)},
  };
  bool ok = true;
  for (const Probe& p : probes) {
    const QRgb got = image.pixel(p.x, p.y) & 0xFFFFFF;
    EXPECT_EQ(got, p.expected & 0xFFFFFF) << "at " << p.x << "," << p.y;
    ok = ok && got == (p.expected & 0xFFFFFF);
  }
  if (!ok) kv::test::savePng(image, QStringLiteral("controls_windowless_order"));
  EXPECT_GT(red->paints, 0);
  EXPECT_GT(blue->paints, 0);
  EXPECT_EQ(hidden->paints, 0);
  EXPECT_GT(green->paints, 0);
}

TEST_F(ControlsTest, MovingAndHidingAWindowlessControlRepaintsBoth) {
  TForm form(nullptr);
  form.SetColor(clWhite);
  form.SetClientWidth(80);
  form.SetClientHeight(40);
  auto* swatch = new Swatch(&form, &form, Bounds(0, 0, 20, 20), clRed);
  swatch->SetBounds(50, 10, 20, 20);
  QImage image = form.Widget()->grab().toImage();
  EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(image.pixel(55, 15) & 0xFFFFFF, 0xFF0000u);
  swatch->SetVisible(false);
  image = form.Widget()->grab().toImage();
  EXPECT_EQ(image.pixel(55, 15) & 0xFFFFFF, 0xFFFFFFu);
  // Freed: its place shows the parent again.
  swatch->SetVisible(true);
  delete swatch;
  image = form.Widget()->grab().toImage();
  EXPECT_EQ(image.pixel(55, 15) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ControlsTest, InvalidateRepaintsOnlyTheControlsRectangle) {
  TForm form(nullptr);
  form.SetClientWidth(200);
  form.SetClientHeight(100);
  auto* left = new Swatch(&form, &form, Bounds(0, 0, 50, 50), clRed);
  auto* right = new Swatch(&form, &form, Bounds(120, 40, 50, 50), clBlue);
  ASSERT_TRUE(ShowAndActivate(&form));
  QTRY_VERIFY(left->paints > 0 && right->paints > 0);
  QApplication::processEvents();
  const int leftBefore = left->paints;
  const int rightBefore = right->paints;
  left->Invalidate();
  left->Invalidate();  // pending requests merge into one repaint
  QTRY_COMPARE(left->paints, leftBefore + 1);
  QApplication::processEvents();
  EXPECT_EQ(left->paints, leftBefore + 1);
  EXPECT_EQ(right->paints, rightBefore);
  right->Repaint();  // at once
  EXPECT_EQ(right->paints, rightBefore + 1);
}

TEST_F(ControlsTest, AControlBetweenTwoDirtyRectanglesIsNotRepainted) {
  TForm form(nullptr);
  form.SetClientWidth(200);
  form.SetClientHeight(100);
  auto* left = new Swatch(&form, &form, Bounds(0, 0, 40, 40), clRed);
  // Inside the bounding rectangle of the two requests, outside both.
  auto* middle = new Swatch(&form, &form, Bounds(80, 30, 40, 40), clGreen);
  auto* right = new Swatch(&form, &form, Bounds(160, 60, 40, 40), clBlue);
  ASSERT_TRUE(ShowAndActivate(&form));
  QTRY_VERIFY(left->paints > 0 && middle->paints > 0 && right->paints > 0);
  QApplication::processEvents();
  const int leftBefore = left->paints;
  const int middleBefore = middle->paints;
  const int rightBefore = right->paints;
  left->Invalidate();
  right->Invalidate();
  QTRY_VERIFY(left->paints > leftBefore && right->paints > rightBefore);
  QApplication::processEvents();
  EXPECT_EQ(middle->paints, middleBefore);
}

// An opaque windowless control hides what lies beneath it: its repaint
// leaves the controls below it (and the form's background) alone; one that
// is not opaque has them painted first.
TEST_F(ControlsTest, AnOpaqueControlLeavesWhatLiesBeneathItUnpainted) {
  for (const bool opaque : {true, false}) {
    SCOPED_TRACE(opaque ? "opaque" : "not opaque");
    TForm form(nullptr);
    form.SetColor(clWhite);
    form.SetClientWidth(120);
    form.SetClientHeight(80);
    auto* below = new Swatch(&form, &form, Bounds(10, 10, 100, 60), clRed);
    auto* top = new Swatch(&form, &form, Bounds(20, 20, 40, 30), clBlue);
    if (opaque) top->SetControlStyle(top->ControlStyle() | csOpaque);
    ASSERT_TRUE(ShowAndActivate(&form));
    QTRY_VERIFY(below->paints > 0 && top->paints > 0);
    QApplication::processEvents();
    const int belowBefore = below->paints;
    const int topBefore = top->paints;
    top->Invalidate();
    QTRY_COMPARE(top->paints, topBefore + 1);
    QApplication::processEvents();
    EXPECT_EQ(below->paints, belowBefore + (opaque ? 0 : 1));
    const QImage image = form.Widget()->grab().toImage();
    EXPECT_EQ(image.pixel(30, 30), Rgb(0, 0, 255));
    EXPECT_EQ(image.pixel(15, 15), Rgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 5), Rgb(255, 255, 255));
  }
}

TEST_F(ControlsTest, CustomControlPaintsThroughItsCanvas) {
  TForm form(nullptr);
  form.SetColor(clWhite);
  form.SetClientWidth(40);
  form.SetClientHeight(40);
  auto* box = new GreenBox(&form);
  box->SetBounds(10, 10, 20, 20);
  box->SetParent(&form);
  // A windowless child of the custom control paints over the control's own painting.
  new Swatch(&form, box, Bounds(5, 5, 5, 5), clRed);
  const QImage image = form.Widget()->grab().toImage();
  EXPECT_EQ(image.pixel(12, 12) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(image.pixel(16, 16) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(image.pixel(21, 21) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(image.pixel(30, 30) & 0xFFFFFF, 0xFFFFFFu);
  // Outside the paint event the canvas draws on nothing.
  EXPECT_FALSE(box->Canvas()->HandleAllocated());
}

TEST_F(ControlsTest, AnExceptionInPaintIsReportedAndTheOthersStillPaint) {
  class Broken : public TGraphicControl {
   public:
    using TGraphicControl::TGraphicControl;

   protected:
    void Paint() override { throw EInvalidGraphic(QStringLiteral("cannot paint")); }
  };
  TForm form(nullptr);
  form.SetColor(clWhite);
  form.SetClientWidth(40);
  form.SetClientHeight(20);
  auto* broken = new Broken(&form);
  broken->SetBounds(0, 0, 20, 20);
  broken->SetParent(&form);
  new Swatch(&form, &form, Bounds(20, 0, 20, 20), clRed);
  const QImage image = form.Widget()->grab().toImage();
  EXPECT_EQ(image.pixel(30, 10) & 0xFFFFFF, 0xFF0000u);
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.front().text, QStringLiteral("cannot paint"));
}

}  // namespace

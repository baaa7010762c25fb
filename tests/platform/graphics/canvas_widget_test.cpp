#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>
#include <QWidget>
#include <functional>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"

namespace {

// A child widget that paints through a canvas attached to its paint event's
// painter, as controls do, and records what it reads back.
class CanvasWidget : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(TCanvas*)> paint;
  int painted = 0;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter);
    if (paint) paint(&canvas);
    canvas.Detach();
    ++painted;
  }
};

// Reading back works on a widget's surface too (the window's backing store),
// also for a child placed away from the window's corner: what a control
// drew is what it reads and copies.
TEST(CanvasOnWidgets, ControlsReadBackWhatTheyDrew) {
  QWidget window;
  window.resize(200, 150);
  auto* child = new CanvasWidget(&window);
  child->setGeometry(30, 20, 100, 80);
  TColor read = clInvalid;
  TColor outside = clNone;
  TBitmap copy;
  child->paint = [&](TCanvas* c) {
    c->Brush()->SetColor(clYellow);
    c->FillRect(TRect(0, 0, 100, 80));
    c->SetPixels(5, 6, clRed);
    read = c->Pixels(5, 6);
    outside = c->Pixels(4, 6);
    copy.SetSize(10, 10);
    copy.Canvas()->CopyRect(TRect(0, 0, 10, 10), c, TRect(0, 0, 10, 10));
  };
  window.show();
  const QImage grabbed = window.grab().toImage();
  ASSERT_GT(child->painted, 0);
  EXPECT_EQ(read, clRed);
  EXPECT_EQ(outside, clYellow);
  EXPECT_EQ(copy.Pixel(5, 6), clRed);
  EXPECT_EQ(copy.Pixel(0, 0), clYellow);
  EXPECT_EQ(FromQRgb(grabbed.pixel(35, 26)), clRed);
  // The same through the window's own repaint into its backing store.
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  read = outside = clInvalid;
  copy.SetSize(0, 0);
  const int before = child->painted;
  child->repaint();
  ASSERT_GT(child->painted, before);
  EXPECT_EQ(read, clRed);
  EXPECT_EQ(outside, clYellow);
  EXPECT_EQ(copy.Pixel(5, 6), clRed);
}

}  // namespace

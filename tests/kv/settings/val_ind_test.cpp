#include "kv/settings/val_ind.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include "kv/proc/text_output.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::kBackground;
using kv::test::MakeSurface;

constexpr TColor kSunkenTop = RGBColor(115, 115, 115);

// Text width and height of the read-out's format string in its own font.
QSize MeasureFormat(TKvValInd& readout) {
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.Canvas()->SetFont(readout.Font());
  return QSize(scratch.Canvas()->TextWidth(readout.FormatStr()),
               scratch.Canvas()->TextHeight(readout.FormatStr()));
}

// The box of every position, from the layout rule: the named point of the
// box lies one pixel right of the reference point.
TEST(ValInd, BoxLiesOnTheReferencePointByItsNamedCorner) {
  const TPoint point(100, 60);
  for (int p = 0; p < 9; ++p) {
    SCOPED_TRACE(p);
    TKvValInd readout;
    const QSize text = MeasureFormat(readout);
    const int margin = text.height() / 7;
    const int W = text.width() + 4 + 2 * margin;
    const int H = text.height() + 4;
    const int x0 = point.X + 1;
    const int x = p % 3 == 0 ? x0 : p % 3 == 1 ? x0 - W / 2 : x0 - W;
    const int y = p / 3 == 0 ? point.Y : p / 3 == 1 ? point.Y - H / 2 : point.Y - H;

    auto surface = MakeSurface(220, 130);
    readout.Draw(surface->Canvas(), point, toPos(p));
    EXPECT_EQ(readout.TextMargin(), margin);
    EXPECT_EQ(readout.ValueRect(), TRect(x + 2, y + 2, x + W - 2, y + H - 2));
    // Sunken frame: dark top-left, white bottom-right, nothing outside.
    EXPECT_EQ(surface->Pixel(x, y), kSunkenTop);
    EXPECT_EQ(surface->Pixel(x + W - 1, y + H - 1), clWhite);
    EXPECT_EQ(surface->Pixel(x - 1, y), kBackground);
    EXPECT_EQ(surface->Pixel(x + W, y + H - 1), kBackground);
    EXPECT_EQ(surface->Pixel(x, y + H), kBackground);
    kv::test::SaveIfFailed(*surface, QStringLiteral("val_ind_box_%1").arg(p));
  }
}

// Spacing margins widen the box and then narrow the value area by the same
// amounts; negative ones reach beyond the frame's inside edge.
TEST(ValInd, SpacingMarginsShapeTheValueArea) {
  const struct { int left, top, right, bottom; } cases[] = {{0, 0, 0, 0}, {3, 1, 2, 4}, {-3, -2, -1, -4}};
  for (const auto& c : cases) {
    TKvValInd readout;
    readout.TxtSpacing()->Write(c.top, c.left, c.right, c.bottom);
    const QSize text = MeasureFormat(readout);
    const int W = text.width() + 4 + 2 * (text.height() / 7) + c.left + c.right;
    const int H = text.height() + 4 + c.top + c.bottom;
    auto surface = MakeSurface(200, 100);
    readout.Draw(surface->Canvas(), TPoint(9, 10), toTopLeft);
    EXPECT_EQ(readout.ValueRect(),
              TRect(10 + 2 + c.left, 10 + 2 + c.top, 10 + W - 2 - c.right, 10 + H - 2 - c.bottom))
        << c.left << "," << c.top;
  }
}

// A value wider than the format string is right-aligned and cut at the value
// area's left edge: nothing of it reaches the frame or beyond.
TEST(ValInd, WideValueIsClippedAtTheValueAreaLeftEdge) {
  TKvValInd readout;
  readout.SetFormatStr(QStringLiteral("0.0"));
  auto surface = MakeSurface(200, 80);
  readout.Draw(surface->Canvas(), TPoint(40, 20), toTopLeft);
  readout.DrawValue(surface->Canvas(), 123456.7);
  const QRect area = readout.ValueRect().toQRect();
  int inside = 0, outside = 0;
  for (int y = 0; y < surface->Height(); ++y)
    for (int x = 0; x < surface->Width(); ++x)
      (area.contains(x, y) ? inside : outside) += surface->Pixel(x, y) == clLime;
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
  // The value's text is cut: its leftmost column of the area holds ink.
  bool inkAtLeftEdge = false;
  for (int y = area.top(); y <= area.bottom(); ++y) inkAtLeftEdge |= surface->Pixel(area.left(), y) == clLime;
  EXPECT_TRUE(inkAtLeftEdge);
  kv::test::SaveIfFailed(*surface, QStringLiteral("val_ind_clipped"));
}

// The caption is drawn at the anchor the table gives for its position, plus
// its offsets, with the alignment that turns it away from the box.
TEST(ValInd, CaptionLandsAtItsAnchorPlusOffsets) {
  const struct {
    toPos pos;
    int anchorColumn;  // 0 box left (-1 for the middle row), 1 centre, 2 box right
    int anchorRow;     // 0 box top, 1 centre, 2 box bottom
    toPos alignment;
  } cases[] = {
      {toTopLeft, 0, 0, toBotLeft},  {toTopCenter, 1, 0, toBotCenter}, {toTopRight, 2, 0, toBotRight},
      {toMidLeft, 0, 1, toMidRight}, {toMidCenter, 1, 1, toMidCenter}, {toMidRight, 2, 1, toMidLeft},
      {toBotLeft, 0, 2, toTopLeft},  {toBotCenter, 1, 2, toTopCenter}, {toBotRight, 2, 2, toTopRight},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.pos));
    TKvValInd readout;
    readout.Caption()->SetText(QStringLiteral("Oil"));
    readout.Caption()->Font()->SetColor(clRed);
    readout.Caption()->SetPos(c.pos);
    readout.Caption()->SetOffsetX(3);
    readout.Caption()->SetOffsetY(-2);
    auto actual = MakeSurface(240, 140);
    readout.Draw(actual->Canvas(), TPoint(110, 70), toMidCenter);

    // The same read-out without caption, and the caption drawn by hand.
    readout.Caption()->SetVisible(false);
    auto expected = MakeSurface(240, 140);
    readout.Draw(expected->Canvas(), TPoint(110, 70), toMidCenter);
    const TRect box(readout.ValueRect().Left - 2, readout.ValueRect().Top - 2, readout.ValueRect().Right + 2,
                    readout.ValueRect().Bottom + 2);
    const int ax = c.anchorColumn == 0   ? box.Left - (c.anchorRow == 1 ? 1 : 0)
                   : c.anchorColumn == 1 ? box.Left + box.Width() / 2
                                         : box.Right;
    const int ay = c.anchorRow == 0 ? box.Top : c.anchorRow == 1 ? box.Top + box.Height() / 2 : box.Bottom;
    TCanvas* canvas = expected->Canvas();
    canvas->SetFont(readout.Caption()->Font());
    canvas->Brush()->SetStyle(bsClear);
    KvTextOut(canvas, ax + 3, ay - 2, QStringLiteral("Oil"), c.alignment);
    // The caption goes under the box where they overlap: redraw the box.
    readout.Draw(canvas, TPoint(110, 70), toMidCenter);
    EXPECT_TRUE(
        kv::test::SameImage(*actual, *expected, QStringLiteral("val_ind_caption_%1").arg(int(c.pos))));
  }
}

// A hidden read-out paints nothing and keeps its layout.
TEST(ValInd, HiddenReadoutPaintsNothing) {
  TKvValInd readout;
  auto surface = MakeSurface(120, 60);
  const QImage blank = surface->Image().copy();
  readout.DrawValue(surface->Canvas(), 5.0);  // before any Draw: no value area
  EXPECT_EQ(surface->Image(), blank);

  readout.Draw(surface->Canvas(), TPoint(10, 10), toTopLeft);
  const TRect laidOut = readout.ValueRect();
  const QImage drawn = surface->Image().copy();

  readout.SetVisible(false);
  readout.Draw(surface->Canvas(), TPoint(50, 30), toMidCenter);
  readout.DrawValue(surface->Canvas(), 42.0);
  EXPECT_EQ(surface->Image(), drawn);
  EXPECT_EQ(readout.ValueRect(), laidOut);
}

// A read-out on a window: laid out once, then only its value repainted. What
// the window holds after every paint is the complete picture of the value
// just set, never an empty or partly drawn value area.
class ReadoutWidget : public QWidget {
 public:
  TKvValInd readout;
  double value = 0.0;
  bool laidOut = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter);
    if (!laidOut) {
      canvas.Brush()->SetColor(kBackground);
      canvas.FillRect(TRect(0, 0, width(), height()));
      readout.Draw(&canvas, TPoint(4, 4), toTopLeft);
      laidOut = true;
    }
    readout.DrawValue(&canvas, value);
    canvas.Detach();
  }
};

TEST(ValInd, RepaintedValueIsNeverSeenHalfDrawn) {
  ReadoutWidget widget;
  widget.setAttribute(Qt::WA_OpaquePaintEvent);
  widget.readout.SetFormatStr(QStringLiteral("##0.00"));
  widget.resize(110, 40);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  QScreen* screen = widget.screen();

  // Each reference picture comes from a fresh read-out painted once on a
  // bitmap, so nothing left over from earlier values can hide in both.
  int mismatches = 0;
  for (int i = 0; i < 1000; ++i) {
    widget.value = (i * 37 % 1000) / 7.0;
    widget.repaint();
    const QImage shown = screen->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    TKvValInd fresh;
    fresh.SetFormatStr(widget.readout.FormatStr());
    auto reference = MakeSurface(110, 40);
    fresh.Draw(reference->Canvas(), TPoint(4, 4), toTopLeft);
    fresh.DrawValue(reference->Canvas(), widget.value);
    if (shown.copy(0, 0, 110, 40) != reference->Image()) {
      if (++mismatches == 1) kv::test::savePng(shown, QStringLiteral("val_ind_frame_%1").arg(i));
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace

#include <QFontInfo>
#include <QSet>

#include "tests/platform/graphics/pixel_test.h"

namespace {

class CanvasText : public PixelTest {
 protected:
  void SetUp() override {
    Reset(160, 120);
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-16);
    canvas->Font()->SetColor(clBlack);
  }
  // Bounding box of the pixels of one colour.
  QRect BoxOf(TColor color) {
    QRect box;
    for (const QPoint p : PixelsOf(color)) box |= QRect(p, QSize(1, 1));
    return box;
  }
};

TEST_F(CanvasText, ExtentIsAdvanceWidthAndCellHeight) {
  const QSize one = canvas->TextExtent("W");
  const QSize two = canvas->TextExtent("WW");
  EXPECT_EQ(two.width(), 2 * one.width());
  EXPECT_EQ(two.height(), one.height());
  EXPECT_GE(one.height(), 16);  // character height plus the internal leading
  EXPECT_LE(one.height(), 21);
  EXPECT_EQ(canvas->TextWidth(""), 0);
  EXPECT_EQ(canvas->TextHeight("x"), one.height());
  canvas->Font()->SetHeight(-32);
  EXPECT_GT(canvas->TextWidth("WW"), two.width() * 3 / 2);  // the cache follows the font
}

// Numbers are measured from their characters' advances where the font sets
// them side by side; the width must be the shaped one whatever the font,
// size, style and kerned pairs (Liberation Sans kerns "11" at some sizes).
TEST_F(CanvasText, NumberWidthsAreTheShapedWidths) {
  const struct {
    const char* name;
    int height;
    bool bold, italic;
  } fonts[] = {{"Arial", -16, false, false},          {"Arial", -11, true, false},
               {"Arial", -37, false, true},           {"DejaVu Sans", -13, false, false},
               {"Liberation Serif", -21, true, true}, {"Liberation Mono", -12, false, false},
               {"MS Sans Serif", -8, false, false}};
  const QString chars = QStringLiteral("0123456789+-.,: eE%");
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (const auto& f : fonts) {
    canvas->Font()->SetName(f.name);
    canvas->Font()->SetHeight(f.height);
    TFontStyles style;
    if (f.bold) style |= fsBold;
    if (f.italic) style |= fsItalic;
    canvas->Font()->SetStyle(style);
    QFont font = canvas->Font()->ToQFont();
    const QFontMetrics shaped(font);
    QStringList texts = {
        "1", "11", "111.1", "-0.5", "1E+10", "12:30", "99 %", "7,41", "1" + QString(40, '1')};
    for (int i = 0; i < 300; ++i) {
      QString t;
      for (int k = int(next() % 12) + 1; k > 0; --k) t += chars[int(next() % uint32_t(chars.size()))];
      texts << t;
    }
    for (const QString& t : texts)
      ASSERT_EQ(canvas->TextWidth(t), shaped.horizontalAdvance(t))
          << f.name << " " << f.height << " '" << t.toStdString() << "'";
  }
}

TEST_F(CanvasText, SolidBrushFillsTheTextCellAtTheAlignedPosition) {
  struct Case {
    int align;
    int dx;  // cell left relative to X, in units of -w, -w/2
    int dy;  // 0 = top, 1 = bottom, 2 = baseline
  };
  const QString text = "Hg 42";
  const QSize size = canvas->TextExtent(text);
  const int w = size.width(), h = size.height();
  const int ascent = QFontMetrics(canvas->Font()->ToQFont()).ascent();
  canvas->Brush()->SetColor(clYellow);
  const Case cases[] = {{TA_LEFT | TA_TOP, 0, 0},
                        {TA_CENTER | TA_TOP, -w / 2, 0},
                        {TA_RIGHT | TA_TOP, -w, 0},
                        {TA_LEFT | TA_BOTTOM, 0, -h},
                        {TA_CENTER | TA_BOTTOM, -w / 2, -h},
                        {TA_RIGHT | TA_BASELINE, -w, -ascent}};
  int previous = TA_LEFT | TA_TOP;
  for (const Case& c : cases) {
    Reset(160, 120);
    canvas->Brush()->SetColor(clYellow);
    EXPECT_EQ(canvas->SetTextAlign(c.align), previous);
    previous = c.align;
    EXPECT_EQ(canvas->GetTextAlign(), c.align);
    canvas->TextOut(80, 60, text);
    const QRect cell = Painted();
    EXPECT_EQ(cell, QRect(80 + c.dx, 60 + c.dy, w, h)) << "align " << c.align;
    EXPECT_GT(Count(clBlack), 20);
    // Without antialiasing only the two colours appear.
    EXPECT_EQ(Count(clBlack) + Count(clYellow), w * h);
  }
}

TEST_F(CanvasText, ClearBrushLeavesTheBackgroundAndTextStaysInItsCell) {
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->SetColor(clRed);
  canvas->TextOut(10, 20, "Hello");
  const QSize size = canvas->TextExtent("Hello");
  const QRect ink = BoxOf(clRed);
  EXPECT_TRUE(QRect(10, 20, size.width(), size.height()).contains(ink)) << ink.x() << "," << ink.y();
  EXPECT_EQ(Count(clRed) + Count(clWhite), 160 * 120);
  EXPECT_LE(ink.left(), 12);
  EXPECT_EQ(canvas->PenPos(), TPoint(10 + size.width(), 20));
}

TEST_F(CanvasText, FontColourFollowsTheSystemPalette) {
  canvas->Font()->SetColor(clWindowText);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(5, 5, "Text");
  EXPECT_GT(Count(ColorToRGB(clWindowText)), 10);
}

TEST_F(CanvasText, EscapementRotatesTheBaseLineCounterClockwise) {
  canvas->Brush()->SetStyle(bsClear);
  const QString text = "Rotated text";
  const QSize size = canvas->TextExtent(text);
  TLogFont lf = canvas->Font()->GetLogFont();
  lf.lfEscapement = 900;  // 90 degrees: the text runs upwards
  const TLogFont previous = canvas->SelectFont(lf);
  EXPECT_EQ(previous, canvas->Font()->GetLogFont());
  EXPECT_EQ(canvas->SelectedFont().lfEscapement, 900);
  canvas->TextOut(60, 110, text);
  QRect ink = BoxOf(clBlack);
  EXPECT_TRUE(QRect(60, 110 - size.width(), size.height(), size.width()).contains(ink))
      << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
  EXPECT_GT(ink.height(), size.width() * 3 / 4);
  // Select the font back: horizontal again.
  canvas->SelectFont(previous);
  Reset(160, 120);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(10, 10, text);
  ink = BoxOf(clBlack);
  EXPECT_GT(ink.width(), ink.height() * 3);
  // -90 degrees runs downwards from the anchor.
  Reset(160, 120);
  canvas->Brush()->SetStyle(bsClear);
  lf.lfEscapement = -900;
  canvas->SelectFont(lf);
  canvas->TextOut(100, 5, text);
  ink = BoxOf(clBlack);
  EXPECT_TRUE(QRect(100 - size.height(), 5, size.height(), size.width()).contains(ink))
      << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
}

TEST_F(CanvasText, ChangingTheFontEndsASelection) {
  TLogFont lf = canvas->Font()->GetLogFont();
  lf.lfHeight = -40;
  canvas->SelectFont(lf);
  EXPECT_GT(canvas->TextHeight("X"), 40);
  canvas->Font()->SetColor(clBlue);
  EXPECT_EQ(canvas->SelectedFont(), canvas->Font()->GetLogFont());
  EXPECT_LT(canvas->TextHeight("X"), 25);
}

TEST_F(CanvasText, XorTextDrawnTwiceLeavesNoTrace) {
  canvas->Brush()->SetColor(clAqua);
  canvas->Rectangle(0, 0, 160, 120);
  const QImage before = bitmap.Image().copy();
  TBitmap label;
  label.SetSize(80, 20);
  label.Canvas()->Brush()->SetColor(clBlack);
  label.Canvas()->FillRect(TRect(0, 0, 80, 20));
  label.Canvas()->Font()->SetColor(clWhite);
  label.Canvas()->TextOut(2, 2, "Xor me");
  canvas->SetCopyMode(cmSrcInvert);
  canvas->Draw(30, 30, &label);
  EXPECT_NE(bitmap.Image(), before);
  canvas->Draw(30, 30, &label);
  EXPECT_EQ(bitmap.Image(), before);
}

}  // namespace

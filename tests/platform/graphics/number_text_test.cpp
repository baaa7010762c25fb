#include "platform/graphics/number_text.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/graphics/font.h"

namespace {

// Draws `text` with `font` at `origin` on a fresh image, shaped by Qt or
// from the glyphs; returns a null image when the glyph route declined.
QImage Drawn(const QFont& font, const QString& text, qreal ratio, const QPointF& origin, bool glyphs) {
  QImage image(QSize(int(220 * ratio), int(60 * ratio)), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::darkBlue);
  if (glyphs) {
    TNumberText numbers(font);
    if (!numbers.Draw(p, origin, text)) return {};
  } else {
    p.setFont(font);
    p.drawText(origin, text);
  }
  return image;
}

// Numbers drawn from their glyphs have the pixels shaped text has, for the
// canvas's fonts (no antialiasing, full hinting) and plain Qt fonts alike,
// at every pixel ratio and fractional origin.
TEST(NumberText, GlyphsLandWhereShapingPutsThem) {
  std::vector<QFont> fonts;
  for (const auto& [name, height, style] :
       {std::tuple{"Arial", -13, TFontStyles()}, std::tuple{"Arial", -27, TFontStyles(fsBold)},
        std::tuple{"Courier New", -12, TFontStyles(fsItalic)},
        std::tuple{"Times New Roman", -17, TFontStyles()}}) {
    TFont f;
    f.SetName(name);
    f.SetHeight(height);
    f.SetStyle(style);
    fonts.push_back(f.ToQFont());
  }
  for (const char* family : {"DejaVu Sans", "Liberation Sans"}) {
    QFont plain(QString::fromLatin1(family));
    plain.setPixelSize(15);
    fonts.push_back(plain);
  }
  const QStringList texts = {"0",       "1234.5", "-0.07", "99,9 %",    "12:30:05",
                             "1.5E+10", "+3e-7",  "7 7",   "0123456789"};
  for (const QFont& font : fonts)
    for (qreal ratio : {1.0, 1.5, 2.0})
      for (const QPointF origin : {QPointF(10, 40), QPointF(10.5, 39.25), QPointF(11.75, 40.5)})
        for (const QString& text : texts) {
          SCOPED_TRACE(font.toString().toStdString() + " ratio " + std::to_string(ratio) + " '" +
                       text.toStdString() + "'");
          const QImage glyphs = Drawn(font, text, ratio, origin, true);
          ASSERT_FALSE(glyphs.isNull());
          EXPECT_TRUE(glyphs == Drawn(font, text, ratio, origin, false));
        }
}

// What the glyph route cannot draw as shaping would is left to shaping.
TEST(NumberText, DeclinesWhatOnlyShapingLaysOut) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(14);
  QFont underlined = font;
  underlined.setUnderline(true);
  QFont spaced = font;
  spaced.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  struct Case {
    QFont font;
    QString text;
  };
  for (const Case& c : {Case{font, ""}, Case{font, "12 V"}, Case{font, "x1"}, Case{font, QString(65, '1')},
                        Case{underlined, "12"}, Case{spaced, "12"}}) {
    SCOPED_TRACE(c.text.toStdString());
    QImage blank(50, 20, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QImage image = blank.copy();
    QPainter p(&image);
    TNumberText numbers(c.font);
    EXPECT_FALSE(numbers.Draw(p, QPointF(2, 15), c.text));
    p.end();
    EXPECT_TRUE(image == blank);
  }
  TNumberText numbers(font);
  EXPECT_FALSE(numbers.Width(QStringLiteral("1 V")));
  EXPECT_EQ(numbers.Width(QStringLiteral("10")), QFontMetricsF(font).horizontalAdvance(QStringLiteral("10")));
}

}  // namespace

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QPalette>

#include "platform/graphics/brush.h"
#include "platform/graphics/colors.h"
#include "platform/graphics/font.h"
#include "platform/graphics/pen.h"

namespace {

// Counts OnChange calls and remembers the sender.
struct ChangeCounter {
  int count = 0;
  TObject* sender = nullptr;
  TNotifyEvent Event() {
    return [this](TObject* s) {
      ++count;
      sender = s;
    };
  }
};

TEST(GraphicsObjects, SettersReportRealChangesOnly) {
  TPen pen;
  ChangeCounter seen;
  pen.SetOnChange(seen.Event());
  pen.SetColor(clBlack);  // the default: no change
  pen.SetWidth(1);
  pen.SetMode(pmCopy);
  pen.SetStyle(psSolid);
  EXPECT_EQ(seen.count, 0);
  pen.SetColor(clRed);
  pen.SetWidth(3);
  pen.SetMode(pmXor);
  pen.SetStyle(psDot);
  EXPECT_EQ(seen.count, 4);
  EXPECT_EQ(seen.sender, &pen);
  pen.SetWidth(-2);
  EXPECT_EQ(pen.Width(), 0);
}

TEST(GraphicsObjects, GivingAClearBrushAColourMakesItSolid) {
  TBrush brush;
  EXPECT_EQ(brush.Color(), clWhite);
  EXPECT_EQ(brush.Style(), bsSolid);
  ChangeCounter seen;
  brush.SetOnChange(seen.Event());
  brush.SetStyle(bsClear);
  brush.SetColor(clWhite);  // same colour, still turns solid
  EXPECT_EQ(brush.Style(), bsSolid);
  EXPECT_EQ(seen.count, 2);
  brush.SetColor(clWhite);
  EXPECT_EQ(seen.count, 2);
  brush.SetStyle(bsCross);
  brush.SetColor(clRed);  // other styles stay
  EXPECT_EQ(brush.Style(), bsCross);
}

TEST(GraphicsObjects, FontDefaultsAndSizeInPointsAt96Dpi) {
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(font.Pitch(), fpDefault);
  EXPECT_EQ(font.Style(), TFontStyles());
  font.SetSize(10);
  EXPECT_EQ(font.Height(), -13);
  font.SetSize(12);
  EXPECT_EQ(font.Height(), -16);
  font.SetHeight(-20);
  EXPECT_EQ(font.Size(), 15);
  font.SetHeight(-14);
  EXPECT_EQ(font.Size(), 11);  // 10.5 rounds away from zero
}

TEST(GraphicsObjects, LogicalDescriptionRoundTripsWithEscapement) {
  TFont font;
  ChangeCounter seen;
  font.SetOnChange(seen.Event());
  TLogFont lf = font.GetLogFont();
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_EQ(lf.lfFaceName, "MS Sans Serif");
  lf.lfEscapement = -123;
  lf.lfOrientation = 450;
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = 1;
  lf.lfCharSet = EASTEUROPE_CHARSET;
  lf.lfPitchAndFamily = FIXED_PITCH;
  lf.lfFaceName = "Arial";
  font.SetLogFont(lf);
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(font.GetLogFont(), lf);
  EXPECT_EQ(font.Style(), fsBold | fsItalic);
  EXPECT_EQ(font.Charset(), EASTEUROPE_CHARSET);
  EXPECT_EQ(font.Pitch(), fpFixed);
  font.SetStyle(fsUnderline);
  EXPECT_EQ(font.GetLogFont().lfWeight, FW_NORMAL);
  EXPECT_EQ(font.GetLogFont().lfUnderline, 1);
}

TEST(GraphicsObjects, AssignCopiesBetweenObjectsOfOneClassOnly) {
  TFont a, b;
  a.SetName("Arial");
  a.SetStyle(fsBold);
  a.SetColor(clRed);
  ChangeCounter seen;
  b.SetOnChange(seen.Event());
  b.Assign(&a);
  EXPECT_EQ(b.Name(), "Arial");
  EXPECT_EQ(b.Style(), fsBold);
  EXPECT_EQ(b.Color(), clRed);
  EXPECT_EQ(seen.count, 1);
  TPen pen;
  pen.SetColor(clBlue);
  TPen pen2;
  pen2.Assign(&pen);
  EXPECT_EQ(pen2.Color(), clBlue);
  TBrush brush;
  try {
    b.Assign(&pen);
    FAIL() << "assigning a pen to a font must fail";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TPen to a TFont");
  }
  EXPECT_THROW(brush.Assign(&a), EConvertError);
  EXPECT_THROW(pen.Assign(nullptr), EConvertError);
}

TEST(GraphicsObjects, FontsResolveToSubstitutesWithoutAntialiasing) {
  TFont font;
  QFont q = font.ToQFont();
  EXPECT_EQ(QFontInfo(q).family(), "Liberation Sans");
  EXPECT_EQ(q.pixelSize(), 11);
  EXPECT_EQ(q.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
  font.SetName("Arial Black");
  q = font.ToQFont();
  EXPECT_EQ(QFontInfo(q).family(), "Liberation Sans");
  EXPECT_GE(q.weight(), QFont::Black);
  font.SetName("Arial");
  font.SetStyle(fsBold | fsItalic | fsStrikeOut);
  q = font.ToQFont();
  EXPECT_EQ(q.weight(), QFont::Bold);
  EXPECT_TRUE(q.italic());
  EXPECT_TRUE(q.strikeOut());
  // A positive height is the cell height.
  font.SetHeight(20);
  EXPECT_NEAR(QFontMetrics(font.ToQFont()).height(), 20, 1);
}

TEST(GraphicsObjects, EnumerationsStreamByName) {
  const QMetaObject& mo = TPen::staticMetaObject;
  const QMetaProperty mode = mo.property(mo.indexOfProperty("Mode"));
  ASSERT_TRUE(mode.isEnumType());
  EXPECT_STREQ(mode.enumerator().valueToKey(pmXor), "pmXor");
  const QMetaProperty style =
      TFont::staticMetaObject.property(TFont::staticMetaObject.indexOfProperty("Style"));
  ASSERT_TRUE(style.isFlagType());
  EXPECT_EQ(style.enumerator().valueToKeys(fsBold | fsUnderline), "fsBold|fsUnderline");
}

TEST(SystemColours, ResolveThroughTheApplicationPalette) {
  const QPalette saved = QGuiApplication::palette();
  QPalette p = saved;
  p.setColor(QPalette::Active, QPalette::Button, QColor(10, 20, 30));
  p.setColor(QPalette::Active, QPalette::Dark, QColor(40, 50, 60));
  p.setColor(QPalette::Active, QPalette::Light, QColor(250, 240, 230));
  p.setColor(QPalette::Active, QPalette::Text, QColor(1, 2, 3));
  QGuiApplication::setPalette(p);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(10, 20, 30));
  EXPECT_EQ(ColorToRGB(clBtnShadow), RGBColor(40, 50, 60));
  EXPECT_EQ(ColorToRGB(clBtnHighlight), RGBColor(250, 240, 230));
  EXPECT_EQ(ColorToRGB(clWindowText), RGBColor(1, 2, 3));
  EXPECT_EQ(ToQColor(clBtnFace), QColor(10, 20, 30));
  QGuiApplication::setPalette(saved);
  EXPECT_EQ(ColorToRGB(clBtnFace), FromQColor(saved.color(QPalette::Active, QPalette::Button)));
  // Every index of the table resolves to a plain RGB value.
  for (int i = 0; i < kSystemColorCount; ++i) EXPECT_GE(int32_t(ColorToRGB(kSystemColorBase | i)), 0) << i;
  EXPECT_EQ(ColorToRGB(kSystemColorBase | 77), clBlack);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(RGBColor(1, 2, 3)), 0x030201);
  EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
}

}  // namespace

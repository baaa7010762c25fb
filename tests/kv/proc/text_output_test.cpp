#include "kv/proc/text_output.h"

#include <gtest/gtest.h>

#include <QMetaEnum>
#include <cmath>
#include <limits>

#include "platform/core/exceptions.h"
#include "tests/kv/proc/pixel_helpers.h"
#include "tests/kv/proc/print_helpers.h"

namespace {

using kv::test::InkBox;
using kv::test::MakeSurface;
using kv::test::SameImage;

constexpr toPos kAllPositions[] = {toTopLeft,  toTopCenter, toTopRight,  toMidLeft, toMidCenter,
                                   toMidRight, toBotLeft,   toBotCenter, toBotRight};

// Top-left corner of a w x h text anchored at (x, y), from the anchor table.
TPoint Corner(toPos position, int x, int y, int w, int h) {
  const int dx[] = {0, w / 2, w};  // by column: left, centre, right
  const int dy[] = {0, h / 2, h};  // by row: top, middle, bottom
  return TPoint(x - dx[position % 3], y - dy[position / 3]);
}

TEST(TextMeasureTests, SizeAndHalfSizeTruncate) {
  auto bitmap = MakeSurface(10, 10);
  int w = 0, h = 0;
  TPoint half;
  KvGetTextSize(bitmap->Canvas(), w, h, half, QStringLiteral("Gauge 7"));
  EXPECT_EQ(w, bitmap->Canvas()->TextWidth(QStringLiteral("Gauge 7")));
  EXPECT_EQ(h, bitmap->Canvas()->TextHeight(QStringLiteral("Gauge 7")));
  EXPECT_EQ(half, TPoint(w / 2, h / 2));
}

TEST(TextMeasureTests, WidestTokenCountsTheItemAfterTheLastSeparator) {
  auto bitmap = MakeSurface(10, 10);
  TCanvas* canvas = bitmap->Canvas();
  int w = -1, h = -1;
  KvGetMaxTokenSize(canvas, w, h, QStringLiteral("10;200;3;"));
  EXPECT_EQ(w, canvas->TextWidth(QStringLiteral("200")));
  EXPECT_EQ(h, canvas->TextHeight(QStringLiteral("10;200;3;")));
  KvGetMaxTokenSize(canvas, w, h, QStringLiteral("1;2;33333"));
  EXPECT_EQ(w, canvas->TextWidth(QStringLiteral("33333")));
  KvGetMaxTokenSize(canvas, w, h, QString());
  EXPECT_EQ(w, 0);
  EXPECT_GT(h, 0);
  // A chosen separator; ";" is then an ordinary character of an item.
  KvGetMaxTokenSize2(canvas, w, h, QStringLiteral("a;b;c|WW|1"), u'|');
  EXPECT_EQ(w, canvas->TextWidth(QStringLiteral("a;b;c")));
}

TEST(TextOutTests, EveryAnchorPutsTheTextCornerWhereTheTableSays) {
  for (toPos position : kAllPositions) {
    SCOPED_TRACE(position);
    auto actual = MakeSurface(200, 100);
    auto expected = MakeSurface(200, 100);
    const QString text = QStringLiteral("Volt 12");
    KvTextOut(actual->Canvas(), 100, 50, text, position);
    const QSize size = expected->Canvas()->TextExtent(text);
    const TPoint corner = Corner(position, 100, 50, size.width(), size.height());
    expected->Canvas()->TextOut(corner.X, corner.Y, text);
    EXPECT_TRUE(SameImage(*actual, *expected, QStringLiteral("text_anchor_%1").arg(position)));
    EXPECT_TRUE(QRect(corner.X, corner.Y, size.width(), size.height()).contains(InkBox(*actual)));
  }
}

TEST(TextOutTests, MidCenterOfA41PixelTextAt100_50StartsAt80_44) {
  auto bitmap = MakeSurface(200, 100);
  TCanvas* canvas = bitmap->Canvas();
  // Build a text exactly 41 pixels wide from digits and narrow glyphs.
  QString text;
  for (int digits = 0; digits < 8 && canvas->TextWidth(text) != 41; ++digits)
    for (const QString& tail : {QString(), QStringLiteral("."), QStringLiteral("i"), QStringLiteral(".i"),
                                QStringLiteral("ii"), QStringLiteral("-"), QStringLiteral("-i")}) {
      text = QString(digits, u'0') + tail;
      if (canvas->TextWidth(text) == 41) break;
    }
  ASSERT_EQ(canvas->TextWidth(text), 41) << "no 41-pixel text found with this font";
  const int h = canvas->TextHeight(text);
  KvTextOut(canvas, 100, 50, text, toMidCenter);
  // 41 div 2 = 20; for a cell 12 or 13 high the top is 50 - 6 = 44.
  auto expected = MakeSurface(200, 100);
  expected->Canvas()->TextOut(80, 50 - h / 2, text);
  EXPECT_TRUE(SameImage(*bitmap, *expected, QStringLiteral("text_41")));
  EXPECT_TRUE(QRect(80, 50 - h / 2, 41, h).contains(InkBox(*bitmap)));
}

TEST(TextOutTests, TextIsPlacedByItsCornerWhateverAlignmentTheCallerLeft) {
  auto actual = MakeSurface(120, 60);
  auto expected = MakeSurface(120, 60);
  actual->Canvas()->SetTextAlign(TA_RIGHT | TA_BOTTOM);
  KvTextOut(actual->Canvas(), 60, 30, QStringLiteral("Hz"), toMidCenter);
  KvTextOut(expected->Canvas(), 60, 30, QStringLiteral("Hz"), toMidCenter);
  EXPECT_TRUE(SameImage(*actual, *expected, QStringLiteral("text_align_kept")));
  EXPECT_EQ(actual->Canvas()->GetTextAlign(), TA_RIGHT | TA_BOTTOM);
}

class MultiLineTests : public ::testing::Test {
 protected:
  // Spacing that makes the line height exactly `lineHeight` with this font.
  int SpacingFor(int lineHeight) { return lineHeight - actual_->Canvas()->TextHeight(QStringLiteral("X")); }
  void Draw(const QString& text, int y, toPos position) {
    KvTextOut(expected_->Canvas(), 40, y, text, position);
  }
  std::unique_ptr<TBitmap> actual_ = MakeSurface(120, 200);
  std::unique_ptr<TBitmap> expected_ = MakeSurface(120, 200);
};

TEST_F(MultiLineTests, MiddleRowSpreadsTheAnchorsSymmetricallyAboutY) {
  // L = 15, block = 30: anchors at 85, 100 and 115.
  KvTextOutMultiLine(actual_->Canvas(), 40, 100, SpacingFor(15), QStringLiteral("a|b|c"), toMidLeft);
  Draw(QStringLiteral("a"), 85, toMidLeft);
  Draw(QStringLiteral("b"), 100, toMidLeft);
  Draw(QStringLiteral("c"), 115, toMidLeft);
  EXPECT_TRUE(SameImage(*actual_, *expected_, QStringLiteral("multiline_mid")));
}

TEST_F(MultiLineTests, BottomRowEndsWithTheLastLineOnY) {
  const int spacing = 3;
  const int l = actual_->Canvas()->TextHeight(QStringLiteral("X")) + spacing;
  KvTextOutMultiLine(actual_->Canvas(), 40, 150, spacing, QStringLiteral("one|two|three"), toBotRight);
  Draw(QStringLiteral("one"), 150 - 2 * l, toBotRight);
  Draw(QStringLiteral("two"), 150 - l, toBotRight);
  Draw(QStringLiteral("three"), 150, toBotRight);
  EXPECT_TRUE(SameImage(*actual_, *expected_, QStringLiteral("multiline_bottom")));
  EXPECT_LT(InkBox(*actual_).bottom(), 150);
  EXPECT_LE(InkBox(*actual_).right(), 40);
}

TEST_F(MultiLineTests, TrailingSeparatorCountsForTheLayoutButDrawsNoLine) {
  KvTextOutMultiLine(actual_->Canvas(), 40, 100, SpacingFor(15), QStringLiteral("a|"), toMidLeft);
  Draw(QStringLiteral("a"), 100 - 15 / 2, toMidLeft);
  EXPECT_TRUE(SameImage(*actual_, *expected_, QStringLiteral("multiline_trailing")));
}

TEST_F(MultiLineTests, SingleLineDrawsLikeTextOutAndEmptyTextDrawsNothing) {
  KvTextOutMultiLine(actual_->Canvas(), 40, 100, 5, QStringLiteral("plain"), toBotCenter);
  Draw(QStringLiteral("plain"), 100, toBotCenter);
  KvTextOutMultiLine(actual_->Canvas(), 40, 30, 5, QString(), toTopLeft);
  EXPECT_TRUE(SameImage(*actual_, *expected_, QStringLiteral("multiline_single")));
}

TEST(Text3DTests, ClearedFlagDrawsOnlyTheTextColour) {
  auto actual = MakeSurface(120, 40);
  KvTextOut3D(actual->Canvas(), 10, 10, clRed, clWhite, clBlue, QStringLiteral("Flow"), toTopLeft, false);
  const QRect box = InkBox(*actual);
  ASSERT_FALSE(box.isEmpty());
  EXPECT_EQ(kv::test::CountColor(*actual, clWhite, box) + kv::test::CountColor(*actual, clBlue, box), 0);
  EXPECT_EQ(actual->Canvas()->Font()->Color(), clRed);
}

TEST(Text3DTests, EmbossedCopiesGoDownRightAndUpLeftBeneathTheText) {
  auto actual = MakeSurface(140, 80);
  auto expected = MakeSurface(140, 80);
  const QString text = QStringLiteral("Pa|kPa");
  KvTextOutMultiLine3D(actual->Canvas(), 70, 40, 2, clRed, clWhite, clBlue, text, toMidCenter, true);
  TCanvas* c = expected->Canvas();
  const int l = c->TextHeight(QStringLiteral("X")) + 2;
  const std::pair<QString, int> lines[] = {{QStringLiteral("Pa"), 40 - l / 2},
                                           {QStringLiteral("kPa"), 40 - l / 2 + l}};
  for (const auto& [line, y] : lines) {
    c->Font()->SetColor(clBlue);
    KvTextOut(c, 71, y + 1, line, toMidCenter);
    c->Font()->SetColor(clWhite);
    KvTextOut(c, 69, y - 1, line, toMidCenter);
    c->Font()->SetColor(clRed);
    KvTextOut(c, 70, y, line, toMidCenter);
  }
  EXPECT_TRUE(SameImage(*actual, *expected, QStringLiteral("text_3d")));
  const QRect box = InkBox(*actual);
  EXPECT_GT(kv::test::CountColor(*actual, clWhite, box), 0);
  EXPECT_GT(kv::test::CountColor(*actual, clBlue, box), 0);
  EXPECT_EQ(actual->Canvas()->Font()->Color(), clRed);
}

TEST(RotatedTextTests, EscapementIsMinusTruncatedTenths) {
  EXPECT_EQ(KvTextEscapement(12.37f), -123);
  EXPECT_EQ(KvTextEscapement(-12.37f), 123);
  EXPECT_EQ(KvTextEscapement(90.0f), -900);
  EXPECT_EQ(KvTextEscapement(0.09f), 0);
  // Beyond the 32-bit range the value is reduced by whole turns.
  EXPECT_EQ(KvTextEscapement(1e9f), -(int64_t(1000000000) * 10 % 3600));
  EXPECT_EQ(KvTextEscapement(1e9f + 64.0f), -(int64_t(1000000064) * 10 % 3600));
  EXPECT_THROW(KvTextEscapement(std::numeric_limits<float>::quiet_NaN()), EInvalidOp);
}

TEST(RotatedTextTests, AngleZeroDrawsLikeTextOutExceptBaseLineAnchor) {
  for (toPos position : kAllPositions) {
    SCOPED_TRACE(position);
    auto actual = MakeSurface(160, 80);
    auto expected = MakeSurface(160, 80);
    KvRotTextOut(actual->Canvas(), TPoint(80, 40), 0.0f, QStringLiteral("Temp"), position);
    if (position == toBotLeft) {
      // The base line, not the cell's bottom, lies on the anchor.
      const int ascent = QFontMetrics(actual->Canvas()->Font()->ToQFont()).ascent();
      KvTextOut(expected->Canvas(), 80, 40 - ascent, QStringLiteral("Temp"), toTopLeft);
    } else {
      KvTextOut(expected->Canvas(), 80, 40, QStringLiteral("Temp"), position);
    }
    EXPECT_TRUE(SameImage(*actual, *expected, QStringLiteral("rot0_%1").arg(position)));
  }
}

TEST(RotatedTextTests, RightAngleRunsDownwardsAndTheCanvasIsRestored) {
  auto bitmap = MakeSurface(80, 120);
  TCanvas* canvas = bitmap->Canvas();
  canvas->SetTextAlign(TA_CENTER | TA_BASELINE);
  const TLogFont before = canvas->SelectedFont();
  KvRotTextOut(canvas, TPoint(40, 20), 90.0f, QStringLiteral("Pressure"), toTopLeft);
  const QRect ink = InkBox(*bitmap);
  const QSize size = canvas->TextExtent(QStringLiteral("Pressure"));
  // Turned clockwise: the text runs down from the anchor, its cell to the left.
  EXPECT_GT(ink.height(), 2 * ink.width());
  EXPECT_TRUE(QRect(39 - size.height(), 19, size.height() + 3, size.width() + 3).contains(ink));
  EXPECT_GE(ink.top(), 20);
  EXPECT_GT(ink.bottom(), 20 + size.width() / 2);
  EXPECT_EQ(canvas->GetTextAlign(), TA_CENTER | TA_BASELINE);
  EXPECT_EQ(canvas->SelectedFont(), before);
  kv::test::SaveIfFailed(*bitmap, QStringLiteral("rot90"));
}

TEST(RotatedTextTests, MiddleRowTurnsAboutTheAnchorAndCentresOnIt) {
  for (float angle : {0.0f, 45.0f, 90.0f, 12.37f, -135.0f}) {
    SCOPED_TRACE(angle);
    auto actual = MakeSurface(160, 160);
    auto expected = MakeSurface(160, 160);
    const QString text = QStringLiteral("MMMM");
    KvRotTextOut(actual->Canvas(), TPoint(80, 80), angle, text, toMidCenter);
    // The same output by hand: the escapement and the turned reference point.
    TCanvas* c = expected->Canvas();
    TLogFont lf = c->Font()->GetLogFont();
    lf.lfEscapement = KvTextEscapement(angle);
    c->SelectFont(lf);
    const int h = c->TextHeight(text);
    const long double a = angle * 3.14159265358979323846L / 180;
    c->SetTextAlign(TA_CENTER | TA_TOP);
    c->TextOut(80 + int(std::lround(h / 2 * std::sin(a))), 80 - int(std::lround(h / 2 * std::cos(a))), text);
    EXPECT_TRUE(SameImage(*actual, *expected, QStringLiteral("rot_mid")));
    const QPoint centre = InkBox(*actual).center();
    EXPECT_NEAR(centre.x(), 80, 2);
    EXPECT_NEAR(centre.y(), 80, 2);
  }
}

TEST(TextEnumTests, AnchorsStreamByName) {
  const QMetaEnum e = QMetaEnum::fromType<toPos>();
  EXPECT_EQ(e.keyCount(), 9);
  EXPECT_STREQ(e.valueToKey(toMidCenter), "toMidCenter");
  EXPECT_EQ(e.keyToValue("toBotRight"), 8);
}

}  // namespace

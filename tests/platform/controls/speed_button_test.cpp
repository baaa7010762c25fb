// The glyph speed button: pressed look that follows the mouse, click on
// release over the button, the glyph image of each state, the flat frame.

#include "platform/controls/speed_button.h"

#include <QPainter>

#include "platform/graphics/colors.h"
#include "tests/platform/controls/controls_fixture.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::ControlsTest;
using State = TSpeedButton::TButtonState;

constexpr TColor kOlive = RGBColor(128, 128, 0);

// Four 4 x 5 images side by side: red, green, blue, yellow squares over an
// olive bottom row (the transparent colour).
void MakeGlyph(TBitmap& glyph, int images) {
  static constexpr TColor colors[] = {clRed, clGreen, clBlue, clYellow};
  glyph.SetSize(4 * images, 5);
  for (int i = 0; i < images; ++i)
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 4; ++x) glyph.SetPixel(4 * i + x, y, y == 4 ? kOlive : colors[i]);
}

QImage Painted(TSpeedButton& button) {
  QImage image(button.Width(), button.Height(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  button.PaintTo(painter);
  painter.end();
  return image;
}

TColor At(const QImage& image, int x, int y) {
  return FromQRgb(image.pixel(x, y));
}

TEST(SpeedButton, EachStateShowsItsImageOrFallsBack) {
  enum Action { kNone, kDisable, kPress, kDown };
  struct Case {
    int images;
    Action action;
    State state;
    TColor centre;  // pixel (11, 10): inside the glyph, pressed or not
  };
  const Case cases[] = {
      {4, kNone, TSpeedButton::bsUp, clRed},
      {4, kDisable, TSpeedButton::bsDisabled, clGreen},
      {4, kPress, TSpeedButton::bsDown, clBlue},
      {4, kDown, TSpeedButton::bsExclusive, clYellow},
      {2, kPress, TSpeedButton::bsDown, clRed},
      {3, kDown, TSpeedButton::bsExclusive, clRed},
      {1, kDisable, TSpeedButton::bsDisabled, clBtnShadow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.images << " images, action " << int(c.action));
    TSpeedButton button(nullptr);
    ASSERT_EQ(button.Width(), 23);
    ASSERT_EQ(button.Height(), 22);
    TBitmap glyph;
    MakeGlyph(glyph, c.images);
    button.SetGlyph(&glyph);
    button.SetNumGlyphs(c.images);
    switch (c.action) {
      case kDisable:
        button.SetEnabled(false);
        break;
      case kPress:
        button.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakePointParam(5, 5));
        break;
      case kDown:
        button.SetDown(true);
        break;
      case kNone:
        break;
    }
    EXPECT_EQ(button.State(), c.state);
    const QImage image = Painted(button);
    EXPECT_EQ(At(image, 11, 10), ColorToRGB(c.centre));
    // The olive row is left out.
    const int glyphBottom = c.state == TSpeedButton::bsDown || c.state == TSpeedButton::bsExclusive ? 13 : 12;
    if (c.images == 1 && c.action == kDisable) {
      // Engraved: the highlight shows one pixel below and right of the shape.
      EXPECT_EQ(At(image, 13, 12), ColorToRGB(clBtnHighlight));
      EXPECT_EQ(At(image, 12, 11), ColorToRGB(clBtnShadow));
    } else {
      EXPECT_EQ(At(image, 11, glyphBottom), ColorToRGB(clBtnFace));
    }
  }
}

TEST(SpeedButton, NumGlyphsOutsideOneToFourIsOne) {
  TSpeedButton button(nullptr);
  for (int n : {0, 5, -3}) {
    button.SetNumGlyphs(3);
    button.SetNumGlyphs(n);
    EXPECT_EQ(button.NumGlyphs(), 1) << n;
  }
}

class SpeedButtonMouse : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(120);
    form->SetClientHeight(80);
    button = new TSpeedButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 23, 22);
    button->SetOnClick([this](TObject*) { ++clicks; });
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
  }
  void TearDown() override {
    form.reset();
    ControlsTest::TearDown();
  }
  std::unique_ptr<TForm> form;
  TSpeedButton* button = nullptr;
  int clicks = 0;
};

TEST_F(SpeedButtonMouse, PressedLookFollowsTheMouseAndReleaseOverItClicks) {
  QWidget* w = form->Widget();
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(button->State(), TSpeedButton::bsDown);
  QTest::mouseMove(w, QPoint(80, 60));
  EXPECT_EQ(button->State(), TSpeedButton::bsUp);
  EXPECT_TRUE(button->Pressing());
  QTest::mouseMove(w, QPoint(25, 25));
  EXPECT_EQ(button->State(), TSpeedButton::bsDown);
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(25, 25));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button->State(), TSpeedButton::bsUp);
  // Released elsewhere: no click.
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseMove(w, QPoint(80, 60));
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(80, 60));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button->Pressing());
  // It never takes the focus from the form.
  EXPECT_FALSE(qobject_cast<TWinControl*>(button));
}

TEST_F(SpeedButtonMouse, FlatButtonShowsItsFrameOnlyUnderTheMouse) {
  button->SetFlat(true);
  QWidget* w = form->Widget();
  QTest::mouseMove(w, QPoint(80, 60));
  EXPECT_FALSE(button->MouseInControl());
  EXPECT_EQ(At(Painted(*button), 0, 0), ColorToRGB(clBtnFace));
  QTest::mouseMove(w, QPoint(20, 20));
  EXPECT_TRUE(button->MouseInControl());
  EXPECT_EQ(At(Painted(*button), 0, 0), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(At(Painted(*button), 22, 21), ColorToRGB(clBtnShadow));
  // A raised button always has its frame.
  button->SetFlat(false);
  QTest::mouseMove(w, QPoint(80, 60));
  EXPECT_EQ(At(Painted(*button), 0, 0), ColorToRGB(clBtnHighlight));
}

}  // namespace

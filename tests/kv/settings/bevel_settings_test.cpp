// Offsets, plain and button bevels, line settings: setter rules, copying,
// notification senders, and the edge colours of the button bevel on pixels.

#include "kv/settings/bevel_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "kv/settings/arrow_settings.h"
#include "kv/settings/bar_settings.h"
#include "kv/settings/led_settings.h"
#include "kv/settings/line_settings.h"
#include "kv/settings/offset.h"
#include "platform/core/exceptions.h"
#include "tests/kv/proc/pixel_helpers.h"

namespace {

using kv::test::kBackground;
using kv::test::MakeSurface;

// Records the sender of every notification of one object.
struct Listener {
  explicit Listener(TKvPersistent& object) {
    object.SetOnChange([this](TObject* sender) { senders.push_back(sender); });
  }
  std::vector<TObject*> senders;
};

// The same value is silent; a new one is stored and reported once, with
// the object as sender.
template <typename O, typename T>
void CheckSetter(O& object, void (O::*set)(T), T (O::*get)() const, T fresh) {
  Listener seen(object);
  (object.*set)((object.*get)());
  EXPECT_TRUE(seen.senders.empty());
  (object.*set)(fresh);
  (object.*set)(fresh);
  EXPECT_EQ((object.*get)(), fresh);
  EXPECT_EQ(seen.senders, std::vector<TObject*>{&object});
}

TEST(SettingsSetters, ANewValueIsReportedOnceTheSameValueNever) {
  TKvOffset o;
  CheckSetter(o, &TKvOffset::SetTop, &TKvOffset::Top, -3);
  CheckSetter(o, &TKvOffset::SetLeft, &TKvOffset::Left, 4);
  CheckSetter(o, &TKvOffset::SetRight, &TKvOffset::Right, 5);
  CheckSetter(o, &TKvOffset::SetBottom, &TKvOffset::Bottom, 6);
  TKvBevelSettings b;
  CheckSetter(b, &TKvBevelSettings::SetColorFrom, &TKvBevelSettings::ColorFrom, TColor(clRed));
  CheckSetter(b, &TKvBevelSettings::SetColorTo, &TKvBevelSettings::ColorTo, TColor(clBtnFace));
  CheckSetter(b, &TKvBevelSettings::SetWidth, &TKvBevelSettings::Width, -9);
  TKvBtnBevel t;
  CheckSetter(t, &TKvBtnBevel::SetShadowColFrom, &TKvBtnBevel::ShadowColFrom, TColor(clRed));
  CheckSetter(t, &TKvBtnBevel::SetShadowColTo, &TKvBtnBevel::ShadowColTo, TColor(clLime));
  CheckSetter(t, &TKvBtnBevel::SetHighlightColFrom, &TKvBtnBevel::HighlightColFrom, TColor(clBlue));
  CheckSetter(t, &TKvBtnBevel::SetHighlightColTo, &TKvBtnBevel::HighlightColTo, TColor(clAqua));
  CheckSetter(t, &TKvBtnBevel::SetWidth, &TKvBtnBevel::Width, 0);
  TKvLineSettings l;
  CheckSetter(l, &TKvLineSettings::SetLength, &TKvLineSettings::Length, -12);
  CheckSetter(l, &TKvLineSettings::SetOffset, &TKvLineSettings::Offset, 13);
  CheckSetter(l, &TKvLineSettings::SetVisible, &TKvLineSettings::Visible, false);
  // A negative button bevel width is refused silently.
  Listener seen(t);
  t.SetWidth(-1);
  EXPECT_EQ(t.Width(), 0);
  EXPECT_TRUE(seen.senders.empty());
}

TEST(Offset, AppliesItsMarginsToACopyAndWritesSilently) {
  TKvOffset offset;
  Listener seen(offset);
  offset.Write(1, 2, 3, 4);
  EXPECT_TRUE(seen.senders.empty());
  EXPECT_EQ(TRect(offset.Top(), offset.Left(), offset.Right(), offset.Bottom()), TRect(1, 2, 3, 4));
  const TRect r(10, 10, 100, 50);
  EXPECT_EQ(offset.SetOffset(r), TRect(12, 11, 97, 46));
  EXPECT_EQ(r, TRect(10, 10, 100, 50));
}

TEST(BevelSettings, SwapColorsReportsEveryTime) {
  TKvBevelSettings bevel;
  Listener seen(bevel);
  bevel.SwapColors();
  EXPECT_EQ(bevel.ColorFrom(), RGBColor(115, 115, 115));
  EXPECT_EQ(bevel.ColorTo(), clWhite);
  bevel.SwapColors();
  EXPECT_EQ(bevel.ColorFrom(), clWhite);
  bevel.SetColorTo(clWhite);
  bevel.SwapColors();  // equal colours: still reported
  EXPECT_EQ(seen.senders.size(), 4u);
}

TEST(LineSettings, PenChangesArriveWithThePenAsSenderAndSetPenCopies) {
  TKvLineSettings line;
  Listener seen(line);
  line.Pen()->SetColor(clRed);
  EXPECT_EQ(seen.senders, std::vector<TObject*>{line.Pen()});
  TPen other;
  other.SetWidth(3);
  seen.senders.clear();
  line.SetPen(&other);
  EXPECT_EQ(line.Pen()->Width(), 3);
  EXPECT_EQ(line.Pen()->Color(), clBlack);
  EXPECT_EQ(seen.senders, (std::vector<TObject*>{line.Pen(), &line}));
  seen.senders.clear();
  line.SetPen(line.Pen());
  EXPECT_TRUE(seen.senders.empty());
}

TEST(SettingsCopy, CopiesReportOnceAndUnsupportedPairsRaiseTheAssignmentError) {
  TKvOffset a, b;
  b.Write(1, 2, 3, 4);
  Listener seenA(a);
  a.Assign(&b);
  EXPECT_EQ(a.SetOffset(TRect(0, 0, 10, 10)), TRect(2, 1, 7, 6));
  EXPECT_EQ(seenA.senders, std::vector<TObject*>{&a});
  TKvBtnBevel x, y;
  y.SetHighlightColTo(clYellow);
  y.SetWidth(7);
  Listener seenX(x);
  x.Assign(&y);
  EXPECT_EQ(x.HighlightColTo(), clYellow);
  EXPECT_EQ(x.Width(), 7);
  EXPECT_EQ(seenX.senders.size(), 1u);
  TArrowSettings arrow1, arrow2;
  arrow2.SetColorCP2Brush(clGray);
  Listener seenArrow(arrow1);
  arrow1.Assign(&arrow2);
  EXPECT_EQ(arrow1.ColorCP2Brush(), clGray);
  EXPECT_EQ(seenArrow.senders.size(), 1u);

  TKvBevelSettings bevel1, bevel2;
  TKvLineSettings line1, line2;
  TLED led1, led2;
  TBarSettings bar;
  struct Case {
    TPersistent* dest;
    TPersistent* source;
    const char* message;
  };
  const Case cases[] = {
      {&bevel1, &bevel2, "Cannot assign a TKvBevelSettings to a TKvBevelSettings"},
      {&line1, &line2, "Cannot assign a TKvLineSettings to a TKvLineSettings"},
      {&led1, &led2, "Cannot assign a TLED to a TLED"},
      {&a, &x, "Cannot assign a TKvBtnBevel to a TKvOffset"},
      {&x, &a, "Cannot assign a TKvOffset to a TKvBtnBevel"},
      {&bar, &arrow1, "Cannot assign a TArrowSettings to a TBarSettings"},
      {&arrow1, &bar, "Cannot assign a TBarSettings to a TArrowSettings"},
  };
  for (const Case& c : cases) {
    try {
      c.dest->Assign(c.source);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QString::fromLatin1(c.message));
    }
  }
}

// --- Painting ----------------------------------------------------------------------

TEST(BtnBevelPainting, RaisedAndSunkenEdgesLineByLine) {
  // Red falls by 10 per line on the highlight side, blue rises by 10 on the
  // shadow side, over a width of 4.
  struct Case {
    bool raised;
    TColor top[4];  // outermost first
    TColor bottom[4];
  };
  const Case cases[] = {
      {true,
       {RGBColor(230, 0, 0), RGBColor(220, 0, 0), RGBColor(210, 0, 0), RGBColor(200, 0, 0)},
       {RGBColor(0, 0, 50), RGBColor(0, 0, 60), RGBColor(0, 0, 70), RGBColor(0, 0, 80)}},
      {false,
       {RGBColor(0, 0, 70), RGBColor(0, 0, 60), RGBColor(0, 0, 50), RGBColor(0, 0, 40)},
       {RGBColor(210, 0, 0), RGBColor(220, 0, 0), RGBColor(230, 0, 0), RGBColor(240, 0, 0)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raised ? "raised" : "sunken");
    TKvBtnBevel btn;
    btn.SetHighlightColFrom(RGBColor(240, 0, 0));
    btn.SetHighlightColTo(RGBColor(200, 0, 0));
    btn.SetShadowColFrom(RGBColor(0, 0, 40));
    btn.SetShadowColTo(RGBColor(0, 0, 80));
    btn.SetWidth(4);
    auto bitmap = MakeSurface(60, 50);
    TRect r(10, 10, 50, 40);
    btn.PaintBevel(bitmap->Canvas(), r, c.raised, true, clYellow);
    EXPECT_EQ(r, TRect(14, 14, 46, 36));
    for (int k = 0; k < 4; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(bitmap->Pixel(10 + k, 25), c.top[k]);  // left
      EXPECT_EQ(bitmap->Pixel(30, 10 + k), c.top[k]);  // top
      EXPECT_EQ(bitmap->Pixel(10 + k, 10 + k), c.top[k]);
      EXPECT_EQ(bitmap->Pixel(49 - k, 25), c.bottom[k]);
      EXPECT_EQ(bitmap->Pixel(30, 39 - k), c.bottom[k]);
      // The corners where the two colours meet belong to the bottom line.
      EXPECT_EQ(bitmap->Pixel(49 - k, 10 + k), c.bottom[k]);
      EXPECT_EQ(bitmap->Pixel(10 + k, 39 - k), c.bottom[k]);
    }
    EXPECT_EQ(kv::test::CountColor(*bitmap, clYellow, QRect(0, 0, 60, 50)), 32 * 22);
    EXPECT_EQ(kv::test::InkBox(*bitmap), QRect(10, 10, 40, 30));
    kv::test::SaveIfFailed(*bitmap, c.raised ? "btn_bevel_raised" : "btn_bevel_sunken");
  }
}

TEST(BtnBevelPainting, SunkenWithTheDefaultColoursEndsInBlackAndLightGrey) {
  TKvBtnBevel btn;
  auto bitmap = MakeSurface(40, 40);
  TRect r(0, 0, 40, 40);
  btn.PaintBevel(bitmap->Canvas(), r, false, false, clRed);
  EXPECT_EQ(bitmap->Pixel(1, 20), clBlack);  // innermost line
  EXPECT_EQ(bitmap->Pixel(38, 20), RGBColor(210, 210, 210));
  // Outermost: each component halfway from the shadow colour to 0 (halves to even).
  const TColor shadow = ColorToRGB(clBtnShadow);
  const auto half = [](int c) { return c + int(std::nearbyint(-c / 2.0)); };
  EXPECT_EQ(bitmap->Pixel(0, 20),
            RGBColor(half(GetRValue(shadow)), half(GetGValue(shadow)), half(GetBValue(shadow))));
  EXPECT_EQ(bitmap->Pixel(20, 20), kBackground);  // not filled

  btn.SetWidth(0);  // fills only, the rectangle stays
  r = TRect(5, 5, 25, 25);
  btn.PaintBevel(bitmap->Canvas(), r, true, true, clAqua);
  EXPECT_EQ(r, TRect(5, 5, 25, 25));
  EXPECT_EQ(kv::test::CountColor(*bitmap, clAqua, QRect(0, 0, 40, 40)), 400);
}

}  // namespace

// Offsets, plain and button bevels, line settings: setter rules, copying,
// notification senders, and the edge colours of the button bevel on pixels.

#include "kv/settings/bevel_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

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

// One setter, a new value for it and a read-back of the stored value.
struct SetterCase {
  const char* name;
  std::function<void(int)> set;  // sets the property from a small integer
  std::function<int()> get;
  int fresh;  // a value different from the initial one
};

TEST(SettingsSetters, ANewValueIsStoredAndReportedOnceTheSameValueIsSilent) {
  TKvOffset offset;
  TKvBevelSettings bevel;
  TKvBtnBevel btn;
  TKvLineSettings line;
  const std::vector<std::pair<TKvPersistent*, SetterCase>> cases = {
      {&offset, {"Top", [&](int v) { offset.SetTop(v); }, [&] { return offset.Top(); }, -3}},
      {&offset, {"Left", [&](int v) { offset.SetLeft(v); }, [&] { return offset.Left(); }, 4}},
      {&offset, {"Right", [&](int v) { offset.SetRight(v); }, [&] { return offset.Right(); }, 5}},
      {&offset, {"Bottom", [&](int v) { offset.SetBottom(v); }, [&] { return offset.Bottom(); }, 6}},
      {&bevel,
       {"ColorFrom", [&](int v) { bevel.SetColorFrom(v); }, [&] { return int(bevel.ColorFrom()); }, 7}},
      {&bevel, {"ColorTo", [&](int v) { bevel.SetColorTo(v); }, [&] { return int(bevel.ColorTo()); }, 8}},
      {&bevel, {"Width", [&](int v) { bevel.SetWidth(v); }, [&] { return bevel.Width(); }, -9}},
      {&btn,
       {"ShadowColFrom", [&](int v) { btn.SetShadowColFrom(v); }, [&] { return int(btn.ShadowColFrom()); },
        1}},
      {&btn,
       {"ShadowColTo", [&](int v) { btn.SetShadowColTo(v); }, [&] { return int(btn.ShadowColTo()); }, 2}},
      {&btn,
       {"HighlightColFrom", [&](int v) { btn.SetHighlightColFrom(v); },
        [&] { return int(btn.HighlightColFrom()); }, 3}},
      {&btn,
       {"HighlightColTo", [&](int v) { btn.SetHighlightColTo(v); }, [&] { return int(btn.HighlightColTo()); },
        4}},
      {&btn, {"Width", [&](int v) { btn.SetWidth(v); }, [&] { return btn.Width(); }, 0}},
      {&line, {"Length", [&](int v) { line.SetLength(v); }, [&] { return line.Length(); }, -12}},
      {&line, {"Offset", [&](int v) { line.SetOffset(v); }, [&] { return line.Offset(); }, 13}},
      {&line, {"Visible", [&](int v) { line.SetVisible(v != 0); }, [&] { return int(line.Visible()); }, 0}},
  };
  for (const auto& [object, c] : cases) {
    SCOPED_TRACE(c.name);
    Listener seen(*object);
    c.set(c.get());
    EXPECT_TRUE(seen.senders.empty());
    c.set(c.fresh);
    EXPECT_EQ(c.get(), c.fresh);
    ASSERT_EQ(seen.senders.size(), 1u);
    EXPECT_EQ(seen.senders[0], object);
    c.set(c.fresh);
    EXPECT_EQ(seen.senders.size(), 1u);
  }
}

TEST(SettingsSetters, InitialValues) {
  TKvBevelSettings bevel;
  EXPECT_EQ(bevel.ColorFrom(), clWhite);
  EXPECT_EQ(bevel.ColorTo(), RGBColor(115, 115, 115));
  EXPECT_EQ(bevel.Width(), 2);
  TKvBtnBevel btn;
  EXPECT_EQ(btn.ShadowColFrom(), clBlack);
  EXPECT_EQ(btn.ShadowColTo(), clBtnShadow);
  EXPECT_EQ(btn.HighlightColFrom(), TColor(13816530));
  EXPECT_EQ(btn.HighlightColTo(), clBtnHighlight);
  EXPECT_EQ(btn.Width(), 2);
  TKvLineSettings line;
  EXPECT_EQ(line.Pen()->Color(), clBlack);
  EXPECT_EQ(line.Pen()->Width(), 1);
  EXPECT_EQ(line.Pen()->Style(), psSolid);
  EXPECT_TRUE(line.Visible());
}

TEST(BtnBevel, ANegativeWidthIsIgnoredSilently) {
  TKvBtnBevel btn;
  Listener seen(btn);
  btn.SetWidth(-1);
  EXPECT_EQ(btn.Width(), 2);
  EXPECT_TRUE(seen.senders.empty());
}

TEST(Offset, AppliesItsMarginsToACopyAndWritesSilently) {
  TKvOffset offset;
  Listener seen(offset);
  offset.Write(1, 2, 3, 4);
  EXPECT_TRUE(seen.senders.empty());
  EXPECT_EQ(offset.Top(), 1);
  EXPECT_EQ(offset.Left(), 2);
  EXPECT_EQ(offset.Right(), 3);
  EXPECT_EQ(offset.Bottom(), 4);
  const TRect r(10, 10, 100, 50);
  EXPECT_EQ(offset.SetOffset(r), TRect(12, 11, 97, 46));
  EXPECT_EQ(r, TRect(10, 10, 100, 50));
  offset.Write(-5, -5, 0, 0);
  EXPECT_EQ(offset.SetOffset(r), TRect(5, 5, 100, 50));
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

TEST(LineSettings, PenChangesArriveWithThePenAsSender) {
  TKvLineSettings line;
  Listener seen(line);
  line.Pen()->SetColor(clRed);
  ASSERT_EQ(seen.senders.size(), 1u);
  EXPECT_EQ(seen.senders[0], line.Pen());

  TPen other;
  other.SetWidth(3);
  other.SetStyle(psDot);
  seen.senders.clear();
  line.SetPen(&other);
  EXPECT_EQ(line.Pen()->Width(), 3);
  EXPECT_EQ(line.Pen()->Style(), psDot);
  EXPECT_EQ(line.Pen()->Color(), clBlack);
  ASSERT_GE(seen.senders.size(), 2u);
  EXPECT_EQ(seen.senders.front(), line.Pen());
  EXPECT_EQ(seen.senders.back(), &line);

  seen.senders.clear();
  line.SetPen(line.Pen());
  EXPECT_TRUE(seen.senders.empty());
}

TEST(SettingsCopy, OffsetAndButtonBevelCopyFieldsAndReportOnce) {
  TKvOffset a, b;
  b.Write(1, 2, 3, 4);
  Listener seenA(a);
  a.Assign(&b);
  EXPECT_EQ(a.SetOffset(TRect(0, 0, 10, 10)), TRect(2, 1, 7, 6));
  ASSERT_EQ(seenA.senders.size(), 1u);
  EXPECT_EQ(seenA.senders[0], &a);

  TKvBtnBevel x, y;
  y.SetShadowColFrom(clRed);
  y.SetShadowColTo(clLime);
  y.SetHighlightColFrom(clBlue);
  y.SetHighlightColTo(clYellow);
  y.SetWidth(7);
  Listener seenX(x);
  x.Assign(&y);
  EXPECT_EQ(x.ShadowColFrom(), clRed);
  EXPECT_EQ(x.ShadowColTo(), clLime);
  EXPECT_EQ(x.HighlightColFrom(), clBlue);
  EXPECT_EQ(x.HighlightColTo(), clYellow);
  EXPECT_EQ(x.Width(), 7);
  EXPECT_EQ(seenX.senders.size(), 1u);
}

TEST(SettingsCopy, ClassesWithoutACopyRaiseTheAssignmentError) {
  TKvBevelSettings bevel1, bevel2;
  TKvLineSettings line1, line2;
  TKvOffset offset;
  TKvBtnBevel btn;
  struct Case {
    TPersistent* dest;
    TPersistent* source;
    const char* message;
  };
  const Case cases[] = {
      {&bevel1, &bevel2, "Cannot assign a TKvBevelSettings to a TKvBevelSettings"},
      {&line1, &line2, "Cannot assign a TKvLineSettings to a TKvLineSettings"},
      {&offset, &btn, "Cannot assign a TKvBtnBevel to a TKvOffset"},
      {&btn, &offset, "Cannot assign a TKvOffset to a TKvBtnBevel"},
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

// Colours whose steps are easy to follow: red falls by 10 per line, blue
// rises by 10 per line over a width of 4.
constexpr TColor kHiFrom = RGBColor(240, 0, 0);
constexpr TColor kHiTo = RGBColor(200, 0, 0);
constexpr TColor kShFrom = RGBColor(0, 0, 40);
constexpr TColor kShTo = RGBColor(0, 0, 80);

TEST(BtnBevelPainting, RaisedAndSunkenEdgesLineByLine) {
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
    btn.SetHighlightColFrom(kHiFrom);
    btn.SetHighlightColTo(kHiTo);
    btn.SetShadowColFrom(kShFrom);
    btn.SetShadowColTo(kShTo);
    btn.SetWidth(4);
    auto bitmap = MakeSurface(60, 50);
    TRect r(10, 10, 50, 40);
    btn.PaintBevel(bitmap->Canvas(), r, c.raised, true, clYellow);
    EXPECT_EQ(r, TRect(14, 14, 46, 36));
    for (int k = 0; k < 4; ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(bitmap->Pixel(10 + k, 25), c.top[k]);  // left
      EXPECT_EQ(bitmap->Pixel(30, 10 + k), c.top[k]);  // top
      EXPECT_EQ(bitmap->Pixel(49 - k, 25), c.bottom[k]);
      EXPECT_EQ(bitmap->Pixel(30, 39 - k), c.bottom[k]);
      // The corners where the two colours meet belong to the bottom line.
      EXPECT_EQ(bitmap->Pixel(49 - k, 10 + k), c.bottom[k]);
      EXPECT_EQ(bitmap->Pixel(10 + k, 39 - k), c.bottom[k]);
      EXPECT_EQ(bitmap->Pixel(10 + k, 10 + k), c.top[k]);
    }
    EXPECT_EQ(bitmap->Pixel(14, 14), clYellow);
    EXPECT_EQ(bitmap->Pixel(45, 35), clYellow);
    EXPECT_EQ(bitmap->Pixel(50, 25), kBackground);
    EXPECT_EQ(bitmap->Pixel(30, 40), kBackground);
    kv::test::SaveIfFailed(*bitmap, c.raised ? "btn_bevel_raised" : "btn_bevel_sunken");
  }
}

TEST(BtnBevelPainting, SunkenWithTheDefaultColoursEndsInBlackAndLightGrey) {
  TKvBtnBevel btn;
  auto bitmap = MakeSurface(40, 40);
  TRect r(0, 0, 40, 40);
  btn.PaintBevel(bitmap->Canvas(), r, false, false, clRed);
  // Innermost line: black on top and left, RGB 210,210,210 on bottom and right.
  EXPECT_EQ(bitmap->Pixel(1, 20), clBlack);
  EXPECT_EQ(bitmap->Pixel(20, 1), clBlack);
  EXPECT_EQ(bitmap->Pixel(38, 20), RGBColor(210, 210, 210));
  EXPECT_EQ(bitmap->Pixel(20, 38), RGBColor(210, 210, 210));
  // Outermost line: one step away from the system colours, not yet at them.
  // Each component halfway from the shadow colour to 0 (halves to even).
  const TColor shadow = ColorToRGB(clBtnShadow);
  const auto half = [](int c) { return c + int(std::nearbyint(-c / 2.0)); };
  EXPECT_EQ(bitmap->Pixel(0, 20),
            RGBColor(half(GetRValue(shadow)), half(GetGValue(shadow)), half(GetBValue(shadow))));
  EXPECT_EQ(bitmap->Pixel(20, 20), kBackground);  // not filled
}

TEST(BtnBevelPainting, WidthZeroOnlyFills) {
  TKvBtnBevel btn;
  btn.SetWidth(0);
  auto bitmap = MakeSurface(30, 30);
  TRect r(5, 5, 25, 25);
  btn.PaintBevel(bitmap->Canvas(), r, true, true, clAqua);
  EXPECT_EQ(r, TRect(5, 5, 25, 25));
  EXPECT_EQ(kv::test::InkBox(*bitmap), QRect(5, 5, 20, 20));
  EXPECT_EQ(kv::test::CountColor(*bitmap, clAqua, QRect(5, 5, 20, 20)), 400);
}

}  // namespace

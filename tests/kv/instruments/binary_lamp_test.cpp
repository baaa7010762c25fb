// The LED lamp: what it paints for each shape and state, and flashing in step
// with the shared flash timer.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "kv/instruments/kv_led_lamp.h"
#include "tests/kv/controls/flash_fixture.h"
#include "tests/kv/instruments/binary_test_support.h"
#include "tests/support/test_support.h"

namespace {

using kv::test::FlashDrivenTest;
using kv::test::Painted;
using kv::test::PixelAt;

constexpr TColor kOn = RGBColor(250, 10, 10);
constexpr TColor kOff = RGBColor(10, 10, 120);
constexpr TColor kBezel = RGBColor(200, 200, 80);

// The lamp's colour shows in the middle of every shape, on and off, framed
// or not; the bezel keeps its colour outside the LED; nothing outside the
// bezel or the LED is touched.
TEST(LedLamp, PaintsItsStateInEveryShape) {
  const TLEDShape shapes[] = {sRound, sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sRectangle};
  for (const TLEDShape shape : shapes) {
    for (const bool framed : {true, false}) {
      for (const bool on : {false, true}) {
        SCOPED_TRACE(testing::Message() << "shape " << int(shape) << " framed " << framed << " on " << on);
        TKvLedLamp lamp(nullptr);
        lamp.SetBounds(0, 0, 40, 34);
        lamp.LED()->SetShape(shape);
        lamp.LED()->SetWidth(20);
        lamp.LED()->SetHeight(16);
        lamp.LED()->SetColorOn(kOn);
        lamp.LED()->SetColorOff(kOff);
        lamp.Bevel()->SetColor(kBezel);
        lamp.SetFramed(framed);
        lamp.SetChecked(on);
        EXPECT_EQ(lamp.Lit(), on);
        const QImage image = Painted(lamp);
        const TRect r = lamp.LampRect();
        EXPECT_EQ(r, TRect(10, 9, 30, 25));
        // The middle of the lower half lies inside every shape, clear of the
        // round lamp's glint.
        const int cx = (r.Left + r.Right) / 2, cy = (r.Top + 2 * r.Bottom) / 3;
        EXPECT_EQ(PixelAt(image, cx, cy), on ? kOn : kOff);
        EXPECT_EQ(PixelAt(image, 8, 17), framed ? kBezel : kv::test::kUntouched);
        if (::testing::Test::HasFailure()) {
          kv::test::savePng(image, QStringLiteral("binary_lamp_shape%1").arg(int(shape)));
          return;
        }
      }
    }
  }
}

// A LED larger than the room inside the bezel is clipped to it, and a
// hostile bevel leaves nothing to paint instead of wrapping around.
TEST(LedLamp, LampRectStaysInsideTheControl) {
  TKvLedLamp lamp(nullptr);
  lamp.LED()->SetWidth(40);
  lamp.LED()->SetHeight(40);
  EXPECT_EQ(lamp.LampRect(), TRect(7, 7, 20, 20));
  lamp.Bevel()->SetSpacing(2147483000);
  const TRect r = lamp.LampRect();
  EXPECT_EQ(r.Right - r.Left, 0);
  EXPECT_GE(r.Left, 0);
  EXPECT_LE(r.Left, lamp.Width());
  Painted(lamp);  // must not crash or paint outside
}

class FlashingLamp : public FlashDrivenTest {};

// Two lamps of each rate over 256 ticks: partners always show the same phase,
// the phase is bit 2 + rate of the tick counter (so the rates differ: 8 Hz
// changes every 4 ticks, 0.5 Hz every 64), and the painted pixel follows it.
// A lamp started late joins its partner's phase at once.
TEST_F(FlashingLamp, LampsOfOneRateFlashInPhaseAndTheRatesDiffer) {
  std::vector<std::unique_ptr<TKvLedLamp>> lamps;
  for (int i = 0; i < 10; ++i) {
    auto lamp = std::make_unique<TKvLedLamp>(nullptr);
    lamp->LED()->SetColorOn(kOn);
    lamp->LED()->SetColorOff(kOff);
    lamp->SetFrequency(TFlashFreq(i / 2));
    lamp->SetFlashing(true);
    // The second lamp of each pair starts 37 ticks later.
    if (i % 2 == 0) lamp->SetChecked(true);
    lamps.push_back(std::move(lamp));
  }
  Ticks(37);
  for (int i = 1; i < 10; i += 2) lamps[size_t(i)]->SetChecked(true);
  int changes[5] = {};
  bool last[5] = {};
  for (int f = 0; f < 5; ++f) last[f] = lamps[size_t(2 * f)]->Lit();
  for (int t = 0; t < 256; ++t) {
    Tick();
    for (int f = 0; f < 5; ++f) {
      const TKvLedLamp& a = *lamps[size_t(2 * f)];
      const TKvLedLamp& b = *lamps[size_t(2 * f + 1)];
      ASSERT_EQ(a.Lit(), b.Lit()) << "rate " << f << " tick " << FlashTick;
      ASSERT_EQ(a.Lit(), ((FlashTick >> (2 + f)) & 1u) != 0) << "rate " << f << " tick " << FlashTick;
      changes[f] += a.Lit() != last[f];
      last[f] = a.Lit();
    }
    if (t == 100 || t == 132) {
      const QImage image = Painted(*lamps[4]);
      const TRect r = lamps[4]->LampRect();
      EXPECT_EQ(PixelAt(image, (r.Left + r.Right) / 2, r.Bottom - 3), lamps[4]->Lit() ? kOn : kOff);
    }
  }
  const int expected[5] = {64, 32, 16, 8, 4};
  for (int f = 0; f < 5; ++f) EXPECT_EQ(changes[f], expected[f]) << "rate " << f;

  // Switched off, a flashing lamp is dark and leaves the timer's list.
  lamps[0]->SetChecked(false);
  EXPECT_FALSE(lamps[0]->Lit());
  EXPECT_FALSE(Listed(lamps[0].get()));
  EXPECT_TRUE(Listed(lamps[1].get()));
  lamps.clear();
  EXPECT_TRUE(dynFlashList->empty());
}

}  // namespace

#include "kv/proc/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/kv/proc/print_helpers.h"

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(RectTests, IntersectionTouchingCountsAndOutIsAlwaysWritten) {
  TRect out;
  EXPECT_TRUE(KvRectIntersection(Rect(0, 0, 10, 10), Rect(10, 0, 20, 10), out));
  EXPECT_EQ(out, Rect(10, 0, 10, 10));
  EXPECT_FALSE(KvRectIntersection(Rect(0, 0, 10, 10), Rect(11, 0, 20, 10), out));
  EXPECT_EQ(out, Rect(11, 0, 10, 10));
  EXPECT_FALSE(KvRectIntersection(Rect(0, 0, 10, 10), Rect(0, 12, 10, 20), out));
  EXPECT_EQ(out, Rect(0, 12, 10, 10));
  EXPECT_TRUE(KvRectIntersection(Rect(0, 0, 10, 10), Rect(2, 3, 30, 8), out));
  EXPECT_EQ(out, Rect(2, 3, 10, 8));
  EXPECT_TRUE(KvRectIntersection(Rect(-5, -5, 5, 5), Rect(-1, -2, 1, 2), out));
  EXPECT_EQ(out, Rect(-1, -2, 1, 2));
}

TEST(RectTests, InRectExcludesTheRightEdgeButIncludesTheBottomEdge) {
  const TRect r = Rect(0, 0, 10, 10);
  EXPECT_TRUE(KvInRect(0, 0, r));
  EXPECT_TRUE(KvInRect(5, 10, r));
  EXPECT_TRUE(KvInRect(9, 10, r));
  EXPECT_FALSE(KvInRect(10, 5, r));
  EXPECT_FALSE(KvInRect(-1, 5, r));
  EXPECT_FALSE(KvInRect(5, -1, r));
  EXPECT_FALSE(KvInRect(5, 11, r));
}

TEST(RectTests, EqualityAndContainment) {
  EXPECT_TRUE(KvRectIsRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)));
  EXPECT_FALSE(KvRectIsRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 5)));
  EXPECT_FALSE(KvRectIsRect(Rect(1, 2, 3, 4), Rect(0, 2, 3, 4)));
  EXPECT_TRUE(KvRectInRect(Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)));
  EXPECT_TRUE(KvRectInRect(Rect(2, 2, 8, 8), Rect(0, 0, 10, 10)));
  EXPECT_FALSE(KvRectInRect(Rect(0, 0, 10, 10), Rect(2, 2, 8, 8)));
  EXPECT_FALSE(KvRectInRect(Rect(2, 2, 11, 8), Rect(0, 0, 10, 10)));
  EXPECT_FALSE(KvRectInRect(Rect(2, -1, 8, 8), Rect(0, 0, 10, 10)));
}

TEST(RectTests, BordersShrinkAndNegativeBordersEnlarge) {
  TRect r = Rect(0, 0, 100, 50);
  KvBorder(r, 2);
  EXPECT_EQ(r, Rect(2, 2, 98, 48));
  KvBorder(r, -5);
  EXPECT_EQ(r, Rect(-3, -3, 103, 53));
  KvMultiBorder(r, 1, 2, 3, 4);
  EXPECT_EQ(r, Rect(-2, -1, 100, 49));
  // Shrinking past the middle inverts the rectangle arithmetically.
  TRect small = Rect(0, 0, 4, 4);
  KvBorder(small, 3);
  EXPECT_EQ(small, Rect(3, 3, 1, 1));
}

TEST(RectTests, CenterPointAndRadiusHalveTowardZero) {
  EXPECT_EQ(KvCenterPoint(Rect(0, 0, 5, 5)), Point(2, 2));
  EXPECT_EQ(KvCenterPoint(Rect(-5, -5, 0, 0)), Point(-3, -3));
  EXPECT_EQ(KvCenterPoint(Rect(10, 20, 0, 5)), Point(5, 13));  // inverted: 20 + (-15) div 2
  EXPECT_EQ(KvCenterPoint(Rect(kMin, kMin, kMax, kMax)), Point(-1, -1));
  EXPECT_EQ(KvGetRadius(Rect(0, 0, 100, 40)), 20);
  EXPECT_EQ(KvGetRadius(Rect(0, 0, 40, 100)), 20);
  EXPECT_EQ(KvGetRadius(Rect(0, 0, 41, 41)), 20);
  EXPECT_EQ(KvGetRadius(Rect(0, 0, 41, 43)), 20);
}

TEST(RectTests, GetMaxRectTakesInThePoint) {
  TRect r = Rect(0, 0, 10, 10);
  KvGetMaxRect(5, 5, r);
  EXPECT_EQ(r, Rect(0, 0, 10, 10));
  KvGetMaxRect(-3, 12, r);
  EXPECT_EQ(r, Rect(-3, 0, 10, 12));
  KvGetMaxRect(20, -7, r);
  EXPECT_EQ(r, Rect(-3, -7, 20, 12));
  KvGetMaxRect(10, 10, r);  // on the edges: nothing changes
  EXPECT_EQ(r, Rect(-3, -7, 20, 12));
}

TEST(RectTests, SquaresKeepTheCornerOrTheCentre) {
  EXPECT_EQ(KvMakeSquare(Rect(0, 0, 100, 40)), Rect(0, 0, 40, 40));
  EXPECT_EQ(KvMakeSquare(Rect(5, 6, 45, 106)), Rect(5, 6, 45, 46));
  EXPECT_EQ(KvMakeSquare(Rect(0, 0, 30, 30)), Rect(0, 0, 30, 30));
  EXPECT_EQ(KvMakeCenterSquare(Rect(0, 0, 100, 40)), Rect(30, 0, 70, 40));
  EXPECT_EQ(KvMakeCenterSquare(Rect(0, 0, 40, 100)), Rect(0, 30, 40, 70));
  EXPECT_EQ(KvMakeCenterSquare(Rect(0, 0, 101, 40)), Rect(30, 0, 70, 40));
  EXPECT_EQ(KvMakeCenterSquare(Rect(0, 0, 41, 100)), Rect(0, 30, 41, 71));
  EXPECT_EQ(KvMakeCenterSquare(Rect(10, 10, 20, 20)), Rect(10, 10, 20, 20));
}

TEST(Rotation, QuarterTurnsFollowTheScreenDirections) {
  EXPECT_EQ(KvRotate(Point(10, 0), Point(0, 0), 90, true), Point(0, 10));
  EXPECT_EQ(KvRotate(Point(10, 0), Point(0, 0), 90, false), Point(0, -10));
  EXPECT_EQ(KvRotate(Point(10, 0), Point(0, 0), 180, true), Point(-10, 0));
  EXPECT_EQ(KvRotate(Point(10, 0), Point(0, 0), -90, true), Point(0, -10));
  EXPECT_EQ(KvRotate(Point(10, 0), Point(0, 0), 0, true), Point(10, 0));
  EXPECT_EQ(KvRotate(Point(110, 50), Point(100, 50), 90, true), Point(100, 60));
  // 12 o'clock turned clockwise goes towards 3 o'clock.
  EXPECT_EQ(KvRotate(Point(100, 0), Point(100, 100), 90, true), Point(200, 100));
  EXPECT_EQ(KvRotate(Point(100, 0), Point(100, 100), 45, true), Point(171, 29));
  // An angle that names no turn leaves the point where it is.
  for (float angle : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN()})
    EXPECT_EQ(KvRotate(Point(7, -3), Point(100, 100), angle, true), Point(7, -3)) << angle;
}

TEST(Rotation, TheAngleIsNarrowedToSingleBeforeSineAndCosine) {
  // 60 degrees as single radians is 1.0471975803..., a little above pi/3, so
  // the cosine falls just below one half and the offset 0.49999997 rounds to
  // 0; radians in double precision would give 0.5000000000000001 and round to 1.
  EXPECT_EQ(KvRotate(Point(1, 0), Point(0, 0), 60, true), Point(0, 1));
  EXPECT_EQ(KvRotate(Point(1, 0), Point(0, 0), 60, false), Point(0, -1));
}

TEST(Bearing, CardinalAndDiagonalDirections) {
  const TPoint c(0, 0);
  EXPECT_NEAR(KvGetAngle(Point(0, -10), c), 0.0f, 1e-5);
  EXPECT_NEAR(KvGetAngle(Point(10, -10), c), 45.0f, 1e-3);
  EXPECT_FLOAT_EQ(KvGetAngle(Point(10, 0), c), 90.0f);
  EXPECT_FLOAT_EQ(KvGetAngle(Point(0, 10), c), 180.0f);
  EXPECT_FLOAT_EQ(KvGetAngle(Point(-10, 0), c), 270.0f);
  EXPECT_NEAR(KvGetAngle(Point(-10, -10), c), 315.0f, 1e-3);
  EXPECT_NEAR(KvGetAngle(Point(10, 10), c), 135.0f, 1e-3);
  EXPECT_NEAR(KvGetAngle(Point(-10, 10), c), 225.0f, 1e-3);
  // The point on the centre itself counts as "left of or at" -> -pi/2.
  EXPECT_FLOAT_EQ(KvGetAngle(c, c), 90.0f);
}

TEST(Bearing, SweepAgreesWithTheClockwiseBearing) {
  const TPoint c(50, 50);
  const double pi = 3.14159265358979323846;
  for (int deg = 0; deg < 360; deg += 5) {
    const double rad = deg * pi / 180;
    const TPoint p(50 + int(std::lround(1000 * std::sin(rad))), 50 - int(std::lround(1000 * std::cos(rad))));
    const double want = std::atan2(double(p.X - c.X), double(c.Y - p.Y)) * 180 / pi;
    const double got = KvGetAngle(p, c);
    EXPECT_GE(got, -1e-5);
    EXPECT_LT(got, 360.0);
    EXPECT_NEAR(std::remainder(got - want, 360.0), 0.0, 0.01) << "bearing " << deg;
  }
}

TEST(Circle, TheDiameterIsTheWidth) {
  const TRect tall = Rect(0, 0, 10, 100);
  EXPECT_FALSE(KvInCircle(5, 10, tall));
  EXPECT_TRUE(KvInCircle(5, 52, tall));
  EXPECT_TRUE(KvInCircle(5, 45, tall));
  EXPECT_FALSE(KvInCircle(5, 44, tall));
  const TRect square = Rect(0, 0, 10, 10);
  EXPECT_TRUE(KvInCircle(10, 5, square));  // on the circle
  EXPECT_TRUE(KvInCircle(0, 5, square));
  EXPECT_TRUE(KvInCircle(5, 0, square));
  EXPECT_FALSE(KvInCircle(9, 9, square));
  EXPECT_FALSE(KvInCircle(11, 5, square));
  // Odd width: the centre lies between pixels, at (5.5, 5.5), not at (5, 5).
  EXPECT_FALSE(KvInCircle(0, 5, Rect(0, 0, 11, 11)));
  EXPECT_TRUE(KvInCircle(1, 5, Rect(0, 0, 11, 11)));
  EXPECT_TRUE(KvInCircle(10, 5, Rect(0, 0, 11, 11)));
}

}  // namespace

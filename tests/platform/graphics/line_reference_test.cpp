// Line pixels against the rule they follow, computed the straightforward way
// (one division per pixel): along the major axis every pixel from the start
// up to the end left out, the minor coordinate the ideal one rounded with
// halves upwards. The canvas's walker carries the division as a remainder;
// it must give the same pixels in the same order.

#include <gtest/gtest.h>

#include <QPoint>
#include <climits>
#include <vector>

#include "platform/graphics/raster.h"

namespace {

long long FloorDiv(long long a, long long b) {
  long long q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}

std::vector<QPoint> ReferenceLine(int x0, int y0, int x1, int y1) {
  std::vector<QPoint> out;
  const long long dx = (long long)x1 - x0, dy = (long long)y1 - y0;
  const long long n = std::max(std::llabs(dx), std::llabs(dy));
  for (long long t = 0; t < n; ++t) {
    if (std::llabs(dx) >= std::llabs(dy))
      out.emplace_back(int(x0 + (dx > 0 ? t : -t)), int(y0 + FloorDiv(2 * dy * t + n, 2 * n)));
    else
      out.emplace_back(int(x0 + FloorDiv(2 * dx * t + n, 2 * n)), int(y0 + (dy > 0 ? t : -t)));
  }
  return out;
}

TEST(LinePixels, MatchesTheRoundedIdealLineInEveryDirection) {
  for (int dx = -37; dx <= 37; ++dx) {
    for (int dy = -37; dy <= 37; ++dy) {
      std::vector<QPoint> got;
      raster::LinePixels(5, -3, 5 + dx, -3 + dy, got);
      ASSERT_EQ(got, ReferenceLine(5, -3, 5 + dx, -3 + dy))
          << "line (5,-3) to (" << 5 + dx << "," << -3 + dy << ")";
    }
  }
  // Short lines at the ends of the coordinate range, where 2 dy t + n is
  // formed far from zero.
  const struct {
    int x0, y0, x1, y1;
  } edges[] = {{INT_MAX - 40, INT_MIN, INT_MAX, INT_MIN + 17},
               {INT_MIN, INT_MAX - 3, INT_MIN + 29, INT_MAX},
               {INT_MAX, INT_MAX, INT_MAX - 23, INT_MAX - 23},
               {0, INT_MIN + 5, 9, INT_MIN}};
  for (const auto& e : edges) {
    std::vector<QPoint> got;
    raster::LinePixels(e.x0, e.y0, e.x1, e.y1, got);
    EXPECT_EQ(got, ReferenceLine(e.x0, e.y0, e.x1, e.y1))
        << e.x0 << "," << e.y0 << " to " << e.x1 << "," << e.y1;
  }
}

}  // namespace

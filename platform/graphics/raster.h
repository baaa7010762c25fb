#pragma once
// Pixel rasterisers behind TCanvas: which pixels a line, an ellipse or a
// round rectangle covers. Everything here works on whole pixels so that the
// canvas's results do not depend on the paint engine.

#include <emmintrin.h>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/graphics_types.h"

namespace raster {

// Pixels of the line from (x0, y0) to (x1, y1) with the start included and
// the end left out (nothing for a zero-length line). Along the major axis
// every pixel is visited once; the minor coordinate is the ideal one rounded,
// halves upwards, so a line and its reverse cover the same pixels.
void LinePixels(int x0, int y0, int x1, int y1, std::vector<QPoint>& out);

// The same pixels, in the same order, handed to plot(x, y) one by one. The
// minor coordinate y0 + floor((2 dy t + n) / 2n) is carried as a quotient and
// a remainder below 2n, so no step divides and nothing overflows for lines
// across the whole 32-bit range.
template <typename Plot>
void ForEachLinePixel(int x0, int y0, int x1, int y1, Plot plot) {
  const long long dx = (long long)x1 - x0;
  const long long dy = (long long)y1 - y0;
  const long long adx = dx < 0 ? -dx : dx;
  const long long ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const long long n = xMajor ? adx : ady;
  if (n == 0) return;
  const long long minorStep = 2 * (xMajor ? dy : dx);
  const long long den = 2 * n;
  const int step = (xMajor ? dx : dy) > 0 ? 1 : -1;
  long long major = xMajor ? x0 : y0;
  long long minor = xMajor ? y0 : x0;
  long long rest = n;  // (2 d t + n) - 2n q, kept in 0..2n-1
  for (long long t = 0; t < n; ++t) {
    if (xMajor)
      plot(int(major), int(minor));
    else
      plot(int(minor), int(major));
    major += step;
    rest += minorStep;
    if (rest >= den) {
      rest -= den;
      ++minor;
    } else if (rest < 0) {
      rest += den;
      --minor;
    }
  }
}

// Horizontal extent of each row of a shape: row i is y = top + i and covers
// left[i]..right[i] (empty when left[i] > right[i]).
struct RowSpans {
  int top = 0;
  std::vector<int> left;
  std::vector<int> right;
  int rows() const { return int(left.size()); }
  bool empty(int i) const { return i < 0 || i >= rows() || left[size_t(i)] > right[size_t(i)]; }
  // Whether the pixel (x, y) belongs to the shape.
  bool contains(int x, int y) const {
    const int i = y - top;
    return !empty(i) && x >= left[size_t(i)] && x <= right[size_t(i)];
  }
};

// The ellipse inscribed in the box x1..x2-1, y1..y2-1 (x1 < x2, y1 < y2).
// A pixel belongs to it when the nearest-pixel rasterisation along either axis
// picks it, which keeps the shape symmetric, inside its box and touching all
// four sides of the box for every size and aspect ratio.
RowSpans EllipseSpans(int x1, int y1, int x2, int y2);
// The same into `out`, reusing its storage.
void EllipseSpans(int x1, int y1, int x2, int y2, RowSpans& out);
// Row y1 + i (0 <= i < y2 - y1) of that ellipse alone: its ends l..r.
void EllipseRow(int x1, int y1, int x2, int y2, int i, int& l, int& r);

// The rows of one ellipse with its constants computed once.
class EllipseRows {
 public:
  EllipseRows(int x1, int y1, int x2, int y2)
      : x1_(x1),
        y1_(y1),
        x2_(x2),
        cx_((x1 + x2) / 2.0),
        cy_((y1 + y2) / 2.0),
        a_((x2 - x1) / 2.0 - 0.5),
        b_((y2 - y1) / 2.0 - 0.5) {}

  // Pixel centres lie on half-integers; the ellipse through the outermost
  // centres has the semi-axes a and b around (cx, cy). A pixel of row i is
  // taken when it lies no further out than the pixel nearest to the curve in
  // its row, or than the one nearest to the curve in its column.
  void Row(int i, int& l, int& r) const {
    const double dy = std::fabs(y1_ + i + 0.5 - cy_);
    double reach = 0;
    if (b_ <= 0) {
      reach = a_ + 0.5;
    } else {
      const double t = std::min(1.0, dy / b_);
      reach = a_ * std::sqrt(std::max(0.0, 1 - t * t)) + 0.5;
      const double u = std::max(0.0, dy - 0.5) / b_;
      if (u <= 1) reach = std::max(reach, a_ * std::sqrt(std::max(0.0, 1 - u * u)));
    }
    Ends(std::min(reach, a_), l, r);
  }

  // Rows i and i + 1 at once, for b > 0: the same operations on two lanes,
  // each rounded exactly as the one-row form rounds it (beyond u = 1 the
  // column term is a * sqrt(0) = 0, below the row term's 0.5).
  void TwoRows(int i, int& l0, int& r0, int& l1, int& r1) const {
    const __m128d zero = _mm_setzero_pd(), one = _mm_set1_pd(1.0), half = _mm_set1_pd(0.5);
    const __m128d a = _mm_set1_pd(a_), b = _mm_set1_pd(b_);
    const __m128d dy =
        _mm_andnot_pd(_mm_set1_pd(-0.0), _mm_set_pd(y1_ + (i + 1) + 0.5 - cy_, y1_ + i + 0.5 - cy_));
    const __m128d t = _mm_min_pd(_mm_div_pd(dy, b), one);
    __m128d reach =
        _mm_add_pd(_mm_mul_pd(a, _mm_sqrt_pd(_mm_max_pd(_mm_sub_pd(one, _mm_mul_pd(t, t)), zero))), half);
    const __m128d u = _mm_div_pd(_mm_max_pd(_mm_sub_pd(dy, half), zero), b);
    const __m128d column = _mm_mul_pd(a, _mm_sqrt_pd(_mm_max_pd(_mm_sub_pd(one, _mm_mul_pd(u, u)), zero)));
    reach = _mm_min_pd(a, _mm_max_pd(column, reach));
    double out[2];
    _mm_storeu_pd(out, reach);
    Ends(out[0], l0, r0);
    Ends(out[1], l1, r1);
  }

  bool Flat() const { return b_ <= 0; }

 private:
  static constexpr double kEps = 1e-9;
  // Pixel x is taken when |x + 0.5 - cx| <= reach.
  void Ends(double reach, int& l, int& r) const {
    l = std::max(Ceil(cx_ - reach - 0.5 - kEps), x1_);
    r = std::min(Floor(cx_ + reach - 0.5 + kEps), x2_ - 1);
  }
  // floor and ceil of values well within the int range.
  static int Floor(double v) {
    const int i = int(v);
    return i - (v < i);
  }
  static int Ceil(double v) {
    const int i = int(v);
    return i + (v > i);
  }
  int x1_, y1_, x2_;
  double cx_, cy_, a_, b_;
};

// Combines `color` with the pixels a..b (a <= b) of one Format_RGB32 row by
// the raster operation `rop`, as FillRun does.
void FillSpanRop(QRgb* row, int a, int b, QRgb color, TPenMode rop);
inline void FillSpan(QRgb* row, int a, int b, QRgb color, TPenMode rop) {
  if (rop == pmCopy)
    std::fill(row + a, row + b + 1, color | 0xFF000000u);
  else
    FillSpanRop(row, a, b, color, rop);
}

// The rectangle x1..x2-1, y1..y2-1 with its corners rounded by quarters of
// an ellipse of cw x ch pixels (clamped to the rectangle).
RowSpans RoundRectSpans(int x1, int y1, int x2, int y2, int cw, int ch);

// Appends the rows of `shape` as runs (QRects of height 1), top to bottom.
void AppendRuns(const RowSpans& shape, std::vector<QRect>& runs);

// Splits `shape` into its one-pixel inner border (pixels with a neighbour
// above, below, left or right outside the shape) and the rest. Both as rows
// of runs appended to the vectors, in QRect form (height 1).
void SplitBorder(const RowSpans& shape, std::vector<QRect>& border, std::vector<QRect>& inside);
// The same split handed run by run to border(l, y, w) and inside(l, y, w).
template <typename Border, typename Inside>
void ForEachBorderRun(const RowSpans& shape, Border&& border, Inside&& inside) {
  const int n = shape.rows();
  for (int i = 0; i < n; ++i) {
    if (shape.empty(i)) continue;
    const int y = shape.top + i;
    const int l = shape.left[size_t(i)];
    const int r = shape.right[size_t(i)];
    if (shape.empty(i - 1) || shape.empty(i + 1)) {
      border(l, y, r - l + 1);
      continue;
    }
    // Pixels beyond the narrower neighbour row touch the outside vertically.
    const int nl = std::max(shape.left[size_t(i - 1)], shape.left[size_t(i + 1)]);
    const int nr = std::min(shape.right[size_t(i - 1)], shape.right[size_t(i + 1)]);
    const int leftEnd = std::max(l, nl - 1);     // border l..leftEnd
    const int rightStart = std::min(r, nr + 1);  // border rightStart..r
    if (leftEnd + 1 >= rightStart) {
      border(l, y, r - l + 1);
      continue;
    }
    border(l, y, leftEnd - l + 1);
    border(rightStart, y, r - rightStart + 1);
    if (rightStart - 1 >= leftEnd + 1) inside(leftEnd + 1, y, rightStart - leftEnd - 1);
  }
}

// The part of `outer` not in `inner` and the part in both, as runs.
void SplitRing(const RowSpans& outer, const RowSpans& inner, std::vector<QRect>& ring,
               std::vector<QRect>& inside);

// The inside of the polygon through `vertices` (closed, alternate rule):
// the pixels whose centres lie inside, as runs appended to `runs`.
void PolygonRuns(const std::vector<QPoint>& vertices, std::vector<QRect>& runs);

// Removes the given pixels from the runs (height-1 QRects).
void SubtractPixels(std::vector<QRect>& runs, std::vector<QPoint> pixels);

// Combines `color` with the pixels of `run` (clipped to the image already;
// an empty run does nothing) of a Format_RGB32 image by the raster
// operation `rop`, as the paint engine's raster operations would.
void FillRun(QImage& image, const QRect& run, QRgb color, TPenMode rop);
// The same for single pixels, each moved by `offset` and kept within `clip`.
void PlotPixels(QImage& image, const std::vector<QPoint>& pixels, const QPoint& offset, const QRect& clip,
                QRgb color, TPenMode rop);

}  // namespace raster

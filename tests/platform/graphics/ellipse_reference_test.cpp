// Ellipses against the rasteriser they replaced: the straightforward one
// below builds every row of the shape, splits it into outline and inside and
// fills both as runs. The canvas must cover exactly the same pixels in the
// same colours for every box size and aspect ratio and every pen case.

#include <QImage>
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/platform/graphics/pixel_test.h"

namespace {

struct Spans {
  int top = 0;
  std::vector<int> left, right;
  int rows() const { return int(left.size()); }
  bool empty(int i) const { return i < 0 || i >= rows() || left[size_t(i)] > right[size_t(i)]; }
};

Spans ReferenceEllipse(int x1, int y1, int x2, int y2) {
  Spans s;
  s.top = y1;
  const int h = y2 - y1, w = x2 - x1;
  if (w <= 0 || h <= 0) return s;
  s.left.resize(size_t(h));
  s.right.resize(size_t(h));
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
  const double A = w / 2.0 - 0.5, B = h / 2.0 - 0.5;
  for (int i = 0; i < h; ++i) {
    const double dy = std::fabs(y1 + i + 0.5 - cy);
    double reach = 0;
    if (B <= 0) {
      reach = A + 0.5;
    } else {
      const double t = std::min(1.0, dy / B);
      reach = A * std::sqrt(std::max(0.0, 1 - t * t)) + 0.5;
      const double u = std::max(0.0, dy - 0.5) / B;
      if (u <= 1) reach = std::max(reach, A * std::sqrt(std::max(0.0, 1 - u * u)));
    }
    reach = std::min(reach, A);
    s.left[size_t(i)] = std::max(int(std::ceil(cx - reach - 0.5 - 1e-9)), x1);
    s.right[size_t(i)] = std::min(int(std::floor(cx + reach - 0.5 + 1e-9)), x2 - 1);
  }
  return s;
}

// 2 = outline, 1 = inside, 0 = untouched, over a w x h image.
using Mask = std::vector<uint8_t>;

void Mark(Mask& mask, int width, int l, int y, int n, uint8_t value) {
  for (int x = l; x < l + n; ++x) mask[size_t(y * width + x)] = value;
}

// One-pixel pen: pixels of the shape with a neighbour outside it are outline.
void ReferenceBorder(const Spans& s, Mask& mask, int width) {
  for (int i = 0; i < s.rows(); ++i) {
    if (s.empty(i)) continue;
    const int y = s.top + i, l = s.left[size_t(i)], r = s.right[size_t(i)];
    if (s.empty(i - 1) || s.empty(i + 1)) {
      Mark(mask, width, l, y, r - l + 1, 2);
      continue;
    }
    const int nl = std::max(s.left[size_t(i - 1)], s.left[size_t(i + 1)]);
    const int nr = std::min(s.right[size_t(i - 1)], s.right[size_t(i + 1)]);
    const int leftEnd = std::max(l, nl - 1), rightStart = std::min(r, nr + 1);
    Mark(mask, width, l, y, r - l + 1, 2);
    if (leftEnd + 1 < rightStart) Mark(mask, width, leftEnd + 1, y, rightStart - leftEnd - 1, 1);
  }
}

// Wide pen: the outer ellipse less the inner one is outline, the inner one inside.
void ReferenceRing(const Spans& outer, const Spans& inner, Mask& mask, int width) {
  for (int i = 0; i < outer.rows(); ++i) {
    if (outer.empty(i)) continue;
    const int y = outer.top + i;
    Mark(mask, width, outer.left[size_t(i)], y, outer.right[size_t(i)] - outer.left[size_t(i)] + 1, 2);
    const int j = y - inner.top;
    if (inner.empty(j)) continue;
    const int il = std::max(inner.left[size_t(j)], outer.left[size_t(i)]);
    const int ir = std::min(inner.right[size_t(j)], outer.right[size_t(i)]);
    if (il <= ir) Mark(mask, width, il, y, ir - il + 1, 1);
  }
}

struct PenCase {
  const char* name;
  int width;
  TPenStyle pen;
  TBrushStyle brush;
  TColor penColor;
};

TEST_F(PixelTest, EllipseMatchesTheRowByRowReferenceForEveryBoxAndPen) {
  const PenCase pens[] = {
      {"thin", 1, psSolid, bsSolid, clBlack},     {"same colours", 1, psSolid, bsSolid, clRed},
      {"no brush", 1, psSolid, bsClear, clBlack}, {"no pen", 1, psClear, bsSolid, clBlack},
      {"wide", 3, psSolid, bsSolid, clBlack},     {"wide even", 4, psSolid, bsSolid, clBlack}};
  // Boxes 1..24 x 1..24 and a few large and flat ones: 600 sizes.
  std::vector<QSize> sizes;
  for (int w = 1; w <= 24; ++w)
    for (int h = 1; h <= 24; ++h) sizes.emplace_back(w, h);
  for (int k = 0; k < 24; ++k) sizes.emplace_back(25 + 4 * k, 3 + 9 * (k % 7));
  ASSERT_GE(sizes.size(), 500u);
  constexpr int kSide = 140;
  for (const PenCase& p : pens) {
    for (const QSize size : sizes) {
      Reset(kSide, kSide);
      canvas->Pen()->SetWidth(p.width);
      canvas->Pen()->SetStyle(p.pen);
      canvas->Pen()->SetColor(p.penColor);
      canvas->Brush()->SetColor(clRed);  // before the style: a colour makes a clear brush solid
      canvas->Brush()->SetStyle(p.brush);
      const int x1 = 5, y1 = 6;
      canvas->Ellipse(x1, y1, x1 + size.width(), y1 + size.height());

      Mask mask(size_t(kSide * kSide), 0);
      const QRect box(x1, y1, size.width(), size.height());
      if (p.pen == psClear) {
        const Spans s = ReferenceEllipse(x1, y1, box.x() + box.width(), box.y() + box.height());
        for (int i = 0; i < s.rows(); ++i)
          if (!s.empty(i))
            Mark(mask, kSide, s.left[size_t(i)], s.top + i, s.right[size_t(i)] - s.left[size_t(i)] + 1, 1);
      } else if (p.width == 1) {
        ReferenceBorder(ReferenceEllipse(x1, y1, box.x() + box.width(), box.y() + box.height()), mask, kSide);
      } else {
        // The pen is centred on the outline; an even width's extra pixel goes inside.
        const int lo = (p.width - 1) / 2, hi = p.width / 2;
        const QRect outer = box.adjusted(-lo, -lo, lo, lo),
                    inner = box.adjusted(hi + 1, hi + 1, -hi - 1, -hi - 1);
        const Spans innerSpans = inner.isEmpty()
                                     ? Spans{}
                                     : ReferenceEllipse(inner.x(), inner.y(), inner.x() + inner.width(),
                                                        inner.y() + inner.height());
        ReferenceRing(
            ReferenceEllipse(outer.x(), outer.y(), outer.x() + outer.width(), outer.y() + outer.height()),
            innerSpans, mask, kSide);
      }
      const QRgb colours[] = {ToQColor(clWhite).rgb(), ToQColor(p.brush == bsSolid ? clRed : clWhite).rgb(),
                              ToQColor(p.penColor).rgb()};
      const QImage& image = bitmap.Image();
      for (int y = 0; y < kSide; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < kSide; ++x)
          ASSERT_EQ(row[x] | 0xFF000000u, colours[mask[size_t(y * kSide + x)]])
              << p.name << " " << size.width() << "x" << size.height() << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace

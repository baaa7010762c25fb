#include "platform/graphics/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster {

void LinePixels(int x0, int y0, int x1, int y1, std::vector<QPoint>& out) {
  const long long n = std::max(std::llabs((long long)x1 - x0), std::llabs((long long)y1 - y0));
  if (n == 0) return;
  out.reserve(out.size() + size_t(n));
  ForEachLinePixel(x0, y0, x1, y1, [&out](int x, int y) { out.emplace_back(x, y); });
}

RowSpans EllipseSpans(int x1, int y1, int x2, int y2) {
  RowSpans s;
  EllipseSpans(x1, y1, x2, y2, s);
  return s;
}

void EllipseRow(int x1, int y1, int x2, int y2, int i, int& l, int& r) {
  EllipseRows(x1, y1, x2, y2).Row(i, l, r);
}

void EllipseSpans(int x1, int y1, int x2, int y2, RowSpans& s) {
  s.top = y1;
  const int h = y2 - y1;
  const int w = x2 - x1;
  if (w <= 0 || h <= 0) {
    s.left.clear();
    s.right.clear();
    return;
  }
  s.left.resize(size_t(h));
  s.right.resize(size_t(h));
  // Row i and row h - 1 - i lie at the same distance from the centre (the
  // differences are exact halves), so the lower half mirrors the upper one.
  const EllipseRows rows(x1, y1, x2, y2);
  const int half = (h + 1) / 2;
  int i = 0;
  if (!rows.Flat()) {
    for (; i + 1 < half; i += 2) {
      int l0, r0, l1, r1;
      rows.TwoRows(i, l0, r0, l1, r1);
      s.left[size_t(i)] = s.left[size_t(h - 1 - i)] = l0;
      s.right[size_t(i)] = s.right[size_t(h - 1 - i)] = r0;
      s.left[size_t(i + 1)] = s.left[size_t(h - 2 - i)] = l1;
      s.right[size_t(i + 1)] = s.right[size_t(h - 2 - i)] = r1;
    }
  }
  for (; i < half; ++i) {
    int l, r;
    rows.Row(i, l, r);
    s.left[size_t(i)] = s.left[size_t(h - 1 - i)] = l;
    s.right[size_t(i)] = s.right[size_t(h - 1 - i)] = r;
  }
}

RowSpans RoundRectSpans(int x1, int y1, int x2, int y2, int cw, int ch) {
  RowSpans s;
  s.top = y1;
  const int w = x2 - x1;
  const int h = y2 - y1;
  if (w <= 0 || h <= 0) return s;
  cw = std::clamp(cw, 0, w);
  ch = std::clamp(ch, 0, h);
  s.left.assign(size_t(h), x1);
  s.right.assign(size_t(h), x2 - 1);
  if (cw < 2 || ch < 2) return s;  // a corner of one pixel is square
  const RowSpans corner = EllipseSpans(0, 0, cw, ch);
  const int half = ch / 2;
  for (int i = 0; i < half; ++i) {
    // Top rows use the corner ellipse's top rows, bottom rows its bottom rows.
    const int cl = corner.left[size_t(i)];
    const int cr = corner.right[size_t(i)];
    const int lb = corner.left[size_t(ch - 1 - i)];
    const int rb = corner.right[size_t(ch - 1 - i)];
    s.left[size_t(i)] = x1 + cl;
    s.right[size_t(i)] = x2 - 1 - (cw - 1 - cr);
    s.left[size_t(h - 1 - i)] = x1 + lb;
    s.right[size_t(h - 1 - i)] = x2 - 1 - (cw - 1 - rb);
  }
  return s;
}

void AppendRuns(const RowSpans& shape, std::vector<QRect>& runs) {
  for (int i = 0; i < shape.rows(); ++i)
    if (!shape.empty(i))
      runs.emplace_back(shape.left[size_t(i)], shape.top + i,
                        shape.right[size_t(i)] - shape.left[size_t(i)] + 1, 1);
}

void SplitBorder(const RowSpans& shape, std::vector<QRect>& border, std::vector<QRect>& inside) {
  ForEachBorderRun(
      shape, [&](int l, int y, int w) { border.emplace_back(l, y, w, 1); },
      [&](int l, int y, int w) { inside.emplace_back(l, y, w, 1); });
}

void SplitRing(const RowSpans& outer, const RowSpans& inner, std::vector<QRect>& ring,
               std::vector<QRect>& inside) {
  for (int i = 0; i < outer.rows(); ++i) {
    if (outer.empty(i)) continue;
    const int y = outer.top + i;
    const int l = outer.left[size_t(i)];
    const int r = outer.right[size_t(i)];
    const int j = y - inner.top;
    if (inner.empty(j)) {
      ring.emplace_back(l, y, r - l + 1, 1);
      continue;
    }
    const int il = std::max(inner.left[size_t(j)], l);
    const int ir = std::min(inner.right[size_t(j)], r);
    if (il > ir) {
      ring.emplace_back(l, y, r - l + 1, 1);
      continue;
    }
    if (il > l) ring.emplace_back(l, y, il - l, 1);
    if (ir < r) ring.emplace_back(ir + 1, y, r - ir, 1);
    inside.emplace_back(il, y, ir - il + 1, 1);
  }
}

void PolygonRuns(const std::vector<QPoint>& vertices, std::vector<QRect>& runs) {
  const size_t n = vertices.size();
  if (n < 3) return;
  int top = vertices[0].y(), bottom = top;
  for (const QPoint& p : vertices) {
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  std::vector<double> xs;
  for (int y = top; y < bottom; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (size_t i = 0; i < n; ++i) {
      const QPoint& a = vertices[i];
      const QPoint& b = vertices[(i + 1) % n];
      // Half-open in y, so that a vertex shared by two edges counts once.
      if ((a.y() <= yc && yc < b.y()) || (b.y() <= yc && yc < a.y()))
        xs.push_back(a.x() + (yc - a.y()) * (b.x() - a.x()) / double(b.y() - a.y()));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) {
      // Pixels whose centres x + 0.5 lie in [xs[k], xs[k + 1]).
      const int l = int(std::ceil(xs[k] - 0.5));
      const int r = int(std::ceil(xs[k + 1] - 0.5)) - 1;
      if (r >= l) runs.emplace_back(l, y, r - l + 1, 1);
    }
  }
}

void SubtractPixels(std::vector<QRect>& runs, std::vector<QPoint> pixels) {
  auto less = [](const QPoint& a, const QPoint& b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); };
  std::sort(pixels.begin(), pixels.end(), less);
  std::vector<QRect> out;
  out.reserve(runs.size());
  for (const QRect& run : runs) {
    int x = run.left();
    const int y = run.top();
    auto it = std::lower_bound(pixels.begin(), pixels.end(), QPoint(x, y), less);
    for (; it != pixels.end() && it->y() == y && it->x() <= run.right(); ++it) {
      if (it->x() > x) out.emplace_back(x, y, it->x() - x, 1);
      x = std::max(x, it->x() + 1);
    }
    if (x <= run.right()) out.emplace_back(x, y, run.right() - x + 1, 1);
  }
  runs = std::move(out);
}

namespace {

// Calls f(op) with the pixel operation of `rop` (destination -> result,
// before the alpha byte is set); false for pmNop.
template <typename F>
bool WithRop(TPenMode rop, QRgb color, F&& f) {
  const QRgb s = color & 0xFFFFFFu;
  switch (rop) {
    case pmBlack:
      f([](QRgb) { return 0u; });
      break;
    case pmWhite:
      f([](QRgb) { return 0xFFFFFFu; });
      break;
    case pmNop:
      return false;
    case pmNot:
      f([](QRgb d) { return ~d; });
      break;
    case pmCopy:
      f([s](QRgb) { return s; });
      break;
    case pmNotCopy:
      f([s](QRgb) { return ~s; });
      break;
    case pmMergePenNot:
      f([s](QRgb d) { return s | ~d; });
      break;
    case pmMaskPenNot:
      f([s](QRgb d) { return s & ~d; });
      break;
    case pmMergeNotPen:
      f([s](QRgb d) { return ~s | d; });
      break;
    case pmMaskNotPen:
      f([s](QRgb d) { return ~s & d; });
      break;
    case pmMerge:
      f([s](QRgb d) { return s | d; });
      break;
    case pmNotMerge:
      f([s](QRgb d) { return ~(s | d); });
      break;
    case pmMask:
      f([s](QRgb d) { return s & d; });
      break;
    case pmNotMask:
      f([s](QRgb d) { return ~(s & d); });
      break;
    case pmXor:
      f([s](QRgb d) { return s ^ d; });
      break;
    case pmNotXor:
      f([s](QRgb d) { return ~(s ^ d); });
      break;
  }
  return true;
}

}  // namespace

void FillRun(QImage& image, const QRect& run, QRgb color, TPenMode rop) {
  if (run.isEmpty()) return;
  const qsizetype stride = image.bytesPerLine();
  uchar* first = image.bits() + run.top() * stride + qsizetype(run.left()) * 4;
  if (rop == pmCopy) {
    for (int y = 0; y < run.height(); ++y)
      std::fill_n(reinterpret_cast<QRgb*>(first + y * stride), run.width(), color | 0xFF000000u);
    return;
  }
  WithRop(rop, color, [&](auto op) {
    uchar* base = first;
    for (int y = 0; y < run.height(); ++y, base += stride) {
      auto* p = reinterpret_cast<QRgb*>(base);
      for (int i = 0; i < run.width(); ++i) p[i] = op(p[i]) | 0xFF000000u;
    }
  });
}

void FillSpanRop(QRgb* row, int a, int b, QRgb color, TPenMode rop) {
  WithRop(rop, color, [&](auto op) {
    for (int x = a; x <= b; ++x) row[x] = op(row[x]) | 0xFF000000u;
  });
}

void PlotPixels(QImage& image, const std::vector<QPoint>& pixels, const QPoint& offset, const QRect& clip,
                QRgb color, TPenMode rop) {
  const qsizetype stride = image.bytesPerLine();
  uchar* bits = image.bits();
  WithRop(rop, color, [&](auto op) {
    for (const QPoint& p : pixels) {
      const QPoint d = p + offset;
      if (!clip.contains(d)) continue;
      auto* px = reinterpret_cast<QRgb*>(bits + d.y() * stride) + d.x();
      *px = op(*px) | 0xFF000000u;
    }
  });
}

}  // namespace raster

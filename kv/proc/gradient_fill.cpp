#include "kv/proc/gradient_fill.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "kv/proc/geometry.h"
#include "platform/core/numbers.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"
#include "platform/graphics/raster.h"

namespace {

float Single(long double value) {
  return static_cast<float>(value);
}

int Wrap(int64_t component) {
  return int(component & 0xFF);
}

struct Components {
  int r = 0, g = 0, b = 0;
};

Components Split(TColor rgb) {
  return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

// The colours of one gradient of `steps` steps from c1 by the differences d.
class StepColours {
 public:
  StepColours(const Components& c1, const Components& d, int64_t steps)
      : c1_(c1),
        stepR_(Single(static_cast<long double>(d.r) / steps)),
        stepG_(Single(static_cast<long double>(d.g) / steps)),
        stepB_(Single(static_cast<long double>(d.b) / steps)) {}

  // The colour at step s (whole or half): c1 + Round(s * step), wrapped.
  TColor At(long double s) const {
    return RGBColor(Wrap(c1_.r + Round(s * stepR_)), Wrap(c1_.g + Round(s * stepG_)),
                    Wrap(c1_.b + Round(s * stepB_)));
  }
  // The colour of band i of the band styles: Trunc(i * step + c1), wrapped.
  TColor Band(int64_t i) const {
    const long double s = static_cast<long double>(i);
    return RGBColor(Wrap(Trunc(s * stepR_ + c1_.r)), Wrap(Trunc(s * stepG_ + c1_.g)),
                    Wrap(Trunc(s * stepB_ + c1_.b)));
  }

 private:
  Components c1_;
  float stepR_, stepG_, stepB_;
};

struct Box {
  TRect rect;
  TColor color;
};

// The operations the styles are made of, drawn on the off-screen bitmap with
// the canvas's primitives. Coordinates are the bitmap's.
class GradientSurface {
 public:
  explicit GradientSurface(TBitmap& bitmap)
      : bitmap_(bitmap), canvas_(bitmap.Canvas()), width_(bitmap.Width()), height_(bitmap.Height()) {}
  virtual ~GradientSurface() = default;
  GradientSurface(const GradientSurface&) = delete;
  GradientSurface& operator=(const GradientSurface&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  TCanvas* Canvas() const { return canvas_; }

  // Filled rectangle (0, top, W, bottom) in the brush colour.
  virtual void FillRows(int top, int bottom, TColor color) {
    canvas_->Brush()->SetColor(color);
    canvas_->FillRect(TRect(0, top, width_, bottom));
  }
  // Filled rectangle (left, 0, right, H) in the brush colour.
  virtual void FillColumns(int left, int right, TColor color) {
    canvas_->Brush()->SetColor(color);
    canvas_->FillRect(TRect(left, 0, right, height_));
  }
  // Line (0, y) to (W, y).
  virtual void Row(int y, TColor color) { Line(0, y, width_, y, color); }
  // Line (x, 0) to (x, H).
  virtual void Column(int x, TColor color) { Line(x, 0, x, height_, color); }
  // Framed rectangles with pen and brush in their colour, in the given order.
  virtual void Rectangles(const std::vector<Box>& boxes) {
    for (const Box& box : boxes) {
      SetPenAndBrush(box.color);
      canvas_->Rectangle(box.rect);
    }
  }
  // Filled ellipses with pen and brush in the colour at i, for i = m down
  // to 1: ellipse i spans (c.X - rx, c.Y - ry, c.X + rx, c.Y + ry) with
  // rx = Round(i * sx), ry = Round(i * sy).
  virtual void Ellipses(TPoint c, float sx, float sy, int m, const StepColours& colours) {
    for (int i = m; i >= 1; --i) {
      SetPenAndBrush(colours.At(i));
      const int rx = int(Round(i * static_cast<long double>(sx)));
      const int ry = int(Round(i * static_cast<long double>(sy)));
      canvas_->Ellipse(c.X - rx, c.Y - ry, c.X + rx, c.Y + ry);
    }
  }
  // A closed outline through `points` (the last point equal to the first)
  // with a 1-pixel pen in `color`.
  virtual void Outline(const TPoint* points, int count, TColor color) {
    SetPenAndBrush(color);
    canvas_->Polyline(points, count);
  }
  // Ends the drawing: whatever was collected goes onto the bitmap.
  virtual void Finish() {}

  void SetPenAndBrush(TColor color) {
    canvas_->Pen()->SetColor(color);
    canvas_->Brush()->SetColor(color);
  }
  void Line(int x1, int y1, int x2, int y2, TColor color) {
    canvas_->Pen()->SetColor(color);
    canvas_->MoveTo(x1, y1);
    canvas_->LineTo(x2, y2);
  }

 protected:
  TBitmap& bitmap_;

 private:
  TCanvas* canvas_;
  int width_;
  int height_;
};

// The same operations, but whole rows, whole columns and filled rectangles
// written straight into the image: a full-width line or a filled rectangle
// covers exactly the pixels of its box, clipped to the bitmap, so the result
// equals the primitives' pixel for pixel.
class DirectGradientSurface : public GradientSurface {
 public:
  using GradientSurface::GradientSurface;

  void FillRows(int top, int bottom, TColor color) override {
    FillBox(QRect(0, top, Width(), bottom - top), color);
  }
  void Row(int y, TColor color) override { FillBox(QRect(0, y, Width(), 1), color); }

  // The vertical styles make every row the same: they are drawn into one row
  // that Finish copies down the bitmap.
  void FillColumns(int left, int right, TColor color) override {
    std::vector<QRgb>& row = SharedRow();
    left = std::max(left, 0);
    right = std::min(right, Width());
    if (left < right) std::fill(row.begin() + left, row.begin() + right, ToQRgb(color));
  }
  void Column(int x, TColor color) override {
    if (x >= 0 && x < Width()) SharedRow()[size_t(x)] = ToQRgb(color);
  }

  // The boxes nest, each inside the one before it (as gsRectangle makes
  // them), so every pixel ends in the colour of the smallest box holding it:
  // the innermost box is filled and each larger one only where it leaves
  // the next smaller one, which writes every pixel once.
  void Rectangles(const std::vector<Box>& boxes) override {
    for (size_t i = 0; i + 1 < boxes.size(); ++i) {
      if (!Contains(boxes[i].rect, boxes[i + 1].rect)) {
        GradientSurface::Rectangles(boxes);
        return;
      }
    }
    for (size_t k = boxes.size(); k-- > 0;) {
      const QRect outer = boxes[k].rect.toQRect();
      if (k + 1 == boxes.size()) {
        FillBox(outer, boxes[k].color);
        continue;
      }
      const QRect inner = boxes[k + 1].rect.toQRect();
      const TColor c = boxes[k].color;
      FillBox(QRect(QPoint(outer.left(), outer.top()), QPoint(outer.right(), inner.top() - 1)), c);
      FillBox(QRect(QPoint(outer.left(), inner.bottom() + 1), QPoint(outer.right(), outer.bottom())), c);
      FillBox(QRect(QPoint(outer.left(), inner.top()), QPoint(inner.left() - 1, inner.bottom())), c);
      FillBox(QRect(QPoint(inner.right() + 1, inner.top()), QPoint(outer.right(), inner.bottom())), c);
    }
  }

  // Every ellipse is centred on the same pixel corner, so in any row each
  // one covers a run around the same two middle pixels, and the runs of
  // ellipses 1..i-1 together form one run. A pixel ends in the colour of the
  // smallest ellipse covering it: going outwards from i = 1, ellipse i
  // writes only where its run leaves the runs before it, each pixel once.
  // Rows at the same distance above and below the centre are the same.
  void Ellipses(TPoint c, float sx, float sy, int m, const StepColours& colours) override {
    QImage& image = bitmap_.Image();
    const int w = image.width(), h = image.height();
    struct Ring {
      int rx, ry;
      QRgb rgb;
      raster::EllipseRows rows;
    };
    std::vector<Ring> rings;
    rings.reserve(size_t(m));
    for (int i = 1; i <= m; ++i) {
      const int rx = int(Round(i * static_cast<long double>(sx)));
      const int ry = int(Round(i * static_cast<long double>(sy)));
      rings.push_back(
          {rx, ry, ToQRgb(colours.At(i)), raster::EllipseRows(c.X - rx, c.Y - ry, c.X + rx, c.Y + ry)});
    }
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      const int64_t mirror = 2 * int64_t(c.Y) - 1 - y;
      if (mirror >= 0 && mirror < y) {
        std::copy_n(reinterpret_cast<const QRgb*>(image.constScanLine(int(mirror))), w, row);
        continue;
      }
      int left = std::numeric_limits<int>::max(), right = std::numeric_limits<int>::min();
      for (const Ring& ring : rings) {
        if (ring.rx <= 0 || ring.ry <= 0) continue;
        const int top = c.Y - ring.ry;
        if (y < top || y >= c.Y + ring.ry) continue;
        int l, r;
        ring.rows.Row(y - top, l, r);
        l = std::max(l, 0);
        r = std::min(r, w - 1);
        if (left > right) {
          if (l <= r) std::fill(row + l, row + r + 1, ring.rgb);
        } else {
          if (l < left) std::fill(row + l, row + left, ring.rgb);
          if (r > right) std::fill(row + right + 1, row + r + 1, ring.rgb);
        }
        if (l <= r) {
          left = std::min(left, l);
          right = std::max(right, r);
        }
      }
    }
  }

  // The segments' pixels go straight into the image, as the canvas's thin
  // solid pen would plot them (each segment from its start up to its end
  // left out), without collecting them first. GradFill's own bitmap always
  // draws with such a pen (1 pixel, solid, copy mode).
  void Outline(const TPoint* points, int count, TColor color) override {
    QImage& image = bitmap_.Image();
    const int w = image.width(), h = image.height();
    const qsizetype stride = image.bytesPerLine();
    uchar* bits = image.bits();
    const QRgb rgb = ToQRgb(color);
    for (int i = 0; i + 1 < count; ++i) {
      raster::ForEachLinePixel(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, [&](int x, int y) {
        if (unsigned(x) < unsigned(w) && unsigned(y) < unsigned(h))
          reinterpret_cast<QRgb*>(bits + y * stride)[x] = rgb;
      });
    }
  }

  void Finish() override {
    if (row_.empty()) return;
    QImage& image = bitmap_.Image();
    // One detach check for the whole image instead of one per row.
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int height = image.height();
    for (int y = 0; y < height; ++y)
      std::copy(row_.begin(), row_.end(), reinterpret_cast<QRgb*>(bits + y * stride));
    row_.clear();
  }

 private:
  static bool Contains(const TRect& outer, const TRect& inner) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom && inner.Left < inner.Right && inner.Top < inner.Bottom;
  }

  void FillBox(const QRect& box, TColor color) {
    QImage& image = bitmap_.Image();
    const QRect r = box & image.rect();
    if (r.isEmpty()) return;
    const QRgb value = ToQRgb(color);
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = r.top(); y <= r.bottom(); ++y)
      std::fill_n(reinterpret_cast<QRgb*>(bits + y * stride) + r.left(), r.width(), value);
  }

  std::vector<QRgb>& SharedRow() {
    if (row_.empty()) {
      const QImage& image = bitmap_.Image();
      const auto* first = reinterpret_cast<const QRgb*>(image.constScanLine(0));
      row_.assign(first, first + image.width());
    }
    return row_;
  }

  std::vector<QRgb> row_;
};

// --- The styles ----------------------------------------------------------------
// W, H: the bitmap's size; c1, d: start colour and differences; m: the
// largest difference (at least 1).

struct Gradient {
  Components c1;
  Components d;
  int m = 1;
  TColor colorFrom;  // as given
  TColor colorTo;    // as given
  TColor rgbFrom;    // resolved
};

void BandsDown(GradientSurface& s, const Gradient& g) {
  const int h0 = s.Height();
  int bands = std::min(g.m, h0);
  if (bands == 0) bands = 1;
  const int h = h0 / bands;
  int n = h0 / h;
  if (n == 0) n = 1;
  const StepColours colours(g.c1, g.d, n);
  for (int i = 0; i <= n; ++i) s.FillRows(i * h, i * h + h, colours.Band(i));
}

void BandsAcross(GradientSurface& s, const Gradient& g) {
  const int w0 = s.Width();
  int bands = std::min(g.m, w0);
  if (bands == 0) bands = 1;
  const int w = w0 / bands;
  int n = w0 / w;
  if (n == 0) n = 1;
  const StepColours colours(g.c1, g.d, n);
  for (int i = 0; i <= n; ++i) s.FillColumns(i * w, i * w + w, colours.Band(i));
}

// Rows (or columns) around the one at `centre`, c1 there, the colour at i at
// a distance i; the far side only while it stays inside.
template <typename Draw>
void Lines(int n, int centre, bool clipNear, const Gradient& g, Draw draw) {
  const StepColours colours(g.c1, g.d, n);
  draw(centre, g.rgbFrom);
  for (int i = 1; i <= n; ++i) {
    const TColor c = colours.At(i);
    draw(centre + i, c);
    if (!clipNear || centre - i >= 0) draw(centre - i, c);
  }
}

void MirroredRows(GradientSurface& s, const Gradient& g) {
  int n = s.Height() / 2;
  if (n == 0) n = 1;
  Lines(n, n, false, g, [&](int y, TColor c) { s.Row(y, c); });
}

void ThirdRows(GradientSurface& s, const Gradient& g) {
  int n = int(Round(s.Height() * 0.67L));
  if (n == 0) n = 1;
  Lines(n, s.Height() / 3, true, g, [&](int y, TColor c) { s.Row(y, c); });
}

void MirroredColumns(GradientSurface& s, const Gradient& g) {
  int n = s.Width() / 2;
  if (n == 0) n = 1;
  Lines(n, n, false, g, [&](int x, TColor c) { s.Column(x, c); });
}

void ThirdColumns(GradientSurface& s, const Gradient& g) {
  int n = int(Round(s.Width() * 0.67L));
  if (n == 0) n = 1;
  Lines(n, s.Width() / 3, true, g, [&](int x, TColor c) { s.Column(x, c); });
}

// The background of the ellipse and diamond styles: a framed rectangle over
// the clip rectangle in ColorTo as given. Returns the centre of the clip.
TPoint Background(GradientSurface& s, const Gradient& g) {
  const TRect clip = s.Canvas()->ClipRect();
  s.SetPenAndBrush(g.colorTo);
  s.Canvas()->Rectangle(clip);
  return KvCenterPoint(clip);
}

void Ellipses(GradientSurface& s, const Gradient& g, TGradientStyle style) {
  const long double w = s.Width(), h = s.Height(), m = g.m;
  TPoint c = Background(s, g);
  float sx, sy;
  switch (style) {
    case gsElliptic2:
      sx = Single(w / m * 0.695L);
      sy = Single(h / m * 0.695L);
      break;
    case gsElliptic3:
      c = TPoint(c.X - s.Width() / 4 + 1, c.Y - s.Height() / 4 + 1);
      sx = Single(w / m * 0.82L);
      sy = Single(h / m * 0.82L);
      break;
    default:
      sx = Single(w / m / 2);
      sy = Single(h / m / 2);
      break;
  }
  s.Ellipses(c, sx, sy, g.m, StepColours(g.c1, g.d, g.m));
}

void NestedRectangles(GradientSurface& s, const Gradient& g) {
  const long double w = s.Width(), h = s.Height(), m = g.m;
  const TPoint c = KvCenterPoint(s.Canvas()->ClipRect());
  const float sx = Single(w / m / 2);
  const float sy = Single(h / m / 2);
  const StepColours colours(g.c1, g.d, g.m);
  std::vector<Box> boxes;
  boxes.reserve(size_t(g.m) + 1);
  for (int i = g.m; i >= 0; --i) {
    const int rx = int(Round(i * static_cast<long double>(sx)));
    const int ry = int(Round(i * static_cast<long double>(sy)));
    boxes.push_back({TRect(c.X - rx, c.Y - ry, c.X + rx + 1, c.Y + ry + 1), colours.At(i)});
  }
  s.Rectangles(boxes);
}

void Diamonds(GradientSurface& s, const Gradient& g, bool twice) {
  const int l = std::max(s.Width(), s.Height());
  int n = std::max(twice ? l : l / 2, g.m);
  if (n == 0) n = 1;
  const long double w = s.Width(), h = s.Height();
  const float sx = twice ? Single(w / n) : Single(w / n / 2);
  const float sy = twice ? Single(h / n) : Single(h / n / 2);
  const TPoint c = Background(s, g);
  const StepColours colours(g.c1, g.d, n);
  for (int i = n; i >= 1; --i) {
    const int rx = int(Round(i * static_cast<long double>(sx)));
    const int ry = int(Round(i * static_cast<long double>(sy)));
    const TPoint outline[] = {TPoint(c.X, c.Y - ry), TPoint(c.X + rx, c.Y), TPoint(c.X, c.Y + ry),
                              TPoint(c.X - rx, c.Y), TPoint(c.X, c.Y - ry)};
    s.Outline(outline, 5, colours.At(i));
  }
  s.Canvas()->SetPixels(c.X, c.Y, g.colorFrom);
}

// Diagonal lines from one corner (c1) to the opposite one (c2), the two
// halves meeting on the middle diagonal.
void Diagonals(GradientSurface& s, const Gradient& g, bool fromTopRight) {
  const int w = s.Width(), h = s.Height();
  const int l = std::max(w, h);
  const float sx = Single(static_cast<long double>(w) / l);
  const float sy = Single(static_cast<long double>(h) / l);
  int n = l;
  if (n == 0) n = 1;
  const StepColours colours(g.c1, g.d, n);
  for (int i = 0; i <= n; ++i) {
    const long double half = i / 2.0L;
    const int px = int(Round(i * static_cast<long double>(sx)));
    const int py = int(Round(i * static_cast<long double>(sy)));
    if (fromTopRight) {
      s.Line(w, py, w - px, -1, colours.At(half));
      s.Line(0, h - py, px, h, colours.At(n - half));
    } else {
      s.Line(0, py, px, -1, colours.At(half));
      s.Line(w, h - py, w - px, h, colours.At(n - half));
    }
  }
}

void DrawStyle(GradientSurface& s, const Gradient& g, TGradientStyle style) {
  switch (style) {
    case gsHorizontal1:
      BandsDown(s, g);
      break;
    case gsHorizontal2:
      MirroredRows(s, g);
      break;
    case gsHorizontal3:
      ThirdRows(s, g);
      break;
    case gsVertical1:
      BandsAcross(s, g);
      break;
    case gsVertical2:
      MirroredColumns(s, g);
      break;
    case gsVertical3:
      ThirdColumns(s, g);
      break;
    case gsElliptic1:
    case gsElliptic2:
    case gsElliptic3:
      Ellipses(s, g, style);
      break;
    case gsRectangle:
      NestedRectangles(s, g);
      break;
    case gsDiamond1:
      Diamonds(s, g, false);
      break;
    case gsDiamond2:
      Diamonds(s, g, true);
      break;
    case gsTopLeft:
      Diagonals(s, g, false);
      break;
    case gsTopRight:
      Diagonals(s, g, true);
      break;
  }
  s.Finish();
}

// Whether the style writes every pixel of the bitmap whatever its size: the
// full-height and full-width bands (N + 1 bands of N div h reach past the
// edge), the mirrored lines (rows N - i..N + i for i up to N = side div 2),
// the lines from a third (N = Round(0.67 side) reaches row 0 above and,
// with side div 3 + N >= side - 1, the last row below), and the styles that
// start with a rectangle over the whole bitmap.
bool CoversEveryPixel(TGradientStyle style, bool equalColours) {
  switch (style) {
    case gsHorizontal1:
    case gsHorizontal2:
    case gsHorizontal3:
    case gsVertical1:
    case gsVertical2:
    case gsVertical3:
    case gsElliptic1:
    case gsElliptic2:
    case gsElliptic3:
    case gsDiamond1:
    case gsDiamond2:
      return true;
    default:
      return equalColours;
  }
}

void GradFill(TCanvas* canvas, const TRect& rect, TColor colorFrom, TColor colorTo, TGradientStyle style,
              bool direct) {
  if (!canvas) return;
  // Computed wide: a rectangle whose sides overflow 32 bits is no area to fill.
  const int64_t w = int64_t(rect.Right) - rect.Left;
  const int64_t h = int64_t(rect.Bottom) - rect.Top;
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  // Nothing would be visible without area, and the band and corner styles
  // would divide by zero: such a rectangle draws nothing.
  if (w <= 0 || h <= 0 || w > kMax || h > kMax) return;

  // Controls repaint their gradient at the same size again and again: the
  // direct drawing keeps its bitmap per thread and only whitens it again,
  // which spares allocating (and faulting in) a fresh image every time.
  TBitmap local;
  thread_local TBitmap kept;
  TBitmap& bitmap = direct ? kept : local;
  const TColor c1 = ColorToRGB(colorFrom);
  const TColor c2 = ColorToRGB(colorTo);
  if (direct && (bitmap.Width() != int(w) || bitmap.Height() != int(h))) bitmap.SetSize(0, 0);
  if (bitmap.Width() == int(w) && bitmap.Height() == int(h)) {
    if (!CoversEveryPixel(style, c1 == c2)) bitmap.Image().fill(Qt::white);
  } else {
    bitmap.SetSize(int(w), int(h));
  }
  if (bitmap.Empty()) return;
  TCanvas* target = bitmap.Canvas();
  if (c1 == c2) {
    target->Pen()->SetColor(colorFrom);
    target->Brush()->SetColor(colorFrom);
    target->Rectangle(0, 0, int(w), int(h));
  } else {
    Gradient g;
    g.c1 = Split(c1);
    const Components to = Split(c2);
    g.d = {to.r - g.c1.r, to.g - g.c1.g, to.b - g.c1.b};
    g.m = std::max({std::abs(g.d.r), std::abs(g.d.g), std::abs(g.d.b)});
    if (g.m == 0) g.m = 1;  // colours differing only above the low 24 bits
    g.colorFrom = colorFrom;
    g.colorTo = colorTo;
    g.rgbFrom = RGBColor(g.c1.r, g.c1.g, g.c1.b);
    target->Pen()->SetWidth(1);
    target->Brush()->SetStyle(bsSolid);
    std::unique_ptr<GradientSurface> surface =
        direct ? std::make_unique<DirectGradientSurface>(bitmap) : std::make_unique<GradientSurface>(bitmap);
    DrawStyle(*surface, g, style);
  }
  canvas->Draw(rect.Left, rect.Top, &bitmap);
}

}  // namespace

void KvGradFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TColor ColorTo, TGradientStyle Style) {
  GradFill(Canvas, Rect, ColorFrom, ColorTo, Style, true);
}

void KvGradFillWithPrimitives(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TColor ColorTo,
                              TGradientStyle Style) {
  GradFill(Canvas, Rect, ColorFrom, ColorTo, Style, false);
}

TColor KvCalcColor(TColor ColorFrom, TColor ColorTo, int32_t Steps, int32_t Step) {
  const TColor c1 = ColorToRGB(ColorFrom);
  const TColor c2 = ColorToRGB(ColorTo);
  if (c1 == c2) return ColorFrom;
  if (Steps == 0) Steps = 1;
  const Components a = Split(c1);
  const Components b = Split(c2);
  auto component = [&](int from, int to) {
    return Wrap(from + Round(static_cast<long double>(to - from) / Steps * Step));
  };
  return RGBColor(component(a.r, b.r), component(a.g, b.g), component(a.b, b.b));
}

void KvCircleGradFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TColor ColorTo) {
  if (!Canvas) return;
  const Components c1 = Split(ColorToRGB(ColorFrom));
  const Components c2 = Split(ColorToRGB(ColorTo));
  const Components d{c2.r - c1.r, c2.g - c1.g, c2.b - c1.b};
  const int64_t w = int64_t(Rect.Right) - Rect.Left;
  Canvas->Pen()->SetWidth(1);
  // Beyond this the line ends would overflow 32 bits; nothing of it would show.
  constexpr int64_t kLimit = std::numeric_limits<int32_t>::max() / 4;
  if (w > kLimit || w < -kLimit) return;
  const int64_t f = Round(w * 0.22L);
  int64_t n = 2 * w - 2 * f;
  // A width of 0 still makes one step: one line from the top-left corner.
  if (n == 0) n = 1;
  if (n < 0) return;
  const StepColours colours(c1, d, n);
  for (int64_t i = 0; i <= n; ++i) {
    Canvas->Pen()->SetColor(colours.At(i));
    Canvas->MoveTo(int(Rect.Left + f - 1 + i), Rect.Top);
    Canvas->LineTo(Rect.Left - 1, int(Rect.Top + f + i));
  }
}

void GetBkUpImage(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect) {
  if (!Canvas || !Bitmap) return;
  TRect visible;
  if (!KvRectIntersection(Canvas->ClipRect(), Rect, visible)) return;
  TBitmap saved;
  saved.SetSize(visible.Width(), visible.Height());
  saved.Canvas()->CopyRect(TRect(0, 0, visible.Width(), visible.Height()), Canvas, visible);
  Bitmap->SetSize(Rect.Width(), Rect.Height());
  Bitmap->Canvas()->Draw(visible.Left - Rect.Left, visible.Top - Rect.Top, &saved);
}

// KvGradFill against the same gradient made in plain Qt, in the same run:
// for every style and size one benchmark alternates KvGradFill onto a
// bitmap with the plain version on a fresh QImage followed by the copy onto
// the target. The plain version writes whole rows and columns straight into
// the image's scanlines and draws rectangles, ellipses, polylines and lines
// with a QPainter. Alternating the two inside one loop keeps a busy machine
// from favouring either. Counters: kv_us and raw_us per fill, ratio = kv /
// raw (the goal is at most 1.0). A table of the ratios (the median over the
// repetitions) is printed at the end.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMetaEnum>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_ratio.h"
#include "kv/proc/gradient_fill.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace {

using bench::Clock;

// The two colours: red to blue, the largest step count (M = 255).
constexpr QRgb kFrom = 0xFFFF0000;
constexpr QRgb kTo = 0xFF0000FF;

// The colour steps of one gradient, computed as KvGradFill computes them.
class Steps {
 public:
  Steps(QRgb from, QRgb to, long long n)
      : r_(qRed(from)),
        g_(qGreen(from)),
        b_(qBlue(from)),
        sr_(static_cast<float>(static_cast<long double>(qRed(to) - r_) / n)),
        sg_(static_cast<float>(static_cast<long double>(qGreen(to) - g_) / n)),
        sb_(static_cast<float>(static_cast<long double>(qBlue(to) - b_) / n)) {}
  QColor At(long double s) const {
    return QColor(Wrap(r_ + std::nearbyint(s * sr_)), Wrap(g_ + std::nearbyint(s * sg_)),
                  Wrap(b_ + std::nearbyint(s * sb_)));
  }
  QColor Band(int i) const {
    return QColor(Wrap(std::trunc(i * static_cast<long double>(sr_) + r_)),
                  Wrap(std::trunc(i * static_cast<long double>(sg_) + g_)),
                  Wrap(std::trunc(i * static_cast<long double>(sb_) + b_)));
  }

 private:
  static int Wrap(long double v) { return int(static_cast<long long>(v) & 0xFF); }
  int r_, g_, b_;
  float sr_, sg_, sb_;
};

int LargestDifference() {
  const int m = std::max({std::abs(qRed(kTo) - qRed(kFrom)), std::abs(qGreen(kTo) - qGreen(kFrom)),
                          std::abs(qBlue(kTo) - qBlue(kFrom))});
  return m == 0 ? 1 : m;
}

void Pen(QPainter& p, const QColor& c) {
  p.setPen(c);
}
void PenAndBrush(QPainter& p, const QColor& c) {
  p.setPen(c);
  p.setBrush(c);
}
int Rnd(long double v) {
  return int(std::nearbyint(v));
}

// Rows of a Format_RGB32 image written directly: the best plain-Qt way to
// fill whole rows and columns.
void FillRow(QImage& image, int y, QRgb colour) {
  if (y >= 0 && y < image.height())
    std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(), colour);
}
void FillRowPart(std::vector<QRgb>& row, int x1, int x2, QRgb colour) {
  x1 = std::max(x1, 0);
  x2 = std::min(x2, int(row.size()));
  if (x1 < x2) std::fill(row.begin() + x1, row.begin() + x2, colour);
}
void CopyRowDown(QImage& image, const std::vector<QRgb>& row) {
  for (int y = 0; y < image.height(); ++y)
    std::copy(row.begin(), row.end(), reinterpret_cast<QRgb*>(image.scanLine(y)));
}

// The style's drawing in plain Qt on `image` (w x h), through `p` where a
// shape is drawn.
void RawStyle(QImage& image, QPainter& p, int w, int h, TGradientStyle style) {
  const int m = LargestDifference();
  const QColor c1 = QColor::fromRgb(kFrom);
  switch (style) {
    case gsHorizontal1:
    case gsVertical1: {
      const int side = style == gsHorizontal1 ? h : w;
      int bands = std::min(m, side);
      const int band = side / bands;
      const int n = std::max(1, side / band);
      const Steps steps(kFrom, kTo, n);
      std::vector<QRgb> row(static_cast<size_t>(w));
      for (int i = 0; i <= n; ++i) {
        const QRgb c = steps.Band(i).rgb();
        if (style == gsHorizontal1)
          for (int y = i * band; y < i * band + band; ++y) FillRow(image, y, c);
        else
          FillRowPart(row, i * band, i * band + band, c);
      }
      if (style == gsVertical1) CopyRowDown(image, row);
      break;
    }
    case gsHorizontal2:
    case gsHorizontal3:
    case gsVertical2:
    case gsVertical3: {
      const bool rows = style == gsHorizontal2 || style == gsHorizontal3;
      const bool mirrored = style == gsHorizontal2 || style == gsVertical2;
      const int side = rows ? h : w;
      const int n = std::max(1, mirrored ? side / 2 : Rnd(side * 0.67L));
      const int centre = mirrored ? n : side / 3;
      const Steps steps(kFrom, kTo, n);
      std::vector<QRgb> row;
      if (!rows) {
        const auto* first = reinterpret_cast<const QRgb*>(image.constScanLine(0));
        row.assign(first, first + w);
      }
      auto line = [&](int at, QRgb c) {
        if (rows)
          FillRow(image, at, c);
        else
          FillRowPart(row, at, at + 1, c);
      };
      line(centre, c1.rgb());
      for (int i = 1; i <= n; ++i) {
        const QRgb c = steps.At(i).rgb();
        line(centre + i, c);
        if (mirrored || centre - i >= 0) line(centre - i, c);
      }
      if (!rows) CopyRowDown(image, row);
      break;
    }
    case gsElliptic1:
    case gsElliptic2:
    case gsElliptic3: {
      PenAndBrush(p, QColor::fromRgb(kTo));
      p.drawRect(QRect(0, 0, w - 1, h - 1));
      int cx = w / 2, cy = h / 2;
      long double fx = 1.0L / 2, fy = 1.0L / 2;
      if (style == gsElliptic2) fx = fy = 0.695L;
      if (style == gsElliptic3) {
        fx = fy = 0.82L;
        cx = cx - w / 4 + 1;
        cy = cy - h / 4 + 1;
      }
      const float sx = static_cast<float>(static_cast<long double>(w) / m * fx);
      const float sy = static_cast<float>(static_cast<long double>(h) / m * fy);
      const Steps steps(kFrom, kTo, m);
      for (int i = m; i >= 1; --i) {
        PenAndBrush(p, steps.At(i));
        const int rx = Rnd(i * static_cast<long double>(sx)), ry = Rnd(i * static_cast<long double>(sy));
        if (rx > 0 && ry > 0) p.drawEllipse(QRect(cx - rx, cy - ry, 2 * rx - 1, 2 * ry - 1));
      }
      break;
    }
    case gsRectangle: {
      const float sx = static_cast<float>(static_cast<long double>(w) / m / 2);
      const float sy = static_cast<float>(static_cast<long double>(h) / m / 2);
      const Steps steps(kFrom, kTo, m);
      for (int i = m; i >= 0; --i) {
        PenAndBrush(p, steps.At(i));
        const int rx = Rnd(i * static_cast<long double>(sx)), ry = Rnd(i * static_cast<long double>(sy));
        p.drawRect(QRect(w / 2 - rx, h / 2 - ry, 2 * rx, 2 * ry));
      }
      break;
    }
    case gsDiamond1:
    case gsDiamond2: {
      const bool twice = style == gsDiamond2;
      const int l = std::max(w, h);
      const int n = std::max(1, std::max(twice ? l : l / 2, m));
      const float sx = static_cast<float>(static_cast<long double>(w) / n / (twice ? 1 : 2));
      const float sy = static_cast<float>(static_cast<long double>(h) / n / (twice ? 1 : 2));
      const int cx = w / 2, cy = h / 2;
      PenAndBrush(p, QColor::fromRgb(kTo));
      p.drawRect(QRect(0, 0, w - 1, h - 1));
      const Steps steps(kFrom, kTo, n);
      for (int i = n; i >= 1; --i) {
        Pen(p, steps.At(i));
        const int rx = Rnd(i * static_cast<long double>(sx)), ry = Rnd(i * static_cast<long double>(sy));
        const QPoint outline[] = {{cx, cy - ry}, {cx + rx, cy}, {cx, cy + ry}, {cx - rx, cy}, {cx, cy - ry}};
        p.drawPolyline(outline, 5);
      }
      Pen(p, c1);
      p.drawPoint(cx, cy);
      break;
    }
    case gsTopLeft:
    case gsTopRight: {
      const int l = std::max(w, h);
      const float sx = static_cast<float>(static_cast<long double>(w) / l);
      const float sy = static_cast<float>(static_cast<long double>(h) / l);
      const int n = std::max(1, l);
      const Steps steps(kFrom, kTo, n);
      for (int i = 0; i <= n; ++i) {
        const int px = Rnd(i * static_cast<long double>(sx)), py = Rnd(i * static_cast<long double>(sy));
        Pen(p, steps.At(i / 2.0L));
        if (style == gsTopLeft)
          p.drawLine(0, py, px, -1);
        else
          p.drawLine(w, py, w - px, -1);
        Pen(p, steps.At(n - i / 2.0L));
        if (style == gsTopLeft)
          p.drawLine(w, h - py, w - px, h);
        else
          p.drawLine(0, h - py, px, h);
      }
      break;
    }
  }
}

void RawGradFill(QImage& target, int w, int h, TGradientStyle style) {
  QImage image(w, h, QImage::Format_RGB32);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    RawStyle(image, p, w, h, style);
  }
  QPainter p(&target);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(0, 0, image);
}

// Every repetition's ratio per style and size; the table shows their median.
std::map<std::string, std::vector<double>>& Ratios() {
  static std::map<std::string, std::vector<double>> ratios;
  return ratios;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void BM_GradFill(benchmark::State& state) {
  const auto style = TGradientStyle(state.range(0));
  const int w = int(state.range(1));
  const int h = int(state.range(2));
  TBitmap target;
  target.SetSize(w, h);
  QImage raw(w, h, QImage::Format_RGB32);
  raw.fill(Qt::white);
  Clock::duration kv{}, qt{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    KvGradFill(target.Canvas(), TRect(0, 0, w, h), TColor(RGBColor(255, 0, 0)), TColor(RGBColor(0, 0, 255)),
               style);
    const auto t1 = Clock::now();
    RawGradFill(raw, w, h, style);
    const auto t2 = Clock::now();
    kv += t1 - t0;
    qt += t2 - t1;
  }
  const double ratio = bench::ReportRatio(state, kv, qt);
  const std::string name = QMetaEnum::fromType<TGradientStyle>().valueToKey(style);
  Ratios()[name + " " + std::to_string(w) + "x" + std::to_string(h)].push_back(ratio);
}

void Cases(benchmark::internal::Benchmark* b) {
  for (int style = 0; style < kGradientStyleCount; ++style) {
    b->Args({style, 332, 341});
    b->Args({style, 1024, 768});
  }
}

BENCHMARK(BM_GradFill)->Apply(Cases)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::printf("\n%-26s %8s\n", "style and size", "kv/raw (median of the repetitions)");
  for (const auto& [name, ratios] : Ratios()) std::printf("%-26s %8.2f\n", name.c_str(), Median(ratios));
  benchmark::Shutdown();
  return 0;
}

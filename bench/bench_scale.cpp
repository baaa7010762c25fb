// Round scale painting: CalcRSize + RoundScala of 0..100 in 10 major and 5
// minor steps with labels, on a 300 x 300 bitmap cleared before each paint,
// against the same ticks and labels drawn with raw QPainter calls on a
// QImage, alternating inside one loop so that a busy machine favours neither.
// Counters: kv_us and raw_us per paint, ratio = kv / raw.
//
// Two extra modes serve the comparison script tools/bench_peer_scale:
//   bench_scale --paints N     prints the wall and process CPU time per paint
//                              ("us_per_paint <wall> cpu_us_per_paint <cpu>")
//   bench_scale --png FILE     paints once, saves the picture and prints
//                              "geometry cx cy inner major minor width font"
//                              (centre, inner end of the major ticks, tick
//                              lengths, major pen width, font pixel height)

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "kv/proc/geometry.h"
#include "kv/proc/text_output.h"
#include "kv/settings/scale_settings.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace {

// CPU time of the whole process: on a machine shared with other work it
// counts only the time this program ran.
double ProcessCpuMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

using Clock = std::chrono::steady_clock;
constexpr int kSize = 300;

class OurScale {
 public:
  OurScale() {
    bitmap_.SetSize(kSize, kSize);
    settings_.SetSteps(10);
    settings_.SetSubSteps(5);
  }
  void Paint() {
    TCanvas* c = bitmap_.Canvas();
    // Cleared with the same QPainter call as the peer's and the raw image,
    // so that only the scale painting differs between them.
    c->Painter()->fillRect(0, 0, kSize, kSize, Qt::white);
    settings_.CalcRSize(c, 0, 100);
    TRect r(0, 0, kSize, kSize);
    settings_.RoundScala(c, r, 225, 270);
  }
  const QImage& Image() const { return bitmap_.Image(); }
  const TScaleSettings& Settings() const { return settings_; }

 private:
  TBitmap bitmap_;
  TScaleSettings settings_;
};

// The same picture with plain QPainter calls: the geometry the painter left
// (centre, radius, tick lengths) is taken once, then ticks are lines and
// labels are texts centred on their anchors.
class RawScale {
 public:
  explicit RawScale(const TScaleSettings& s) : image_(kSize, kSize, QImage::Format_RGB32) {
    font_ = s.Font()->ToQFont();
    centre_ = QPoint(s.Center.X, s.Center.Y);
    r_ = (kSize - 2 * s.TextSpace) / 2 + s.TextSpace - s.TextWidth / 2;
    outer_ = r_ - s.TextSpace;
    inner_ = outer_ - s.StepLength;
    minor_ = inner_ + s.SubStepLength;
    width_ = s.StepWidth;
    for (int i = 0; i <= 10; ++i) labels_.push_back(QString::number(i * 10));
  }
  void Paint() {
    QPainter p(&image_);
    p.fillRect(image_.rect(), Qt::white);
    p.setFont(font_);
    const QFontMetrics fm(font_);
    for (int i = 0; i <= 50; ++i) {
      const double a = (225 + i * 5.4) * M_PI / 180;
      const double sx = std::sin(a), cy = -std::cos(a);
      const bool major = i % 5 == 0;
      p.setPen(QPen(Qt::black, major ? width_ : 1));
      const int from = major ? outer_ : minor_;
      p.drawLine(centre_ + QPoint(int(std::lround(from * sx)), int(std::lround(from * cy))),
                 centre_ + QPoint(int(std::lround(inner_ * sx)), int(std::lround(inner_ * cy))));
      if (major) {
        const QString& text = labels_[i / 5];
        const QPoint at = centre_ + QPoint(int(std::lround(r_ * sx)), int(std::lround(r_ * cy)));
        p.drawText(at.x() - fm.horizontalAdvance(text) / 2, at.y() - fm.height() / 2 + fm.ascent(), text);
      }
    }
  }

 private:
  QImage image_;
  QFont font_;
  QPoint centre_;
  int r_, outer_, inner_, minor_, width_;
  std::vector<QString> labels_;
};

void BM_RoundScala(benchmark::State& state) {
  OurScale ours;
  ours.Paint();
  RawScale raw(ours.Settings());
  double kvTime = 0, rawTime = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    ours.Paint();
    auto t1 = Clock::now();
    raw.Paint();
    auto t2 = Clock::now();
    kvTime += std::chrono::duration<double, std::micro>(t1 - t0).count();
    rawTime += std::chrono::duration<double, std::micro>(t2 - t1).count();
  }
  const double n = double(state.iterations());
  state.counters["kv_us"] = kvTime / n;
  state.counters["raw_us"] = rawTime / n;
  state.counters["ratio"] = rawTime > 0 ? kvTime / rawTime : 0;
}
BENCHMARK(BM_RoundScala)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--paints") == 0) {
    const int n = std::max(1, std::atoi(argv[2]));
    OurScale ours;
    ours.Paint();  // warm the font and width caches as a repaint would find them
    const double cpu0 = ProcessCpuMicroseconds();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) ours.Paint();
    const double wall =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = ProcessCpuMicroseconds() - cpu0;
    std::printf("us_per_paint %.3f cpu_us_per_paint %.3f\n", wall / n, cpu / n);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "--png") == 0) {
    OurScale ours;
    ours.Paint();
    const TScaleSettings& s = ours.Settings();
    const int r = (kSize - 2 * s.TextSpace) / 2 + s.TextSpace - s.TextWidth / 2;
    std::printf("geometry %d %d %d %d %d %d %d\n", s.Center.X, s.Center.Y, r - s.TextSpace - s.StepLength,
                s.StepLength, s.SubStepLength, s.StepWidth, -s.Font()->Height());
    return ours.Image().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

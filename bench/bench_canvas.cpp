// TCanvas against the raw QPainter calls it wraps, in the same run: each
// Canvas/<op> has a Raw/<op> twin doing the same drawing straight through a
// QPainter on the same kind of image. After the run a table of the ratios
// Canvas/Raw is printed (the goal is at most 1.3 for the common shapes).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>
#include <string>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/colors.h"

namespace {

constexpr int kSize = 256;

// A bitmap canvas with a pen and brush set, as the library's painters use it.
struct CanvasSetup {
  TBitmap bitmap;
  TCanvas* canvas;
  CanvasSetup() {
    bitmap.SetSize(kSize, kSize);
    canvas = bitmap.Canvas();
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetColor(clYellow);
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetHeight(-13);
  }
};

// The same on a bare QImage, configured as the canvas configures its painter.
struct RawSetup {
  QImage image{kSize, kSize, QImage::Format_RGB32};
  QPainter painter;
  RawSetup() {
    image.fill(Qt::white);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(Qt::black));
    painter.setBrush(QColor(Qt::yellow));
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-13);
    painter.setFont(font.ToQFont());
  }
};

int Step(int i, int range) {
  return (i * 7) % range;
}

// --- Rectangles --------------------------------------------------------------

void Canvas_Rectangle20(benchmark::State& state) {
  CanvasSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 20);
    s.canvas->Rectangle(x, x / 2, x + 20, x / 2 + 20);
  }
}
void Raw_Rectangle20(benchmark::State& state) {
  RawSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 20);
    s.painter.drawRect(QRect(x, x / 2, 19, 19));
  }
}

void Canvas_FillRect100(benchmark::State& state) {
  CanvasSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 100);
    s.canvas->FillRect(TRect(x, 10, x + 100, 110));
  }
}
void Raw_FillRect100(benchmark::State& state) {
  RawSetup s;
  int i = 0;
  const QColor yellow(Qt::yellow);
  for (auto _ : state) {
    const int x = Step(i++, kSize - 100);
    s.painter.fillRect(QRect(x, 10, 100, 100), yellow);
  }
}

// --- Lines -------------------------------------------------------------------

void Canvas_LineHorizontal(benchmark::State& state) {
  CanvasSetup s;
  int i = 0;
  for (auto _ : state) {
    const int y = Step(i++, kSize);
    s.canvas->MoveTo(10, y);
    s.canvas->LineTo(210, y);
  }
}
void Raw_LineHorizontal(benchmark::State& state) {
  RawSetup s;
  int i = 0;
  for (auto _ : state) {
    const int y = Step(i++, kSize);
    s.painter.drawLine(10, y, 209, y);
  }
}

void Canvas_LineDiagonal(benchmark::State& state) {
  CanvasSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 60);
    s.canvas->MoveTo(x, 0);
    s.canvas->LineTo(x + 57, 200);
  }
}
void Raw_LineDiagonal(benchmark::State& state) {
  RawSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 60);
    s.painter.drawLine(x, 0, x + 57, 200);
  }
}

// --- Ellipses ----------------------------------------------------------------

void Canvas_Ellipse20(benchmark::State& state) {
  CanvasSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 20);
    s.canvas->Ellipse(x, 30, x + 20, 50);
  }
}
void Raw_Ellipse20(benchmark::State& state) {
  RawSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 20);
    s.painter.drawEllipse(QRect(x, 30, 19, 19));
  }
}

void Canvas_Ellipse120x80(benchmark::State& state) {
  CanvasSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 120);
    s.canvas->Ellipse(x, 30, x + 120, 110);
  }
}
void Raw_Ellipse120x80(benchmark::State& state) {
  RawSetup s;
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 120);
    s.painter.drawEllipse(QRect(x, 30, 119, 79));
  }
}

// --- Text --------------------------------------------------------------------

void Canvas_TextOut(benchmark::State& state) {
  CanvasSetup s;
  s.canvas->Brush()->SetStyle(bsClear);
  int i = 0;
  for (auto _ : state) s.canvas->TextOut(Step(i++, 150), 40, "Value 123.4");
}
void Raw_TextOut(benchmark::State& state) {
  RawSetup s;
  int i = 0;
  for (auto _ : state) s.painter.drawText(Step(i++, 150), 52, "Value 123.4");
}

// The canvas keeps the widths of the texts it has measured; the plain Qt
// twin keeps them the same way, so both measure a label once and then look
// it up.
void Canvas_TextWidth(benchmark::State& state) {
  CanvasSetup s;
  const QString text = QStringLiteral("Value 123.4");
  for (auto _ : state) benchmark::DoNotOptimize(s.canvas->TextWidth(text));
}
void Raw_TextWidth(benchmark::State& state) {
  RawSetup s;
  const QFontMetrics fm(s.painter.font());
  const QString text = QStringLiteral("Value 123.4");
  QHash<QString, int> widths;
  for (auto _ : state) {
    auto it = widths.constFind(text);
    if (it == widths.constEnd()) it = widths.insert(text, fm.horizontalAdvance(text));
    benchmark::DoNotOptimize(*it);
  }
}

// --- Bitmap copies -----------------------------------------------------------

void Canvas_Draw32(benchmark::State& state) {
  CanvasSetup s;
  TBitmap glyph;
  glyph.SetSize(32, 32);
  glyph.Canvas()->Ellipse(0, 0, 32, 32);
  glyph.Image();  // end drawing on the glyph
  int i = 0;
  for (auto _ : state) s.canvas->Draw(Step(i++, kSize - 32), 20, &glyph);
}
void Raw_Draw32(benchmark::State& state) {
  RawSetup s;
  QImage glyph(32, 32, QImage::Format_RGB32);
  glyph.fill(Qt::white);
  s.painter.setCompositionMode(QPainter::CompositionMode_Source);
  int i = 0;
  for (auto _ : state) s.painter.drawImage(QPoint(Step(i++, kSize - 32), 20), glyph);
}

void Canvas_CopyRectXor100(benchmark::State& state) {
  CanvasSetup s;
  TBitmap source;
  source.SetSize(100, 100);
  s.canvas->SetCopyMode(cmSrcInvert);
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 100);
    s.canvas->CopyRect(TRect(x, 50, x + 100, 150), source.Canvas(), TRect(0, 0, 100, 100));
  }
}
void Raw_CopyRectXor100(benchmark::State& state) {
  RawSetup s;
  QImage source(100, 100, QImage::Format_RGB32);
  source.fill(Qt::white);
  s.painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  int i = 0;
  for (auto _ : state) {
    const int x = Step(i++, kSize - 100);
    s.painter.drawImage(QRect(x, 50, 100, 100), source, QRect(0, 0, 100, 100));
  }
}

BENCHMARK(Canvas_Rectangle20);
BENCHMARK(Raw_Rectangle20);
BENCHMARK(Canvas_FillRect100);
BENCHMARK(Raw_FillRect100);
BENCHMARK(Canvas_LineHorizontal);
BENCHMARK(Raw_LineHorizontal);
BENCHMARK(Canvas_LineDiagonal);
BENCHMARK(Raw_LineDiagonal);
BENCHMARK(Canvas_Ellipse20);
BENCHMARK(Raw_Ellipse20);
BENCHMARK(Canvas_Ellipse120x80);
BENCHMARK(Raw_Ellipse120x80);
BENCHMARK(Canvas_TextOut);
BENCHMARK(Raw_TextOut);
BENCHMARK(Canvas_TextWidth);
BENCHMARK(Raw_TextWidth);
BENCHMARK(Canvas_Draw32);
BENCHMARK(Raw_Draw32);
BENCHMARK(Canvas_CopyRectXor100);
BENCHMARK(Raw_CopyRectXor100);

// Prints the normal console output and remembers each run's time.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
  }
  void PrintRatios() const {
    std::printf("\n%-20s %12s %12s %8s\n", "operation", "canvas ns", "raw ns", "ratio");
    for (const auto& [name, time] : times_) {
      if (name.rfind("Canvas_", 0) != 0) continue;
      const std::string op = name.substr(7);
      const auto raw = times_.find("Raw_" + op);
      if (raw == times_.end() || raw->second <= 0) continue;
      std::printf("%-20s %12.1f %12.1f %8.2f\n", op.c_str(), time, raw->second, time / raw->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

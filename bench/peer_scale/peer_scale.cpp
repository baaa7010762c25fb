// The peer side of the round scale comparison: a round scale 0..100 with 10
// major and 5 minor steps and labels, painted by the peer library's round
// scale draw on a 300 x 300 raster image cleared before each paint. The
// geometry (centre, tick base radius, tick lengths, pen width, font pixel
// size) comes from our painter's run, so both draw the same picture.
//
//   peer_scale --paints N   G...  prints "us_per_paint <wall> cpu_us_per_paint <cpu>"
//   peer_scale --png FILE   G...  paints once and saves the picture
//   peer_scale --side OURS FILE G...  our picture and the peer's side by side
// where G is: cx cy radius major minor penWidth fontPixels

#include <qwt_round_scale_draw.h>
#include <qwt_scale_div.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// CPU time of the whole process: on a machine shared with other work it
// counts only the time this program ran.
double ProcessCpuMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

constexpr int kSize = 300;

struct Geometry {
  double cx, cy, radius, major, minor;
  int penWidth, fontPixels;
};

class PeerScale {
 public:
  explicit PeerScale(const Geometry& g) : image_(kSize, kSize, QImage::Format_RGB32) {
    QList<double> majors, minors;
    for (int i = 0; i <= 100; i += 2) (i % 10 == 0 ? majors : minors).append(i);
    draw_.setScaleDiv(QwtScaleDiv(0, 100, minors, QList<double>(), majors));
    draw_.setAngleRange(-135, 135);  // 12 o'clock is 0, clockwise: 225 + 270
    draw_.moveCenter(QPointF(g.cx, g.cy));
    draw_.setRadius(g.radius);
    draw_.setTickLength(QwtScaleDiv::MajorTick, g.major);
    draw_.setTickLength(QwtScaleDiv::MinorTick, g.minor);
    draw_.setPenWidth(g.penWidth);
    draw_.enableComponent(QwtAbstractScaleDraw::Backbone, false);
    font_ = QFont(QStringLiteral("Liberation Sans"));
    font_.setPixelSize(g.fontPixels);
    font_.setStyleStrategy(QFont::NoAntialias);
    palette_.setColor(QPalette::WindowText, Qt::black);
    palette_.setColor(QPalette::Text, Qt::black);
  }
  void Paint() {
    QPainter p(&image_);
    p.fillRect(image_.rect(), Qt::white);
    p.setFont(font_);
    draw_.draw(&p, palette_);
  }
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
  QwtRoundScaleDraw draw_;
  QFont font_;
  QPalette palette_;
};

bool ReadGeometry(char** argv, Geometry& g) {
  g = {std::atof(argv[0]), std::atof(argv[1]), std::atof(argv[2]), std::atof(argv[3]),
       std::atof(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])};
  return g.radius > 0 && g.fontPixels > 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: peer_scale --paints N G | --png FILE G | --side OURS FILE G\n"
               "  G = cx cy radius major minor penWidth fontPixels\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Geometry g;
  if (argc == 10 && std::strcmp(argv[1], "--paints") == 0 && ReadGeometry(argv + 3, g)) {
    const int n = std::max(1, std::atoi(argv[2]));
    PeerScale peer(g);
    peer.Paint();
    const double cpu0 = ProcessCpuMicroseconds();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) peer.Paint();
    const double wall =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = ProcessCpuMicroseconds() - cpu0;
    std::printf("us_per_paint %.3f cpu_us_per_paint %.3f\n", wall / n, cpu / n);
    return 0;
  }
  if (argc == 10 && std::strcmp(argv[1], "--png") == 0 && ReadGeometry(argv + 3, g)) {
    PeerScale peer(g);
    peer.Paint();
    return peer.Image().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
  }
  if (argc == 11 && std::strcmp(argv[1], "--side") == 0 && ReadGeometry(argv + 4, g)) {
    const QImage ours(QString::fromLocal8Bit(argv[2]));
    if (ours.isNull()) {
      std::fprintf(stderr, "cannot read %s\n", argv[2]);
      return 1;
    }
    PeerScale peer(g);
    peer.Paint();
    constexpr int kGap = 12, kCaption = 24;
    QImage both(2 * kSize + 3 * kGap, kSize + kCaption + 2 * kGap, QImage::Format_RGB32);
    both.fill(QColor(236, 238, 242));
    QPainter p(&both);
    p.drawImage(kGap, kGap, ours);
    p.drawImage(2 * kGap + kSize, kGap, peer.Image());
    p.setPen(QColor(60, 60, 60));
    QFont caption(QStringLiteral("Liberation Sans"));
    caption.setPixelSize(13);
    p.setFont(caption);
    p.drawText(QRect(kGap, kGap + kSize + 4, kSize, kCaption), Qt::AlignHCenter,
               QStringLiteral("CalcRSize + RoundScala"));
    p.drawText(QRect(2 * kGap + kSize, kGap + kSize + 4, kSize, kCaption), Qt::AlignHCenter,
               QStringLiteral("QwtRoundScaleDraw"));
    p.end();
    return both.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
  }
  return Usage();
}

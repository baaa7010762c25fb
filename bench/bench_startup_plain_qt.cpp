// The baseline of the start-up measurement: the calculator's window built
// directly with Qt widgets (same size, same controls, fonts, picture and a
// banded grey background), shown and saved like "vort --screenshot".
//
// Usage: bench_startup_plain_qt --screenshot FILE [--timing]
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cstdio>
#include <cstring>

namespace {

class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    // Bands of four rows from grey 226 down to 143.
    QPainter painter(this);
    for (int y = 0; y < height(); y += 4) {
      const int level = 226 - (226 - 143) * y / std::max(1, height() - 1);
      painter.fillRect(0, y, width(), 4, QColor(level, level, level));
    }
  }
};

QFont PixelFont(const char* family, int pixels, bool bold = false) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QLabel* AddLabel(QWidget* parent, const char* text, int x, int y) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setAutoFillBackground(true);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QComboBox* AddCombo(QWidget* parent, const QStringList& items, int index, int x, int y) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->addItems(items);
  combo->setCurrentIndex(index);
  combo->setGeometry(x, y, 145, 21);
  return combo;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  const char* file = nullptr;
  bool timing = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
      file = argv[++i];
    else if (std::strcmp(argv[i], "--timing") == 0)
      timing = true;
  }
  if (!file) {
    std::fprintf(stderr, "usage: %s --screenshot FILE [--timing]\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  Window window;
  window.setWindowTitle(QStringLiteral("nazwa11111111111111111111111111111111111"));
  window.setFixedSize(332, 341);
  window.setFont(PixelFont("Liberation Sans", 11));
  AddLabel(&window, "nazwa2222222222222:", 8, 16);
  AddLabel(&window, "nazwa33333333333333333333333333:", 8, 64);
  AddLabel(&window, "nazwa44444444444444444444:", 8, 112);
  AddLabel(&window, "nazwa6666666666666666666666666666666666:", 8, 216);
  auto* picture = new QLabel(&window);
  const QString jpeg =
      QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../resources/injector_rail.jpg"));
  picture->setPixmap(QPixmap(jpeg));
  picture->setAlignment(Qt::AlignCenter);
  picture->setGeometry(180, 50, 150, 150);
  AddLabel(&window, "nazwa55555555555555555555", 8, 160);
  AddLabel(&window, "aaaaaaaaaaaaaa:", 8, 176);
  auto* memo = new QPlainTextEdit(&window);
  memo->setPlainText(QStringLiteral("nazwa///////////////////////////////////////////////////////////////"));
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setGeometry(8, 264, 305, 73);
  AddCombo(&window, {QStringLiteral("ZELMOR, Prax 7Q")}, 0, 8, 32);
  AddCombo(&window, {"3 cyl.", "4 cyl.", "5 cyl.", "6 cyl.", "8 cyl."}, 1, 8, 80);
  auto* quantity = new QSpinBox(&window);
  quantity->setRange(20, 1000);
  quantity->setValue(100);
  quantity->setWrapping(true);
  quantity->setGeometry(8, 128, 145, 21);
  auto* time = new QSpinBox(&window);
  time->setRange(5, 30);
  time->setValue(14);
  time->setWrapping(true);
  time->setGeometry(8, 192, 145, 21);
  auto* button = new QPushButton(QStringLiteral("nazwa00000"), &window);
  button->setFont(PixelFont("Liberation Sans", 13, true));
  button->setGeometry(160, 230, 80, 30);
  AddCombo(&window, {"nazwa999999999999999", "nazwa88888888888888888888888", "nazwa777777777777777777"}, 2, 8,
           232);
  auto* result = new QLineEdit(QStringLiteral("nazwaAAAA"), &window);
  result->setFont(PixelFont("Liberation Sans", 19, true));
  QPalette palette = result->palette();
  palette.setColor(QPalette::Base, Qt::yellow);
  result->setPalette(palette);
  result->setGeometry(240, 230, 89, 30);
  const double createdMs = double(clock.nsecsElapsed()) / 1e6;

  // The first paint has finished once the event loop comes back after it.
  struct Watch : QObject {
    bool seen = false;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) seen = true;
      return false;
    }
  } watch;
  window.installEventFilter(&watch);
  window.show();
  memo->setFocus();
  while (!watch.seen && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  QCoreApplication::processEvents();
  const double paintedMs = double(clock.nsecsElapsed()) / 1e6;
  if (!window.grab().save(QString::fromLocal8Bit(file), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", file);
    return 1;
  }
  if (timing)
    std::fprintf(stderr, "plain: window created after %.1f ms, first frame painted after %.1f ms\n",
                 createdMs, paintedMs);
  return 0;
}

#include "app/startup.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace {

// Notes when the watched widget has finished a paint event.
class PaintWatcher : public QObject {
 public:
  explicit PaintWatcher(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
  ~PaintWatcher() override {
    if (widget_) widget_->removeEventFilter(this);
  }
  bool painted = false;
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The filter sees the event before the widget paints; the next event
    // the widget receives comes after that paint was finished.
    if (watched == widget_ && event->type() == QEvent::Paint) pendingPaint_ = true;
    return false;
  }
  // Called between event batches: a seen paint event is complete by then.
  void Settle() {
    if (pendingPaint_) painted = true;
  }

 private:
  QPointer<QWidget> widget_;
  bool pendingPaint_ = false;
};

}  // namespace

int RunGuarded(TApplication& app, const std::function<void()>& body) {
  try {
    body();
  } catch (const Exception& e) {
    app.ShowException(e);
  } catch (const std::exception& e) {
    app.ShowException(Exception(QString::fromLocal8Bit(e.what())));
  } catch (...) {
    app.ShowException(Exception(QString()));
  }
  return 0;
}

double SaveFormScreenshot(TForm* form, const QString& fileName, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  QWidget* widget = form->Widget();
  PaintWatcher watcher(widget);
  form->Show();
  double firstPaintMs = -1;
  while (clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    watcher.Settle();
    if (watcher.painted) {
      firstPaintMs = double(clock.nsecsElapsed()) / 1e6;
      break;
    }
  }
  // grab() renders the widget afresh, so the picture is complete even when
  // no paint event came in time.
  const QPixmap picture = widget->grab(QRect(QPoint(0, 0), QSize(form->ClientWidth(), form->ClientHeight())));
  if (!picture.save(fileName, "PNG")) {
    std::fprintf(stderr, "vort: cannot write the screenshot to %s\n", fileName.toLocal8Bit().constData());
    return -1;
  }
  return firstPaintMs >= 0 ? firstPaintMs : double(clock.nsecsElapsed()) / 1e6;
}

#include "panel/panel_window.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>
#include <algorithm>

#include "panel/panel_file.h"
#include "platform/controls/label.h"
#include "platform/controls/safe_call.h"
#include "platform/graphics/font.h"

namespace {

constexpr int kStatusHeight = 20;
constexpr TColor kStatusColor = 0x00E0E0E0;     // light grey strip (BGR)
constexpr TColor kErrorTextColor = 0x000000C0;  // dark red (BGR)

}  // namespace

TKvPanelWindow::TKvPanelWindow(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(QStringLiteral("kvpanel"));
  SetPosition(poScreenCenter);
  status_ = new TLabel(this);
  status_->SetAutoSize(false);
  status_->SetShowAccelChar(false);
  status_->SetParent(this);
  status_->SetAlign(alBottom);
  status_->SetHeight(kStatusHeight);
  status_->SetParentColor(false);
  status_->SetColor(kStatusColor);
  SetClientWidth(320);
  SetClientHeight(240 + kStatusHeight);

  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  // Entries from Qt: whatever a panel's components raise while being swapped
  // in goes to the application's error handling, not into the event loop.
  QObject::connect(&settle_, &QTimer::timeout, this, [this] { SafeCall([this] { Reload(); }); });
  QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, this,
                   [this] { SafeCall([this] { FileNoticed(); }); });
  QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
                   [this] { SafeCall([this] { FolderNoticed(); }); });
}

TKvPanelWindow::~TKvPanelWindow() {
  settle_.stop();
  // The panel goes while this window still holds it: a panel let go by a
  // dying parent would become a window of its own for a moment.
  panel_.reset();
}

bool TKvPanelWindow::Open(const QString& path) {
  path_ = path;
  haveRead_ = false;
  const bool shown = Reload();
  Watch();
  return shown;
}

void TKvPanelWindow::Watch() {
  if (path_.isEmpty()) return;
  const QFileInfo info(path_);
  const QString folder = info.absolutePath();
  if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
  if (info.exists() && !watcher_.files().contains(path_)) watcher_.addPath(path_);
}

void TKvPanelWindow::FileNoticed() {
  // A file replaced by a rename has left the watch list; take it up again
  // (the folder notice may come later or not at all).
  Watch();
  settle_.start();
}

void TKvPanelWindow::FolderNoticed() {
  // Some file in the folder changed: ours may have been replaced, removed
  // or created. Reading it is cheap, and unchanged bytes do nothing.
  Watch();
  settle_.start();
}

bool TKvPanelWindow::Reload() {
  settle_.stop();
  const QString name = QFileInfo(path_).fileName();
  TPanelRead read = ReadPanelFile(path_);
  // Notices that leave the file as it was (a folder notice about another
  // file, the second half of a burst) change nothing.
  if (haveRead_ && read.fileMissing == lastMissing_ && read.bytes == lastBytes_) return false;
  ++reads_;
  haveRead_ = true;
  lastBytes_ = read.bytes;
  lastMissing_ = read.fileMissing;
  if (!read.panel) {
    SetStatus(read.error + (panel_ ? QStringLiteral("  (showing the last good panel)") : QString()), true);
    return false;
  }
  const int count = read.panel->ComponentCount();
  ShowPanel(std::move(read.panel));
  ++loads_;
  SetStatus(QStringLiteral("%1: %2 components, read at %3")
                .arg(name)
                .arg(count)
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"))),
            false);
  return true;
}

void TKvPanelWindow::ShowPanel(std::unique_ptr<TKvPanelForm> panel) {
  // The size the panel asks for, within what a screen can show.
  const int width = std::clamp(panel->ClientWidth(), kMinSide, kMaxSide);
  const int height = std::clamp(panel->ClientHeight(), kMinSide, kMaxSide);
  const QString caption = panel->Caption().isEmpty() ? panel->Name() : panel->Caption();
  panel_.reset();
  panel_ = std::move(panel);
  panel_->SetParent(this);
  panel_->SetAlign(alClient);
  panel_->SetVisible(true);
  SetCaption(caption.isEmpty() ? QStringLiteral("kvpanel") : caption + QStringLiteral(" - kvpanel"));
  // A window the user has sized keeps its size through edits that do not
  // touch the panel's own size.
  if (QSize(width, height) == panelSize_) return;
  panelSize_ = QSize(width, height);
  SetClientWidth(width);
  SetClientHeight(height + kStatusHeight);
}

void TKvPanelWindow::SetStatus(const QString& text, bool error) {
  statusIsError_ = error;
  // Line breaks in a message would be cut off by the one-line strip.
  QString line = text;
  line.replace(u'\n', u' ');
  status_->SetCaption(u' ' + line);
  status_->Font()->SetColor(error ? kErrorTextColor : clWindowText);
  status_->SetHint(text);
  status_->SetShowHint(true);
}

QString TKvPanelWindow::StatusText() const {
  return status_->Caption().mid(1);
}

bool SavePanelScreenshot(TKvPanelWindow* window, const QString& fileName, QString* error) {
  QWidget* widget = window->Widget();
  window->Show();
  // Let the window be laid out and painted once; grab() below renders it
  // afresh in any case, so this only has to let pending layout settle.
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  const QPixmap picture =
      widget->grab(QRect(QPoint(0, 0), QSize(window->ClientWidth(), window->ClientHeight())));
  if (picture.isNull() || !picture.save(fileName, "PNG")) {
    if (error) *error = QStringLiteral("cannot write the screenshot to %1").arg(fileName);
    return false;
  }
  return true;
}

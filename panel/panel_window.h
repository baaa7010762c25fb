#pragma once
// TKvPanelWindow: the viewer's window. It shows one panel (a TKvPanelForm
// placed inside it) above a status line, and follows the panel file:
//
//  - A QFileSystemWatcher watches the file and its folder. Editors that save
//    by writing a new file and renaming it over the old one make the watcher
//    drop the file; the folder's change notice adds it again.
//  - Change notices come in bursts (truncate, write, close, rename): each one
//    restarts a short timer, and the file is read once the burst is over. A
//    notice that leaves the file's bytes as they were last read does nothing.
//  - A good file replaces the panel (built apart, swapped in only whole); a
//    bad one leaves the last good panel on screen and the status line shows
//    the reader's error with file, line and property.

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QSize>
#include <QString>
#include <QTimer>
#include <memory>

#include "panel/panel_form.h"
#include "platform/controls/form.h"

class TLabel;

class TKvPanelWindow : public TForm {
  Q_OBJECT

 public:
  // The wait after the last change notice before the file is read.
  static constexpr int kSettleMs = 120;
  // Bounds of the panel area (a panel asking for more or less gets this).
  static constexpr int kMinSide = 120;
  static constexpr int kMaxSide = 4096;

  explicit TKvPanelWindow(TComponent* AOwner = nullptr);
  ~TKvPanelWindow() override;

  // Reads `path`, shows the panel (or the error) and starts watching the
  // file. Returns whether a panel is shown.
  bool Open(const QString& path);
  // Reads the file again now (what a settled change notice does). Returns
  // whether the file was read into a new panel.
  bool Reload();

  const QString& FileName() const { return path_; }
  // The panel shown, null before the first good read.
  TKvPanelForm* Panel() const { return panel_.get(); }
  QString StatusText() const;
  bool StatusIsError() const { return statusIsError_; }
  // Reads that ended in a new panel, and reads attempted (for tests).
  int LoadCount() const { return loads_; }
  int ReadCount() const { return reads_; }

 private:
  void Watch();
  void FileNoticed();
  void FolderNoticed();
  void ShowPanel(std::unique_ptr<TKvPanelForm> panel);
  void SetStatus(const QString& text, bool error);

  QString path_;
  std::unique_ptr<TKvPanelForm> panel_;
  TLabel* status_ = nullptr;  // owned by the window
  bool statusIsError_ = false;
  QSize panelSize_;  // the size the shown panel asked for (within bounds)
  QFileSystemWatcher watcher_;
  QTimer settle_;
  QByteArray lastBytes_;      // the bytes of the last read, good or bad
  bool lastMissing_ = false;  // the last read found no file
  bool haveRead_ = false;
  int loads_ = 0;
  int reads_ = 0;
};

// Shows `window` off screen, lets it paint and saves its client area as a
// PNG (at the screen's device pixel ratio). Returns false, with a message in
// *error, when the file cannot be written.
bool SavePanelScreenshot(TKvPanelWindow* window, const QString& fileName, QString* error);

#pragma once
// Reading a panel file into a new panel.
//
// The panel is built into a fresh root that nobody else sees: on any error
// the reader has already freed what it created, and the root goes with the
// result, so a failed read leaves no half-built component anywhere. Whoever
// shows panels swaps the new one in only when `panel` is set.
//
// Errors are one line naming the file: the reader's
//   engine.panel(12,7): EnginePanel.Speed.Value: 'fast' is not a valid ...
// or, before the reader is reached,
//   engine.panel: cannot read the file (No such file or directory)
//   engine.panel: not a text file (a zero byte on line 3)
//   engine.panel: 9000000 bytes, more than a panel file may have (4194304)

#include <QByteArray>
#include <QString>
#include <memory>

#include "panel/panel_form.h"

inline constexpr qint64 kMaxPanelFileBytes = 4 * 1024 * 1024;

struct TPanelRead {
  std::unique_ptr<TKvPanelForm> panel;  // null when the read failed
  QString error;                        // set when the read failed
  bool fileMissing = false;             // the file could not be opened at all
  QByteArray bytes;                     // the file as read (empty if unreadable)
};

// Reads `path`; messages name the file as `path` is written.
TPanelRead ReadPanelFile(const QString& path);
// Reads `bytes`; messages name the description `name`.
TPanelRead ReadPanelBytes(const QByteArray& bytes, const QString& name);

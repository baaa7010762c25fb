#pragma once
// TIniSettings: where an owner keeps part of its state in an ini file — the
// file name, the section, whether the file lives in the program's folder and
// whether the owner loads and saves automatically. On request it checks these
// settings, opens the ini file and hands it, with a load-or-save flag, to the
// OnHandleIniEvent handler, which reads or writes its keys (in the section
// the owner takes from this object). The object itself reads and writes no key.
//
// A plain persistent object: no change notification, the properties are
// fields, and copying it to anything raises the assignment error.
//
// Handle(Read):
//  1. clears IniError and IniErrorText;
//  2. an empty FileName gives "Invalid FileName", an empty Section
//     "Invalid SectionName" (which replaces the first when both are empty);
//  3. the path is AppPath followed by the file-name part of FileName when
//     UseAppDir is set (any folder, drive or "\" path in FileName is dropped),
//     else FileName as it stands;
//  4. with an error it returns there: nothing opened, nothing raised;
//  5. else it opens the ini file, calls the handler when assigned, closes it.
// Errors of the handler or of the file reach the caller.

#include <QString>
#include <memory>

#include "platform/core/events.h"
#include "platform/core/persistent.h"
#include "platform/storage/ini_file.h"

// Ini: the opened file; Read: true to load the state, false to save it.
using THandleIniEvent = TEvent<TIniFile*, bool>;
Q_DECLARE_METATYPE(THandleIniEvent)

inline constexpr const char* SInvalidFileName = "Invalid FileName";
inline constexpr const char* SInvalidSectionName = "Invalid SectionName";

class TIniSettings : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
  Q_PROPERTY(QString Section READ Section WRITE SetSection)
  Q_PROPERTY(bool UseAppDir READ UseAppDir WRITE SetUseAppDir)
  Q_PROPERTY(bool AutoLoadSave READ AutoLoadSave WRITE SetAutoLoadSave)
  Q_PROPERTY(THandleIniEvent OnHandleIniEvent READ OnHandleIniEvent WRITE SetOnHandleIniEvent)
  Q_CLASSINFO("default:UseAppDir", "True")
  Q_CLASSINFO("default:AutoLoadSave", "False")

 public:
  Q_INVOKABLE explicit TIniSettings(QObject* parent = nullptr);
  ~TIniSettings() override;

  const QString& FileName() const { return fileName_; }
  void SetFileName(const QString& value) { fileName_ = value; }
  const QString& Section() const { return section_; }
  void SetSection(const QString& value) { section_ = value; }
  bool UseAppDir() const { return useAppDir_; }
  void SetUseAppDir(bool value) { useAppDir_ = value; }
  bool AutoLoadSave() const { return autoLoadSave_; }
  void SetAutoLoadSave(bool value) { autoLoadSave_ = value; }
  const THandleIniEvent& OnHandleIniEvent() const { return onHandleIniEvent_; }
  void SetOnHandleIniEvent(const THandleIniEvent& value) { onHandleIniEvent_ = value; }

  // Result of the last check; cleared at the start of every Handle.
  bool IniError() const { return iniError_; }
  const QString& IniErrorText() const { return iniErrorText_; }
  // The file of the current Handle call (null outside one).
  TIniFile* Ini() const { return ini_.get(); }

  void Handle(bool Read);
  // Handle(Read) when AutoLoadSave is set; otherwise nothing.
  void AutoHandle(bool Read);
  // The path Handle opens for the current settings (empty when FileName is).
  QString ResolvedPath() const;

 private:
  QString fileName_;
  QString section_;
  bool useAppDir_ = true;
  bool autoLoadSave_ = false;
  THandleIniEvent onHandleIniEvent_;
  std::unique_ptr<TIniFile> ini_;
  QString iniErrorText_;
  bool iniError_ = false;
};

// The file-name part of a path: what follows its last "/", "\" or drive ":".
QString ExtractFileName(const QString& path);

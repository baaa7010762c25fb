#pragma once
// TKvInfo: the library's shared identification object. Exactly one instance
// exists while the unit "_kvinfo" is initialised; every library control
// refers to it through its non-stored KvInfo property and none owns it.

#include <QString>

#include "kv/core/unit_init.h"
#include "platform/core/persistent.h"

class TKvInfo : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString pName READ pName WRITE SetpName)
  Q_PROPERTY(QString pVersion READ pVersion WRITE SetpVersion)
  Q_PROPERTY(QString Copyright READ Copyright WRITE SetCopyright)
  Q_PROPERTY(QString Mail READ Mail WRITE SetMail)
  Q_PROPERTY(QString WWW READ WWW WRITE SetWWW)
 public:
  // Filled with the library's identification texts.
  TKvInfo();
  ~TKvInfo() override = default;

  // Plain fields: reading and writing have no side effects.
  const QString& pName() const { return pName_; }
  void SetpName(const QString& value) { pName_ = value; }
  const QString& pVersion() const { return pVersion_; }
  void SetpVersion(const QString& value) { pVersion_ = value; }
  const QString& Copyright() const { return copyright_; }
  void SetCopyright(const QString& value) { copyright_ = value; }
  const QString& Mail() const { return mail_; }
  void SetMail(const QString& value) { mail_ = value; }
  const QString& WWW() const { return www_; }
  void SetWWW(const QString& value) { www_ = value; }

 private:
  QString pName_;
  QString pVersion_;
  QString copyright_;
  QString mail_;
  QString www_;
};

// The shared instance; initialises the unit on first use if the program has
// not done so (see unit_init.h).
TKvInfo* LoadKavelInfo();

// The unit that creates the shared instance and frees it again.
TUnit& KvInfoUnit();

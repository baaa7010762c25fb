#include "kv/settings/ini_settings.h"

#include "kv/proc/proc_values.h"

namespace {

void RegisterIniEvent() {
  static const bool registered = [] {
    RegisterEventType<THandleIniEvent>();
    return true;
  }();
  (void)registered;
}

}  // namespace

QString ExtractFileName(const QString& path) {
  qsizetype at = path.size();
  while (at > 0 && path[at - 1] != u'/' && path[at - 1] != u'\\' && path[at - 1] != u':') --at;
  return path.mid(at);
}

TIniSettings::TIniSettings(QObject* parent) : TPersistent(parent) {
  RegisterIniEvent();
}

TIniSettings::~TIniSettings() = default;

QString TIniSettings::ResolvedPath() const {
  if (fileName_.isEmpty()) return QString();
  return useAppDir_ ? AppPath() + ExtractFileName(fileName_) : fileName_;
}

void TIniSettings::Handle(bool Read) {
  iniError_ = false;
  iniErrorText_.clear();
  if (fileName_.isEmpty()) {
    iniError_ = true;
    iniErrorText_ = QString::fromLatin1(SInvalidFileName);
  }
  if (section_.isEmpty()) {
    iniError_ = true;
    iniErrorText_ = QString::fromLatin1(SInvalidSectionName);
  }
  const QString path = ResolvedPath();
  if (iniError_) return;
  // The file object lives for this call only, also when the handler raises.
  struct Release {
    std::unique_ptr<TIniFile>& ini;
    ~Release() { ini.reset(); }
  } release{ini_};
  ini_ = std::make_unique<TIniFile>(path);
  if (onHandleIniEvent_) onHandleIniEvent_(ini_.get(), Read);
}

void TIniSettings::AutoHandle(bool Read) {
  if (autoLoadSave_) Handle(Read);
}

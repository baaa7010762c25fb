// TIniSettings: the checks of Handle, the path it opens, and what reaches the
// handler.

#include "kv/settings/ini_settings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "kv/proc/proc_values.h"

namespace {

struct Call {
  QString path;
  bool read;
};

TEST(IniSettings, HandleChecksTheSettingsAndResolvesThePath) {
  QTemporaryDir dir;
  const QString own = dir.filePath("own.ini");
  struct Case {
    const char* name;
    QString fileName, section;
    bool useAppDir;
    QString error;  // empty: the handler is called with `path`
    QString path;
  };
  const Case cases[] = {
      {"both empty", "", "", true, "Invalid SectionName", ""},
      {"no file name", "", "Gauge", true, "Invalid FileName", ""},
      {"no section", "gauge.ini", "", true, "Invalid SectionName", ""},
      {"drive and folders dropped", "C:\\data\\panels\\gauge.ini", "Gauge", true, "",
       AppPath() + "gauge.ini"},
      {"unix folders dropped", "/var/lib/gauge.ini", "Gauge", true, "", AppPath() + "gauge.ini"},
      {"bare name", "gauge.ini", "Gauge", true, "", AppPath() + "gauge.ini"},
      {"own folder kept", own, "Gauge", false, "", own},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TIniSettings settings;
    std::vector<Call> calls;
    settings.SetOnHandleIniEvent([&](TIniFile* ini, bool read) { calls.push_back({ini->FileName(), read}); });
    settings.SetFileName(c.fileName);
    settings.SetSection(c.section);
    settings.SetUseAppDir(c.useAppDir);
    settings.Handle(true);
    EXPECT_EQ(settings.IniError(), !c.error.isEmpty());
    EXPECT_EQ(settings.IniErrorText(), c.error);
    if (c.error.isEmpty()) {
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].path, c.path);
      EXPECT_TRUE(calls[0].read);
    } else {
      EXPECT_TRUE(calls.empty());
    }
    EXPECT_EQ(settings.Ini(), nullptr);  // the file object lives for one call
  }
}

TEST(IniSettings, AFailedCheckIsClearedByTheNextHandle) {
  QTemporaryDir dir;
  TIniSettings settings;
  settings.SetUseAppDir(false);
  settings.SetSection("Gauge");
  settings.Handle(false);
  EXPECT_EQ(settings.IniErrorText(), "Invalid FileName");
  settings.SetFileName(dir.filePath("g.ini"));
  settings.Handle(false);
  EXPECT_FALSE(settings.IniError());
  EXPECT_EQ(settings.IniErrorText(), "");
  EXPECT_FALSE(QFile::exists(dir.filePath("g.ini")));  // no handler: nothing written
}

TEST(IniSettings, HandlerSavesAndLoadsThroughTheFile) {
  QTemporaryDir dir;
  TIniSettings settings;
  settings.SetUseAppDir(false);
  settings.SetFileName(dir.filePath("gauge.ini"));
  settings.SetSection("Meter1");
  int value = 42;
  settings.SetOnHandleIniEvent([&](TIniFile* ini, bool read) {
    if (read)
      value = ini->ReadInteger(settings.Section(), "Value", -1);
    else
      ini->WriteInteger(settings.Section(), "Value", value);
  });
  settings.AutoHandle(false);  // AutoLoadSave is off: nothing happens
  EXPECT_FALSE(QFile::exists(settings.FileName()));
  settings.SetAutoLoadSave(true);
  settings.AutoHandle(false);
  value = 0;
  settings.Handle(true);
  EXPECT_EQ(value, 42);
}

TEST(IniSettings, ErrorsOfTheHandlerReachTheCaller) {
  QTemporaryDir dir;
  TIniSettings settings;
  settings.SetUseAppDir(false);
  settings.SetFileName(dir.filePath("missing/folder/gauge.ini"));
  settings.SetSection("S");
  settings.SetOnHandleIniEvent([](TIniFile* ini, bool) { ini->WriteString("S", "K", "V"); });
  EXPECT_THROW(settings.Handle(false), EIniFileException);
  EXPECT_EQ(settings.Ini(), nullptr);
  EXPECT_FALSE(settings.IniError());
}

TEST(IniSettings, PlainPersistentThatCannotBeCopied) {
  TIniSettings a, b;
  EXPECT_TRUE(a.UseAppDir());
  EXPECT_FALSE(a.AutoLoadSave());
  try {
    b.Assign(&a);
    ADD_FAILURE() << "copied";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TIniSettings to a TIniSettings");
  }
  EXPECT_EQ(ExtractFileName("C:gauge.ini"), "gauge.ini");
  EXPECT_EQ(ExtractFileName("dir/"), "");
}

}  // namespace

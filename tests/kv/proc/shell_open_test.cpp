// KvExecuteFile: which default action a file gets, what reaches the launcher
// (whole, however long), and the shell-style codes. The launcher is replaced,
// so no program is started.

#include "kv/proc/shell_open.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct Launched {
  QString kind;  // "url" or "program"
  QString target;
  QStringList arguments;
  QString directory;
};

class ShellFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetShellLauncher(
        TShellLauncher{[this](const QUrl& url) {
                         launched_.push_back({"url", url.toString(), {}, {}});
                         return openSucceeds_;
                       },
                       [this](const QString& program, const QStringList& args, const QString& dir) {
                         launched_.push_back({"program", program, args, dir});
                         return true;
                       }});
    Touch("doc.txt", false);
    Touch("tool.sh", true);
  }
  void TearDown() override { SetShellLauncher(previous_); }
  void Touch(const QString& name, bool executable) {
    QFile f(dir_.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFile::ExeOwner);
  }
  QTemporaryDir dir_;
  std::vector<Launched> launched_;
  bool openSucceeds_ = true;
  TShellLauncher previous_;
};

TEST_F(ShellFixture, DefaultActionAndCodes) {
  const QString d = dir_.path();
  struct Case {
    const char* name;
    QString file, params, dir;
    bool openSucceeds;
    int code;
    QString kind, target;
    QStringList arguments;
  };
  const Case cases[] = {
      {"document opens in its application",
       "doc.txt",
       "ignored",
       d,
       true,
       SHELL_SUCCESS,
       "url",
       QUrl::fromLocalFile(d + "/doc.txt").toString(),
       {}},
      {"document without an application",
       "doc.txt",
       "",
       d,
       false,
       SE_ERR_NOASSOC,
       "url",
       QUrl::fromLocalFile(d + "/doc.txt").toString(),
       {}},
      {"program started with split parameters",
       d + "/tool.sh",
       "-v \"two words\" x",
       d,
       true,
       SHELL_SUCCESS,
       "program",
       d + "/tool.sh",
       {"-v", "two words", "x"}},
      {"folder opens", d, "", "", true, SHELL_SUCCESS, "url", QUrl::fromLocalFile(d).toString(), {}},
      {"address",
       "https://example.org/a?b=c",
       "",
       "",
       true,
       SHELL_SUCCESS,
       "url",
       "https://example.org/a?b=c",
       {}},
      {"missing file", "missing.txt", "", d, true, ERROR_FILE_NOT_FOUND, "", "", {}},
      {"missing folder", "no/such/file.txt", "", d, true, ERROR_PATH_NOT_FOUND, "", "", {}},
      {"no file at all", "", "", d, true, ERROR_FILE_NOT_FOUND, "", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    launched_.clear();
    openSucceeds_ = c.openSucceeds;
    EXPECT_EQ(KvExecuteFile(c.file, c.params, c.dir, SW_SHOWNORMAL), c.code);
    if (c.kind.isEmpty()) {
      EXPECT_TRUE(launched_.empty());
      continue;
    }
    ASSERT_EQ(launched_.size(), 1u);
    EXPECT_EQ(launched_[0].kind, c.kind);
    EXPECT_EQ(launched_[0].target, c.target);
    EXPECT_EQ(launched_[0].arguments, c.arguments);
  }
  EXPECT_EQ(ShellExecute(nullptr, "print", dir_.filePath("doc.txt"), "", "", SW_SHOW), SE_ERR_NOASSOC);
}

TEST_F(ShellFixture, LongTextsArePassedWhole) {
  // Far beyond 79 characters each: the folder, the file name and the parameters.
  const QString deep = dir_.filePath(QString(60, u'd') + "/" + QString(60, u'e'));
  ASSERT_TRUE(QDir().mkpath(deep));
  const QString name = QString(120, u'p') + ".sh";
  QFile f(deep + "/" + name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  f.setPermissions(f.permissions() | QFile::ExeOwner);
  const QString longArgument = QString(300, u'a');
  EXPECT_EQ(KvExecuteFile(name, "--x " + longArgument, deep, SW_SHOW), SHELL_SUCCESS);
  ASSERT_EQ(launched_.size(), 1u);
  EXPECT_EQ(launched_[0].target, deep + "/" + name);
  EXPECT_EQ(launched_[0].arguments, (QStringList{"--x", longArgument}));
  EXPECT_EQ(launched_[0].directory, deep);
}

}  // namespace

// The kvpanel program run as a subprocess: --check on good and broken files,
// usage errors, and --screenshot at two device pixel ratios.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "panel_test_files.h"
#include "tests/support/test_support.h"

namespace {

struct Outcome {
  int code = -1;
  QString out;
  QString err;
};

Outcome RunProgram(const QStringList& args, const QString& scale = QString()) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  if (!scale.isEmpty()) env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
  process.setProcessEnvironment(env);
  process.start(panel_test::ProgramPath(), args);
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAllStandardOutput()),
          QString::fromLocal8Bit(process.readAllStandardError())};
}

class PanelProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (panel_test::ProgramPath().isEmpty()) GTEST_SKIP() << "kvpanel not built";
    ASSERT_TRUE(dir_.isValid());
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    panel_test::WriteInPlace(path, bytes);
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(PanelProgram, CheckReportsTheFirstErrorWithFileLineAndProperty) {
  QByteArray wrongValue = panel_test::GoodPanel();
  wrongValue.replace("Left = 70", "Left = seventy");  // line 13
  QByteArray unknownProperty = panel_test::GoodPanel();
  unknownProperty.replace("    Top = 100\n", "    Toop = 100\n");  // line 20
  QByteArray badTimer = panel_test::GoodPanel();
  badTimer.replace(
      "end\n  object Label1",
      "end\n  object T: TKvPanelFlash\n    OnTimer = NoSuchHandler\n  end\n  object Label1");  // line 20
  struct Case {
    const char* name;
    QByteArray bytes;
    int code;
    QStringList expected;  // parts of the message (stdout for 0, stderr else)
  };
  const Case cases[] = {
      {"good.panel", panel_test::GoodPanel(), 0, {"good.panel", "OK", "TestPanel"}},
      {"example", QByteArray(), 0, {"engine.panel", "OK", "EnginePanel"}},
      {"value.panel", wrongValue, 1, {"value.panel(13,", "TestPanel.Linked.Left", "seventy"}},
      {"prop.panel", unknownProperty, 1, {"prop.panel(20,", "TestPanel.Label1.Toop", "does not exist"}},
      {"timer.panel", badTimer, 1, {"timer.panel(20,", "TestPanel.T.OnTimer", "NoSuchHandler"}},
      {"empty.panel", "", 1, {"empty.panel(1,"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = QString::fromUtf8(c.name) == QStringLiteral("example")
                             ? QStringLiteral(KV_SOURCE_DIR "/examples/engine.panel")
                             : Write(QString::fromUtf8(c.name), c.bytes);
    const Outcome run = RunProgram({QStringLiteral("--check"), path});
    EXPECT_EQ(run.code, c.code) << run.err.toStdString();
    const QString& message = c.code == 0 ? run.out : run.err;
    for (const QString& part : c.expected) EXPECT_TRUE(message.contains(part)) << message.toStdString();
    // One message, no second error after the first.
    EXPECT_EQ(message.count(QStringLiteral("kvpanel:")), 1) << message.toStdString();
  }
}

TEST_F(PanelProgram, MissingFilesAndBadUsageHaveTheirOwnExitCodes) {
  const QString missing = dir_.filePath(QStringLiteral("nowhere.panel"));
  struct Case {
    QStringList args;
    int code;
    QString expected;
  };
  const Case cases[] = {
      {{QStringLiteral("--check"), missing}, 1, QStringLiteral("nowhere.panel: cannot read")},
      {{QStringLiteral("--check"), dir_.path()}, 1, QStringLiteral("cannot read")},
      {{QStringLiteral("--screenshot"), dir_.filePath(QStringLiteral("x.png")), missing},
       1,
       QStringLiteral("cannot read")},
      {{missing}, 1, QStringLiteral("cannot read")},
      {{}, 2, QStringLiteral("no panel file")},
      {{QStringLiteral("--check")}, 2, QStringLiteral("no panel file")},
      {{QStringLiteral("--bogus"), missing}, 2, QStringLiteral("unknown option")},
      {{QStringLiteral("--check"), missing, missing}, 2, QStringLiteral("one panel file only")},
      {{QStringLiteral("--screenshot")}, 2, QStringLiteral("needs a file name")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(u' ').toStdString());
    const Outcome run = RunProgram(c.args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_TRUE(run.err.contains(c.expected)) << run.err.toStdString();
  }
  EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("x.png"))));
}

TEST_F(PanelProgram, ScreenshotFollowsTheDevicePixelRatio) {
  // A 300 x 200 panel; the status line adds 20 pixels below it. The example
  // panel is drawn too, for a person to look at (its size is its own).
  const QString test = Write(QStringLiteral("shot.panel"), panel_test::GoodPanel());
  const QString example = QStringLiteral(KV_SOURCE_DIR "/examples/engine.panel");
  QSize exampleSize;
  for (const int scale : {1, 2}) {
    SCOPED_TRACE(scale);
    const QString png = dir_.filePath(QStringLiteral("shot%1.png").arg(scale));
    const Outcome run = RunProgram({QStringLiteral("--screenshot"), png, test}, QString::number(scale));
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(300 * scale, 220 * scale));
    // The status strip's colour fills the bottom right corner (it is drawn,
    // and drawn at the full scale); the panel above it has its own colour.
    EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() - 1)), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_NE(image.pixel(image.width() - 1, image.height() - 1 - 20 * scale),
              image.pixel(image.width() - 1, image.height() - 1));

    const QString examplePng = dir_.filePath(QStringLiteral("example%1.png").arg(scale));
    ASSERT_EQ(RunProgram({QStringLiteral("--screenshot"), examplePng, example}, QString::number(scale)).code,
              0);
    const QImage exampleImage(examplePng);
    if (scale == 1) exampleSize = exampleImage.size();
    EXPECT_EQ(exampleImage.size(), exampleSize * scale);
    kv::test::savePng(exampleImage, QStringLiteral("kvpanel_engine_x%1").arg(scale));
  }
}

}  // namespace

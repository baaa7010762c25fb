// The start-up's exception display and the program's command-line modes,
// run as the real executable.

#include "app/startup.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <stdexcept>

#include "app/vorta.h"
#include "platform/forms/form_reader.h"
#include "platform/graphics/graphic.h"

namespace {

struct Box {
  QString text;
  QString caption;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->SetMessageBoxHandler([this](const QString& text, const QString& caption, int) {
      boxes.push_back({text, caption});
      return IDOK;
    });
  }
  std::unique_ptr<TApplication> app;
  std::vector<Box> boxes;
};

TEST_F(StartupTest, AnEscapingExceptionIsShownAndTheProgramEndsNormally) {
  bool reachedRun = false;
  EXPECT_EQ(RunGuarded(*app,
                       [&] {
                         app->Initialize();
                         // A damaged description fails while the main window is created.
                         TForm1* form = nullptr;
                         app->CreateForm(form);
                         ReadComponentFromText(QStringLiteral("object Form1: TForm1\n  Caption = 12\nend"),
                                               form, QStringLiteral("TFORM1"));
                         reachedRun = true;
                       }),
            0);
  EXPECT_FALSE(reachedRun);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.startsWith(QLatin1String("TFORM1(2,"))) << boxes[0].text.toStdString();
  EXPECT_EQ(boxes[0].caption, app->Title());

  // Even with an application-wide handler, start-up shows the standard box.
  int hooked = 0;
  app->SetOnException([&](TObject*, const Exception&) { ++hooked; });
  EXPECT_EQ(RunGuarded(*app, [] { throw std::runtime_error("low level"); }), 0);
  EXPECT_EQ(RunGuarded(*app, [] { throw 42; }), 0);
  EXPECT_EQ(hooked, 0);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[1].text, "low level");
  EXPECT_EQ(boxes[2].text, "") << "a thrown object that is no exception shows an empty message";

  EXPECT_EQ(RunGuarded(*app, [] {}), 0);
  EXPECT_EQ(boxes.size(), 3u);
}

// The executable next to the test program, if it was built.
QString Executable() {
  const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/vort");
  return QFileInfo::exists(path) ? path : QString();
}

struct ProcessRun {
  int status = -1;
  QString out;
  QString err;
};

ProcessRun RunVort(const QStringList& args, const QByteArray& input = QByteArray()) {
  QProcess process;
  process.start(Executable(), args);
  if (!process.waitForStarted(10000)) return {};
  process.write(input);
  process.closeWriteChannel();
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

TEST(Executable, CalcModeComputesLineByLine) {
  if (Executable().isEmpty()) GTEST_SKIP() << "vort not built";
  const ProcessRun run =
      RunVort({"--calc"}, "100 1 14 2 0\n1000 -1 5 2 0\r\n 60\t1 10 0 0 \n\n100 1 0 2 0\n");
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out,
            "2.00 0.00 0.00\t1.97\n2.2E2 -0.22 2.00\t222.00\n1.50 -0.10 0.48\t1.88\n"
            "error: time 0 ms divides by zero\n");
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(Executable, CalcModeReportsMalformedLinesAndGoesOn) {
  if (Executable().isEmpty()) GTEST_SKIP() << "vort not built";
  const ProcessRun run = RunVort({"--calc"}, "100 1 14 2\n100 1 14 2 0\n1 2 3 4 99999999999\n20 4 30 0 -1");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "error: malformed input\n2.00 0.00 0.00\t1.97\nerror: malformed input\n0.03 0.36 0.90\t1.29\n");
  EXPECT_TRUE(run.err.contains("line 1") && run.err.contains("100 1 14 2")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("line 3") && run.err.contains("99999999999")) << run.err.toStdString();
}

TEST(Executable, HelpVersionAndUnknownOptions) {
  if (Executable().isEmpty()) GTEST_SKIP() << "vort not built";
  ProcessRun run = RunVort({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.contains("--calc") && run.out.contains("--screenshot"));
  run = RunVort({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.startsWith("vort "));
  run = RunVort({"--frobnicate"});
  EXPECT_NE(run.status, 0);
  EXPECT_TRUE(run.err.contains("--frobnicate"));
}

TEST(Executable, ScreenshotShowsTheWindowsClientArea) {
  if (Executable().isEmpty()) GTEST_SKIP() << "vort not built";
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("w.png"));
  const ProcessRun run = RunVort({"--screenshot", file});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  const QImage shot(file);
  ASSERT_EQ(shot.size(), QSize(332, 341));
  // The picture at 180, 50, drawn 1:1, and the yellow result field.
  TForm1 form(nullptr);
  const QImage picture = form.Image1->Picture()->Graphic()->ToImage();
  int differing = 0;
  for (int y = 0; y < 150; y += 5)
    for (int x = 0; x < 150; x += 5)
      if (shot.pixel(180 + x, 50 + y) != picture.pixel(x, y)) ++differing;
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(shot.pixel(320, 255), qRgb(255, 255, 0));
}

}  // namespace

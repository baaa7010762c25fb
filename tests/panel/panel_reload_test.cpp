// The viewer window following its file: good edits replace the panel, bad
// ones keep it and report, hostile files never get further than an error.

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "panel/panel_file.h"
#include "panel/panel_window.h"
#include "panel_test_files.h"
#include "platform/controls/label.h"
#include "platform/core/class_registry.h"
#include "platform/core/exceptions.h"

// A component whose Loaded() fails: the reader lets that error through as
// it is, without the file's name.
class TPanelTestLoadFails : public TComponent {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TPanelTestLoadFails(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  void Loaded() override {
    TComponent::Loaded();
    throw Exception(QStringLiteral("sensor table missing"));
  }
};

namespace {

TLabel* Label1(const TKvPanelWindow& window) {
  return window.Panel() ? qobject_cast<TLabel*>(window.Panel()->FindComponent(QStringLiteral("Label1")))
                        : nullptr;
}

TEST(PanelReload, EditsUnderARunningWindow) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("live.panel"));
  panel_test::WriteInPlace(path, panel_test::GoodPanel(QStringLiteral("first")));
  TKvPanelWindow window;
  ASSERT_TRUE(window.Open(path));
  window.Show();
  ASSERT_TRUE(Label1(window));
  EXPECT_EQ(Label1(window)->Caption(), QStringLiteral("first"));
  EXPECT_FALSE(window.StatusIsError());

  // A good edit in place shows up; the size the user gave the window stays.
  window.SetClientWidth(350);
  panel_test::WriteInPlace(path, panel_test::GoodPanel(QStringLiteral("second")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.LoadCount() == 2; }, 5000));
  EXPECT_EQ(Label1(window)->Caption(), QStringLiteral("second"));
  EXPECT_EQ(window.ClientWidth(), 350);

  // A broken edit, saved by rename: the panel stays, the status says why.
  TKvPanelForm* const good = window.Panel();
  QByteArray broken = panel_test::GoodPanel(QStringLiteral("third"));
  broken.replace("Left = 130", "Left = 1.5.3");  // line 16
  panel_test::WriteByRename(path, broken);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.ReadCount() == 3; }, 5000));
  EXPECT_EQ(window.LoadCount(), 2);
  EXPECT_EQ(window.Panel(), good);
  EXPECT_EQ(Label1(window)->Caption(), QStringLiteral("second"));
  EXPECT_TRUE(window.StatusIsError());
  EXPECT_TRUE(window.StatusText().contains(QStringLiteral("live.panel(16,")))
      << window.StatusText().toStdString();
  EXPECT_TRUE(window.StatusText().contains(QStringLiteral("TestPanel.Knob.Left")));

  // Fixed again by another rename (the watch must have survived the first),
  // written in a burst of saves that settle into one read.
  for (int i = 0; i < 4; ++i)
    panel_test::WriteByRename(path, panel_test::GoodPanel(QStringLiteral("fixed%1").arg(i)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.LoadCount() == 3; }, 5000));
  EXPECT_EQ(Label1(window)->Caption(), QStringLiteral("fixed3"));
  EXPECT_FALSE(window.StatusIsError());
  QTest::qWait(3 * TKvPanelWindow::kSettleMs);
  EXPECT_EQ(window.ReadCount(), 4);

  // Removed and written again: the folder watch brings it back.
  ASSERT_TRUE(QFile::remove(path));
  QTest::qWait(3 * TKvPanelWindow::kSettleMs);
  EXPECT_EQ(Label1(window)->Caption(), QStringLiteral("fixed3"));
  panel_test::WriteInPlace(path, panel_test::GoodPanel(QStringLiteral("back")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Label1(window) && Label1(window)->Caption() == "back"; }, 5000));
}

QByteArray Nested(int depth) {
  QByteArray text = "object P: TKvPanelForm\n";
  for (int i = 0; i < depth; ++i) text += "object F" + QByteArray::number(i) + ": TKvPanelForm\n";
  for (int i = 0; i <= depth; ++i) text += "end\n";
  return text;
}

TEST(PanelReload, HostileFilesNeverReplaceThePanel) {
  QByteArray garbage(64 * 1024, '\0');
  QRandomGenerator random(7);
  for (char& c : garbage) c = char(random.bounded(1, 256));
  QByteArray latin1 = panel_test::GoodPanel();
  latin1.replace("first", "caf\xe9");
  const struct {
    const char* name;
    QByteArray bytes;
    const char* message;  // part of the error
  } cases[] = {
      {"empty", "", "(1,"},
      {"garbage", garbage, "UTF-8"},
      {"zero byte", QByteArrayLiteral("object P: TKvPanelForm\n\0end\n"), "zero byte on line 2"},
      {"latin-1", latin1, "UTF-8"},
      {"huge", QByteArray(kMaxPanelFileBytes + 1, ' '), "more than a panel file may have"},
      {"deep", Nested(200), "Nesting too deep"},
      {"unknown class", "object P: TKvPanelForm\n object X: TNoSuchGauge\n end\nend\n",
       "Class TNoSuchGauge not found"},
      {"wrong root", "object P: TLabel\nend\n", "not for a TKvPanelForm"},
      {"unterminated", "object P: TKvPanelForm\n Caption = 'abc\n", "(2,"},
      {"no end", "object P: TKvPanelForm\n object L: TLabel\n", "end of text"},
      {"trailing", "object P: TKvPanelForm\nend\nobject Q: TKvPanelForm\nend\n", "(3,"},
      {"dangling reference",
       "object P: TKvPanelForm\n object K: TKvAnalogCControl\n ValueIndicator = Nobody\n end\nend\n",
       "Component Nobody not found"},
      {"reference to a label",
       "object P: TKvPanelForm\n object K: TKvAnalogCControl\n ValueIndicator = L\n end\n"
       " object L: TLabel\n end\nend\n",
       "not a TKvAnalogGControl"},
      {"negative interval", "object P: TKvPanelForm\n object T: TKvPanelFlash\n Interval = -5\n end\nend\n",
       "P.T.Interval"},
      {"absurd speed", "object P: TKvPanelForm\n SimulationSpeed = 1e300\nend\n", "P.SimulationSpeed"},
      {"failing Loaded", "object P: TKvPanelForm\n object X: TPanelTestLoadFails\n end\nend\n",
       "sensor table missing"},
      {"duplicate name", "object P: TKvPanelForm\n object A: TLabel\n end\n object A: TLabel\n end\nend\n",
       "already exists"},
  };
  RegisterComponentClass<TPanelTestLoadFails>();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("hostile.panel"));
  panel_test::WriteInPlace(path, panel_test::GoodPanel(QStringLiteral("kept")));
  TKvPanelWindow window;
  ASSERT_TRUE(window.Open(path));
  TKvPanelForm* const good = window.Panel();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    panel_test::WriteInPlace(path, c.bytes);
    EXPECT_FALSE(window.Reload());
    EXPECT_EQ(window.Panel(), good);
    EXPECT_TRUE(window.StatusIsError());
    EXPECT_TRUE(window.StatusText().startsWith(path)) << window.StatusText().toStdString();
    EXPECT_TRUE(window.StatusText().contains(QLatin1String(c.message))) << window.StatusText().toStdString();
  }
  EXPECT_EQ(Label1(window)->Caption(), QStringLiteral("kept"));
  // Absurd but readable numbers give a panel, its size kept to what a screen shows.
  panel_test::WriteInPlace(path,
                           "object P: TKvPanelForm\n ClientWidth = 2147483647\n ClientHeight = -5\nend\n");
  EXPECT_TRUE(window.Reload());
  EXPECT_EQ(window.ClientWidth(), TKvPanelWindow::kMaxSide);
}

}  // namespace

#include "panel_reload_test.moc"

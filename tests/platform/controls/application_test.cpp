// The application object: exceptions caught at entries from Qt, message
// boxes, the being-destroyed state.

#include <QTimer>
#include <thread>

#include "tests/platform/controls/controls_fixture.h"

namespace {

using kv::test::ControlsTest;
using kv::test::Swatch;

TEST_F(ControlsTest, ExceptionInAHandlerGoesToOnExceptionAndTheLoopContinues) {
  TForm* form = nullptr;
  app->CreateForm(form);
  auto* swatch = new Swatch(form, form, Bounds(0, 0, 40, 40), clRed);
  swatch->SetOnClick(
      [](TObject*) { throw EConvertError(QStringLiteral("'abc' is not a valid integer value")); });
  std::vector<QString> handled;
  app->SetOnException([&](TObject* sender, const Exception& e) {
    EXPECT_EQ(sender, app.get());
    handled.push_back(e.Message());
  });
  int ticks = 0;
  QTimer::singleShot(20, [&] {
    QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(form->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    ++ticks;
    QTimer::singleShot(20, [&] {
      ++ticks;
      app->Terminate();
    });
  });
  app->Run();
  EXPECT_EQ(ticks, 2);
  const std::vector<QString> expected = {"'abc' is not a valid integer value",
                                         "'abc' is not a valid integer value"};
  EXPECT_EQ(handled, expected);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ControlsTest, WithoutOnExceptionTheStandardBoxShowsTheMessage) {
  app->SetTitle(QStringLiteral("Vort"));
  app->HandleException(std::make_exception_ptr(EZeroDivide(QString::fromLatin1(SZeroDivide))));
  app->HandleException(std::make_exception_ptr(std::runtime_error("plain failure")));
  app->HandleException(std::make_exception_ptr(42));  // not an exception object
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, QStringLiteral("Floating point division by zero"));
  EXPECT_EQ(boxes[0].caption, QStringLiteral("Vort"));
  EXPECT_EQ(boxes[0].flags, MB_OK | MB_ICONSTOP);
  EXPECT_EQ(boxes[1].text, QStringLiteral("plain failure"));
  EXPECT_EQ(boxes[2].text, QString());
}

TEST_F(ControlsTest, SafeCallNeverLetsAnExceptionThrough) {
  EXPECT_FALSE(SafeCall([] { throw EListError(QStringLiteral("list index out of bounds")); }));
  EXPECT_TRUE(SafeCall([] {}));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, QStringLiteral("list index out of bounds"));
  // A failing exception handler is contained as well.
  app->SetOnException([](TObject*, const Exception&) { throw std::logic_error("handler broke"); });
  EXPECT_FALSE(SafeCall([] { throw EListError(QStringLiteral("again")); }));
}

TEST_F(ControlsTest, MessageBoxGoesToTheHookAndOtherwiseToStderr) {
  app->SetMessageBoxHandler([this](const QString& text, const QString& caption, int flags) {
    boxes.push_back({text, caption, flags});
    return IDNO;
  });
  EXPECT_EQ(app->MessageBox(QStringLiteral("Only one TKvFlashTimer per Application!\rRemove it..."),
                            QStringLiteral("Error Message"), MB_YESNO),
            IDNO);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, QStringLiteral("Error Message"));
  EXPECT_EQ(boxes[0].flags, MB_YESNO);

  // No hook and no display (the offscreen platform): the text goes to stderr
  // and the default button is the answer.
  app->SetMessageBoxHandler(nullptr);
  ASSERT_FALSE(TApplication::DisplayAvailable());
  testing::internal::CaptureStderr();
  const int answer = app->MessageBox(QStringLiteral("Disk full"), QStringLiteral("Vort"), MB_OK);
  const int second =
      app->MessageBox(QStringLiteral("Again?"), QStringLiteral("Vort"), MB_YESNO | MB_DEFBUTTON2);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(second, IDNO);
  EXPECT_NE(err.find("Vort: Disk full"), std::string::npos);
  EXPECT_NE(err.find("Vort: Again?"), std::string::npos);
}

// Records the application's state when the form is freed.
class Probe : public TForm {
 public:
  using TForm::TForm;
  ~Probe() override { stateAtDestruction = Application ? Application->ComponentState() : TComponentState(); }
  static inline TComponentState stateAtDestruction;
};

TEST_F(ControlsTest, FormsAreFreedWhileTheApplicationIsBeingDestroyed) {
  Probe* probe = nullptr;
  app->CreateForm(probe);
  EXPECT_FALSE(app->ComponentState() & csDestroying);
  app.reset();
  EXPECT_TRUE(Probe::stateAtDestruction & csDestroying);
  EXPECT_EQ(Application, nullptr);
}

TEST_F(ControlsTest, TitleDefaultsToTheExecutableName) {
  EXPECT_EQ(app->Title(), QStringLiteral("test_platform_controls"));
  EXPECT_EQ(Application, app.get());
}

}  // namespace

namespace {

using kv::test::ControlsTest;

TEST_F(ControlsTest, ProcessMessagesRunsPendingWorkOnTheGuiThreadOnly) {
  int ran = 0;
  QMetaObject::invokeMethod(
      qApp, [&] { ++ran; }, Qt::QueuedConnection);
  app->ProcessMessages();
  EXPECT_EQ(ran, 1);
  // From another thread it leaves the GUI thread's queue alone.
  QMetaObject::invokeMethod(
      qApp, [&] { ++ran; }, Qt::QueuedConnection);
  std::thread worker([this] { app->ProcessMessages(); });
  worker.join();
  EXPECT_EQ(ran, 1);
  app->ProcessMessages();
  EXPECT_EQ(ran, 2);
}

}  // namespace

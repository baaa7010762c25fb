// Top-level forms: client size, placement, border, closing.

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "tests/platform/controls/controls_fixture.h"

namespace {

using kv::test::ControlsTest;

TEST_F(ControlsTest, FixedFormShowsExactClientAreaCentredWithoutMaximise) {
  TForm form(nullptr);
  form.SetCaption(QStringLiteral("nazwa1111"));
  form.SetBounds(468, 305, 100, 100);
  form.SetClientWidth(332);
  form.SetClientHeight(341);
  form.SetPosition(poScreenCenter);
  form.SetBorderStyle(bsSingle);
  form.SetBorderIcons(TBorderIcons(biSystemMenu) | biMinimize);
  form.SetScaled(false);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));

  QWidget* w = form.Widget();
  EXPECT_EQ(w->size(), QSize(332, 341));
  EXPECT_EQ(form.ClientWidth(), 332);
  EXPECT_EQ(form.ClientHeight(), 341);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("nazwa1111"));
  // Not resizable.
  EXPECT_EQ(w->minimumSize(), QSize(332, 341));
  EXPECT_EQ(w->maximumSize(), QSize(332, 341));
  // Minimise but no maximise button.
  EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowCloseButtonHint);
  // Centred on the primary screen; the stored position is overridden.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(form.Left(), screen.x() + (screen.width() - form.Width()) / 2);
  EXPECT_EQ(form.Top(), screen.y() + (screen.height() - form.Height()) / 2);
  EXPECT_EQ(w->frameGeometry().topLeft(), QPoint(form.Left(), form.Top()));
  // Background: the button face colour.
  EXPECT_EQ(w->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
}

TEST_F(ControlsTest, DesignedFormKeepsItsPositionAndSizeableOneResizes) {
  TForm form(nullptr);
  form.SetBounds(40, 30, 200, 150);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  EXPECT_EQ(form.Widget()->frameGeometry().topLeft(), QPoint(40, 30));
  EXPECT_TRUE(form.Widget()->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_NE(form.Widget()->minimumSize(), form.Widget()->maximumSize());
}

TEST_F(ControlsTest, ClosingTheMainFormEndsRun) {
  kv::test::KeyTarget* memo = nullptr;
  TForm* main = nullptr;
  app->CreateForm(main);
  EXPECT_EQ(app->MainForm(), main);
  TForm* second = nullptr;
  app->CreateForm(second);
  EXPECT_EQ(app->MainForm(), main);
  memo = new kv::test::KeyTarget(main, main, Bounds(0, 0, 10, 10), false);
  std::vector<QString> events;
  main->SetOnShow([&](TObject*) { events.push_back("show"); });
  main->SetOnClose([&](TObject*, TCloseAction& action) {
    events.push_back("close");
    EXPECT_EQ(action, caHide);
  });
  QTimer::singleShot(50, [&] {
    events.push_back(memo->Focused() || main->ActiveControl() == memo ? "focus" : "no focus");
    // The window's close button goes through the form.
    main->Widget()->close();
  });
  app->Run();
  EXPECT_TRUE(app->Terminated());
  const std::vector<QString> expected = {"show", "focus", "close"};
  EXPECT_EQ(events, expected);
}

TEST_F(ControlsTest, CloseQueryCanRefuseAndOtherFormsHide) {
  TForm* main = nullptr;
  TForm* other = nullptr;
  app->CreateForm(main);
  app->CreateForm(other);
  other->Show();
  bool allow = false;
  other->SetOnCloseQuery([&](TObject*, bool& canClose) { canClose = allow; });
  other->Close();
  EXPECT_TRUE(other->Showing());
  allow = true;
  other->Close();
  EXPECT_FALSE(other->Showing());
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(app->Terminated());
  // caFree frees the form once control returns to the event loop.
  QPointer<TForm> watch(other);
  other->SetOnClose([](TObject*, TCloseAction& action) { action = caFree; });
  other->Close();
  QTRY_VERIFY(watch.isNull());
  EXPECT_EQ(app->ComponentCount(), 1);
}

TEST_F(ControlsTest, OnCreateRunsAfterConstruction) {
  class CreatedForm : public TForm {
   public:
    explicit CreatedForm(TComponent* owner) : TForm(owner) {
      SetOnCreate([this](TObject*) { created = true; });
    }
    bool created = false;
  };
  CreatedForm* form = nullptr;
  app->CreateForm(form);
  EXPECT_TRUE(form->created);
}

}  // namespace

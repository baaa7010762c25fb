// The calculator window as seen while the focus moves along its tab order:
// every tab stop shows that it has the focus, and the window has its icon.

#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/vorta.h"
#include "platform/controls/application.h"
#include "tests/support/test_support.h"

namespace {

class Form1FocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A steady text cursor: what a grab shows must not depend on the blink.
    flashTime_ = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    app = std::make_unique<TApplication>();
    app->Initialize();
    app->CreateForm(form);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
  }
  void TearDown() override {
    app.reset();
    QApplication::processEvents();
    QApplication::setCursorFlashTime(flashTime_);
  }

  // The window as painted now, cut to `control`'s rectangle.
  QImage Shot(const TControl* control) const {
    QApplication::processEvents();
    return form->Widget()->grab().toImage().copy(control->BoundsRect().toQRect());
  }

  std::unique_ptr<TApplication> app;
  TForm1* form = nullptr;
  int flashTime_ = 0;
};

int DifferingPixels(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) ++count;
  return count;
}

TEST_F(Form1FocusTest, EveryTabStopShowsThatItHasTheFocus) {
  std::vector<TWinControl*> stops;
  form->GetTabOrderList(stops);
  stops.erase(std::remove_if(stops.begin(), stops.end(),
                             [this](TWinControl* c) { return c == form || !c->TabStop(); }),
              stops.end());
  ASSERT_EQ(stops.size(), 10u);
  // Each control without and with the focus, side by side, one row per
  // control in tab order, for a person to look at.
  QImage gallery(2 * 305 + 12, int(stops.size()) * 77 + 4, QImage::Format_RGB32);
  gallery.fill(Qt::white);
  QPainter painter(&gallery);
  for (size_t i = 0; i < stops.size(); ++i) {
    TWinControl* control = stops[i];
    TWinControl* elsewhere = stops[(i + 1) % stops.size()];
    SCOPED_TRACE(control->Name().toStdString());
    elsewhere->SetFocus();
    ASSERT_TRUE(elsewhere->Focused());
    const QImage without = Shot(control);
    control->SetFocus();
    ASSERT_TRUE(control->Focused());
    const QImage with = Shot(control);
    // A dotted rectangle or a caret is a few dozen pixels at least.
    painter.drawImage(4, 4 + int(i) * 77, without);
    painter.drawImage(8 + 305, 4 + int(i) * 77, with);
    const int changed = DifferingPixels(without, with);
    EXPECT_GE(changed, 10);
    if (changed < 10) {
      kv::test::savePng(without, QStringLiteral("app_focus_%1_without").arg(control->Name()));
      kv::test::savePng(with, QStringLiteral("app_focus_%1_with").arg(control->Name()));
    }
  }
  painter.end();
  kv::test::savePng(gallery, QStringLiteral("calculator_focus"));
}

TEST_F(Form1FocusTest, LeavingAFieldShowsItsStartAgain) {
  // The result field is too narrow for a long text: typing at its end
  // scrolls it; once the focus leaves, it shows the start as when set.
  const QString text = QStringLiteral("0123456789 0123456789 0123456789");
  form->EditWynik->SetText(text);
  const QImage asSet = Shot(form->EditWynik);
  form->EditWynik->SetFocus();
  QTest::keyClick(form->EditWynik->Widget(), Qt::Key_End);
  form->Button1->SetFocus();
  EXPECT_EQ(DifferingPixels(asSet, Shot(form->EditWynik)), 0);
}

TEST_F(Form1FocusTest, WindowShowsTheProgramIcon) {
  const QIcon icon = form->Widget()->windowIcon();
  ASSERT_FALSE(icon.isNull());
  const QImage image = icon.pixmap(QSize(256, 256)).toImage();
  const QImage drawn(QStringLiteral(":/MAINICON.png"));
  ASSERT_FALSE(drawn.isNull());
  EXPECT_EQ(image.size(), drawn.size());
  // The opaque pixels are the drawing's (the soft edge goes through
  // premultiplied alpha and may round differently).
  const QImage shown = image.convertToFormat(QImage::Format_ARGB32);
  const QImage source = drawn.convertToFormat(QImage::Format_ARGB32);
  int opaque = 0, differing = 0;
  for (int y = 0; y < source.height(); ++y)
    for (int x = 0; x < source.width(); ++x)
      if (qAlpha(source.pixel(x, y)) == 255) {
        ++opaque;
        if (shown.pixel(x, y) != source.pixel(x, y)) ++differing;
      }
  EXPECT_GT(opaque, 256 * 256 / 2);
  EXPECT_EQ(differing, 0);
}

}  // namespace

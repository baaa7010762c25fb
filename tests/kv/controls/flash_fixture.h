#pragma once
// Tests of controls driven by the shared flash timer: a fresh application
// object, the tick counter replaced by a number the test advances, and the
// timer's own heartbeat switched off so that only the test ticks (16 ms of
// the replaced clock per tick, as the heartbeat would).

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "kv/timers/flash_timer.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"
#include "platform/core/date_time.h"

namespace kv::test {

class FlashDrivenTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kTickMs = 16;

  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->SetMessageBoxHandler([](const QString&, const QString&, int) { return IDOK; });
    SetTickCountSource([this] { return now; });
    while (KvflashtUnit().Initialized()) KvflashtUnit().Finalize();
    KvflashtUnit().Initialize();
    // Make the shared timer exist, stopped, before anything registers.
    AddProc(&Nothing, 1000000);
    KvFlashTimer->SetEnabled(false);
    DelProc(&Nothing);
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(200);
    form->SetClientHeight(120);
  }
  void TearDown() override {
    form.reset();
    while (KvflashtUnit().Initialized()) KvflashtUnit().Finalize();
    SetTickCountSource({});
    app.reset();
    QApplication::processEvents();
  }

  // One tick of the heartbeat, `kTickMs` later than the last.
  void Tick() {
    now += kTickMs;
    KvFlashTimer->flash(KvFlashTimer);
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) Tick();
  }
  bool Listed(const TControl* control) const {
    for (const auto& record : *dynFlashList)
      if (record->Control == control) return true;
    return false;
  }
  const TFlashRecord* RecordOf(const TControl* control) const {
    for (const auto& record : *dynFlashList)
      if (record->Control == control) return record.get();
    return nullptr;
  }
  bool ShowForm() {
    form->Show();
    return QTest::qWaitForWindowExposed(form->Widget());
  }

  uint32_t now = 100000;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TForm> form;

 private:
  static void Nothing(int32_t, int32_t) {}
};

}  // namespace kv::test

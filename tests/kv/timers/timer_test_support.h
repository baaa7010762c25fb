#pragma once
// Helpers of the timer tests: one application object for the whole suite,
// a control that records the flash messages it receives, and generous waits
// (the machine running the tests may be loaded).

#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <utility>
#include <vector>

#include "platform/controls/application.h"
#include "platform/controls/control.h"
#include "platform/controls/messages.h"

namespace kv::test {

// Creates the process's application object on first use; the suite's global
// environment frees it before the QApplication goes.
TApplication* TestApplication();

// Processes events until `condition` holds; false after 20 s.
inline bool WaitUntil(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, 20000);
}

// Records every WM_FLASH as (tick counter, value) and may act on it.
class FlashProbe : public TControl {
 public:
  using TControl::TControl;
  std::vector<std::pair<intptr_t, intptr_t>> received;
  std::function<void()> onFlash;

  void WndProc(TMessage& message) override {
    if (message.Msg == WM_FLASH) {
      received.emplace_back(message.WParam, message.LParam);
      if (onFlash) onFlash();
      return;
    }
    TControl::WndProc(message);
  }
};

// Answers message boxes with OK and remembers them, for its lifetime.
class MessageBoxRecorder {
 public:
  struct Box {
    QString text;
    QString caption;
    int flags;
  };
  MessageBoxRecorder() {
    previous_ = TestApplication()->SetMessageBoxHandler([this](const QString& t, const QString& c, int f) {
      boxes.push_back({t, c, f});
      return IDOK;
    });
  }
  ~MessageBoxRecorder() { TestApplication()->SetMessageBoxHandler(std::move(previous_)); }
  std::vector<Box> boxes;

 private:
  TMessageBoxHandler previous_;
};

}  // namespace kv::test

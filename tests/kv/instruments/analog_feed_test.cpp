// Values from another thread: a producer floods a meter and the GUI applies
// and repaints at most once per frame, ending on the last value; a producer
// that outlives its meter is turned away without harm.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "kv/instruments/kv_round_meter.h"
#include "kv/instruments/value_feed.h"
#include "platform/controls/application.h"
#include "platform/controls/form.h"

namespace {

using namespace std::chrono;

class FeedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    form = std::make_unique<TForm>(nullptr);
    form->SetClientWidth(220);
    form->SetClientHeight(220);
    meter = new TKvRoundMeter(form.get());
    meter->SetBounds(10, 10, 200, 200);
    meter->SignalSettings()->SetValueTo(1000);
    meter->Loaded();
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form->Widget()));
    QApplication::processEvents();
  }
  void TearDown() override {
    form.reset();
    app.reset();
    QApplication::processEvents();
  }
  // Runs the GUI's event loop until `done` is set.
  static void PumpUntil(const std::atomic<bool>& done) {
    while (!done.load()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }

  std::unique_ptr<TApplication> app;
  std::unique_ptr<TForm> form;
  TKvRoundMeter* meter = nullptr;
};

TEST_F(FeedTest, AFloodOfValuesIsAppliedAtMostOncePerFrame) {
  auto* feed = new TKvValueFeed(meter);
  std::shared_ptr<TKvValuePort> port = feed->Port();
  const int64_t paintsBefore = meter->PaintCount();
  constexpr int kPerMs = 100;  // 100 000 values a second
  constexpr int kMs = 2000;
  std::atomic<bool> done{false};
  float last = 0;
  QElapsedTimer clock;
  clock.start();
  std::thread producer([&] {
    const auto start = steady_clock::now();
    int64_t n = 0;
    for (int ms = 0; ms < kMs; ++ms) {
      for (int i = 0; i < kPerMs; ++i, ++n) last = float(n % 1000) + 0.25f;
      for (int i = 0; i < kPerMs; ++i) port->Post(float((n - kPerMs + i) % 1000) + 0.25f);
      std::this_thread::sleep_until(start + milliseconds(ms + 1));
    }
    done = true;
  });
  PumpUntil(done);
  producer.join();
  // Let the last frame apply and paint.
  QTest::qWait(3 * TKvValueFeed::kFrameMs);
  const double frames = double(clock.elapsed()) / TKvValueFeed::kFrameMs;

  EXPECT_EQ(port->Posted(), int64_t(kPerMs) * kMs);
  EXPECT_EQ(meter->Value(), last);
  EXPECT_GT(feed->Applied(), 10);
  EXPECT_LE(feed->Applied(), int64_t(frames) + 2);
  const int64_t paints = meter->PaintCount() - paintsBefore;
  EXPECT_GT(paints, 10);
  EXPECT_LE(paints, int64_t(frames) + 2);
}

TEST_F(FeedTest, ProducersOutliveTheMeterSafely) {
  std::shared_ptr<TKvValuePort> port = (new TKvValueFeed(meter))->Port();
  std::atomic<bool> done{false};
  std::atomic<int64_t> accepted{0};
  std::thread producer([&] {
    float v = 0;
    while (port->Post(v += 1)) accepted.fetch_add(1);
    done = true;
  });
  while (accepted.load() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 1);
  delete meter;  // the feed goes with it while the producer still posts
  meter = nullptr;
  PumpUntil(done);
  producer.join();
  EXPECT_FALSE(port->Attached());
  EXPECT_FALSE(port->Post(1));
  QApplication::processEvents();  // nothing is delivered to the freed feed
}

}  // namespace

#include "platform/core/date_time.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "platform/core/exceptions.h"

// Readable QString values in failure messages.
static void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

TEST(TickCount, DifferencesSurviveTheWrap) {
  EXPECT_EQ(TickDiff(5, 0xFFFFFFFBu), 10);
  EXPECT_EQ(TickDiff(0xFFFFFFFBu, 5), -10);
  EXPECT_EQ(TickDiff(100, 100), 0);
  EXPECT_EQ(TickDiff(0x80000000u, 1), 0x7FFFFFFF);

  uint32_t now = 0xFFFFFFF0u;
  SetTickCountSource([&now] { return now; });
  const uint32_t start = GetTickCount();
  now += 0x20;  // wraps to 0x10
  EXPECT_EQ(GetTickCount(), 0x10u);
  EXPECT_EQ(TickDiff(GetTickCount(), start), 0x20);
  EXPECT_GT(TickDiff(GetTickCount(), start + 0x10), 0);  // "at or past" holds across the wrap
  SetTickCountSource({});
}

TEST(TickCount, RealClockAdvancesInMilliseconds) {
  SetTickCountSource({});
  const uint32_t a = GetTickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const int32_t elapsed = TickDiff(GetTickCount(), a);
  EXPECT_GE(elapsed, 29);
  EXPECT_LT(elapsed, 5000);
}

TEST(TickCount, HookCanBeSwappedWhileAnotherThreadReads) {
  SetTickCountSource([] { return 1u; });
  std::atomic<bool> stop{false};
  std::atomic<int> strange{0};
  std::thread reader([&] {
    while (!stop.load()) {
      const uint32_t t = GetTickCount();
      if (t != 1u && t != 2u) strange.fetch_add(1);
    }
  });
  for (int i = 0; i < 2000; ++i) {
    if (i % 2 == 0) {
      SetTickCountSource([] { return 2u; });
    } else {
      SetTickCountSource([] { return 1u; });
    }
  }
  stop = true;
  reader.join();
  SetTickCountSource({});
  EXPECT_EQ(strange.load(), 0);
}

TEST(WallClock, NowCountsDaysSinceTheEndOf1899) {
  const QDateTime before = QDateTime::currentDateTime();
  const double now = Now();
  const QDateTime after = QDateTime::currentDateTime();
  const QDate zero(1899, 12, 30);
  const double low = zero.daysTo(before.date()) + before.time().msecsSinceStartOfDay() / 86400000.0;
  const double high = zero.daysTo(after.date()) + after.time().msecsSinceStartOfDay() / 86400000.0;
  EXPECT_GE(now, low);
  EXPECT_LE(now, high);

  SetNowSource([] { return 45000.5; });
  EXPECT_EQ(Now(), 45000.5);
  SetNowSource({});
  EXPECT_NEAR(Now(), high, 1.0 / 24);
}

// Now counts local wall-clock milliseconds into days and the day's fraction
// exactly as the calendar route does, before 1970 and after, at day ends.
TEST(WallClock, LocalMillisecondsBecomeTheCalendarsDateTime) {
  const QDate zero(1899, 12, 30);
  for (const qint64 ms : {qint64(0), qint64(1), qint64(-1), qint64(86399999), qint64(86400000),
                          qint64(-86400000), qint64(-86400001), qint64(1733740123456), qint64(-2208988800000),
                          qint64(-2209161600000), qint64(253402300799999)}) {
    SCOPED_TRACE(ms);
    // The local time read as if it were UTC: no zone gets in the way.
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    const double expected = double(zero.daysTo(local.date())) + local.time().msecsSinceStartOfDay() / 86400000.0;
    EXPECT_EQ(LocalMSecsToDateTime(ms), expected);
  }
}

TEST(Calendar, EncodeAndDecode) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2023, 3, 15), 45000);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999 / 86400000.0);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);

  int y, m, d, h, mi, s, ms;
  DecodeDate(45000.75, y, m, d);
  EXPECT_EQ((std::array{y, m, d}), (std::array{2023, 3, 15}));
  DecodeTime(45000.75, h, mi, s, ms);
  EXPECT_EQ((std::array{h, mi, s, ms}), (std::array{18, 0, 0, 0}));
  // A negative date-time: the integer part is the day, |fraction| the time.
  DecodeDate(-1.25, y, m, d);
  EXPECT_EQ((std::array{y, m, d}), (std::array{1899, 12, 29}));
  DecodeTime(-1.25, h, mi, s, ms);
  EXPECT_EQ((std::array{h, mi, s, ms}), (std::array{6, 0, 0, 0}));
  // A time a hair before midnight stays on its day.
  DecodeTime(0.9999999999, h, mi, s, ms);
  EXPECT_EQ((std::array{h, mi, s, ms}), (std::array{23, 59, 59, 999}));
  DecodeTime(EncodeTime(13, 7, 42, 250), h, mi, s, ms);
  EXPECT_EQ((std::array{h, mi, s, ms}), (std::array{13, 7, 42, 250}));
  DecodeDate(std::nan(""), y, m, d);
  EXPECT_EQ((std::array{y, m, d}), (std::array{0, 0, 0}));
}

TEST(Calendar, DateAndTimeTextsFollowTheLocale) {
  const QLocale us(QLocale::English, QLocale::UnitedStates);
  const QLocale de(QLocale::German, QLocale::Germany);
  EXPECT_EQ(DateToStr(45000.5, us), "3/15/23");
  EXPECT_EQ(DateToStr(45000.5, de), "15.03.23");
  EXPECT_EQ(TimeToStr(45000.5, us), "12:00:00 PM");
  EXPECT_EQ(TimeToStr(45000.75 + 1.0 / 86400, de), "18:00:01");
  EXPECT_EQ(TimeToStr(0, de), "00:00:00");
  EXPECT_EQ(DateToStr(std::nan(""), de), "");

  // Without a locale the default one is used.
  const QLocale saved;
  QLocale::setDefault(de);
  EXPECT_EQ(DateToStr(45000.5), "15.03.23");
  EXPECT_EQ(TimeToStr(45000.5), "12:00:00");
  QLocale::setDefault(saved);
}

}  // namespace

#include "platform/core/date_time.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>

#include "platform/core/exceptions.h"

namespace {

constexpr double kMSecsPerDay = 86400000.0;
// Day numbers of 1 January 0001 and 31 December 9999, the calendar range.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

QDate DayZero() {
  return QDate(1899, 12, 30);
}

// A replaceable clock. Readers take a copy of the hook under the lock and call
// it outside, so a hook may be swapped while a worker thread is reading; the
// flag keeps the common unhooked path free of the lock.
template <typename T>
class THookedClock {
 public:
  using TSource = std::function<T()>;
  void Set(TSource source) {
    std::shared_ptr<const TSource> next;
    if (source) next = std::make_shared<const TSource>(std::move(source));
    std::lock_guard lock(mutex_);
    hook_ = std::move(next);
    hooked_.store(static_cast<bool>(hook_), std::memory_order_release);
  }
  // The hook, or null when the real clock is to be read.
  std::shared_ptr<const TSource> Hook() const {
    if (!hooked_.load(std::memory_order_acquire)) return nullptr;
    std::lock_guard lock(mutex_);
    return hook_;
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const TSource> hook_;
  std::atomic<bool> hooked_{false};
};

THookedClock<uint32_t>& TickClock() {
  static THookedClock<uint32_t> clock;
  return clock;
}

THookedClock<double>& WallClock() {
  static THookedClock<double> clock;
  return clock;
}

// Calendar day of a date-time: its integer part, whatever the sign.
bool DayOf(double dateTime, QDate& date) {
  if (!std::isfinite(dateTime)) return false;
  const double day = std::trunc(dateTime);
  if (day < kFirstDay || day > kLastDay) return false;
  date = DayZero().addDays(static_cast<qint64>(day));
  return date.isValid();
}

// Milliseconds into the day: the absolute value of the fraction. Rounded to the
// millisecond but never up into the next day, so the time agrees with the day
// that DayOf reports.
int MSecsOf(double dateTime) {
  if (!std::isfinite(dateTime)) return 0;
  const double fraction = std::fabs(dateTime - std::trunc(dateTime));
  const long long ms = std::llround(fraction * kMSecsPerDay);
  return static_cast<int>(std::min<long long>(ms, static_cast<long long>(kMSecsPerDay) - 1));
}

// The long time format without its time-zone field: a date-time number has no
// zone, and the platform's long time format names none.
QString TimeFormatWithoutZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) {
      while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
      continue;
    }
    out += c;
  }
  return out.trimmed();
}

}  // namespace

uint32_t GetTickCount() {
  if (const auto hook = TickClock().Hook()) return (*hook)();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(static_cast<uint64_t>(ms.count()));
}

double LocalMSecsToDateTime(qint64 localMSecs) {
  constexpr qint64 kDay = 86400000;
  constexpr qint64 kEpochDay = 25569;  // 1970-01-01 counted from day zero
  const qint64 day = localMSecs >= 0 ? localMSecs / kDay : -((-localMSecs + kDay - 1) / kDay);
  return static_cast<double>(day + kEpochDay) + static_cast<double>(localMSecs - day * kDay) / kMSecsPerDay;
}

double Now() {
  if (const auto hook = WallClock().Hook()) return (*hook)();
  // The local time's offset is looked up once a second per thread: the
  // lookup consults the zone database on every call, and Now runs for every
  // recorded extreme and every flash timer tick.
  thread_local qint64 offsetSecond = std::numeric_limits<qint64>::min();
  thread_local qint64 offsetMSecs = 0;
  const qint64 utc = QDateTime::currentMSecsSinceEpoch();
  const qint64 second = utc >= 0 ? utc / 1000 : (utc - 999) / 1000;
  if (second != offsetSecond) {
    offsetMSecs = qint64(QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc()) * 1000;
    offsetSecond = second;
  }
  return LocalMSecsToDateTime(utc + offsetMSecs);
}

QString DateToStr(double dateTime) {
  return DateToStr(dateTime, QLocale());
}

QString TimeToStr(double dateTime) {
  return TimeToStr(dateTime, QLocale());
}

QString DateToStr(double dateTime, const QLocale& locale) {
  QDate date;
  if (!DayOf(dateTime, date)) return {};
  return locale.toString(date, locale.dateFormat(QLocale::ShortFormat));
}

QString TimeToStr(double dateTime, const QLocale& locale) {
  const QTime time = QTime::fromMSecsSinceStartOfDay(MSecsOf(dateTime));
  return locale.toString(time, TimeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

double EncodeDate(int year, int month, int day) {
  const QDate date(year, month, day);
  if (year < 1 || year > 9999 || !date.isValid())
    throw EConvertError(QStringLiteral("Invalid argument to date encode"));
  return static_cast<double>(DayZero().daysTo(date));
}

double EncodeTime(int hour, int minute, int second, int msec) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    throw EConvertError(QStringLiteral("Invalid argument to time encode"));
  return ((hour * 60 + minute) * 60000 + second * 1000 + msec) / kMSecsPerDay;
}

void DecodeDate(double dateTime, int& year, int& month, int& day) {
  QDate date;
  if (!DayOf(dateTime, date)) {
    year = month = day = 0;
    return;
  }
  date.getDate(&year, &month, &day);
}

void DecodeTime(double dateTime, int& hour, int& minute, int& second, int& msec) {
  const int ms = MSecsOf(dateTime);
  hour = ms / 3600000;
  minute = ms / 60000 % 60;
  second = ms / 1000 % 60;
  msec = ms % 1000;
}

void SetTickCountSource(std::function<uint32_t()> source) {
  TickClock().Set(std::move(source));
}

void SetNowSource(std::function<double()> source) {
  WallClock().Set(std::move(source));
}

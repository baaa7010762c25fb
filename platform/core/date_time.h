#pragma once
// Clock and calendar helpers of the runtime: the millisecond tick counter, the
// local wall-clock date-time as a day count, and the texts of dates and times
// in the user's formats.
//
// A date-time is a double counting days since 30 December 1899 (day 0); the
// fraction is the time of day. As in the classic day-count convention, for a
// negative value the integer part still names the day and the absolute value of
// the fraction the time (-1.25 is 29 December 1899, 06:00).
//
// Both clocks can be replaced by tests. The hooks may be set from the GUI
// thread while worker threads read the clocks.

#include <QLocale>
#include <QString>
#include <cstdint>
#include <functional>

// Milliseconds from a monotonic clock, truncated to 32 bits: wraps from
// 4294967295 to 0 about every 49.7 days. Compare ticks with TickDiff.
uint32_t GetTickCount();

// Signed distance a - b between two tick counts, correct across one wrap
// (TickDiff(5, 0xFFFFFFFB) == 10).
inline int32_t TickDiff(uint32_t a, uint32_t b) {
  return static_cast<int32_t>(a - b);
}

// Current local date-time (days since 1899-12-30 with the time as fraction).
double Now();
// The date-time of a local wall-clock time given in milliseconds since
// 1970-01-01 00:00 (local): whole days since day zero plus the day's fraction.
double LocalMSecsToDateTime(qint64 localMSecs);

// Text of the date part in the short date format and of the time part in the
// long time format. Without a locale argument the default QLocale is used,
// which is the user's system locale unless the application set another one.
QString DateToStr(double dateTime);
QString TimeToStr(double dateTime);
QString DateToStr(double dateTime, const QLocale& locale);
QString TimeToStr(double dateTime, const QLocale& locale);

// Calendar conversions. EncodeDate/EncodeTime raise EConvertError for a date or
// time that does not exist (month 13, 25:00, 30 February).
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(double dateTime, int& year, int& month, int& day);
void DecodeTime(double dateTime, int& hour, int& minute, int& second, int& msec);

// Test hooks: replace the tick counter or the wall clock. An empty function
// restores the real clock.
void SetTickCountSource(std::function<uint32_t()> source);
void SetNowSource(std::function<double()> source);

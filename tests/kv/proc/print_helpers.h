#pragma once
// Readable failure messages for the library's value types in GoogleTest.

#include <QString>
#include <ostream>

#include "platform/core/types.h"

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const TPoint& p, std::ostream* os) {
  *os << '(' << p.X << ", " << p.Y << ')';
}
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << '(' << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ')';
}

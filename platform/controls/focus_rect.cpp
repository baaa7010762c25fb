#include "platform/controls/focus_rect.h"

#include <QPolygon>

void DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& color) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  QPolygon dots;
  const auto dot = [&dots](int x, int y) {
    if (((x + y) & 1) == 0) dots.append(QPoint(x, y));
  };
  for (int x = rect.left(); x <= rect.right(); ++x) {
    dot(x, rect.top());
    if (rect.bottom() != rect.top()) dot(x, rect.bottom());
  }
  for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
    dot(rect.left(), y);
    if (rect.right() != rect.left()) dot(rect.right(), y);
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(color, 1));
  painter.drawPoints(dots);
  painter.restore();
}

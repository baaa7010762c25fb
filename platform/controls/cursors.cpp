#include "platform/controls/cursors.h"

#include <map>

namespace {
std::map<TCursor, QCursor>& CursorTable() {
  static std::map<TCursor, QCursor> table;
  return table;
}
}  // namespace

QCursor CursorToQCursor(TCursor cursor) {
  switch (cursor) {
    case crDefault:
    case crArrow:
      return QCursor(Qt::ArrowCursor);
    case crNone:
      return QCursor(Qt::BlankCursor);
    case crCross:
      return QCursor(Qt::CrossCursor);
    case crIBeam:
      return QCursor(Qt::IBeamCursor);
    case crSizeNESW:
      return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS:
      return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE:
      return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE:
      return QCursor(Qt::SizeHorCursor);
    case crUpArrow:
      return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait:
      return QCursor(Qt::WaitCursor);
    case crDrag:
      return QCursor(Qt::DragMoveCursor);
    case crNoDrop:
    case crNo:
      return QCursor(Qt::ForbiddenCursor);
    case crHSplit:
      return QCursor(Qt::SplitHCursor);
    case crVSplit:
      return QCursor(Qt::SplitVCursor);
    case crMultiDrag:
      return QCursor(Qt::DragCopyCursor);
    case crAppStart:
      return QCursor(Qt::BusyCursor);
    case crHelp:
      return QCursor(Qt::WhatsThisCursor);
    case crHandPoint:
      return QCursor(Qt::PointingHandCursor);
    case crSizeAll:
      return QCursor(Qt::SizeAllCursor);
    default:
      break;
  }
  const auto& table = CursorTable();
  const auto it = table.find(cursor);
  return it == table.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

void SetCursorShape(TCursor cursor, const QCursor& shape) {
  if (cursor <= 0) return;  // the standard cursors are fixed
  CursorTable()[cursor] = shape;
}

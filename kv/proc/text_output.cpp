#include "kv/proc/text_output.h"

#include <cmath>
#include <limits>

#include "kv/proc/conversions.h"
#include "kv/proc/geometry.h"
#include "platform/core/numbers.h"
#include "platform/graphics/canvas.h"

namespace {

enum class Row { Top, Middle, Bottom };
enum class Column { Left, Center, Right };

Row RowOf(toPos position) {
  switch (position) {
    case toMidLeft:
    case toMidCenter:
    case toMidRight:
      return Row::Middle;
    case toBotLeft:
    case toBotCenter:
    case toBotRight:
      return Row::Bottom;
    default:
      return Row::Top;
  }
}

Column ColumnOf(toPos position) {
  switch (position) {
    case toTopCenter:
    case toMidCenter:
    case toBotCenter:
      return Column::Center;
    case toTopRight:
    case toMidRight:
    case toBotRight:
      return Column::Right;
    default:
      return Column::Left;
  }
}

// Text output placed by its top-left corner. The canvas's alignment is set to
// top-left for the call and put back, so a caller's own alignment neither
// displaces the text nor gets lost.
void TextOutTopLeft(TCanvas* canvas, int x, int y, const QString& text) {
  const int previous = canvas->SetTextAlign(TA_LEFT | TA_TOP);
  canvas->TextOut(x, y, text);
  canvas->SetTextAlign(previous);
}

// Distance between the anchors of two lines of a multi-line text.
int LineHeight(TCanvas* canvas, int spacing) {
  return canvas->TextHeight(QStringLiteral("X")) + spacing;
}

// Y of the first line's anchor: the block of `count` line steps hangs from Y,
// is centred on it or ends on it, by the position's row.
int FirstLineY(int Y, int lineHeight, int count, toPos position) {
  const int block = lineHeight * count;
  switch (RowOf(position)) {
    case Row::Middle:
      return Y - block / 2;
    case Row::Bottom:
      return Y - block;
    default:
      return Y;
  }
}

}  // namespace

void KvGetTextSize(TCanvas* canvas, int& w, int& h, TPoint& half, const QString& text) {
  const QSize size = canvas->TextExtent(text);
  w = size.width();
  h = size.height();
  half = TPoint(w / 2, h / 2);
}

void KvGetMaxTokenSize(TCanvas* canvas, int& maxWidth, int& height, const QString& list) {
  KvGetMaxTokenSize2(canvas, maxWidth, height, list, kKvListSeparator);
}

void KvGetMaxTokenSize2(TCanvas* canvas, int& maxWidth, int& height, const QString& list, QChar separator) {
  height = canvas->TextHeight(list);
  maxWidth = 0;
  QString rest = list;
  while (rest.contains(separator)) {
    const int w = canvas->TextWidth(KvStrToken(rest, separator));
    if (w > maxWidth) maxWidth = w;
  }
  // The text after the last separator is an item as well (empty for a list
  // that ends with one).
  const int w = canvas->TextWidth(rest);
  if (w > maxWidth) maxWidth = w;
}

void KvTextOut(TCanvas* canvas, int X, int Y, const QString& text, toPos position) {
  int w = 0, h = 0;
  TPoint half;
  KvGetTextSize(canvas, w, h, half, text);
  int x = X, y = Y;
  switch (ColumnOf(position)) {
    case Column::Center:
      x = X - half.X;
      break;
    case Column::Right:
      x = X - w;
      break;
    case Column::Left:
      break;
  }
  switch (RowOf(position)) {
    case Row::Middle:
      y = Y - half.Y;
      break;
    case Row::Bottom:
      y = Y - h;
      break;
    case Row::Top:
      break;
  }
  TextOutTopLeft(canvas, x, y, text);
}

void KvTextOutMultiLine(TCanvas* canvas, int X, int Y, int spacing, const QString& text, toPos position) {
  const int lineHeight = LineHeight(canvas, spacing);
  int y = FirstLineY(Y, lineHeight, KvCharCount(text, kKvLineSeparator), position);
  QString rest = text;
  while (!rest.isEmpty()) {
    KvTextOut(canvas, X, y, KvStrToken(rest, kKvLineSeparator), position);
    y += lineHeight;
  }
}

void KvTextOut3D(TCanvas* canvas, int X, int Y, TColor textColor, TColor upLeftColor, TColor downRightColor,
                 const QString& text, toPos position, bool is3D) {
  TFont* font = canvas->Font();
  if (is3D) {
    font->SetColor(downRightColor);
    KvTextOut(canvas, X + 1, Y + 1, text, position);
    font->SetColor(upLeftColor);
    KvTextOut(canvas, X - 1, Y - 1, text, position);
  }
  font->SetColor(textColor);
  KvTextOut(canvas, X, Y, text, position);
}

void KvTextOutMultiLine3D(TCanvas* canvas, int X, int Y, int spacing, TColor textColor, TColor upLeftColor,
                          TColor downRightColor, const QString& text, toPos position, bool is3D) {
  const int lineHeight = LineHeight(canvas, spacing);
  int y = FirstLineY(Y, lineHeight, KvCharCount(text, kKvLineSeparator), position);
  QString rest = text;
  while (!rest.isEmpty()) {
    KvTextOut3D(canvas, X, y, textColor, upLeftColor, downRightColor, KvStrToken(rest, kKvLineSeparator),
                position, is3D);
    y += lineHeight;
  }
}

int32_t KvTextEscapement(float angle) {
  long double tenths = static_cast<long double>(angle) * 10;
  // A font takes a 32-bit escapement; whole turns change nothing. (A float
  // this large holds a whole number, so the reduction is exact.)
  if (std::fabs(tenths) > std::numeric_limits<int32_t>::max()) tenths = std::fmod(tenths, 3600.0L);
  // A NaN or infinite angle raises EInvalidOp here.
  return static_cast<int32_t>(-Trunc(tenths));
}

void KvRotTextOut(TCanvas* canvas, const TPoint& anchor, float angle, const QString& text, toPos position) {
  TLogFont rotated = canvas->SelectedFont();
  rotated.lfEscapement = KvTextEscapement(angle);
  const TLogFont previousFont = canvas->SelectFont(rotated);

  const int h = canvas->TextHeight(text);
  TPoint q = anchor;
  int horizontal = TA_LEFT;
  switch (ColumnOf(position)) {
    case Column::Center:
      horizontal = TA_CENTER;
      break;
    case Column::Right:
      horizontal = TA_RIGHT;
      break;
    case Column::Left:
      break;
  }
  int vertical = TA_TOP;
  switch (position) {
    case toMidLeft:
    case toMidCenter:
    case toMidRight:
      q.Y = anchor.Y - h / 2;
      break;
    case toBotLeft:
      // The bottom-left anchor sits on the base line, not the cell's bottom.
      vertical = TA_BASELINE;
      break;
    case toBotCenter:
    case toBotRight:
      vertical = TA_BOTTOM;
      break;
    default:
      break;
  }
  const int previousAlign = canvas->SetTextAlign(horizontal | vertical);
  const TPoint at = KvRotate(q, anchor, angle, true);
  canvas->TextOut(at.X, at.Y, text);

  canvas->SetTextAlign(previousAlign);
  canvas->SelectFont(previousFont);
}

#pragma once
// Anchored text output: every text the instrument controls draw (scale
// labels, read-outs, captions) is placed relative to an anchor point by one of
// nine anchor positions, optionally over several lines separated by "|",
// optionally embossed by one-pixel shifted copies, or rotated about the
// anchor. Two measuring procedures give the size of a text and of the widest
// item of a label list, so that scale layouts can reserve room for labels.
//
// The procedures draw with the canvas's current font and brush (a solid brush
// fills each text cell). They place text by its top-left corner, so they work
// whatever text alignment a caller has left on the canvas; the embossed
// variants leave the font colour at the text colour.

#include <QChar>
#include <QObject>
#include <QString>
#include <cstdint>

#include "platform/core/types.h"

class TCanvas;

namespace KvTextTypes {
Q_NAMESPACE

// Which point of the text's box lies on the anchor: the first word names the
// row (top, middle, bottom), the second the column (left, centre, right).
enum toPos {
  toTopLeft,
  toTopCenter,
  toTopRight,
  toMidLeft,
  toMidCenter,
  toMidRight,
  toBotLeft,
  toBotCenter,
  toBotRight,
};
Q_ENUM_NS(toPos)

}  // namespace KvTextTypes

using toPos = KvTextTypes::toPos;
using enum KvTextTypes::toPos;

// Line separator of multi-line texts and item separator of label lists.
inline constexpr QChar kKvLineSeparator = u'|';
inline constexpr QChar kKvListSeparator = u';';

// Width and height of `text` (one line) with the canvas's font, and half of
// each (truncated).
void KvGetTextSize(TCanvas* canvas, int& w, int& h, TPoint& half, const QString& text);
// Width of the widest ";"-separated item of `list` (the text after the last
// separator counts as an item too) and the text height. An empty list gives
// width 0.
void KvGetMaxTokenSize(TCanvas* canvas, int& maxWidth, int& height, const QString& list);
// KvGetMaxTokenSize with a chosen separator.
void KvGetMaxTokenSize2(TCanvas* canvas, int& maxWidth, int& height, const QString& list, QChar separator);

// One line of text whose box touches the anchor (X, Y) at `position`.
void KvTextOut(TCanvas* canvas, int X, int Y, const QString& text, toPos position);
// The "|"-separated lines of `text`, each anchored with `position`; lines are
// the height of "X" plus `spacing` apart. The block of anchors hangs from Y
// (top row), is centred on Y (middle row) or ends on Y (bottom row). Every
// "|" counts for the layout, also a trailing one, but empty lines draw nothing.
void KvTextOutMultiLine(TCanvas* canvas, int X, int Y, int spacing, const QString& text, toPos position);
// KvTextOut in `textColor`; with `is3D` first a copy in `downRightColor`
// shifted by (+1, +1) and one in `upLeftColor` shifted by (-1, -1).
void KvTextOut3D(TCanvas* canvas, int X, int Y, TColor textColor, TColor upLeftColor, TColor downRightColor,
                 const QString& text, toPos position, bool is3D);
// The line layout of KvTextOutMultiLine with every line drawn as KvTextOut3D.
void KvTextOutMultiLine3D(TCanvas* canvas, int X, int Y, int spacing, TColor textColor, TColor upLeftColor,
                          TColor downRightColor, const QString& text, toPos position, bool is3D);

// The font escapement (tenths of a degree, counter-clockwise) that turns a
// base line clockwise by `angle` degrees: -trunc(angle * 10), so 12.37 gives
// -123. Values beyond the 32-bit range are reduced by whole turns.
int32_t KvTextEscapement(float angle);
// One line of text turned clockwise by `angle` degrees about the anchor
// `anchor`, placed at `position` before turning; `toBotLeft` puts the base
// line (not the bottom) of the text on the anchor. Draws with a temporary
// rotated copy of the canvas's font; the canvas's font selection and text
// alignment are as before on return.
void KvRotTextOut(TCanvas* canvas, const TPoint& anchor, float angle, const QString& text, toPos position);

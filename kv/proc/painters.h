#pragma once
// Primitive painters: the recurring visual atoms of the instrument controls —
// embossed ellipses and circles, a slider thumb, a button bevel, the LED lamp
// in its six shapes, a pie sector, a small horizontal scale with labels, a
// triangular pointer and rotatable arrow polygons.
//
// Each painter draws at once with the colours and geometry it is given. It
// sets the pen and brush properties it uses and leaves them so; nothing else
// of the canvas changes unless a painter says otherwise.

#include <QObject>
#include <QString>
#include <cstdint>
#include <span>

#include "platform/core/types.h"

class TCanvas;
class TGraphic;

namespace KvPainterTypes {
Q_NAMESPACE

// Outline of an LED lamp.
enum TLEDShape { sRound, sArrowLeft, sArrowRight, sArrowUp, sArrowDown, sRectangle };
Q_ENUM_NS(TLEDShape)

// Side of a control on which its LED sits.
enum TLEDPos { lpLeft, lpRight, lpTop, lpBottom };
Q_ENUM_NS(TLEDPos)

}  // namespace KvPainterTypes

using TLEDShape = KvPainterTypes::TLEDShape;
using TLEDPos = KvPainterTypes::TLEDPos;
using enum KvPainterTypes::TLEDShape;
using enum KvPainterTypes::TLEDPos;

// `picture` shown in the ellipse of radii (rx, ry) around `centre`, turned by
// 180 degrees unless `upright`, with a two-pixel ring of `ringColor` when
// `ring` is set. `origin` is the canvas's device origin (the elliptic clip is
// a device region). The canvas's clip ends as a rectangle region equal to the
// clip rectangle it had before (no clip region if it had none). A null
// picture draws a white face; rx below 1 draws nothing.
void Kv3DEllipse(TCanvas* canvas, const TPoint& origin, const TPoint& centre, int rx, int ry,
                 TGraphic* picture, TColor ringColor, bool upright, bool ring);
// An ellipse in r with a rim of button highlight and shadow, light up-left
// when `raised` and dark up-left when not, filled with `face`. r becomes the
// face area (Left + 1, Top + 1, Right - 2, Bottom - 2).
void KvEllipse3D(TCanvas* canvas, TRect& r, TColor face, bool raised);
// A sunken circle of `radius` around `centre` filled with `fillColor`.
// `firstColor` has no effect on the drawing; it takes part in the signature
// only.
void KvCircleAtPoint(TCanvas* canvas, const TPoint& centre, int radius, TColor firstColor, TColor fillColor);
// A slider thumb of `size` centred on `centre`: wider than tall when `wide`
// (for a vertical track), taller than wide otherwise (for a horizontal
// track), its inner face in `face`. `unused` takes part in the signature only.
void KvThumb(TCanvas* canvas, const TPoint& centre, int size, int unused, bool wide, TColor face);
// A two-pixel button bevel inside r, raised or sunken, after filling r with
// `color` (with the current pen) when `fill` is set. r ends shrunk by 2.
void KvBtnBevel(TCanvas* canvas, TRect& r, bool raised, bool fill, TColor color);
// An LED lamp of `shape` in r, outlined in `outlineColor` and filled with
// `fillColor` (a clear brush turns solid, other brush styles stay as found).
void KvDrawLED(TCanvas* canvas, const TRect& r, TLEDShape shape, TColor outlineColor, TColor fillColor);
// The pie sector of the ellipse in r that starts at bearing `start` (degrees
// clockwise from 12 o'clock) and runs `sweep` degrees clockwise, outlined with
// the pen and filled with the brush.
void KvRoundSector(TCanvas* canvas, const TRect& r, float start, float sweep);
// A horizontal scale of `steps` major divisions, each cut into `subSteps`,
// centred in r, with the labels of `labels` (";"-terminated items, steps + 1
// of them; missing ones draw empty) above or below the ticks. r becomes
// (scale left, top of the major ticks, scale right, bottom): with labels on
// top the bottom lies a little below the ticks, with labels below it is the
// labels' bottom. steps or subSteps of 0 raises EDivByZero.
void KvHorizScala(TCanvas* canvas, const QString& labels, TRect& r, int steps, int subSteps,
                  bool labelsOnTop);
// A triangular pointer pointing up at `position` per mille of r's width on r's
// top edge, `halfWidth` wide to each side and `height` tall, filled with the
// brush and outlined with the pen. `unused` takes part in the signature only.
void KvDrawHPointer(TCanvas* canvas, const TRect& r, int position, int halfWidth, int height, bool unused);

// Arrow point arrays: element 0 is a header, element 1 the centre of rotation
// and elements 2..n the outline. The header's eight bytes (its two 32-bit
// coordinates in memory order) carry n in byte 0 and three further values in
// bytes 1, 4 and 5; bytes 2, 3, 6 and 7 are zero.
//
// Byte `index` (0..7) of an arrow header.
uint8_t KvArrowHeaderByte(const TPoint& header, int index);
// Rotates the outline of `input` about its centre by `angle` degrees
// (clockwise on the screen when `clockwise`) into `output` (header and centre
// copied), then draws the polygon through output[2..n] with the pen and
// brush. `input` and `output` may be the same array. Raises EListError when
// either array holds fewer than n + 1 points.
void KvArrowDraw(TCanvas* canvas, float angle, std::span<const TPoint> input, std::span<TPoint> output,
                 bool clockwise);
// Writes the header of an arrow array: n and the three further bytes.
// Raises EListError for an empty array.
void KvArrowSettings(std::span<TPoint> array, uint8_t n, uint8_t b1, uint8_t b4, uint8_t b5);

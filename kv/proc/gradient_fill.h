#pragma once
// Colour gradients: a two-colour fill of a rectangle in fourteen styles, one
// intermediate colour between two colours, a diagonal gradient for round
// areas, and saving what a surface shows under a rectangle.
//
// Number rules the results depend on, digit for digit:
//  - per-step colour increments and scale factors are single precision
//    (float), computed as long double quotients and then stored as float;
//  - the band styles (gsHorizontal1, gsVertical1) truncate i * step +
//    component, every other style adds Round(s * step) (ties to even) to the
//    component;
//  - components wrap modulo 256 (an 8-bit addition).
// System colours are resolved through the palette before any arithmetic.

#include <QObject>
#include <cstdint>

#include "platform/core/types.h"

class TCanvas;
class TBitmap;

namespace KvGradientTypes {
Q_NAMESPACE

// What KvGradFill draws (ordinal values 0 to 13 in this order).
enum TGradientStyle {
  gsHorizontal1,  // horizontal bands, top c1 to bottom c2
  gsHorizontal2,  // c1 on the middle row, c2 at the top and bottom
  gsHorizontal3,  // c1 one third down
  gsVertical1,    // vertical bands, left c1 to right c2
  gsVertical2,    // c1 on the middle column
  gsVertical3,    // c1 one third across
  gsElliptic1,    // concentric ellipses, the outermost inscribed
  gsElliptic2,    // larger ellipses, reaching past the sides
  gsElliptic3,    // highlight up and to the left
  gsRectangle,    // nested rectangles, c1 in the centre pixel
  gsDiamond1,     // nested diamond outlines
  gsDiamond2,     // twice as large, through the corners
  gsTopLeft,      // diagonals, c1 in the top-left corner
  gsTopRight,     // diagonals, c1 in the top-right corner
};
Q_ENUM_NS(TGradientStyle)

}  // namespace KvGradientTypes

using TGradientStyle = KvGradientTypes::TGradientStyle;
using enum KvGradientTypes::TGradientStyle;

inline constexpr int kGradientStyleCount = 14;

// Fills `Rect` of `Canvas` with a gradient from ColorFrom to ColorTo in
// `Style`. The gradient is drawn on an off-screen bitmap of the rectangle's
// size and copied onto the canvas in one operation (with the canvas's
// CopyMode), so it never shows half-drawn; the canvas's pen and brush are
// left untouched. Equal colours give a rectangle of ColorFrom. A rectangle
// without area (width or height 0 or negative) draws nothing.
void KvGradFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TColor ColorTo, TGradientStyle Style);

// The same gradient drawn with nothing but the canvas's own primitives
// (FillRect, Rectangle, LineTo, Ellipse, Polyline, Pixels) on the off-screen
// bitmap. KvGradFill writes runs of whole rows and columns straight into the
// bitmap where a style draws only full-width or full-height lines and filled
// rectangles; this is the reference it must match pixel for pixel.
void KvGradFillWithPrimitives(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TColor ColorTo,
                              TGradientStyle Style);

// The colour `Step` steps of `Steps` from ColorFrom towards ColorTo:
// component = (c1 + Round((c2 - c1) / Steps * Step)) mod 256 in extended
// precision; Steps 0 counts as 1. Colours equal after resolving give
// ColorFrom as it was passed (a system colour stays unresolved); otherwise
// the result is a resolved colour. Steps outside 0..Steps extrapolate and wrap.
TColor KvCalcColor(TColor ColorFrom, TColor ColorTo, int32_t Steps, int32_t Step);

// Diagonal gradient for a round area inscribed in the square `Rect` (its
// height is not used): 45-degree lines running down and to the left, c1 on the
// top-left side, c2 on the bottom-right side, the two corner triangles left
// untouched. Draws straight on `Canvas`, whose clipping limits the lines that
// run past the square; leaves the pen with width 1 and the last colour drawn.
// A rectangle of width 0 or less draws nothing.
void KvCircleGradFill(TCanvas* Canvas, const TRect& Rect, TColor ColorFrom, TColor ColorTo);

// Saves into `Bitmap` what `Canvas` shows under `Rect`: the bitmap is resized
// to the rectangle and the part of it that lies in the canvas's clip
// rectangle is copied to its place. Other pixels hold whatever the resize left.
// A rectangle wholly outside the clip rectangle leaves the bitmap unchanged.
void GetBkUpImage(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect);

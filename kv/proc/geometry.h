#pragma once
// Rectangle and circle geometry shared by the painters and hit tests:
// intersections and containment, shrinking, centres and radii, squares
// fitted into rectangles, rotation about a centre, bearings and a
// point-in-circle test. Integer results wrap like 32-bit machine arithmetic
// when an input is so extreme that they overflow; nothing here raises.

#include <cstdint>

#include "platform/core/types.h"

// out = the intersection of a and b (written in every case); false only when
// it is inverted. Rectangles that merely touch give true.
bool KvRectIntersection(const TRect& a, const TRect& b, TRect& out);
// Left <= x < Right and Top <= y <= Bottom: the bottom edge counts as inside.
bool KvInRect(int32_t x, int32_t y, const TRect& r);
// All four edges equal.
bool KvRectIsRect(const TRect& a, const TRect& b);
// a lies within b; shared edges count as inside.
bool KvRectInRect(const TRect& a, const TRect& b);
// Shrinks r by n on every side (a negative n enlarges it).
void KvBorder(TRect& r, int32_t n);
// Shrinks each side of r by its own amount.
void KvMultiBorder(TRect& r, int32_t left, int32_t top, int32_t right, int32_t bottom);
// (Left + width div 2, Top + height div 2), halves truncated toward zero.
TPoint KvCenterPoint(const TRect& r);
// Half the smaller side, truncated.
int32_t KvGetRadius(const TRect& r);
// Enlarges r so that it takes in the point (x, y).
void KvGetMaxRect(int32_t x, int32_t y, TRect& r);
// r with its longer side cut to the shorter one, keeping the top-left corner.
TRect KvMakeSquare(const TRect& r);
// A square of side min(width, height) centred in r.
TRect KvMakeCenterSquare(const TRect& r);
// p rotated about `centre` by `angle` degrees; with `clockwise` a positive
// angle turns clockwise on the screen (12 o'clock towards 3 o'clock). An
// infinite or NaN angle returns p unchanged.
TPoint KvRotate(const TPoint& p, const TPoint& centre, float angle, bool clockwise);
// Bearing of p seen from `centre` in degrees: 0 straight up, growing
// clockwise (90 right, 180 down, 270 left).
float KvGetAngle(const TPoint& p, const TPoint& centre);
// Whether (x, y) lies in the circle whose diameter is r's width, centred in r.
bool KvInCircle(int32_t x, int32_t y, const TRect& r);

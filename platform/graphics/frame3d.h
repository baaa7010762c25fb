#pragma once
// Draw3DFrame: the embossed frame shared by bevels, thumbs and read-outs.

#include "platform/graphics/canvas.h"

// Sets the pen width to 1 and, with the rectangle's right column and bottom
// row counted as outside, draws `width` nested frames: each a polyline from
// bottom-left up to top-left and on to top-right in `topColor`, and one from
// top-right down to bottom-right and on to one pixel left of bottom-left in
// `bottomColor`, shrinking the rectangle by one pixel on every side after
// each. On return `rect` is shrunk by `width` on every side.
void Draw3DFrame(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

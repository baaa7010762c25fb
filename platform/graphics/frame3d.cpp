#include "platform/graphics/frame3d.h"

void Draw3DFrame(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  canvas->Pen()->SetWidth(1);
  // The right column and the bottom row are outside the frame.
  --rect.Bottom;
  --rect.Right;
  for (; width > 0; --width) {
    canvas->Pen()->SetColor(topColor);
    const TPoint top[] = {{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
    canvas->Polyline(top, 3);
    canvas->Pen()->SetColor(bottomColor);
    const TPoint bottom[] = {{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
    canvas->Polyline(bottom, 3);
    ++rect.Left;
    ++rect.Top;
    --rect.Right;
    --rect.Bottom;
  }
  ++rect.Bottom;
  ++rect.Right;
}

#include "kv/proc/painters.h"

#include <cstring>
#include <vector>

#include "kv/proc/conversions.h"
#include "kv/proc/geometry.h"
#include "kv/proc/text_output.h"
#include "platform/core/exceptions.h"
#include "platform/core/numbers.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/frame3d.h"

namespace {

// The light grey between highlight and face of a raised bevel.
constexpr TColor kBevelLight = RGBColor(210, 210, 210);

void SetPen(TCanvas* canvas, TColor color, int width) {
  canvas->Pen()->SetColor(color);
  canvas->Pen()->SetWidth(width);
}

void SetSolidBrush(TCanvas* canvas, TColor color) {
  canvas->Brush()->SetColor(color);
  canvas->Brush()->SetStyle(bsSolid);
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

void Triangle(TCanvas* canvas, TPoint a, TPoint b, TPoint c) {
  const TPoint points[] = {a, b, c};
  canvas->Polygon(points, 3);
}

// The header's eight bytes: its coordinates as they lie in memory.
using HeaderBytes = uint8_t[8];
static_assert(sizeof(TPoint) == sizeof(HeaderBytes), "an arrow header is two 32-bit coordinates");

}  // namespace

void Kv3DEllipse(TCanvas* canvas, const TPoint& origin, const TPoint& centre, int rx, int ry,
                 TGraphic* picture, TColor ringColor, bool upright, bool ring) {
  // Radii beyond half the 32-bit range cannot make a bitmap.
  if (2 * int64_t(rx) < 1 || 2 * int64_t(rx) > INT32_MAX || 2 * int64_t(ry) > INT32_MAX) return;
  const int width = 2 * rx;
  const int height = 2 * ry;
  TBitmap face;
  face.SetSize(width, height);
  const TRect noted = canvas->ClipRect();
  const bool hadRegion = canvas->HasClipRegion();
  const TRect dest(centre.X - rx, centre.Y - ry, centre.X + rx, centre.Y + ry);

  TCanvas* faceCanvas = face.Canvas();
  if (picture) {
    // Swapped corners mirror both ways: the picture turned by 180 degrees.
    faceCanvas->StretchDraw(upright ? TRect(0, 0, width, height) : TRect(width, height, 0, 0), picture);
  }
  if (ring) {
    faceCanvas->Brush()->SetStyle(bsClear);
    SetPen(faceCanvas, ringColor, 2);
    faceCanvas->Ellipse(1, 1, width + 1, height + 1);
  }

  // The clip holds the pixels of the ellipse one pixel down-right of dest,
  // where the ring lies on the face bitmap.
  canvas->SetClipRegion(CreateEllipticRgn(origin.X + dest.Left + 1, origin.Y + dest.Top + 1,
                                          origin.X + dest.Right + 1, origin.Y + dest.Bottom + 1));
  canvas->CopyRect(dest, faceCanvas, TRect(0, 0, width, height));
  // Back to the clip noted before. Without a clip region then, removing the
  // region is the same clip and keeps a later resized surface unclipped.
  if (hadRegion)
    canvas->SetClipRegion(CreateRectRgn(noted.Left + origin.X, noted.Top + origin.Y, noted.Right + origin.X,
                                        noted.Bottom + origin.Y));
  else
    canvas->ResetClipRegion();
}

void KvEllipse3D(TCanvas* canvas, TRect& r, TColor face, bool raised) {
  const TColor upLeft = raised ? clBtnHighlight : clBtnShadow;
  const TColor downRight = raised ? clBtnShadow : clBtnHighlight;
  canvas->Pen()->SetWidth(1);
  canvas->Brush()->SetStyle(bsSolid);
  // The down-right rim colour fills the whole box, the up-left one a box two
  // pixels smaller at the bottom right, and the face covers all but a
  // one-pixel rim of each.
  canvas->Pen()->SetColor(downRight);
  canvas->Brush()->SetColor(downRight);
  canvas->Ellipse(r.Left, r.Top, r.Right, r.Bottom);
  canvas->Pen()->SetColor(upLeft);
  canvas->Brush()->SetColor(upLeft);
  canvas->Ellipse(r.Left, r.Top, r.Right - 2, r.Bottom - 2);
  canvas->Pen()->SetColor(face);
  canvas->Brush()->SetColor(face);
  r = TRect(r.Left + 1, r.Top + 1, r.Right - 2, r.Bottom - 2);
  canvas->Ellipse(r);
}

void KvCircleAtPoint(TCanvas* canvas, const TPoint& centre, int radius, TColor /*firstColor*/,
                     TColor fillColor) {
  const int x = centre.X, y = centre.Y, r = radius;
  SetSolidBrush(canvas, fillColor);
  canvas->Pen()->SetColor(clBtnHighlight);
  canvas->Ellipse(x - r, y - r, x + r + 1, y + r + 1);
  // The shadow covers the upper-left half of the rim: a sunken circle.
  canvas->Pen()->SetColor(clBtnShadow);
  canvas->Arc(x - r, y - r, x + r + 1, y + r + 1, x + r + 2, y - r, x - r, y + r + 1);
}

void KvThumb(TCanvas* canvas, const TPoint& centre, int size, int /*unused*/, bool wide, TColor face) {
  const int across = size / 2;
  const int along = static_cast<int>(Round(size * 0.2L));
  const int hx = wide ? across : along;
  const int hy = wide ? along : across;
  const TColor inner = face == clBtnShadow ? clBtnShadow : clBlack;

  TRect r(centre.X - hx, centre.Y - hy, centre.X + hx + 1, centre.Y + hy + 1);
  canvas->Pen()->SetColor(clBtnFace);
  SetSolidBrush(canvas, clBtnFace);
  canvas->Rectangle(r);
  Draw3DFrame(canvas, r, clBtnShadow, inner, 1);
  Draw3DFrame(canvas, r, clBtnHighlight, clBtnShadow, 1);
  KvBorder(r, size / 25);
  canvas->Pen()->SetColor(inner);
  SetSolidBrush(canvas, face);
  canvas->Rectangle(r);
}

void KvBtnBevel(TCanvas* canvas, TRect& r, bool raised, bool fill, TColor color) {
  if (fill) {
    SetSolidBrush(canvas, color);
    canvas->Rectangle(r);
  }
  if (raised) {
    Draw3DFrame(canvas, r, clBtnHighlight, clBlack, 1);
    Draw3DFrame(canvas, r, kBevelLight, clBtnShadow, 1);
  } else {
    Draw3DFrame(canvas, r, clBlack, clBtnHighlight, 1);
    Draw3DFrame(canvas, r, clBtnShadow, kBevelLight, 1);
  }
}

void KvDrawLED(TCanvas* canvas, const TRect& r, TLEDShape shape, TColor outlineColor, TColor fillColor) {
  const int w = r.Right - r.Left;
  const int h = r.Bottom - r.Top;
  const int hw = w / 2;
  const int hh = h / 2;
  SetPen(canvas, outlineColor, 1);
  canvas->Brush()->SetColor(fillColor);
  const int right = r.Right - 1;
  const int bottom = r.Bottom - 1;
  switch (shape) {
    case sRound: {
      canvas->Ellipse(r);
      // A highlight glint on the upper-left quarter of a smaller ellipse.
      SetPen(canvas, clBtnHighlight, w / 8);
      TRect glint = r;
      KvBorder(glint, w / 5);
      canvas->Arc(glint.Left, glint.Top, glint.Right, glint.Bottom, r.Left + hw, r.Top, r.Left, r.Top + hh);
      break;
    }
    case sArrowLeft:
      Triangle(canvas, {r.Left, r.Top + hh}, {right, r.Top}, {right, bottom});
      break;
    case sArrowRight:
      Triangle(canvas, {r.Left, r.Top}, {right, r.Top + hh}, {r.Left, bottom});
      break;
    case sArrowUp:
      Triangle(canvas, {r.Left + hw, r.Top}, {right, bottom}, {r.Left, bottom});
      break;
    case sArrowDown:
      Triangle(canvas, {r.Left, r.Top}, {right, r.Top}, {r.Left + hw, bottom});
      break;
    case sRectangle:
      canvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 1, 1);
      break;
  }
}

void KvRoundSector(TCanvas* canvas, const TRect& r, float start, float sweep) {
  const TPoint c = KvCenterPoint(r);
  const TPoint twelve(c.X, r.Top);
  const TPoint a = KvRotate(twelve, c, start, true);
  const TPoint b = KvRotate(a, c, sweep, true);
  // Pies run counter-clockwise: from the sector's clockwise end back to its start.
  canvas->Pie(r.Left, r.Top, r.Right, r.Bottom, b.X, b.Y, a.X, a.Y);
}

void KvHorizScala(TCanvas* canvas, const QString& labels, TRect& r, int steps, int subSteps,
                  bool labelsOnTop) {
  int labelWidth = 0, h = 0;
  KvGetMaxTokenSize(canvas, labelWidth, h, labels);
  const int sub = static_cast<int>(IDiv(int64_t(r.Right) - r.Left - labelWidth, int64_t(steps) * subSteps));
  const int major = sub * subSteps;
  const int span = steps * major;
  r.Left += static_cast<int>((int64_t(r.Right) - r.Left - span) / 2);
  const int thick = h / 8 < 1 ? 1 : h / 8;

  int labelY = 0, majorTop = 0, minorTop = 0, base = 0, bottom = 0;
  if (labelsOnTop) {
    labelY = r.Top + 1;
    majorTop = labelY + h + 3;
    minorTop = majorTop + h / 3;
    base = minorTop + h / 3;
    bottom = majorTop + h - 2;
  } else {
    base = r.Top + 1;
    minorTop = base + 7;
    majorTop = base + 14;
    labelY = majorTop + 3;
    bottom = labelY + h;
  }

  canvas->Pen()->SetWidth(thick);
  Line(canvas, r.Left, base, r.Left + span, base);
  QString rest = labels;
  for (int i = 0; i < steps; ++i) {
    const int x = r.Left + i * major;
    canvas->Pen()->SetWidth(thick);
    Line(canvas, x, majorTop, x, base);
    KvTextOut(canvas, x, labelY, KvStrToken(rest, kKvListSeparator), toTopCenter);
    canvas->Pen()->SetWidth(1);
    for (int j = 0; j < subSteps; ++j) Line(canvas, x + j * sub, minorTop, x + j * sub, base);
  }
  const int x = r.Left + span;
  KvTextOut(canvas, x, labelY, KvStrToken(rest, kKvListSeparator), toTopCenter);
  canvas->Pen()->SetWidth(thick);
  Line(canvas, x, majorTop, x, base);

  r = TRect(r.Left, majorTop, r.Left + span, bottom);
}

void KvDrawHPointer(TCanvas* canvas, const TRect& r, int position, int halfWidth, int height,
                    bool /*unused*/) {
  const float scale = static_cast<float>((static_cast<long double>(r.Right) - r.Left) / 1000);
  const int tip = r.Left + static_cast<int>(Round(position * static_cast<long double>(scale)));
  Triangle(canvas, {tip, r.Top}, {tip + halfWidth, r.Top + height}, {tip - halfWidth, r.Top + height});
}

uint8_t KvArrowHeaderByte(const TPoint& header, int index) {
  HeaderBytes bytes;
  std::memcpy(bytes, &header, sizeof bytes);
  return index >= 0 && index < 8 ? bytes[index] : 0;
}

void KvArrowDraw(TCanvas* canvas, float angle, std::span<const TPoint> input, std::span<TPoint> output,
                 bool clockwise) {
  if (input.empty()) throw EListError(QStringLiteral("An arrow point array needs a header"));
  const int n = KvArrowHeaderByte(input[0], 0);
  const std::size_t needed = std::size_t(n) + 1;
  if (input.size() < needed || output.size() < needed)
    throw EListError(Exception::Fmt("The arrow header counts %s points but the arrays hold %s and %s",
                                    int(needed), int(input.size()), int(output.size())));
  // Work on a copy so that input and output may share one array.
  const std::vector<TPoint> source(input.begin(), input.begin() + needed);
  output[0] = source[0];
  if (n < 1) return;
  output[1] = source[1];
  for (int i = 2; i <= n; ++i) output[i] = KvRotate(source[i], source[1], angle, clockwise);
  if (n >= 2) canvas->Polygon(output.data() + 2, n - 1);
}

void KvArrowSettings(std::span<TPoint> array, uint8_t n, uint8_t b1, uint8_t b4, uint8_t b5) {
  if (array.empty()) throw EListError(QStringLiteral("An arrow point array needs a header"));
  HeaderBytes bytes = {n, b1, 0, 0, b4, b5, 0, 0};
  std::memcpy(&array[0], bytes, sizeof bytes);
}

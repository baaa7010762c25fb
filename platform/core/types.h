#pragma once
// Basic value types shared by every layer: colours, rectangles, points.

#include <QMetaType>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <cstdint>

// Every object of the framework is a QObject; "TObject" is the name the
// library's signatures use for a sender or an arbitrary object.
using TObject = QObject;

// A 32-bit colour value: 0x00BBGGRR, or, with the top byte set, a system
// colour named by its low byte (resolved through the palette before use).
// A thin wrapper so that colours are a type of their own for streaming,
// while arithmetic and comparisons work as on the plain integer.
struct TColor {
  int32_t value = 0;
  constexpr TColor() = default;
  constexpr TColor(int32_t v) : value(v) {}  // NOLINT: implicit on purpose
  constexpr operator int32_t() const { return value; }
  constexpr bool IsSystem() const { return value < 0; }
};
Q_DECLARE_METATYPE(TColor)

constexpr TColor RGBColor(int r, int g, int b) {
  return TColor(int32_t((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)));
}
constexpr int GetRValue(TColor c) { return c.value & 0xFF; }
constexpr int GetGValue(TColor c) { return (c.value >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c.value >> 16) & 0xFF; }

// Named colours.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// System colours: top byte set, low byte = the system colour index.
inline constexpr int32_t kSystemColorBase = int32_t(0x80000000u);
inline constexpr TColor clScrollBar = kSystemColorBase | 0;
inline constexpr TColor clBackground = kSystemColorBase | 1;
inline constexpr TColor clActiveCaption = kSystemColorBase | 2;
inline constexpr TColor clInactiveCaption = kSystemColorBase | 3;
inline constexpr TColor clMenu = kSystemColorBase | 4;
inline constexpr TColor clWindow = kSystemColorBase | 5;
inline constexpr TColor clWindowFrame = kSystemColorBase | 6;
inline constexpr TColor clMenuText = kSystemColorBase | 7;
inline constexpr TColor clWindowText = kSystemColorBase | 8;
inline constexpr TColor clCaptionText = kSystemColorBase | 9;
inline constexpr TColor clActiveBorder = kSystemColorBase | 10;
inline constexpr TColor clInactiveBorder = kSystemColorBase | 11;
inline constexpr TColor clAppWorkSpace = kSystemColorBase | 12;
inline constexpr TColor clHighlight = kSystemColorBase | 13;
inline constexpr TColor clHighlightText = kSystemColorBase | 14;
inline constexpr TColor clBtnFace = kSystemColorBase | 15;
inline constexpr TColor clBtnShadow = kSystemColorBase | 16;
inline constexpr TColor clGrayText = kSystemColorBase | 17;
inline constexpr TColor clBtnText = kSystemColorBase | 18;
inline constexpr TColor clInactiveCaptionText = kSystemColorBase | 19;
inline constexpr TColor clBtnHighlight = kSystemColorBase | 20;
inline constexpr TColor cl3DDkShadow = kSystemColorBase | 21;
inline constexpr TColor cl3DLight = kSystemColorBase | 22;
inline constexpr TColor clInfoText = kSystemColorBase | 23;
inline constexpr TColor clInfoBk = kSystemColorBase | 24;

// Sums and differences of coordinates held to the int32 range. Positions and
// sizes come from descriptions and may be any int32; their arithmetic must
// not overflow.
constexpr int32_t SaturatedInt32(int64_t v) {
  return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : int32_t(v);
}
// Coordinates handed to Qt are held within +-QWIDGETSIZE_MAX (2^24 - 1): Qt
// computes right and bottom edges in int and keeps some in 26.6 fixed point,
// and nothing that far out can be seen anyway.
inline constexpr int32_t kQtCoordLimit = (1 << 24) - 1;
constexpr int32_t QtCoord(int64_t v) {
  return v < -kQtCoordLimit ? -kQtCoordLimit : v > kQtCoordLimit ? kQtCoordLimit : int32_t(v);
}

// Device-pixel point, y growing downwards.
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
  QPoint toQPoint() const { return QPoint(X, Y); }
  static TPoint fromQPoint(const QPoint& p) { return TPoint(p.x(), p.y()); }
};
Q_DECLARE_METATYPE(TPoint)

// Rectangle with exclusive Right and Bottom drawing edges.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr int32_t Width() const { return SaturatedInt32(int64_t(Right) - Left); }
  constexpr int32_t Height() const { return SaturatedInt32(int64_t(Bottom) - Top); }
  constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
  constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
  // The pixels Left..Right-1, Top..Bottom-1 as a QRect, edges beyond
  // kQtCoordLimit moved onto it.
  QRect toQRect() const {
    const int32_t l = QtCoord(Left), t = QtCoord(Top);
    return QRect(l, t, QtCoord(Right) - l, QtCoord(Bottom) - t);
  }
  static TRect fromQRect(const QRect& r) {
    return TRect(r.x(), r.y(), SaturatedInt32(int64_t(r.x()) + r.width()),
                 SaturatedInt32(int64_t(r.y()) + r.height()));
  }
};
Q_DECLARE_METATYPE(TRect)

constexpr TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect(l, t, r, b); }
constexpr TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) {
  return TRect(l, t, SaturatedInt32(int64_t(l) + w), SaturatedInt32(int64_t(t) + h));
}
constexpr TPoint Point(int32_t x, int32_t y) { return TPoint(x, y); }

#pragma once
// Colour conversions. A TColor is 0x00BBGGRR or, with the top byte set, a
// system colour named by its low byte; system colours are resolved through
// the application palette at the moment they are used, so a palette change
// shows on the next paint.
//
// System colour index -> palette role (active colour group):
//    0 clScrollBar            Button         13 clHighlight          Highlight
//    1 clBackground           Window         14 clHighlightText      HighlightedText
//    2 clActiveCaption        Highlight      15 clBtnFace            Button
//    3 clInactiveCaption      Mid            16 clBtnShadow          Dark
//    4 clMenu                 Window         17 clGrayText           disabled Text
//    5 clWindow               Base           18 clBtnText            ButtonText
//    6 clWindowFrame          Shadow         19 clInactiveCaptionText Text (inactive group)
//    7 clMenuText             WindowText     20 clBtnHighlight       Light
//    8 clWindowText           Text           21 cl3DDkShadow         Shadow
//    9 clCaptionText          HighlightedText 22 cl3DLight           Midlight
//   10 clActiveBorder         Button         23 clInfoText           ToolTipText
//   11 clInactiveBorder       Button         24 clInfoBk             ToolTipBase
//   12 clAppWorkSpace         Mid
// Any other system index resolves to black.

#include <QColor>

#include "platform/core/types.h"

inline constexpr int kSystemColorCount = 25;
// The value GetPixel-style queries answer for a point they cannot read.
inline constexpr TColor clInvalid = int32_t(0xFFFFFFFFu);

// The RGB value of `color`: system colours looked up in the palette, every
// other value returned unchanged.
TColor ColorToRGB(TColor color);
// The palette colour of system colour `index` (0..24) as an RGB TColor.
TColor SystemColorToRGB(int index);
// ColorToRGB as an opaque QColor.
QColor ToQColor(TColor color);
// The RGB value of a QColor (alpha ignored).
TColor FromQColor(const QColor& color);
// The same value as QRgb (0xFFRRGGBB), for writing straight into images.
QRgb ToQRgb(TColor color);
TColor FromQRgb(QRgb rgb);

#pragma once
// Enumerations and plain records shared by pens, brushes, fonts and canvases.
// The enumerations live in a Qt namespace so that their value names stream
// as text; `using enum` brings the values into the global scope.

#include <QFlags>
#include <QObject>
#include <QString>
#include <cstdint>

namespace Graphics {
Q_NAMESPACE

enum TFontPitch { fpDefault, fpVariable, fpFixed };
Q_ENUM_NS(TFontPitch)

enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_FLAG_NS(TFontStyles)

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
Q_ENUM_NS(TPenStyle)

// Raster operations of the pen against the surface, as binary mixes of pen
// colour P and destination D.
enum TPenMode {
  pmBlack,        // 0
  pmWhite,        // 1
  pmNop,          // D
  pmNot,          // ~D
  pmCopy,         // P
  pmNotCopy,      // ~P
  pmMergePenNot,  // P | ~D
  pmMaskPenNot,   // P & ~D
  pmMergeNotPen,  // ~P | D
  pmMaskNotPen,   // ~P & D
  pmMerge,        // P | D
  pmNotMerge,     // ~(P | D)
  pmMask,         // P & D
  pmNotMask,      // ~(P & D)
  pmXor,          // P ^ D
  pmNotXor,       // ~(P ^ D)
};
Q_ENUM_NS(TPenMode)

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
Q_ENUM_NS(TBrushStyle)

}  // namespace Graphics

Q_DECLARE_OPERATORS_FOR_FLAGS(Graphics::TFontStyles)

using TFontPitch = Graphics::TFontPitch;
using TFontStyle = Graphics::TFontStyle;
using TFontStyles = Graphics::TFontStyles;
using TPenStyle = Graphics::TPenStyle;
using TPenMode = Graphics::TPenMode;
using TBrushStyle = Graphics::TBrushStyle;
using enum Graphics::TFontPitch;
using enum Graphics::TFontStyle;
using enum Graphics::TPenStyle;
using enum Graphics::TPenMode;
using enum Graphics::TBrushStyle;

// Character sets (the font's Charset property).
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SYMBOL_CHARSET = 2;
inline constexpr int EASTEUROPE_CHARSET = 238;
inline constexpr int OEM_CHARSET = 255;

// Font weights of a logical font description.
inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_THIN = 100;
inline constexpr int FW_LIGHT = 300;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_MEDIUM = 500;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;
inline constexpr int FW_EXTRABOLD = 800;
inline constexpr int FW_BLACK = 900;

// Pitch part (low two bits) of lfPitchAndFamily.
inline constexpr int DEFAULT_PITCH = 0;
inline constexpr int FIXED_PITCH = 1;
inline constexpr int VARIABLE_PITCH = 2;

// A font's full logical description. Heights are device pixels (negative =
// character height without internal leading, positive = cell height);
// escapement and orientation are tenths of a degree, counter-clockwise.
struct TLogFont {
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = FW_NORMAL;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = DEFAULT_CHARSET;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = DEFAULT_PITCH;
  QString lfFaceName;
  friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

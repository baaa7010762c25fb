#include "platform/graphics/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct PaletteEntry {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// Indexed by system colour number; see the table in colors.h.
constexpr PaletteEntry kSystemPalette[kSystemColorCount] = {
    {QPalette::Active, QPalette::Button},           // clScrollBar
    {QPalette::Active, QPalette::Window},           // clBackground
    {QPalette::Active, QPalette::Highlight},        // clActiveCaption
    {QPalette::Active, QPalette::Mid},              // clInactiveCaption
    {QPalette::Active, QPalette::Window},           // clMenu
    {QPalette::Active, QPalette::Base},             // clWindow
    {QPalette::Active, QPalette::Shadow},           // clWindowFrame
    {QPalette::Active, QPalette::WindowText},       // clMenuText
    {QPalette::Active, QPalette::Text},             // clWindowText
    {QPalette::Active, QPalette::HighlightedText},  // clCaptionText
    {QPalette::Active, QPalette::Button},           // clActiveBorder
    {QPalette::Active, QPalette::Button},           // clInactiveBorder
    {QPalette::Active, QPalette::Mid},              // clAppWorkSpace
    {QPalette::Active, QPalette::Highlight},        // clHighlight
    {QPalette::Active, QPalette::HighlightedText},  // clHighlightText
    {QPalette::Active, QPalette::Button},           // clBtnFace
    {QPalette::Active, QPalette::Dark},             // clBtnShadow
    {QPalette::Disabled, QPalette::Text},           // clGrayText
    {QPalette::Active, QPalette::ButtonText},       // clBtnText
    {QPalette::Inactive, QPalette::Text},           // clInactiveCaptionText
    {QPalette::Active, QPalette::Light},            // clBtnHighlight
    {QPalette::Active, QPalette::Shadow},           // cl3DDkShadow
    {QPalette::Active, QPalette::Midlight},         // cl3DLight
    {QPalette::Active, QPalette::ToolTipText},      // clInfoText
    {QPalette::Active, QPalette::ToolTipBase},      // clInfoBk
};

}  // namespace

TColor SystemColorToRGB(int index) {
  if (index < 0 || index >= kSystemColorCount) return clBlack;
  const PaletteEntry& e = kSystemPalette[index];
  // Without an application object (tools, early start-up) Qt's default
  // palette still gives sensible colours.
  const QPalette palette =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::palette() : QPalette();
  return FromQColor(palette.color(e.group, e.role));
}

TColor ColorToRGB(TColor color) {
  if (color.value < 0) return SystemColorToRGB(color.value & 0xFF);
  return color;
}

QColor ToQColor(TColor color) {
  const TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) {
  const QRgb rgb = color.rgb();
  return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

QRgb ToQRgb(TColor color) {
  const TColor c = ColorToRGB(color);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQRgb(QRgb rgb) {
  return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

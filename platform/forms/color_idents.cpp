#include "platform/forms/color_idents.h"

#include <algorithm>
#include <array>

#include "platform/core/exceptions.h"

namespace {

struct ColorIdent {
  TColor color;
  const char* ident;
};

// Named colours first, then the system colours in index order. A colour value
// appears once, so the mapping works both ways.
constexpr std::array<ColorIdent, 43> kColorIdents = {{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
}};

bool IsHexDigit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

}  // namespace

bool ColorToIdent(TColor color, QString& ident) {
  for (const ColorIdent& entry : kColorIdents) {
    if (entry.color.value == color.value) {
      ident = QString::fromLatin1(entry.ident);
      return true;
    }
  }
  return false;
}

bool IdentToColor(const QString& ident, TColor& color) {
  for (const ColorIdent& entry : kColorIdents) {
    if (ident.compare(QLatin1String(entry.ident), Qt::CaseInsensitive) == 0) {
      color = entry.color;
      return true;
    }
  }
  return false;
}

QString ColorToString(TColor color) {
  QString ident;
  if (ColorToIdent(color, ident)) return ident;
  return QStringLiteral("$%1").arg(uint32_t(color.value), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString& text) {
  TColor color;
  if (IdentToColor(text, color)) return color;
  const QString invalid = Exception::Fmt("'%s' is not a valid colour value", text);
  if (text.startsWith(u'$')) {
    const QStringView digits = QStringView(text).mid(1);
    if (digits.isEmpty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), IsHexDigit))
      throw EConvertError(invalid);
    return TColor(int32_t(digits.toUInt(nullptr, 16)));
  }
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok) throw EConvertError(invalid);
  return TColor(value);
}

void GetColorValues(const std::function<void(const QString& ident)>& visit) {
  for (const ColorIdent& entry : kColorIdents) visit(QString::fromLatin1(entry.ident));
}

#include "platform/graphics/font.h"

#include <QFontMetrics>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <mutex>

namespace {

constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;

// Qt keeps glyph metrics in 26.6 fixed point; far below that limit, a
// glyph is larger than any screen. Heights beyond it are drawn at it.
constexpr long long kMaxPixelSize = 0x7FFF;

// a * b / c rounded half away from zero, held to the int range.
int MulDiv(int a, int b, int c) {
  const long long p = static_cast<long long>(a) * b;
  const long long q = (std::llabs(p) + std::llabs(c) / 2) / std::llabs(c);
  return int(std::clamp<long long>(((p < 0) != (c < 0)) ? -q : q, INT_MIN, INT_MAX));
}

// The pixel size Qt is given for a height magnitude (any int, INT_MIN too).
int PixelSize(long long height) {
  return int(std::clamp<long long>(height < 0 ? -height : height, 1, kMaxPixelSize));
}

QFont::Weight QtWeight(int weight) {
  if (weight <= 0) return QFont::Normal;
  return QFont::Weight(std::clamp(weight, 1, 1000));
}

}  // namespace

void EnsureFontSubstitutions() {
  static std::once_flag once;
  std::call_once(once, [] {
    // The classic UI faces are not installed; Liberation Sans has the same
    // metrics as Arial and is the closest match for all three.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"));
  });
}

TFont::TFont(QObject* parent) : TGraphicsObject(parent), name_(QStringLiteral("MS Sans Serif")) {}

void TFont::SetCharset(int value) {
  value &= 0xFF;
  if (value == charset_) return;
  charset_ = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}

void TFont::SetName(const QString& value) {
  if (value == name_) return;
  name_ = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (value == pitch_) return;
  pitch_ = value;
  Changed();
}

int TFont::Size() const {
  return -MulDiv(height_, kPointsPerInch, kScreenDpi);
}

void TFont::SetSize(int value) {
  // Clamped one step inside the range, so that the negation cannot overflow.
  SetHeight(-std::max(MulDiv(value, kScreenDpi, kPointsPerInch), -INT_MAX));
}

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  weight_ = style_.testFlag(fsBold) ? FW_BOLD : FW_NORMAL;
  Changed();
}

TLogFont TFont::GetLogFont() const {
  TLogFont lf;
  lf.lfHeight = height_;
  lf.lfWidth = width_;
  lf.lfEscapement = escapement_;
  lf.lfOrientation = orientation_;
  lf.lfWeight = weight_;
  lf.lfItalic = style_.testFlag(fsItalic) ? 1 : 0;
  lf.lfUnderline = style_.testFlag(fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = style_.testFlag(fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = uint8_t(charset_);
  lf.lfPitchAndFamily = uint8_t(pitch_ == fpFixed      ? FIXED_PITCH
                                : pitch_ == fpVariable ? VARIABLE_PITCH
                                                       : DEFAULT_PITCH);
  lf.lfFaceName = name_;
  return lf;
}

void TFont::SetLogFont(const TLogFont& value) {
  height_ = value.lfHeight;
  width_ = value.lfWidth;
  escapement_ = value.lfEscapement;
  orientation_ = value.lfOrientation;
  weight_ = value.lfWeight;
  TFontStyles style;
  if (value.lfWeight >= FW_SEMIBOLD) style |= fsBold;
  if (value.lfItalic) style |= fsItalic;
  if (value.lfUnderline) style |= fsUnderline;
  if (value.lfStrikeOut) style |= fsStrikeOut;
  style_ = style;
  charset_ = value.lfCharSet;
  switch (value.lfPitchAndFamily & 3) {
    case FIXED_PITCH:
      pitch_ = fpFixed;
      break;
    case VARIABLE_PITCH:
      pitch_ = fpVariable;
      break;
    default:
      pitch_ = fpDefault;
      break;
  }
  name_ = value.lfFaceName;
  Changed();
}

QFont TFont::ToQFont() const {
  return ToQFont(GetLogFont());
}

QFont TFont::ToQFont(const TLogFont& lf) {
  EnsureFontSubstitutions();
  QFont font(lf.lfFaceName);
  int weight = lf.lfWeight;
  // The black face has no file of its own: ask the substitute for its
  // heaviest weight instead.
  if (lf.lfFaceName.compare(QLatin1String("Arial Black"), Qt::CaseInsensitive) == 0 && weight < FW_BLACK)
    weight = FW_BLACK;
  font.setWeight(QtWeight(weight));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  if ((lf.lfPitchAndFamily & 3) == FIXED_PITCH) {
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
  }
  // Text must be pixel-exact (and erasable by drawing it again in XOR), so
  // glyphs are never antialiased.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  if (lf.lfHeight < 0) {
    font.setPixelSize(PixelSize(lf.lfHeight));  // character (em) height
  } else if (lf.lfHeight > 0) {
    // Cell height: scale the em size so that ascent + descent fits.
    const int height = PixelSize(lf.lfHeight);
    font.setPixelSize(height);
    const int cell = QFontMetrics(font).height();
    if (cell > 0 && cell != height)
      font.setPixelSize(PixelSize(std::llround(double(height) * height / cell)));
  } else {
    font.setPixelSize(MulDiv(8, kScreenDpi, kPointsPerInch));  // height 0: default 8 pt
  }
  if (lf.lfWidth > 0) {
    // An explicit average character width stretches the face.
    const double natural = QFontMetrics(font).averageCharWidth();
    if (natural > 0) font.setStretch(std::clamp(int(std::lround(100.0 * lf.lfWidth / natural)), 1, 4000));
  }
  return font;
}

void TFont::Assign(TPersistent* Source) {
  if (auto* font = qobject_cast<TFont*>(Source)) {
    if (font == this) return;
    charset_ = font->charset_;
    color_ = font->color_;
    height_ = font->height_;
    name_ = font->name_;
    pitch_ = font->pitch_;
    style_ = font->style_;
    weight_ = font->weight_;
    width_ = font->width_;
    escapement_ = font->escapement_;
    orientation_ = font->orientation_;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

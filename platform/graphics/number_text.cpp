#include "platform/graphics/number_text.h"

#include <QPainter>
#include <iterator>

namespace {

constexpr char16_t kNumberChars[] = u"0123456789+-.,: eE%";
static_assert(std::size(kNumberChars) - 1 == 19);

int NumberCharIndex(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  for (int i = 10; i < int(std::size(kNumberChars)) - 1; ++i)
    if (kNumberChars[i] == c) return i;
  return -1;
}

}  // namespace

TNumberText::TNumberText(const QFont& font)
    : font_(font),
      metrics_(font),
      drawable_(!font.underline() && !font.strikeOut() && !font.overline() && font.letterSpacing() == 0 &&
                font.wordSpacing() == 0 && font.capitalization() == QFont::MixedCase) {
  advance_.fill(-1);
}

bool TNumberText::Index(const QString& text, qsizetype& n) {
  n = text.size();
  if (n == 0 || n > qsizetype(std::size(index_))) return false;
  for (qsizetype i = 0; i < n; ++i) {
    index_[i] = NumberCharIndex(text[i].unicode());
    if (index_[i] < 0) return false;
  }
  return true;
}

qreal TNumberText::Advance(int k) {
  if (advance_[size_t(k)] < 0) advance_[size_t(k)] = metrics_.horizontalAdvance(QChar(kNumberChars[k]));
  return advance_[size_t(k)];
}

bool TNumberText::Plain(int a, int b) {
  uint8_t& state = pair_[size_t(a * kChars + b)];
  if (state == 0) {
    const QChar chars[2] = {QChar(kNumberChars[a]), QChar(kNumberChars[b])};
    state = metrics_.horizontalAdvance(QString(chars, 2)) == Advance(a) + Advance(b) ? 1 : 2;
  }
  return state == 1;
}

std::optional<qreal> TNumberText::Width(const QString& text) {
  qsizetype n = 0;
  if (!Index(text, n)) return std::nullopt;
  qreal width = Advance(index_[0]);
  for (qsizetype i = 1; i < n; ++i) {
    if (!Plain(index_[i - 1], index_[i])) return std::nullopt;
    width += Advance(index_[i]);
  }
  return width;
}

bool TNumberText::Draw(QPainter& painter, const QPointF& origin, const QString& text) {
  if (!drawable_ || !Width(text)) return false;  // Width also fills index_
  if (!raw_) raw_ = QRawFont::fromFont(font_);
  if (!raw_->isValid()) return false;
  const qsizetype n = text.size();
  glyphs_.resize(n);
  positions_.resize(n);
  qreal x = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const int k = index_[i];
    quint32& glyph = glyph_[size_t(k)];
    if (glyph == 0) {
      const QChar c(kNumberChars[k]);
      int count = 1;
      quint32 found = 0;
      glyph =
          raw_->glyphIndexesForChars(&c, 1, &found, &count) && count == 1 && found != 0 ? found : kMissing;
    }
    // A character the font lacks is drawn from a fallback font by shaping.
    if (glyph == kMissing) return false;
    glyphs_[i] = glyph;
    positions_[i] = QPointF(x, 0);
    x += Advance(k);
  }
  run_.setRawFont(*raw_);
  run_.setGlyphIndexes(glyphs_);
  run_.setPositions(positions_);
  painter.drawGlyphRun(origin, run_);
  return true;
}

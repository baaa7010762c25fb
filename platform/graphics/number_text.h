#pragma once
// TNumberText: numbers measured and drawn without shaping.
//
// A read-out shows a new number on every update, and shaping a short text
// costs several times what drawing its glyphs does. Numbers are made of a
// few characters (digits, sign, point, comma, colon, space, e/E, %) that
// fonts set side by side, each with its own advance, unless a pair is
// kerned. TNumberText learns per font each character's advance and glyph
// and, pair by pair as they occur, whether the shaped pair is exactly its
// two advances. A text made only of such pairs is measured by adding its
// advances (sums of 1/64 pixels, exact in a double) and drawn as a run of
// its glyphs at those advances: the pixels shaped text has. Any other text
// gets no answer, and the caller shapes it as usual.

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class QPainter;

class TNumberText {
 public:
  explicit TNumberText(const QFont& font);

  const QFont& Font() const { return font_; }
  const QFontMetricsF& Metrics() const { return metrics_; }

  // The advance width of `text` as shaping measures it, or nothing when the
  // text is empty, longer than 64 characters, has another character or a
  // kerned pair.
  std::optional<qreal> Width(const QString& text);

  // Draws `text` in the painter's pen colour with its base line starting at
  // `origin`, as QPainter::drawText(origin, text) would with this font.
  // Returns false, drawing nothing, when Width has no answer or the font has
  // no glyph of its own for one of the characters.
  bool Draw(QPainter& painter, const QPointF& origin, const QString& text);

 private:
  static constexpr int kChars = 19;
  // Fills index_ with the character indices of `text`; false if it has a
  // character that is not a number character, or is empty or too long.
  bool Index(const QString& text, qsizetype& n);
  qreal Advance(int k);
  // True when the pair sets exactly its two advances side by side.
  bool Plain(int a, int b);

  QFont font_;
  QFontMetricsF metrics_;
  // Decorations and spacing are laid out by shaping only.
  bool drawable_;
  std::optional<QRawFont> raw_;        // made on the first Draw
  std::array<qreal, kChars> advance_;  // -1: not measured yet
  // Each character's glyph: 0 not looked up yet, kMissing when the font has none.
  static constexpr quint32 kMissing = ~quint32(0);
  std::array<quint32, kChars> glyph_{};
  // 0: not tried yet, 1: the pair's advances add up, 2: kerned (or other)
  std::array<uint8_t, kChars * kChars> pair_{};
  int index_[64];
  // Reused by Draw, so that drawing a number allocates nothing.
  QList<quint32> glyphs_;
  QList<QPointF> positions_;
  QGlyphRun run_;
};

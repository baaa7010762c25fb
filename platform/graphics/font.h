#pragma once
// TFont: the font of a canvas or a control. Name, height (pixels), colour,
// style, character set and pitch; Size is the height in points at 96 dpi.
// A font can also be set from, and read as, a full logical description
// (escapement, orientation and weight included).
//
// Rendering: faces are resolved through registered substitutions
// ("MS Sans Serif" and "Arial" -> Liberation Sans, "Arial Black" ->
// Liberation Sans at black weight) and drawn without antialiasing, so text is
// pixel-exact and can be XOR-drawn and erased again.

#include <QFont>
#include <QString>

#include "platform/graphics/graphics_object.h"
#include "platform/graphics/graphics_types.h"

class TFont : public TGraphicsObject {
  Q_OBJECT
  Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(Graphics::TFontPitch Pitch READ Pitch WRITE SetPitch)
  Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
  Q_PROPERTY(Graphics::TFontStyles Style READ Style WRITE SetStyle)
  Q_CLASSINFO("default:Pitch", "fpDefault")
  Q_CLASSINFO("default:Style", "[]")
 public:
  Q_INVOKABLE explicit TFont(QObject* parent = nullptr);
  ~TFont() override = default;

  int Charset() const { return charset_; }
  void SetCharset(int value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Height() const { return height_; }
  void SetHeight(int value);
  const QString& Name() const { return name_; }
  void SetName(const QString& value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);
  // Points at 96 dpi: -Height * 72 / 96, rounded; setting it sets Height.
  int Size() const;
  void SetSize(int value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);

  // The full logical description (escapement/orientation 0 unless set by SetLogFont).
  TLogFont GetLogFont() const;
  // Takes every field of the description; fires OnChange once.
  void SetLogFont(const TLogFont& value);

  // The Qt font to draw with (substituted face, pixel size, no antialiasing).
  // Escapement is not part of it: the canvas rotates the text itself.
  QFont ToQFont() const;
  // The Qt font for a logical description.
  static QFont ToQFont(const TLogFont& logFont);

  void Assign(TPersistent* Source) override;

 private:
  int charset_ = DEFAULT_CHARSET;
  TColor color_ = clWindowText;
  int height_ = -11;
  QString name_;
  TFontPitch pitch_ = fpDefault;
  TFontStyles style_;
  // Parts of a logical description that have no property of their own.
  int weight_ = FW_NORMAL;  // follows fsBold unless set through SetLogFont
  int width_ = 0;
  int escapement_ = 0;
  int orientation_ = 0;
};

// Registers the face substitutions once; ToQFont calls it, tests may too.
void EnsureFontSubstitutions();

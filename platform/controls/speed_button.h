#pragma once
// TSpeedButton: a windowless button that shows a glyph and never takes the
// keyboard focus. A left press draws it pressed while the mouse stays over
// it; releasing over it raises OnClick. A flat button draws no frame until
// the mouse is over it.
//
// The glyph bitmap may hold up to four images of equal width side by side
// (NumGlyphs): up, disabled, pressed, and down (held by Down). Missing images
// fall back to the up image; a missing disabled image is drawn embossed in
// the button shadow and highlight colours. The colour of the glyph's
// bottom-left pixel is transparent.

#include <memory>

#include "platform/controls/graphic_control.h"
#include "platform/graphics/bitmap.h"

class TSpeedButton : public TGraphicControl {
  Q_OBJECT
  Q_PROPERTY(TBitmap* Glyph READ Glyph WRITE SetGlyph)
  Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
  Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
  Q_PROPERTY(bool Down READ Down WRITE SetDown)
  Q_CLASSINFO("default:NumGlyphs", "1")
  Q_CLASSINFO("default:Flat", "False")
  Q_CLASSINFO("default:Down", "False")
  Q_CLASSINFO("default:Color", "clBtnFace")

 public:
  // How the button is drawn, and which of the glyph's images it shows.
  enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
  Q_ENUM(TButtonState)

  // 23 x 22 pixels, no glyph.
  Q_INVOKABLE explicit TSpeedButton(TComponent* AOwner = nullptr);
  ~TSpeedButton() override;

  // The glyph; assigning copies the bitmap. Changes to it repaint the button.
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* value);
  // Number of images in the glyph, 1..4; other values give 1.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // Held down (drawn pressed) until set back, whatever the mouse does.
  bool Down() const { return down_; }
  void SetDown(bool value);

  // The state the button is drawn in now.
  TButtonState State() const;
  // Whether a left press is being held on the button (pressed look while the
  // mouse is over it).
  bool Pressing() const { return dragging_; }
  bool MouseInControl() const { return mouseInControl_; }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;
  void EnabledChanged() override;

 private:
  void GlyphChanged(TObject* Sender);
  void SetPressedLook(bool value);
  void DrawFrame(TRect& r, TButtonState state);
  void DrawGlyph(const TRect& r, TButtonState state);

  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  bool flat_ = false;
  bool down_ = false;
  bool dragging_ = false;     // left button went down on the button
  bool pressedLook_ = false;  // ... and the mouse is over it
  bool mouseInControl_ = false;
};

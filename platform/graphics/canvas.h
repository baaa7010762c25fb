#pragma once
// TCanvas: the drawing surface of a bitmap or of a control's paint event,
// with a pen, a brush and a font, following these pixel rules:
//  - rectangles, ellipses, round rectangles, arcs, pies and chords given by
//    (x1, y1, x2, y2) cover x1..x2-1 and y1..y2-1 (for every aspect ratio);
//  - a line from A to B draws A and leaves B out, in any direction;
//  - framed shapes are filled with the brush and outlined with the pen;
//  - arcs, pies and chords run counter-clockwise on the screen from the
//    radial through the start point to the radial through the end point;
//  - drawing is never antialiased, so every operation is pixel-exact and an
//    XOR drawn twice leaves the surface as it was.
// Thin lines and shape outlines are rasterised here rather than by Qt, whose
// own choice of pixels does not follow these rules.
//
// A canvas draws either on the image of its TBitmap (the canvas owns a
// QPainter on it while drawing) or through a QPainter someone else began
// (Attach/Detach; a control's paint event, already translated and clipped).
// Clip regions are given in device coordinates: logical coordinates plus the
// device origin (the painter's translation when attached, 0,0 on a bitmap
// unless moved with SetOrigin).

#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/persistent.h"
#include "platform/graphics/brush.h"
#include "platform/graphics/font.h"
#include "platform/graphics/pen.h"

class TGraphic;
class TBitmap;

// Text alignment flags (SetTextAlign): one horizontal and one vertical value.
inline constexpr int TA_LEFT = 0;
inline constexpr int TA_RIGHT = 2;
inline constexpr int TA_CENTER = 6;
inline constexpr int TA_TOP = 0;
inline constexpr int TA_BOTTOM = 8;
inline constexpr int TA_BASELINE = 24;
inline constexpr int TA_HORZ_MASK = 6;
inline constexpr int TA_VERT_MASK = 24;

// Copy modes (CopyMode) of block copies and bitmap drawing: raster
// operations of source S against destination D.
using TCopyMode = int32_t;
inline constexpr TCopyMode cmBlackness = 0x00000042;    // 0
inline constexpr TCopyMode cmDstInvert = 0x00550009;    // ~D
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;   // ~S | D
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;   // ~S
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;  // ~(S | D)
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;       // S & D
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;      // S
inline constexpr TCopyMode cmSrcErase = 0x00440328;     // S & ~D
inline constexpr TCopyMode cmSrcInvert = 0x00660046;    // S ^ D
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;     // S | D
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;    // 1

// Regions for SetClipRegion, in device coordinates. The elliptic region
// holds exactly the pixels Ellipse would fill for the same box.
QRegion CreateRectRgn(int x1, int y1, int x2, int y2);
QRegion CreateEllipticRgn(int x1, int y1, int x2, int y2);

class TNumberText;
class TCanvas : public TPersistent {
  Q_OBJECT
 public:
  // A canvas without a surface; it draws nothing until attached.
  explicit TCanvas(QObject* parent = nullptr);
  ~TCanvas() override;

  TPen* Pen() const { return pen_.get(); }
  TBrush* Brush() const { return brush_.get(); }
  TFont* Font() const { return font_.get(); }
  void SetPen(TPen* value) { pen_->Assign(value); }
  void SetBrush(TBrush* value) { brush_->Assign(value); }
  void SetFont(TFont* value) { font_->Assign(value); }

  // --- Surface -------------------------------------------------------------
  // Draw through `painter` (begun by the caller) until Detach. Its current
  // transform is the device origin; its current clip is the base clip that
  // clip regions are intersected with.
  void Attach(QPainter* painter);
  void Detach();
  // True when the canvas has something to draw on.
  bool HandleAllocated() const;
  // The painter drawing on the surface (begun on demand for a bitmap), or
  // null. Callers that change its state must restore it.
  QPainter* Painter();
  // Device point of logical (0, 0).
  TPoint Origin() const { return origin_; }
  void SetOrigin(const TPoint& value);

  // --- Lines ---------------------------------------------------------------
  TPoint PenPos() const { return pen_pos_; }
  void SetPenPos(const TPoint& value) { pen_pos_ = value; }
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  // Segments through the points; the last point itself is left out.
  void Polyline(const TPoint* points, int count);
  void Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), int(points.size())); }

  // --- Shapes ----------------------------------------------------------------
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  // Fills with the brush only (no outline, no pen mode); a clear brush fills nothing.
  void FillRect(const TRect& r);
  // A one-pixel frame in the brush colour (no pen mode); a clear brush draws nothing.
  void FrameRect(const TRect& r);
  // Rectangle with corners rounded by ellipses of X3 x Y3.
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // Filled with the brush (alternate fill rule), outlined with the pen
  // through every vertex and back to the first.
  void Polygon(const TPoint* points, int count);
  void Polygon(const std::vector<TPoint>& points) { Polygon(points.data(), int(points.size())); }
  // Arc, pie and chord of the ellipse in (X1, Y1, X2, Y2) from the radial
  // through (X3, Y3) counter-clockwise to the radial through (X4, Y4).
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);

  // --- Pixels ----------------------------------------------------------------
  // clInvalid outside the surface or on a surface that cannot be read.
  TColor Pixels(int X, int Y) const;
  void SetPixels(int X, int Y, TColor color);

  // --- Text ------------------------------------------------------------------
  // Draws `text` at the reference point according to the text alignment,
  // with the selected font in its colour; a solid brush fills the text
  // cell with its colour first, a clear brush leaves the background.
  void TextOut(int X, int Y, const QString& text);
  // Width and height of the text cell (height = ascent + descent).
  QSize TextExtent(const QString& text) const;
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;
  int GetTextAlign() const { return text_align_; }
  // Returns the previous flags.
  int SetTextAlign(int flags);
  // Selects a font made from a logical description (for example rotated by
  // its escapement) in place of Font(); returns the description selected so
  // far, to be selected back. Changing Font() selects Font() again.
  TLogFont SelectFont(const TLogFont& logFont);
  // The description of the font text is drawn with now.
  TLogFont SelectedFont() const;

  // --- Images ----------------------------------------------------------------
  // Draws the graphic 1:1 with its top-left corner at (X, Y).
  void Draw(int X, int Y, TGraphic* graphic);
  // Draws the graphic stretched into `rect`. A rectangle with Left > Right
  // mirrors it horizontally, Top > Bottom vertically (both: turned 180).
  void StretchDraw(const TRect& rect, TGraphic* graphic);
  // Copies `source` of `canvas` into `dest` of this canvas with CopyMode,
  // stretching if the sizes differ (and mirroring as StretchDraw does).
  void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
  TCopyMode CopyMode() const { return copy_mode_; }
  void SetCopyMode(TCopyMode value) { copy_mode_ = value; }
  // Draws `image` (its part `source`) into `dest` with CopyMode; graphics
  // use it to draw themselves. `transparent` pixels of that colour are left out.
  void DrawImage(const TRect& dest, const QImage& image, const QRect& source,
                 std::optional<QRgb> transparent = std::nullopt);
  // A copy of the pixels in `rect` (logical coordinates) when the surface can
  // be read; pixels outside the surface are black.
  QImage GrabImage(const TRect& rect) const;

  // --- Clipping --------------------------------------------------------------
  // Bounding rectangle of the current clip in logical coordinates (the whole
  // surface when nothing clips).
  TRect ClipRect() const;
  // Limits drawing to `deviceRegion` (device coordinates), within the base
  // clip of an attached painter. Replaces any previous region.
  void SetClipRegion(const QRegion& deviceRegion);
  // Removes the clip region (back to the base clip).
  void ResetClipRegion();
  bool HasClipRegion() const { return clip_region_.has_value(); }
  // Shortcut: clip to a rectangle given in logical coordinates.
  void SetClipRect(const TRect& r);

 protected:
  friend class TBitmap;
  // A canvas of a bitmap draws on this image (a painter is begun lazily).
  void SetImage(QImage* image);
  // Ends an own painter (the image is about to change or be copied).
  void ReleasePainter();

 private:
  bool Prepare();
  void SetMode(QPainter::CompositionMode mode);
  bool PenVisible() const;
  int PenWidth() const;
  // The raster operation of the next fills; the painter follows it only
  // when it draws them itself (ApplyRop).
  void SetRop(TPenMode rop) { rop_ = rop; }
  void ApplyRop();
  bool DirectSurface(QRect& clip, QPoint& offset) const;
  void FillRuns(const std::vector<QRect>& runs, const QColor& color);
  void FillBrushRuns(const std::vector<QRect>& runs);
  void StrokeSegment(int x0, int y0, int x1, int y1);
  void StrokeThin(const std::vector<QPoint>& pixels);
  QPen WideQPen() const;
  void DrawRuns(const std::vector<QRect>& outline, const std::vector<QRect>& inside);
  void DrawRoundShape(bool round, int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void DrawCurve(int kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  const QFont& CurrentQFont() const;
  const QFontMetrics& Metrics() const;
  int AdvanceWidth(const QString& text) const;
  QImage* ReadableImage(QPoint* deviceOffset) const;
  QRect SurfaceRect() const;
  void ResetPainterCache();
  bool SelectionActive() const;

  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  std::unique_ptr<TFont> font_;

  QImage* image_ = nullptr;                // bitmap surface (not owned)
  std::unique_ptr<QPainter> own_painter_;  // painter on image_ while drawing
  QPainter* painter_ = nullptr;            // current painter (own or attached)
  bool attached_ = false;
  QTransform base_transform_;         // attached painter's transform
  // The attached painter's clip (device coordinates), read from the painter
  // only when the canvas needs it (BaseClip): most attached paints never
  // change the clip, and reading a clip region is not cheap.
  mutable std::optional<QRegion> base_clip_;
  mutable bool base_clip_pending_ = false;
  bool clip_applied_ = false;  // the canvas changed the attached painter's clip
  const std::optional<QRegion>& BaseClip() const;
  TPoint attach_origin_;              // device origin of the attached painter

  TPoint origin_;
  TPoint pen_pos_;
  int dash_pos_ = 0;  // position in the pen's dash pattern along a path
  int text_align_ = TA_LEFT | TA_TOP;
  TCopyMode copy_mode_ = cmSrcCopy;
  std::optional<TLogFont> selected_font_;
  quint64 selected_font_change_ = 0;    // Font()'s change count at selection
  std::optional<QRegion> clip_region_;  // device coordinates

  // Painter state as last applied, to skip redundant state changes.
  int applied_mode_ = -1;
  TPenMode rop_ = pmCopy;
  // Reused buffers of the line rasteriser, so that a line allocates nothing.
  std::vector<QPoint> scratch_pixels_;
  std::vector<QRect> scratch_runs_;
  bool clip_dirty_ = true;
  mutable bool painter_font_valid_ = false;
  // The Qt font of the selected font, rebuilt when Font() changes.
  mutable std::optional<QFont> qfont_;
  mutable TLogFont qfont_source_;  // the logical font qfont_ was made from
  mutable std::optional<QFontMetrics> metrics_;
  mutable quint64 qfont_change_ = ~quint64(0);
  mutable int escapement_ = 0;  // of the selected font, tenths of a degree
  // Advance widths of recent texts in the selected font.
  static constexpr qsizetype kWidthCacheSize = 512;
  mutable QHash<QString, int> widths_;
  // Numbers measured and drawn from their characters' advances and glyphs,
  // for the current font; NumberWidth rounds the width as shaping does.
  TNumberText& Numbers() const;
  std::optional<int> NumberWidth(const QString& text) const;
  mutable std::unique_ptr<TNumberText> number_text_;
};

#include "platform/graphics/canvas.h"

#include <QPaintEngine>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>

#include "platform/graphics/colors.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/number_text.h"
#include "platform/graphics/raster.h"

namespace {

enum CurveKind { kArc, kPie, kChord };

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kAngleEps = 1e-9;

QPainter::CompositionMode ModeOfPen(TPenMode mode) {
  switch (mode) {
    case pmBlack:
      return QPainter::RasterOp_ClearDestination;
    case pmWhite:
      return QPainter::RasterOp_SetDestination;
    case pmNop:
      return QPainter::CompositionMode_Destination;
    case pmNot:
      return QPainter::RasterOp_NotDestination;
    case pmCopy:
      return QPainter::CompositionMode_SourceOver;
    case pmNotCopy:
      return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
      return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
      return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
      return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
      return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
      return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
      return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
      return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
      return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
      return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
      return QPainter::RasterOp_NotSourceXorDestination;
  }
  return QPainter::CompositionMode_SourceOver;
}

QPainter::CompositionMode ModeOfCopy(TCopyMode mode) {
  switch (mode) {
    case cmBlackness:
      return QPainter::RasterOp_ClearDestination;
    case cmWhiteness:
      return QPainter::RasterOp_SetDestination;
    case cmDstInvert:
      return QPainter::RasterOp_NotDestination;
    case cmNotSrcCopy:
      return QPainter::RasterOp_NotSource;
    case cmMergePaint:
      return QPainter::RasterOp_NotSourceOrDestination;
    case cmNotSrcErase:
      return QPainter::RasterOp_NotSourceAndNotDestination;
    case cmSrcAnd:
      return QPainter::RasterOp_SourceAndDestination;
    case cmSrcErase:
      return QPainter::RasterOp_SourceAndNotDestination;
    case cmSrcInvert:
      return QPainter::RasterOp_SourceXorDestination;
    case cmSrcPaint:
      return QPainter::RasterOp_SourceOrDestination;
    default:
      return QPainter::CompositionMode_Source;
  }
}

// On/off run lengths of the thin styled pens.
std::span<const int> DashPattern(TPenStyle style) {
  static constexpr int kDash[] = {18, 6};
  static constexpr int kDot[] = {3, 3};
  static constexpr int kDashDot[] = {9, 6, 3, 6};
  static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case psDash:
      return kDash;
    case psDot:
      return kDot;
    case psDashDot:
      return kDashDot;
    case psDashDotDot:
      return kDashDotDot;
    default:
      return {};
  }
}

Qt::BrushStyle HatchOf(TBrushStyle style) {
  switch (style) {
    case bsHorizontal:
      return Qt::HorPattern;
    case bsVertical:
      return Qt::VerPattern;
    case bsFDiagonal:
      return Qt::FDiagPattern;
    case bsBDiagonal:
      return Qt::BDiagPattern;
    case bsCross:
      return Qt::CrossPattern;
    case bsDiagCross:
      return Qt::DiagCrossPattern;
    default:
      return Qt::SolidPattern;
  }
}

// Collects consecutive pixels of a path into horizontal or vertical runs,
// so that a line costs one fill per run instead of one per pixel.
class RunBuilder {
 public:
  explicit RunBuilder(std::vector<QRect>& out) : out_(out) {}
  ~RunBuilder() { Flush(); }
  void Add(const QPoint& p) {
    if (len_ > 0) {
      const int dx = p.x() - last_.x();
      const int dy = p.y() - last_.y();
      if (axis_ == kNone && dy == 0 && std::abs(dx) == 1) {
        axis_ = kRow;
        dir_ = dx;
      } else if (axis_ == kNone && dx == 0 && std::abs(dy) == 1) {
        axis_ = kColumn;
        dir_ = dy;
      }
      if ((axis_ == kRow && dy == 0 && dx == dir_) || (axis_ == kColumn && dx == 0 && dy == dir_)) {
        last_ = p;
        ++len_;
        return;
      }
      Flush();
    }
    start_ = last_ = p;
    len_ = 1;
  }
  void Flush() {
    if (len_ == 0) return;
    out_.push_back(QRect(QPoint(std::min(start_.x(), last_.x()), std::min(start_.y(), last_.y())),
                         QPoint(std::max(start_.x(), last_.x()), std::max(start_.y(), last_.y()))));
    len_ = 0;
    axis_ = kNone;
  }

 private:
  enum Axis { kNone, kRow, kColumn };
  std::vector<QRect>& out_;
  QPoint start_, last_;
  int len_ = 0;
  int dir_ = 0;
  Axis axis_ = kNone;
};

// Rectangle boxes of a pen outline: `outer` is where the pen's outer edge
// lies, `inner` what stays for the brush. Pens wider than one pixel are
// centred on the one-pixel outline (the extra pixel of an even width goes
// inside); an inside-frame pen stays within the box.
void PenBoxes(const QRect& box, int width, bool insideFrame, QRect& outer, QRect& inner) {
  if (insideFrame) {
    outer = box;
    inner = box.adjusted(width, width, -width, -width);
    return;
  }
  const int lo = (width - 1) / 2;
  const int hi = width / 2;
  outer = box.adjusted(-lo, -lo, lo, lo);
  inner = box.adjusted(hi + 1, hi + 1, -hi - 1, -hi - 1);
}

raster::RowSpans ShapeSpans(bool round, const QRect& box, int cw, int ch) {
  if (box.isEmpty()) return {};
  const int x2 = box.x() + box.width();
  const int y2 = box.y() + box.height();
  return round ? raster::EllipseSpans(box.x(), box.y(), x2, y2)
               : raster::RoundRectSpans(box.x(), box.y(), x2, y2, cw, ch);
}

// The same into `out`; an ellipse reuses the storage of `out`.
void ShapeSpans(bool round, const QRect& box, int cw, int ch, raster::RowSpans& out) {
  if (round && !box.isEmpty())
    raster::EllipseSpans(box.x(), box.y(), box.x() + box.width(), box.y() + box.height(), out);
  else
    out = ShapeSpans(round, box, cw, ch);
}

QRect NormalBox(int X1, int Y1, int X2, int Y2) {
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
  return QRect(X1, Y1, X2 - X1, Y2 - Y1);
}

}  // namespace

QRegion CreateRectRgn(int x1, int y1, int x2, int y2) {
  return QRegion(NormalBox(x1, y1, x2, y2));
}

QRegion CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  const QRect box = NormalBox(x1, y1, x2, y2);
  if (box.isEmpty()) return QRegion();
  std::vector<QRect> rows;
  raster::AppendRuns(ShapeSpans(true, box, 0, 0), rows);
  QRegion region;
  region.setRects(rows.data(), int(rows.size()));
  return region;
}

// --- Construction and surface ------------------------------------------------

TCanvas::TCanvas(QObject* parent)
    : TPersistent(parent),
      pen_(std::make_unique<TPen>()),
      brush_(std::make_unique<TBrush>()),
      font_(std::make_unique<TFont>()) {}

TCanvas::~TCanvas() {
  Detach();
  ReleasePainter();
}

void TCanvas::SetImage(QImage* image) {
  ReleasePainter();
  image_ = image;
}

void TCanvas::ReleasePainter() {
  if (!own_painter_) return;
  own_painter_->end();
  own_painter_.reset();
  if (!attached_) painter_ = nullptr;
  ResetPainterCache();
}

void TCanvas::ResetPainterCache() {
  applied_mode_ = -1;
  clip_dirty_ = true;
  painter_font_valid_ = false;
}

void TCanvas::Attach(QPainter* painter) {
  Detach();
  ReleasePainter();
  if (!painter || !painter->isActive()) return;
  painter_ = painter;
  attached_ = true;
  base_transform_ = painter->transform();
  const QPointF o = base_transform_.map(QPointF(0, 0));
  attach_origin_ = origin_ = TPoint(int(std::lround(o.x())), int(std::lround(o.y())));
  base_clip_.reset();
  base_clip_pending_ = painter->hasClipping();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setRenderHint(QPainter::TextAntialiasing, false);
  painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  // A paint event is a fresh surface: no clip region, no selected font,
  // default text alignment, pen at the origin.
  clip_region_.reset();
  selected_font_.reset();
  qfont_change_ = ~quint64(0);  // the font is looked at again; equal, its measures stay
  text_align_ = TA_LEFT | TA_TOP;
  pen_pos_ = TPoint();
  ResetPainterCache();
  // The painter already has the clip the canvas starts with.
  clip_dirty_ = false;
  clip_applied_ = false;
}

const std::optional<QRegion>& TCanvas::BaseClip() const {
  if (base_clip_pending_) {
    // Read before the canvas changes the painter's clip or transform.
    base_clip_ = painter_->clipRegion().translated(attach_origin_.X, attach_origin_.Y);
    base_clip_pending_ = false;
  }
  return base_clip_;
}

void TCanvas::Detach() {
  if (!attached_) return;
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->setTransform(base_transform_);
  // The clip is given back only if the canvas changed it.
  if (clip_applied_) {
    const std::optional<QRegion>& base = BaseClip();
    if (base)
      painter_->setClipRegion(base->translated(-attach_origin_.X, -attach_origin_.Y));
    else
      painter_->setClipping(false);
  }
  painter_ = nullptr;
  attached_ = false;
  base_clip_.reset();
  base_clip_pending_ = false;
  clip_applied_ = false;
  origin_ = TPoint();
  ResetPainterCache();
}

bool TCanvas::HandleAllocated() const {
  return painter_ != nullptr || (image_ && !image_->isNull());
}

bool TCanvas::Prepare() {
  if (!painter_) {
    if (!image_ || image_->isNull()) return false;
    own_painter_ = std::make_unique<QPainter>();
    if (!own_painter_->begin(image_)) {
      own_painter_.reset();
      return false;
    }
    painter_ = own_painter_.get();
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_->setTransform(QTransform::fromTranslate(origin_.X, origin_.Y));
    ResetPainterCache();
  }
  if (clip_dirty_) {
    std::optional<QRegion> clip = BaseClip();
    if (clip_region_) clip = clip ? (*clip & *clip_region_) : *clip_region_;
    if (clip)
      painter_->setClipRegion(clip->translated(-origin_.X, -origin_.Y));
    else
      painter_->setClipping(false);
    clip_dirty_ = false;
    clip_applied_ = true;
  }
  return true;
}

QPainter* TCanvas::Painter() {
  if (!Prepare()) return nullptr;
  SetRop(pmCopy);
  ApplyRop();
  painter_font_valid_ = false;
  return painter_;
}

void TCanvas::SetOrigin(const TPoint& value) {
  if (value == origin_) return;
  (void)BaseClip();  // read in the coordinates it was attached with
  origin_ = value;
  if (painter_) {
    const QTransform shift =
        QTransform::fromTranslate(value.X - attach_origin_.X, value.Y - attach_origin_.Y);
    painter_->setTransform(attached_ ? shift * base_transform_ : QTransform::fromTranslate(value.X, value.Y));
  }
  clip_dirty_ = true;
}

void TCanvas::SetMode(QPainter::CompositionMode mode) {
  if (applied_mode_ == int(mode)) return;
  painter_->setCompositionMode(mode);
  applied_mode_ = int(mode);
}

bool TCanvas::PenVisible() const {
  return pen_->Style() != psClear;
}

int TCanvas::PenWidth() const {
  return std::max(1, pen_->Width());
}

void TCanvas::ApplyRop() {
  SetMode(ModeOfPen(rop_));
}

bool TCanvas::DirectSurface(QRect& clip, QPoint& offset) const {
  // Only an own bitmap surface that nobody shares, clipped by nothing or by
  // one rectangle: then writing the pixels ourselves is the same as letting
  // the paint engine do it, and several times faster for many short runs.
  if (!image_ || attached_ || !own_painter_ || image_->format() != QImage::Format_RGB32 ||
      !image_->isDetached())
    return false;
  clip = image_->rect();
  if (clip_region_) {
    if (clip_region_->rectCount() > 1) return false;
    clip &= clip_region_->boundingRect();
  }
  offset = QPoint(origin_.X, origin_.Y);
  return true;
}

QPen TCanvas::WideQPen() const {
  QPen pen(ToQColor(pen_->Color()), PenWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  return pen;
}

// --- Filling runs ------------------------------------------------------------

void TCanvas::FillRuns(const std::vector<QRect>& runs, const QColor& color) {
  if (runs.empty() || rop_ == pmNop) return;
  QRect clip;
  QPoint offset;
  if (DirectSurface(clip, offset)) {
    for (const QRect& r : runs) raster::FillRun(*image_, r.translated(offset) & clip, color.rgb(), rop_);
    return;
  }
  ApplyRop();
  if (runs.size() == 1) {
    painter_->fillRect(runs.front(), color);
    return;
  }
  // One call for the whole shape: the paint engine fills the runs without
  // going through the painter's front end for each.
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(color);
  painter_->drawRects(runs.data(), int(runs.size()));
}

void TCanvas::FillBrushRuns(const std::vector<QRect>& runs) {
  const TBrushStyle style = brush_->Style();
  if (style == bsClear || runs.empty()) return;
  const QColor color = ToQColor(brush_->Color());
  if (style == bsSolid) {
    FillRuns(runs, color);
    return;
  }
  // Hatches are drawn on a transparent background, anchored to the device.
  ApplyRop();
  painter_->setBrushOrigin(-origin_.X, -origin_.Y);
  painter_->setPen(Qt::NoPen);
  painter_->setBrush(QBrush(color, HatchOf(style)));
  painter_->drawRects(runs.data(), int(runs.size()));
}

void TCanvas::DrawRuns(const std::vector<QRect>& outline, const std::vector<QRect>& inside) {
  FillBrushRuns(inside);
  FillRuns(outline, ToQColor(pen_->Color()));
}

// --- Lines -------------------------------------------------------------------

void TCanvas::MoveTo(int X, int Y) {
  pen_pos_ = TPoint(X, Y);
  dash_pos_ = 0;
}

void TCanvas::LineTo(int X, int Y) {
  if (PenVisible() && Prepare()) {
    SetRop(pen_->Mode());
    StrokeSegment(pen_pos_.X, pen_pos_.Y, X, Y);
  }
  pen_pos_ = TPoint(X, Y);
}

void TCanvas::StrokeSegment(int x0, int y0, int x1, int y1) {
  if (PenWidth() > 1) {
    ApplyRop();
    painter_->setPen(WideQPen());
    painter_->setBrush(Qt::NoBrush);
    painter_->drawLine(x0, y0, x1, y1);
    return;
  }
  scratch_pixels_.clear();
  raster::LinePixels(x0, y0, x1, y1, scratch_pixels_);
  StrokeThin(scratch_pixels_);
}

void TCanvas::StrokeThin(const std::vector<QPoint>& pixels) {
  if (pixels.empty()) return;
  const std::span<const int> pattern = DashPattern(pen_->Style());
  std::vector<QRect>& on = scratch_runs_;
  on.clear();
  QRect clip;
  QPoint offset;
  if (pattern.empty() && rop_ != pmNop && DirectSurface(clip, offset)) {
    raster::PlotPixels(*image_, pixels, offset, clip, ToQRgb(pen_->Color()), rop_);
    return;
  }
  if (pattern.empty()) {
    {
      RunBuilder runs(on);
      for (const QPoint& p : pixels) runs.Add(p);
    }
    FillRuns(on, ToQColor(pen_->Color()));
    return;
  }
  // Styled pens: the gaps show the background colour (the brush colour)
  // unless the brush is clear. The pattern runs on along a path.
  int total = 0;
  for (int n : pattern) total += n;
  std::vector<QRect> off;
  {
    RunBuilder onRuns(on);
    RunBuilder offRuns(off);
    for (const QPoint& p : pixels) {
      int pos = dash_pos_ % total;
      size_t k = 0;
      while (pos >= pattern[k]) pos -= pattern[k++];
      if (k % 2 == 0) {
        offRuns.Flush();
        onRuns.Add(p);
      } else {
        onRuns.Flush();
        offRuns.Add(p);
      }
      dash_pos_ = (dash_pos_ + 1) % total;
    }
  }
  FillRuns(on, ToQColor(pen_->Color()));
  if (brush_->Style() == bsSolid) FillRuns(off, ToQColor(brush_->Color()));
}

void TCanvas::Polyline(const TPoint* points, int count) {
  if (!points || count < 2 || !PenVisible() || !Prepare()) return;
  SetRop(pen_->Mode());
  dash_pos_ = 0;
  if (PenWidth() > 1) {
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << points[i].toQPoint();
    ApplyRop();
    painter_->setPen(WideQPen());
    painter_->setBrush(Qt::NoBrush);
    painter_->drawPolyline(poly);
    return;
  }
  std::vector<QPoint> pixels;
  for (int i = 0; i + 1 < count; ++i)
    raster::LinePixels(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, pixels);
  StrokeThin(pixels);
}

void TCanvas::Polygon(const TPoint* points, int count) {
  if (!points || count < 2 || pen_->Mode() == pmNop || !Prepare()) return;
  SetRop(pen_->Mode());
  std::vector<QPoint> vertices;
  vertices.reserve(size_t(count));
  for (int i = 0; i < count; ++i) vertices.push_back(points[i].toQPoint());
  std::vector<QRect> fill;
  if (brush_->Style() != bsClear) raster::PolygonRuns(vertices, fill);
  const bool thin = PenVisible() && PenWidth() == 1;
  std::vector<QPoint> outline;
  if (thin) {
    // Every edge starts at its vertex and leaves out the next one, which
    // the following edge draws: each vertex exactly once.
    for (int i = 0; i < count; ++i) {
      const QPoint& a = vertices[size_t(i)];
      const QPoint& b = vertices[size_t((i + 1) % count)];
      raster::LinePixels(a.x(), a.y(), b.x(), b.y(), outline);
    }
    if (outline.empty()) outline.push_back(vertices.front());
    // The outline's pixels are left out of the fill, so that every pixel
    // is drawn once and a raster operation such as XOR applies once.
    if (!fill.empty()) raster::SubtractPixels(fill, outline);
  }
  FillBrushRuns(fill);
  if (thin) {
    dash_pos_ = 0;
    StrokeThin(outline);
  } else if (PenVisible()) {
    ApplyRop();
    painter_->setPen(WideQPen());
    painter_->setBrush(Qt::NoBrush);
    painter_->drawPolygon(QPolygon(QList<QPoint>(vertices.begin(), vertices.end())));
  }
}

// --- Rectangles --------------------------------------------------------------

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  const QRect box = NormalBox(X1, Y1, X2, Y2);
  if (box.isEmpty() || pen_->Mode() == pmNop || !Prepare()) return;
  SetRop(pen_->Mode());
  if (!PenVisible()) {
    FillBrushRuns({box});
    return;
  }
  const int width = PenWidth();
  if (width == 1 && !DashPattern(pen_->Style()).empty()) {
    if (box.width() > 2 && box.height() > 2) FillBrushRuns({box.adjusted(1, 1, -1, -1)});
    const int r = box.right();
    const int b = box.bottom();
    std::vector<QPoint> pixels;
    dash_pos_ = 0;
    raster::LinePixels(box.left(), box.top(), r, box.top(), pixels);
    raster::LinePixels(r, box.top(), r, b, pixels);
    raster::LinePixels(r, b, box.left(), b, pixels);
    raster::LinePixels(box.left(), b, box.left(), box.top(), pixels);
    if (pixels.empty()) pixels.push_back(box.topLeft());
    StrokeThin(pixels);
    return;
  }
  QRect outer, inner;
  PenBoxes(box, width, pen_->Style() == psInsideFrame, outer, inner);
  std::vector<QRect> outline;
  if (inner.isEmpty()) {
    outline.push_back(outer);
  } else {
    outline.emplace_back(outer.left(), outer.top(), outer.width(), inner.top() - outer.top());
    outline.emplace_back(outer.left(), inner.bottom() + 1, outer.width(), outer.bottom() - inner.bottom());
    outline.emplace_back(outer.left(), inner.top(), inner.left() - outer.left(), inner.height());
    outline.emplace_back(inner.right() + 1, inner.top(), outer.right() - inner.right(), inner.height());
  }
  DrawRuns(outline, inner.isEmpty() ? std::vector<QRect>{} : std::vector<QRect>{inner});
}

void TCanvas::FillRect(const TRect& r) {
  if (r.Right <= r.Left || r.Bottom <= r.Top || brush_->Style() == bsClear || !Prepare()) return;
  SetRop(pmCopy);
  FillBrushRuns({r.toQRect()});
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.Right <= r.Left || r.Bottom <= r.Top || brush_->Style() == bsClear || !Prepare()) return;
  SetRop(pmCopy);
  const QRect box = r.toQRect();
  std::vector<QRect> frame;
  if (box.width() <= 2 || box.height() <= 2) {
    frame.push_back(box);
  } else {
    frame.emplace_back(box.left(), box.top(), box.width(), 1);
    frame.emplace_back(box.left(), box.bottom(), box.width(), 1);
    frame.emplace_back(box.left(), box.top() + 1, 1, box.height() - 2);
    frame.emplace_back(box.right(), box.top() + 1, 1, box.height() - 2);
  }
  FillBrushRuns(frame);
}

// --- Ellipses and round rectangles ----------------------------------------

void TCanvas::DrawRoundShape(bool round, int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  const QRect box = NormalBox(X1, Y1, X2, Y2);
  if (box.isEmpty() || pen_->Mode() == pmNop || !Prepare()) return;
  SetRop(pen_->Mode());
  // Shapes are drawn often and small: the spans and runs live on between
  // calls, so drawing one allocates nothing once they have grown.
  thread_local raster::RowSpans spans, innerSpans;
  thread_local std::vector<QRect> outline, inside;
  outline.clear();
  inside.clear();
  const int width = PenWidth();
  if (!PenVisible() || width == 1) {
    ShapeSpans(round, box, X3, Y3, spans);
    const TBrushStyle brushStyle = brush_->Style();
    QRect clip;
    QPoint offset;
    if ((brushStyle == bsSolid || brushStyle == bsClear) && DirectSurface(clip, offset)) {
      // Straight into the bitmap, one pass over the rows. Each pixel lies in
      // the outline or the inside, never both, so the order of the two
      // colours does not matter even for raster operations.
      const bool brush = brushStyle == bsSolid;
      const QRgb brushRgb = brush ? ToQColor(brush_->Color()).rgb() : 0;
      uchar* bits = image_->bits();
      const qsizetype stride = image_->bytesPerLine();
      const TPenMode rop = rop_;
      auto fill = [&](QRgb color) {
        return [=](int l, int y, int w) {
          y += offset.y();
          if (y < clip.top() || y > clip.bottom()) return;
          const int a = std::max(l + offset.x(), clip.left());
          const int b = std::min(l + w - 1 + offset.x(), clip.right());
          if (a <= b) raster::FillSpan(reinterpret_cast<QRgb*>(bits + y * stride), a, b, color, rop);
        };
      };
      auto wholeRows = [&](QRgb color) {
        const auto span = fill(color);
        for (int i = 0; i < spans.rows(); ++i)
          if (!spans.empty(i))
            span(spans.left[size_t(i)], spans.top + i, spans.right[size_t(i)] - spans.left[size_t(i)] + 1);
      };
      if (!PenVisible()) {
        if (brush) wholeRows(brushRgb);
        return;
      }
      const QRgb penRgb = ToQColor(pen_->Color()).rgb();
      if (brush && penRgb == brushRgb) {
        // Pen and brush paint the same: the whole rows, no outline to split off.
        wholeRows(penRgb);
        return;
      }
      if (brush)
        raster::ForEachBorderRun(spans, fill(penRgb), fill(brushRgb));
      else
        raster::ForEachBorderRun(spans, fill(penRgb), [](int, int, int) {});
      return;
    }
    if (!PenVisible()) {
      raster::AppendRuns(spans, inside);
      FillBrushRuns(inside);
      return;
    }
    raster::SplitBorder(spans, outline, inside);
  } else {
    QRect outer, inner;
    PenBoxes(box, width, pen_->Style() == psInsideFrame, outer, inner);
    const int grow = outer.width() - box.width();
    const int shrink = box.width() - inner.width();
    ShapeSpans(round, outer, X3 + grow, Y3 + grow, spans);
    ShapeSpans(round, inner, X3 - shrink, Y3 - shrink, innerSpans);
    raster::SplitRing(spans, innerSpans, outline, inside);
  }
  DrawRuns(outline, inside);
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  DrawRoundShape(true, X1, Y1, X2, Y2, 0, 0);
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  DrawRoundShape(false, X1, Y1, X2, Y2, std::abs(X3), std::abs(Y3));
}

// --- Arcs, pies and chords ------------------------------------------------

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DrawCurve(kArc, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DrawCurve(kPie, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DrawCurve(kChord, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::DrawCurve(int kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  const QRect box = NormalBox(X1, Y1, X2, Y2);
  if (box.isEmpty() || pen_->Mode() == pmNop || !Prepare()) return;
  const bool pen = PenVisible();
  const bool fill = kind != kArc && brush_->Style() != bsClear;
  if (!pen && !fill) return;
  SetRop(pen_->Mode());

  // Angles are taken on the ellipse normalised to a unit circle, counter-
  // clockwise on the screen (y grows downwards).
  const double cx = box.x() + box.width() / 2.0;
  const double cy = box.y() + box.height() / 2.0;
  const double a = box.width() / 2.0;
  const double b = box.height() / 2.0;
  auto angleOf = [&](double x, double y) { return std::atan2(-(y - cy) / b, (x - cx) / a); };
  const double start = angleOf(X3, Y3);
  double sweep = std::fmod(angleOf(X4, Y4) - start + 2 * kTwoPi, kTwoPi);
  if (sweep < kAngleEps) sweep = kTwoPi;  // same radial: the whole ellipse
  auto inSector = [&](int px, int py) {
    const double d = std::fmod(angleOf(px + 0.5, py + 0.5) - start + 2 * kTwoPi, kTwoPi);
    return d <= sweep + kAngleEps || d >= kTwoPi - kAngleEps;
  };
  // Chord: the side of the line from the start point to the end point on
  // which the arc lies (to its right, going counter-clockwise).
  const double su = std::cos(start), sv = std::sin(start);
  const double eu = std::cos(start + sweep), ev = std::sin(start + sweep);
  auto onArcSide = [&](int px, int py) {
    const double u = (px + 0.5 - cx) / a;
    const double v = -(py + 0.5 - cy) / b;
    return (eu - su) * (v - sv) - (ev - sv) * (u - su) <= kAngleEps;
  };
  auto inFill = [&](int px, int py) { return kind == kPie ? inSector(px, py) : onArcSide(px, py); };

  const int width = PenWidth();
  QRect outer = box;
  if (pen && width > 1) {
    QRect inner;
    PenBoxes(box, width, pen_->Style() == psInsideFrame, outer, inner);
  }
  // A mask over the shape's box: 2 = pen, 1 = brush.
  std::vector<uint8_t> mask(size_t(outer.width()) * size_t(outer.height()), 0);
  auto at = [&](int x, int y) -> uint8_t& {
    return mask[size_t(y - outer.top()) * size_t(outer.width()) + size_t(x - outer.left())];
  };
  auto get = [&](int x, int y) -> uint8_t { return outer.contains(x, y) ? at(x, y) : 0; };
  if (kind == kArc) {
    // The ellipse's outline (a ring for wide pens), between the radials.
    std::vector<QRect> ring, inside;
    if (width == 1) {
      raster::SplitBorder(ShapeSpans(true, box, 0, 0), ring, inside);
    } else {
      QRect o, inner;
      PenBoxes(box, width, pen_->Style() == psInsideFrame, o, inner);
      raster::SplitRing(ShapeSpans(true, o, 0, 0), ShapeSpans(true, inner, 0, 0), ring, inside);
    }
    for (const QRect& r : ring)
      for (int x = r.left(); x <= r.right(); ++x)
        if (inSector(x, r.top())) at(x, r.top()) = 2;
  } else {
    // The part of the ellipse within the sector (pie) or on the arc's side
    // of the chord, outlined along its whole border: the outline never
    // leaves the shape's own pixels.
    const raster::RowSpans spans = ShapeSpans(true, outer, 0, 0);
    for (int i = 0; i < spans.rows(); ++i) {
      if (spans.empty(i)) continue;
      const int y = spans.top + i;
      for (int x = spans.left[size_t(i)]; x <= spans.right[size_t(i)]; ++x)
        if (inFill(x, y)) at(x, y) = 1;
    }
    if (pen) {
      // Peel `width` layers off the border: pixels next to the outside.
      for (int layer = 0; layer < width; ++layer) {
        std::vector<QPoint> border;
        for (int y = outer.top(); y <= outer.bottom(); ++y)
          for (int x = outer.left(); x <= outer.right(); ++x)
            if (at(x, y) == 1 &&
                (get(x - 1, y) == 0 || get(x + 1, y) == 0 || get(x, y - 1) == 0 || get(x, y + 1) == 0 ||
                 (layer > 0 &&
                  (get(x - 1, y) == 2 || get(x + 1, y) == 2 || get(x, y - 1) == 2 || get(x, y + 1) == 2))))
              border.emplace_back(x, y);
        for (const QPoint& p : border) at(p.x(), p.y()) = 3;
        for (uint8_t& v : mask)
          if (v == 3) v = 2;
      }
    }
    if (!fill)
      for (uint8_t& v : mask)
        if (v == 1) v = 0;
  }
  std::vector<QRect> penRuns, brushRuns;
  for (int y = outer.top(); y <= outer.bottom(); ++y) {
    int x = outer.left();
    while (x <= outer.right()) {
      const uint8_t v = at(x, y);
      int e = x;
      while (e + 1 <= outer.right() && at(e + 1, y) == v) ++e;
      if (v == 2) penRuns.emplace_back(x, y, e - x + 1, 1);
      if (v == 1) brushRuns.emplace_back(x, y, e - x + 1, 1);
      x = e + 1;
    }
  }
  DrawRuns(penRuns, brushRuns);
}

// --- Pixels ----------------------------------------------------------------

QImage* TCanvas::ReadableImage(QPoint* deviceOffset) const {
  if (image_ && !attached_) {
    *deviceOffset = QPoint(origin_.X, origin_.Y);
    return image_->isNull() ? nullptr : image_;
  }
  if (painter_ && painter_->isActive() && painter_->paintEngine()) {
    QPaintDevice* device = painter_->paintEngine()->paintDevice();
    if (device && device->devType() == QInternal::Image) {
      const QPointF o = painter_->deviceTransform().map(QPointF(0, 0));
      *deviceOffset = QPoint(int(std::lround(o.x())), int(std::lround(o.y())));
      return static_cast<QImage*>(device);
    }
  }
  return nullptr;
}

TColor TCanvas::Pixels(int X, int Y) const {
  QPoint offset;
  const QImage* image = ReadableImage(&offset);
  if (!image) return clInvalid;
  const QPoint p(X + offset.x(), Y + offset.y());
  if (!image->rect().contains(p)) return clInvalid;
  return FromQRgb(image->pixel(p));
}

void TCanvas::SetPixels(int X, int Y, TColor color) {
  if (!Prepare()) return;
  SetRop(pmCopy);
  FillRuns({QRect(X, Y, 1, 1)}, ToQColor(color));
}

// --- Text --------------------------------------------------------------------

bool TCanvas::SelectionActive() const {
  return selected_font_ && selected_font_change_ == font_->ChangeCount();
}

const QFont& TCanvas::CurrentQFont() const {
  const quint64 change = font_->ChangeCount();
  if (!qfont_ || qfont_change_ != change) {
    TLogFont lf = SelectionActive() ? *selected_font_ : font_->GetLogFont();
    escapement_ = lf.lfEscapement;
    // A change of colour alone, or a font assigned again each paint, leaves
    // the logical font, or at least the Qt font, as it was: what was
    // measured for it still holds.
    if (!qfont_ || lf != qfont_source_) {
      QFont font = TFont::ToQFont(lf);
      qfont_source_ = std::move(lf);
      if (!qfont_ || *qfont_ != font) {
        qfont_ = std::move(font);
        metrics_.reset();
        widths_.clear();
        number_text_.reset();
        painter_font_valid_ = false;
      }
    }
    qfont_change_ = change;
  }
  return *qfont_;
}

const QFontMetrics& TCanvas::Metrics() const {
  const QFont& font = CurrentQFont();
  if (!metrics_) metrics_.emplace(font);
  return *metrics_;
}

// --- Widths of numbers ---------------------------------------------------------
// A read-out shows a new number on every update, so its width is rarely in
// the cache; the canvas measures and draws numbers from their characters
// (TNumberText) and shapes only other texts.

TNumberText& TCanvas::Numbers() const {
  if (!number_text_) number_text_ = std::make_unique<TNumberText>(CurrentQFont());
  return *number_text_;
}

std::optional<int> TCanvas::NumberWidth(const QString& text) const {
  const std::optional<qreal> width = Numbers().Width(text);
  if (!width) return std::nullopt;
  return qRound(*width);
}

int TCanvas::AdvanceWidth(const QString& text) const {
  const QFontMetrics& fm = Metrics();
  // Controls measure and draw the same labels on every paint; shaping a
  // text costs far more than looking it up.
  const auto it = widths_.constFind(text);
  if (it != widths_.constEnd()) return *it;
  const std::optional<int> number = NumberWidth(text);
  const int width = number ? *number : fm.horizontalAdvance(text);
  if (widths_.size() >= kWidthCacheSize) widths_.clear();
  widths_.insert(text, width);
  return width;
}

QSize TCanvas::TextExtent(const QString& text) const {
  return QSize(AdvanceWidth(text), Metrics().height());
}

int TCanvas::TextWidth(const QString& text) const {
  return AdvanceWidth(text);
}

int TCanvas::TextHeight(const QString&) const {
  return Metrics().height();
}

int TCanvas::SetTextAlign(int flags) {
  const int previous = text_align_;
  text_align_ = flags;
  return previous;
}

TLogFont TCanvas::SelectedFont() const {
  return SelectionActive() ? *selected_font_ : font_->GetLogFont();
}

TLogFont TCanvas::SelectFont(const TLogFont& logFont) {
  const TLogFont previous = SelectedFont();
  if (logFont == font_->GetLogFont()) {
    selected_font_.reset();
  } else {
    selected_font_ = logFont;
    selected_font_change_ = font_->ChangeCount();
  }
  qfont_change_ = ~quint64(0);
  return previous;
}

void TCanvas::TextOut(int X, int Y, const QString& text) {
  const QFont& font = CurrentQFont();
  const QFontMetrics& fm = Metrics();
  const int w = AdvanceWidth(text);
  const int h = fm.height();
  const int ascent = fm.ascent();
  if (!text.isEmpty() && Prepare()) {
    int dx = 0;
    switch (text_align_ & TA_HORZ_MASK) {
      case TA_RIGHT:
        dx = -w;
        break;
      case TA_CENTER:
        dx = -(w / 2);
        break;
      default:
        break;
    }
    int top = 0;
    switch (text_align_ & TA_VERT_MASK) {
      case TA_BOTTOM:
        top = -h;
        break;
      case TA_BASELINE:
        top = -ascent;
        break;
      default:
        break;
    }
    SetRop(pmCopy);
    ApplyRop();
    const bool rotated = escapement_ % 3600 != 0;
    int x = X, y = Y;
    if (rotated) {
      // Escapement turns the base line counter-clockwise on the screen.
      painter_->save();
      painter_->translate(X, Y);
      painter_->rotate(-escapement_ / 10.0);
      x = y = 0;
    }
    if (brush_->Style() == bsSolid)
      painter_->fillRect(QRect(x + dx, y + top, w, h), ToQColor(brush_->Color()));
    painter_->setPen(ToQColor(font_->Color()));
    const QPoint origin(x + dx, y + top + ascent);
    if (rotated || !Numbers().Draw(*painter_, origin, text)) {
      if (!painter_font_valid_) {
        painter_->setFont(font);
        painter_font_valid_ = true;
      }
      painter_->drawText(origin, text);
    }
    if (rotated) painter_->restore();
  }
  pen_pos_ = TPoint(X + w, Y);
}

// --- Images ------------------------------------------------------------------

void TCanvas::Draw(int X, int Y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(this, TRect(X, Y, X + graphic->Width(), Y + graphic->Height()));
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(this, rect);
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image, const QRect& source,
                        std::optional<QRgb> transparent) {
  if (image.isNull() || dest.Left == dest.Right || dest.Top == dest.Bottom || source.isEmpty()) return;
  if (!Prepare()) return;
  const bool mirrorX = dest.Right < dest.Left;
  const bool mirrorY = dest.Bottom < dest.Top;
  const QRect target = NormalBox(dest.Left, dest.Top, dest.Right, dest.Bottom);
  const QImage* from = &image;
  QRect part = source;
  QImage piece;
  if (mirrorX || mirrorY || !image.rect().contains(source)) {
    piece = image.copy(source).mirrored(mirrorX, mirrorY);
    from = &piece;
    part = piece.rect();
  }
  if (transparent) {
    QImage masked = from->copy(part).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = *transparent & 0xFFFFFF;
    for (int y = 0; y < masked.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
      for (int x = 0; x < masked.width(); ++x)
        if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    piece = std::move(masked);
    from = &piece;
    part = piece.rect();
    SetMode(QPainter::CompositionMode_SourceOver);
  } else {
    SetMode(ModeOfCopy(copy_mode_));
  }
  if (target.size() == part.size() && part == from->rect())
    painter_->drawImage(target.topLeft(), *from);
  else if (target.size() == part.size())
    painter_->drawImage(target.topLeft(), *from, part);
  else
    painter_->drawImage(target, *from, part);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
  if (!canvas) return;
  QPoint offset;
  QImage* image = canvas->ReadableImage(&offset);
  if (!image) return;
  const bool mirrorX = (dest.Right < dest.Left) != (source.Right < source.Left);
  const bool mirrorY = (dest.Bottom < dest.Top) != (source.Bottom < source.Top);
  const QRect from = NormalBox(source.Left, source.Top, source.Right, source.Bottom).translated(offset);
  QRect to = NormalBox(dest.Left, dest.Top, dest.Right, dest.Bottom);
  TRect target = TRect::fromQRect(to);
  if (mirrorX) std::swap(target.Left, target.Right);
  if (mirrorY) std::swap(target.Top, target.Bottom);
  QPoint ownOffset;
  if (canvas == this || image == ReadableImage(&ownOffset)) {
    // Copying within one surface: read the source before writing.
    const QImage copy = image->copy(from);
    DrawImage(target, copy, copy.rect());
    return;
  }
  DrawImage(target, *image, from);
}

QImage TCanvas::GrabImage(const TRect& rect) const {
  const QRect r = NormalBox(rect.Left, rect.Top, rect.Right, rect.Bottom);
  QPoint offset;
  const QImage* image = ReadableImage(&offset);
  if (!image) {
    QImage black(r.size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
  }
  QImage copy = image->copy(r.translated(offset));
  if (copy.format() != QImage::Format_RGB32) copy = copy.convertToFormat(QImage::Format_RGB32);
  return copy;
}

// --- Clipping ----------------------------------------------------------------

QRect TCanvas::SurfaceRect() const {
  if (image_ && !attached_) return QRect(-origin_.X, -origin_.Y, image_->width(), image_->height());
  if (painter_ && painter_->device()) {
    const QPaintDevice* device = painter_->device();
    return QRect(-origin_.X, -origin_.Y, device->width(), device->height());
  }
  return QRect();
}

TRect TCanvas::ClipRect() const {
  QRect r = SurfaceRect();
  if (const std::optional<QRegion>& base = BaseClip()) r &= base->boundingRect().translated(-origin_.X, -origin_.Y);
  if (clip_region_) r &= clip_region_->boundingRect().translated(-origin_.X, -origin_.Y);
  if (r.isEmpty()) return TRect();
  return TRect::fromQRect(r);
}

void TCanvas::SetClipRegion(const QRegion& deviceRegion) {
  clip_region_ = deviceRegion;
  clip_dirty_ = true;
}

void TCanvas::ResetClipRegion() {
  if (!clip_region_) return;
  clip_region_.reset();
  clip_dirty_ = true;
}

void TCanvas::SetClipRect(const TRect& r) {
  SetClipRegion(QRegion(NormalBox(r.Left, r.Top, r.Right, r.Bottom)).translated(origin_.X, origin_.Y));
}

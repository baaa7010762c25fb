#include "kv/proc/geometry.h"

#include <cmath>

#include "kv/proc/conversions.h"
#include "platform/core/numbers.h"

namespace {

// Intermediates are 64-bit so that no operation overflows; storing back into
// a 32-bit coordinate wraps (modular conversion), as unchecked 32-bit
// arithmetic would.
int32_t Wrap(int64_t v) {
  return static_cast<int32_t>(v);
}

int64_t Width(const TRect& r) {
  return int64_t(r.Right) - r.Left;
}
int64_t Height(const TRect& r) {
  return int64_t(r.Bottom) - r.Top;
}

// Degrees to radians; the radian value is kept as a single float.
constexpr long double kDegToRad = 0.017453292519943295L;
constexpr long double kRadToDeg = 57.29577951308232L;
constexpr long double kPi = 3.141592653589793238462643383279502884L;
// The offset keeps the arctangent's divisor away from zero.
constexpr long double kVerticalOffset = 0.0001L;

}  // namespace

bool KvRectIntersection(const TRect& a, const TRect& b, TRect& out) {
  out.Left = KvMaxInt(a.Left, b.Left);
  out.Top = KvMaxInt(a.Top, b.Top);
  out.Right = KvMinInt(a.Right, b.Right);
  out.Bottom = KvMinInt(a.Bottom, b.Bottom);
  return !(out.Right < out.Left || out.Bottom < out.Top);
}

bool KvInRect(int32_t x, int32_t y, const TRect& r) {
  return x >= r.Left && x < r.Right && y >= r.Top && y <= r.Bottom;
}

bool KvRectIsRect(const TRect& a, const TRect& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

bool KvRectInRect(const TRect& a, const TRect& b) {
  return a.Left >= b.Left && a.Right <= b.Right && a.Top >= b.Top && a.Bottom <= b.Bottom;
}

void KvBorder(TRect& r, int32_t n) {
  KvMultiBorder(r, n, n, n, n);
}

void KvMultiBorder(TRect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  r.Left = Wrap(int64_t(r.Left) + left);
  r.Top = Wrap(int64_t(r.Top) + top);
  r.Right = Wrap(int64_t(r.Right) - right);
  r.Bottom = Wrap(int64_t(r.Bottom) - bottom);
}

TPoint KvCenterPoint(const TRect& r) {
  return TPoint(Wrap(r.Left + Width(r) / 2), Wrap(r.Top + Height(r) / 2));
}

int32_t KvGetRadius(const TRect& r) {
  const int64_t w = Width(r);
  const int64_t h = Height(r);
  return Wrap(h < w ? h / 2 : w / 2);
}

void KvGetMaxRect(int32_t x, int32_t y, TRect& r) {
  if (x < r.Left) r.Left = x;
  if (x > r.Right) r.Right = x;
  if (y < r.Top) r.Top = y;
  if (y > r.Bottom) r.Bottom = y;
}

TRect KvMakeSquare(const TRect& r) {
  TRect result = r;
  const int64_t w = Width(r);
  const int64_t h = Height(r);
  if (w > h)
    result.Right = Wrap(r.Left + h);
  else
    result.Bottom = Wrap(r.Top + w);
  return result;
}

TRect KvMakeCenterSquare(const TRect& r) {
  TRect result = r;
  const int64_t w = Width(r);
  const int64_t h = Height(r);
  if (h < w) {
    const int64_t cx = r.Left + w / 2;
    result.Left = Wrap(cx - h / 2);
    result.Right = Wrap(int64_t(result.Left) + h);
  } else {
    const int64_t cy = r.Top + h / 2;
    result.Top = Wrap(cy - w / 2);
    result.Bottom = Wrap(int64_t(result.Top) + w);
  }
  return result;
}

TPoint KvRotate(const TPoint& p, const TPoint& centre, float angle, bool clockwise) {
  // An infinite or undefined angle names no turn; the point stays put.
  if (!std::isfinite(angle)) return p;
  const float a = static_cast<float>(static_cast<long double>(angle) * kDegToRad);
  const long double s = std::sin(static_cast<long double>(a));
  const long double c = std::cos(static_cast<long double>(a));
  const long double dx = static_cast<long double>(int64_t(p.X) - centre.X);
  const long double dy = static_cast<long double>(int64_t(p.Y) - centre.Y);
  long double ox, oy;
  if (clockwise) {
    ox = dx * c - dy * s;
    oy = dy * c + dx * s;
  } else {
    ox = dx * c + dy * s;
    oy = dy * c - dx * s;
  }
  // Each offset is rounded on its own, halves to the even neighbour.
  return TPoint(Wrap(centre.X + Round(ox)), Wrap(centre.Y + Round(oy)));
}

float KvGetAngle(const TPoint& p, const TPoint& centre) {
  const long double across = static_cast<long double>(int64_t(centre.X) - p.X);
  const long double up = static_cast<long double>(int64_t(centre.Y) - p.Y) + kVerticalOffset;
  float angle;
  if (p.Y == centre.Y) {
    const float halfPi = static_cast<float>(kPi / 2);
    angle = centre.X > p.X ? halfPi : -halfPi;
  } else if (p.Y > centre.Y) {
    angle = static_cast<float>(std::atan(-across / up));
  } else if (centre.X > p.X) {
    angle = static_cast<float>(kPi - std::atan(across / up));
  } else {
    angle = static_cast<float>(-std::atan(across / up) - kPi);
  }
  return static_cast<float>(static_cast<long double>(angle) * kRadToDeg + 180);
}

bool KvInCircle(int32_t x, int32_t y, const TRect& r) {
  const int64_t w = Width(r);
  const long double cx = r.Left + static_cast<long double>(w) / 2;
  const long double cy = r.Top + static_cast<long double>(Height(r)) / 2;
  const double dx = static_cast<double>(x - cx);
  const double dy = static_cast<double>(y - cy);
  const long double dx2 = static_cast<long double>(dx) * dx;
  const long double dy2 = static_cast<long double>(dy) * dy;
  return static_cast<long double>(w) >= 2 * std::sqrt(dx2 + dy2);
}

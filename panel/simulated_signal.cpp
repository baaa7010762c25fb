#include "panel/simulated_signal.h"

#include <algorithm>
#include <cmath>
#include <limits>

double SimulatedLevel(double time, int channel) {
  const double c = double(channel);
  const double level = 0.5 + 0.32 * std::sin(0.9 * time + 2.1 * c) + 0.14 * std::sin(2.3 * time + 1.3 * c) +
                       0.04 * std::sin(5.1 * time + 0.7 * c);
  // Rounding may step a hair outside the range at the very peaks.
  return std::clamp(level, 0.0, 1.0);
}

double ValueOnRange(double level, double from, double to, bool logarithmic) {
  if (!std::isfinite(from) || !std::isfinite(to)) return std::numeric_limits<double>::quiet_NaN();
  const double t = std::isnan(level) ? 0.0 : std::clamp(level, 0.0, 1.0);
  if (logarithmic && from > 0 && to > 0) return from * std::pow(to / from, t);
  // A blend rather than from + t * (to - from): it lands exactly on both ends.
  return (1.0 - t) * from + t * to;
}

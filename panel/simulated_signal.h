#pragma once
// The simulated measurement that the panel viewer moves its indicators along
// while no real signal is connected.
//
// Each indicator is a channel: its level is a sum of three sines of unrelated
// frequencies, shifted by a phase that depends on the channel number, so
// neighbouring instruments never move in step. The amplitudes add up to 0.5
// around 0.5, so the level stays inside 0..1 and is smooth in time (its rate
// of change is at most kMaxLevelRate per unit of time).
//
// Time is the panel's simulated time; the root form advances it by a fixed
// step per timer tick, scaled by its SimulationSpeed.

// The largest change of SimulatedLevel per unit of simulated time.
inline constexpr double kMaxLevelRate = 0.32 * 0.9 + 0.14 * 2.3 + 0.04 * 5.1;

// The level of `channel` at `time`, in 0..1.
double SimulatedLevel(double time, int channel);

// The value at `level` (0..1, clamped) of the range from..to: linear, or
// geometric on a logarithmic scale whose ends are both above 0. NaN when an
// end is not a finite number (such a range has no position to show).
double ValueOnRange(double level, double from, double to, bool logarithmic);

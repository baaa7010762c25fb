#pragma once
// The calculator's arithmetic: from the five inputs of the window (quantity
// q, cylinder list index i2, time t in ms, third list index k3, machine type
// index k1) three partial values and their sum.
//
// Number model: intermediates are extended precision (long double), the
// values a, B, C, D and E are stored as single (float) and read back as
// such, the constants 0.05, 0.005 and 3.14 are the doubles nearest to those
// decimals, and sin takes a double argument and returns an extended result.

#include <QString>
#include <cstdint>
#include <optional>

// Cylinder count for an index of the cylinder list: 3, 4, 5, 6, 8, 10, 12, 16
// for 0..7; any other index (no item selected, say) counts one cylinder.
int CylinderCount(int32_t i2);

struct InjectionValues {
  float a = 0;        // (14 - t) * 0.05
  float B = 0;        // sin(a) * -0.5
  long double r = 0;  // q / c
  float C = 0;        // (r - 25) scaled by the branch
  float D = 0;        // sin(C + 3.14) scaled by the branch
  float E = 0;        // r / t with the two list corrections
  long double S = 0;  // E + B + D
};

// The values for the inputs. Every 32-bit input is allowed except t = 0,
// which divides by zero: then the result is empty.
std::optional<InjectionValues> ComputeInjectionValues(int32_t q, int32_t i2, int32_t t, int32_t k3,
                                                      int32_t k1);

struct InjectionTexts {
  QString memo;    // E, B and D in the fixed format of precision 2, blank-separated
  QString result;  // S in the fixed format of precision 3
};

// The two texts the window shows for the values (with the user's decimal separator).
InjectionTexts FormatInjection(const InjectionValues& values);

// Both steps; empty for t = 0.
std::optional<InjectionTexts> ComputeInjection(int32_t q, int32_t i2, int32_t t, int32_t k3, int32_t k1);

#pragma once
// The calculator as a filter ("vort --calc"): each input line holds the five
// inputs "q i2 t k3 k1" as whitespace-separated decimal integers (any 32-bit
// values); each output line holds the memo text, a TAB and the result text,
// exactly as the window would show them.
//
//  - A line with t = 0 gets "error: time 0 ms divides by zero" as its output.
//  - A malformed line gets "error: malformed input" as its output, so that
//    output lines stay paired with input lines, and a message on the error
//    stream naming its line number and its text. Processing goes on; the
//    exit status is 1 at the end.
//  - Blank lines are skipped without output. "\r\n" line ends are accepted.

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

using TCalcInputs = std::array<int32_t, 5>;  // q, i2, t, k3, k1

enum class TCalcLine { Blank, Inputs, Malformed };

// Splits and converts one line (without its line break).
TCalcLine ParseCalcLine(std::string_view line, TCalcInputs& inputs);

// Appends the output line for the inputs (with its "\n") to `out`.
void AppendCalcOutput(const TCalcInputs& inputs, std::string& out);

// Reads `in` to its end, writes the results to `out` and the complaints to
// `err`. Returns the exit status: 0, or 1 when a line was malformed or the
// input could not be read.
int RunCalcFilter(std::FILE* in, std::FILE* out, std::FILE* err);

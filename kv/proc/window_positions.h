#pragma once
// Remembering a window's place on the screen.
//
// KvSaveFormPos writes the window's position, pulled onto the primary screen,
// to the registry under KavelRootKey, key KavelKeyPath + the window's class
// name ("SOFTWARE\Kavel VCL\Data\TForm1"), as the binary value "Position":
// 8 bytes, left then top, each a 32-bit signed little-endian integer. Nothing
// else (size, state) is kept.
//
// KvLoadFormPos reads that value back and moves the window there, keeping
// its size. A missing key or value leaves the window where it is (still
// pulled onto the screen); a shorter binary value replaces only its first
// bytes. A value of text or integer type, or longer than 8 bytes, raises
// "Invalid data type for 'Position'" and the window does not move. Writing
// where the store cannot be written raises "Failed to set data for 'Position'".
//
// Pulling onto the screen (both procedures): a negative left becomes 0, then
// a window reaching past the right edge is moved left until it ends there; the
// same for top and bottom. The right and bottom corrections come last, so a
// window wider than the screen ends with a negative left.

#include <QSize>
#include <functional>

#include "platform/controls/form.h"
#include "platform/core/types.h"

// The position (left, top) of a window of the given size, pulled onto a
// screen of the given size. An invalid screen size (no screen) leaves out the
// right and bottom corrections.
TPoint KvClampFormPos(TPoint position, int width, int height, QSize screen);

void KvSaveFormPos(TForm* Form);
void KvLoadFormPos(TForm* Form);

// Where the primary screen's size comes from; a test may replace it (an
// empty source restores the real screen). Returns the previous source.
using TScreenSizeSource = std::function<QSize()>;
TScreenSizeSource KvSetScreenSizeSource(TScreenSizeSource source);

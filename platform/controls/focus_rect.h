#pragma once
// The keyboard focus indicator of the framework's own controls: a dotted
// rectangle, every other pixel of its outline set, drawn inside the control
// (a button's caption area, a spinner's arrows). Style-independent, so that
// a focused button or spinner shows it whatever Qt style is in use.

#include <QColor>
#include <QPainter>
#include <QRect>

// Draws the dotted outline of `rect` (all four edges lie inside it) in
// `color`; pixels whose x + y is even are set, the others left alone.
void DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& color);

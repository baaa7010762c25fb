#pragma once
// Colour names for form descriptions: every named and system colour of the
// framework streams by its identifier ("clBtnFace"); any other colour value is
// written as an 8-digit hexadecimal number "$00BBGGRR" so its bytes stay
// readable.

#include <QString>
#include <functional>

#include "platform/core/types.h"

// The identifier of `color`, or false when it has none.
bool ColorToIdent(TColor color, QString& ident);
// The colour named `ident` (case-insensitive), or false for an unknown name.
bool IdentToColor(const QString& ident, TColor& color);
// The identifier of `color`, else "$00BBGGRR" ("$80000020" for an unnamed
// system colour).
QString ColorToString(TColor color);
// Reads an identifier, a decimal number (optionally negative) or a "$" hex
// number of up to 8 digits. Raises EConvertError for anything else.
TColor StringToColor(const QString& text);
// Calls `visit` for every named colour in declaration order.
void GetColorValues(const std::function<void(const QString& ident)>& visit);

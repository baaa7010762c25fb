#pragma once
// The framework's bevel style: whether a framed area looks pressed into the
// surface or standing out of it (ordinal 0 and 1).

#include <QObject>

namespace BevelTypes {
Q_NAMESPACE

enum TBevelStyle { bsLowered, bsRaised };
Q_ENUM_NS(TBevelStyle)

}  // namespace BevelTypes

using TBevelStyle = BevelTypes::TBevelStyle;
using enum BevelTypes::TBevelStyle;

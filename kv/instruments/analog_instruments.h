#pragma once
// The analog instruments unit: TKvRoundMeter, TKvDial, TKvBarGauge and
// TKvKnob. Its initialisation registers the four classes with the class
// registry (so form descriptions can create them) and installs the
// instruments' accessibility factory. Every program that includes this
// header lists the unit for its TUnitsInitialization; the instruments'
// constructors Require() it, so code without such an object (tests, tools)
// finds it initialised too.

#include "kv/core/unit_init.h"

TUnit& KvAnalogInstrumentsUnit();

namespace kv_analog_instruments_detail {
inline const bool kUnitRegistered = RegisterUnit(KvAnalogInstrumentsUnit());
}  // namespace kv_analog_instruments_detail

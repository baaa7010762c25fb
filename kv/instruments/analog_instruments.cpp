#include "kv/instruments/analog_instruments.h"

#include "kv/instruments/instrument_accessible.h"
#include "kv/instruments/kv_bar_gauge.h"
#include "kv/instruments/kv_dial.h"
#include "kv/instruments/kv_knob.h"
#include "kv/instruments/kv_round_meter.h"
#include "platform/core/class_registry.h"

TUnit& KvAnalogInstrumentsUnit() {
  static TUnit unit(
      "KvAnalogInstruments",
      [] {
        RegisterComponentClass<TKvRoundMeter>();
        RegisterComponentClass<TKvDial>();
        RegisterComponentClass<TKvBarGauge>();
        RegisterComponentClass<TKvKnob>();
        KvInstallInstrumentAccessibility();
      },
      nullptr);
  return unit;
}

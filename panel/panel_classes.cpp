#include "panel/panel_classes.h"

#include "kv/controls/kv_analog_c_control.h"
#include "kv/controls/kv_analog_g_control.h"
#include "kv/controls/kv_bin_control.h"
#include "kv/controls/kv_gradient.h"
#include "kv/controls/kv_spin_button.h"
#include "kv/instruments/analog_instruments.h"
#include "kv/instruments/binary_instruments.h"
#include "kv/timers/flash_timer.h"
#include "panel/panel_flash.h"
#include "panel/panel_form.h"
#include "platform/controls/std_control_types.h"
#include "platform/core/class_registry.h"

void RegisterPanelClasses() {
  static const bool registered = [] {
    // Units that register their classes when they start.
    KvflashtUnit().Require();
    KvgradientUnit().Require();
    KvSpinButtonUnit().Require();
    RegisterStandardControls();
    // The ready instruments (they also install the accessibility factory).
    KvAnalogInstrumentsUnit().Require();
    KvBinaryInstrumentsUnit().Require();

    // The panel's own classes.
    RegisterComponentClass<TKvPanelForm>();
    RegisterComponentClass<TKvPanelFlash>();
    // The bases are complete controls that paint nothing; a panel can use
    // them as invisible value holders (a knob's linked indicator, say).
    RegisterComponentClass<TKvAnalogGControl>();
    RegisterComponentClass<TKvAnalogCControl>();
    RegisterComponentClass<TKvBinGControl>();
    return true;
  }();
  (void)registered;
}

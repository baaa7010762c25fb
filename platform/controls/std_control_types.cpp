#include "platform/controls/std_control_types.h"

#include "platform/controls/button.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/edit.h"
#include "platform/controls/image.h"
#include "platform/controls/label.h"
#include "platform/controls/memo.h"
#include "platform/controls/speed_button.h"
#include "platform/controls/up_down.h"
#include "platform/core/class_registry.h"

void RegisterStandardControls() {
  static const bool registered = [] {
    RegisterEventType<TUDClickEvent>();
    RegisterComponentClass<TLabel>();
    RegisterComponentClass<TImage>();
    RegisterComponentClass<TMemo>();
    RegisterComponentClass<TComboBox>();
    RegisterComponentClass<TUpDown>();
    RegisterComponentClass<TEdit>();
    RegisterComponentClass<TButton>();
    RegisterComponentClass<TSpeedButton>();
    return true;
  }();
  (void)registered;
}

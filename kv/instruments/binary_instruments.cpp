#include "kv/instruments/binary_instruments.h"

#include "kv/instruments/instrument_accessible.h"
#include "kv/instruments/kv_led_lamp.h"
#include "kv/instruments/kv_radio_button.h"
#include "kv/instruments/kv_spin_box.h"
#include "kv/instruments/kv_toggle_switch.h"
#include "platform/controls/keys.h"
#include "platform/controls/messages.h"
#include "platform/core/class_registry.h"
#include "platform/graphics/canvas.h"

TUnit& KvBinaryInstrumentsUnit() {
  static TUnit unit(
      "KvBinaryInstruments",
      [] {
        // The spin box creates a spin button: that unit comes first.
        KvSpinButtonUnit().Require();
        RegisterComponentClass<TKvLedLamp>();
        RegisterComponentClass<TKvToggleSwitch>();
        RegisterComponentClass<TKvRadioButton>();
        RegisterComponentClass<TKvSpinBox>();
      },
      nullptr);
  return unit;
}

namespace kv_binary {

void DrawCaption(TCanvas* canvas, const TControl& control, int left, const TRect& area) {
  const QString text = control.Caption();
  if (text.isEmpty() || left >= area.Right) return;
  canvas->SetFont(control.Font());
  if (!control.Enabled()) canvas->Font()->SetColor(clGrayText);
  canvas->Brush()->SetStyle(bsClear);
  const int top = area.Top + (area.Bottom - area.Top - canvas->TextHeight(text)) / 2;
  canvas->TextOut(left, top, text);
}

bool IsToggleKey(const TMessage& message) {
  return message.Msg == WM_KEYDOWN && message.WParam == VK_SPACE;
}

void AnnounceCheckedState(TKvBinGControl* control, std::optional<bool>& announced) {
  if (announced == control->Checked()) return;
  announced = control->Checked();
  KvAccessibleStateChanged(control);
}

}  // namespace kv_binary

#include "panel/panel_form.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "kv/controls/kv_analog_c_control.h"
#include "kv/controls/kv_analog_g_control.h"
#include "panel/simulated_signal.h"
#include "platform/core/exceptions.h"

TKvPanelForm::TKvPanelForm(TComponent* AOwner) : TForm(AOwner) {}

TKvPanelForm::~TKvPanelForm() = default;

void TKvPanelForm::SetSimulationSpeed(double value) {
  const bool valid = value == 0 || (value >= kMinSpeed && value <= kMaxSpeed);  // false for NaN
  if (!valid)
    throw EConvertError(QStringLiteral("SimulationSpeed %1 is neither 0 nor in %2..%3")
                            .arg(value)
                            .arg(kMinSpeed)
                            .arg(kMaxSpeed));
  speed_ = value;
}

std::vector<TKvAnalogGControl*> TKvPanelForm::SimulatedIndicators() const {
  std::unordered_set<const TKvAnalogGControl*> driven;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* input = qobject_cast<TKvAnalogCControl*>(Components(i)))
      if (input->ValueIndicator()) driven.insert(input->ValueIndicator());
  std::vector<TKvAnalogGControl*> indicators;
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* indicator = qobject_cast<TKvAnalogGControl*>(Components(i));
    if (indicator && !driven.count(indicator)) indicators.push_back(indicator);
  }
  return indicators;
}

void TKvPanelForm::SimulateTick(TObject* /*Sender*/) {
  if ((ComponentState() & csLoading) || (ComponentState() & csDestroying)) return;
  time_ += kTimeStep * speed_;
  // A very long run would slowly eat the sines' precision; the signal
  // repeats nowhere exactly, so wrapping is as good as any other restart.
  if (time_ > 1e6) time_ = 0;
  int channel = 0;
  for (TKvAnalogGControl* indicator : SimulatedIndicators()) {
    const TSignalSettings* signal = indicator->SignalSettings();
    const double value = ValueOnRange(SimulatedLevel(time_, channel++), signal->ValueFrom(),
                                      signal->ValueTo(), indicator->LogScale());
    if (std::isfinite(value)) indicator->SetValue(float(value));
  }
}

void TKvPanelForm::SpeedUp(TObject* /*Sender*/) {
  SetSimulationSpeed(speed_ == 0 ? kMinSpeed : std::min(speed_ * 2, kMaxSpeed));
}

void TKvPanelForm::SlowDown(TObject* /*Sender*/) {
  if (speed_ > 0) SetSimulationSpeed(std::max(speed_ / 2, kMinSpeed));
}

void TKvPanelForm::VisibleChanged() {
  // Without a parent the form would show as a window of its own.
  if (!Parent()) return;
  TForm::VisibleChanged();
}

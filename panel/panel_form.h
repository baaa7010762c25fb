#pragma once
// TKvPanelForm: the root class of an instrument panel file.
//
//   object EnginePanel: TKvPanelForm
//     ClientWidth = 480
//     ClientHeight = 300
//     object Ticker: TKvPanelFlash
//       Interval = 50
//       OnTimer = SimulateTick
//     end
//     ...instruments...
//   end
//
// It is a form without a window of its own: the viewer builds it unparented
// and then places it inside its window, so a panel that says Visible = True
// never flashes up as a separate window.
//
// Handlers a panel binds by name:
//   SimulateTick  moves every analog indicator (TKvAnalogGControl
//                 descendant) that no input control drives along the
//                 simulated signal (panel/simulated_signal.h); an indicator
//                 linked to a knob or slider (its ValueIndicator) follows
//                 that control instead;
//   SpeedUp, SlowDown   double or halve SimulationSpeed (for spin buttons).

#include <vector>

#include "platform/controls/form.h"

class TKvAnalogGControl;

class TKvPanelForm : public TForm {
  Q_OBJECT
  Q_PROPERTY(double SimulationSpeed READ SimulationSpeed WRITE SetSimulationSpeed)
  Q_CLASSINFO("default:SimulationSpeed", "1")

 public:
  // Simulated time per tick at speed 1.
  static constexpr double kTimeStep = 0.05;
  static constexpr double kMinSpeed = 1.0 / 64;
  static constexpr double kMaxSpeed = 64;

  Q_INVOKABLE explicit TKvPanelForm(TComponent* AOwner = nullptr);
  ~TKvPanelForm() override;

  double SimulationSpeed() const { return speed_; }
  // 0 freezes the simulation; otherwise kMinSpeed..kMaxSpeed. Anything else
  // (negative, NaN, too fast) raises EConvertError.
  void SetSimulationSpeed(double value);
  double SimulatedTime() const { return time_; }

  // The indicators SimulateTick moves, in component order.
  std::vector<TKvAnalogGControl*> SimulatedIndicators() const;

  Q_INVOKABLE void SimulateTick(TObject* Sender);
  Q_INVOKABLE void SpeedUp(TObject* Sender);
  Q_INVOKABLE void SlowDown(TObject* Sender);

 protected:
  void VisibleChanged() override;

 private:
  double speed_ = 1;
  double time_ = 0;
};

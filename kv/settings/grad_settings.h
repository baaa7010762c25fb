#pragma once
// TKvGradSettings: one gradient as its owner is to paint it — two colours, a
// style, and whether to paint it at all (each owner decides how it uses
// Visible). The object only stores the values and reports every change to its
// listener; painting is the owner's business (KvGradFill).
//
// Form descriptions hold the colours only when they differ from their initial
// greys; Visible and Style are always written.

#include "kv/core/kv_persistent.h"
#include "kv/proc/gradient_fill.h"

class TKvGradSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(TColor ColorFrom READ ColorFrom WRITE SetColorFrom)
  Q_PROPERTY(TColor ColorTo READ ColorTo WRITE SetColorTo)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(KvGradientTypes::TGradientStyle Style READ Style WRITE SetStyle)
  Q_CLASSINFO("default:ColorFrom", "$00E2E2E2")
  Q_CLASSINFO("default:ColorTo", "$008F8F8F")

 public:
  static constexpr TColor kDefaultColorFrom = RGBColor(226, 226, 226);
  static constexpr TColor kDefaultColorTo = RGBColor(143, 143, 143);

  Q_INVOKABLE explicit TKvGradSettings(QObject* parent = nullptr) : TKvPersistent(parent) {}
  ~TKvGradSettings() override = default;

  TColor ColorFrom() const { return colorFrom_; }
  void SetColorFrom(TColor value);
  TColor ColorTo() const { return colorTo_; }
  void SetColorTo(TColor value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TGradientStyle Style() const { return style_; }
  void SetStyle(TGradientStyle value);

  // Into another gradient settings object: its four properties are set
  // through its setters (each notifying when the value differs), then it
  // reports one change more. Any other destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

 private:
  TColor colorFrom_ = kDefaultColorFrom;
  TColor colorTo_ = kDefaultColorTo;
  bool visible_ = false;
  TGradientStyle style_ = gsHorizontal1;
};

#include "kv/instruments/instrument_accessible.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <utility>
#include <vector>

#include "kv/controls/kv_analog_c_control.h"
#include "kv/controls/kv_analog_g_control.h"
#include "kv/controls/kv_bin_control.h"
#include "platform/controls/win_control.h"

namespace {

// The windowless children of a windowed control, in painting order.
std::vector<TControl*> WindowlessChildren(const TWinControl* parent) {
  std::vector<TControl*> list;
  if (!parent) return list;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c && !qobject_cast<TWinControl*>(c)) list.push_back(c);
  }
  return list;
}

QString JoinNonEmpty(const QString& a, const QString& b) {
  if (a.isEmpty()) return b;
  if (b.isEmpty()) return a;
  return a + u' ' + b;
}

// Name, description and value text of an analog control from its signal.
QString SignalText(QAccessible::Text t, const TControl* control, const TSignalSettings* s,
                   const QString& valueText) {
  switch (t) {
    case QAccessible::Name:
      return !s->Name1().isEmpty() ? s->Name1() : control->Name();
    case QAccessible::Description:
      return JoinNonEmpty(s->Name2(), s->ValueUnit().isEmpty() ? QString() : u'(' + s->ValueUnit() + u')');
    case QAccessible::Value:
      return JoinNonEmpty(valueText, s->ValueUnit());
    default:
      return {};
  }
}

// The value interface of an analog control (TKvAnalogGControl or
// TKvAnalogCControl): the value, and the range and step of its signal.
template <typename Control>
class TSignalValueAccess : public QAccessibleValueInterface {
 public:
  QVariant currentValue() const override {
    const Control* c = ValueControl();
    return c ? QVariant(c->Value()) : QVariant();
  }
  QVariant maximumValue() const override {
    const Control* c = ValueControl();
    return c ? QVariant(c->SignalSettings()->ValueTo()) : QVariant();
  }
  QVariant minimumValue() const override {
    const Control* c = ValueControl();
    return c ? QVariant(c->SignalSettings()->ValueFrom()) : QVariant();
  }
  QVariant minimumStepSize() const override {
    const Control* c = ValueControl();
    return c ? QVariant(c->SignalSettings()->ValuePerDigit) : QVariant();
  }

 protected:
  // The control, null once it is gone.
  virtual Control* ValueControl() const = 0;
};

// A windowless control: its own interface, a child of its parent widget's.
class TWindowlessAccessible : public QAccessibleObject {
 public:
  explicit TWindowlessAccessible(TControl* control) : QAccessibleObject(control), control_(control) {}

  bool isValid() const override { return control_ && QAccessibleObject::isValid(); }
  QWindow* window() const override {
    QWidget* w = ParentWidget();
    return w && w->window() ? w->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    QWidget* w = ParentWidget();
    return w ? QAccessible::queryAccessibleInterface(w) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QRect rect() const override {
    QWidget* w = ParentWidget();
    if (!w || !control_) return {};
    const QRect local = control_->BoundsRect().toQRect();
    return QRect(w->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!control_) {
      s.invalid = true;
      return s;
    }
    s.invisible = !control_->Visible();
    s.disabled = !control_->Enabled();
    return s;
  }

 protected:
  QWidget* ParentWidget() const {
    TWinControl* p = control_ ? control_->Parent() : nullptr;
    return p ? p->Widget() : nullptr;
  }
  QPointer<TControl> control_;
};

class TAnalogIndicatorAccessible : public TWindowlessAccessible,
                                   public TSignalValueAccess<TKvAnalogGControl> {
 public:
  explicit TAnalogIndicatorAccessible(TKvAnalogGControl* control) : TWindowlessAccessible(control) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
  }
  QAccessible::Role role() const override { return QAccessible::ProgressBar; }
  QAccessible::State state() const override {
    QAccessible::State s = TWindowlessAccessible::state();
    s.readOnly = true;
    return s;
  }
  QString text(QAccessible::Text t) const override {
    const TKvAnalogGControl* c = Control();
    return c ? SignalText(t, c, c->SignalSettings(), c->ValueText()) : QString();
  }

  // An indicator shows a measurement; it cannot be set from outside.
  void setCurrentValue(const QVariant&) override {}

 private:
  TKvAnalogGControl* Control() const { return static_cast<TKvAnalogGControl*>(control_.data()); }
  TKvAnalogGControl* ValueControl() const override { return Control(); }
};

class TBinaryAccessible : public TWindowlessAccessible {
 public:
  explicit TBinaryAccessible(TKvBinGControl* control) : TWindowlessAccessible(control) {}

  QAccessible::Role role() const override {
    const TKvBinGControl* c = Control();
    switch (c ? c->Mode() : mIndicator) {
      case mButton:
        return QAccessible::Button;
      case mSwitch:
        return QAccessible::CheckBox;
      case mRadioButton:
        return QAccessible::RadioButton;
      case mIndicator:
        break;
    }
    return QAccessible::Indicator;
  }
  QAccessible::State state() const override {
    QAccessible::State s = TWindowlessAccessible::state();
    if (const TKvBinGControl* c = Control()) {
      s.checkable = true;
      s.checked = c->Checked();
      s.readOnly = c->Mode() == mIndicator;
      s.pressed = c->Mode() == mButton && c->Checked();
    }
    return s;
  }
  QString text(QAccessible::Text t) const override {
    const TKvBinGControl* c = Control();
    if (!c) return {};
    switch (t) {
      case QAccessible::Name:
        return !c->Caption().isEmpty() ? c->Caption() : c->Name();
      case QAccessible::Description:
        return c->Hint();
      case QAccessible::Value:
        return c->Checked() ? QStringLiteral("on") : QStringLiteral("off");
      default:
        return {};
    }
  }

 private:
  TKvBinGControl* Control() const { return static_cast<TKvBinGControl*>(control_.data()); }
};

// A control's plain widget, with the control's windowless children listed
// after the widget's own children.
class TContainerAccessible : public QAccessibleWidget {
 public:
  TContainerAccessible(QWidget* widget, TWinControl* control, QAccessible::Role role = QAccessible::Client)
      : QAccessibleWidget(widget, role), control_(control) {}

  int childCount() const override {
    return QAccessibleWidget::childCount() + int(WindowlessChildren(control_).size());
  }
  QAccessibleInterface* child(int index) const override {
    const int own = QAccessibleWidget::childCount();
    if (index < own) return QAccessibleWidget::child(index);
    const std::vector<TControl*> list = WindowlessChildren(control_);
    const size_t k = size_t(index - own);
    return index >= 0 && k < list.size() ? QAccessible::queryAccessibleInterface(list[k]) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    const std::vector<TControl*> list = WindowlessChildren(control_);
    for (size_t k = 0; k < list.size(); ++k)
      if (list[k] == child->object()) return QAccessibleWidget::childCount() + int(k);
    return QAccessibleWidget::indexOfChild(child);
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    // Windowless children lie under the widget children; the topmost one
    // (last painted) wins among them.
    if (QAccessibleInterface* w = QAccessibleWidget::childAt(x, y)) return w;
    const std::vector<TControl*> list = WindowlessChildren(control_);
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(*it);
      if (iface && !iface->state().invisible && iface->rect().contains(x, y)) return iface;
    }
    return nullptr;
  }

 protected:
  QPointer<TWinControl> control_;
};

class TAnalogInputAccessible : public TContainerAccessible, public TSignalValueAccess<TKvAnalogCControl> {
 public:
  TAnalogInputAccessible(QWidget* widget, TKvAnalogCControl* control)
      : TContainerAccessible(widget, control, QAccessible::Slider) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return TContainerAccessible::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    const TKvAnalogCControl* c = Control();
    if (!c) return QAccessibleWidget::text(t);
    const QString s = SignalText(t, c, c->SignalSettings(), FormatValue(c));
    return s.isEmpty() ? QAccessibleWidget::text(t) : s;
  }

  void setCurrentValue(const QVariant& value) override {
    bool ok = false;
    const float v = value.toFloat(&ok);
    if (ok && Control()) Control()->SetValue(v);
  }

 private:
  TKvAnalogCControl* Control() const { return qobject_cast<TKvAnalogCControl*>(control_.data()); }
  TKvAnalogCControl* ValueControl() const override { return Control(); }
  static QString FormatValue(const TKvAnalogCControl* c) { return QString::number(double(c->Value())); }
};

TKvAccessibleObserver gObserver = nullptr;

void Announce(QAccessibleEvent& event) {
  if (gObserver) gObserver(&event);
  if (QAccessible::isActive()) QAccessible::updateAccessibility(&event);
}

// The object an event about `control` names: its widget when it has one.
QObject* EventTarget(TControl* control) {
  if (auto* w = qobject_cast<TWinControl*>(control)) return w->Widget();
  return control;
}

}  // namespace

QAccessibleInterface* KvInstrumentAccessibleFactory(const QString& key, QObject* object) {
  if (!object) return nullptr;
  if (key == QLatin1String("TKvAnalogGControl")) {
    if (auto* c = qobject_cast<TKvAnalogGControl*>(object)) return new TAnalogIndicatorAccessible(c);
  } else if (key == QLatin1String("TKvBinGControl")) {
    if (auto* c = qobject_cast<TKvBinGControl*>(object)) return new TBinaryAccessible(c);
  } else if (key == QLatin1String("QWidget") && object->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(object);
    TWinControl* control = TWinControl::FindControl(widget);
    if (!control || control->Widget() != widget) return nullptr;
    if (auto* input = qobject_cast<TKvAnalogCControl*>(control))
      return new TAnalogInputAccessible(widget, input);
    return new TContainerAccessible(widget, control,
                                    widget->isWindow() ? QAccessible::Window : QAccessible::Client);
  }
  return nullptr;
}

void KvInstallInstrumentAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&KvInstrumentAccessibleFactory);
    return true;
  }();
  (void)installed;
}

TKvAccessibleObserver KvSetAccessibleObserver(TKvAccessibleObserver observer) {
  return std::exchange(gObserver, observer);
}

void KvAccessibleValueChanged(TControl* control) {
  if (!control || (!gObserver && !QAccessible::isActive())) return;
  QObject* target = EventTarget(control);
  if (!target) return;
  QVariant value;
  if (auto* g = qobject_cast<TKvAnalogGControl*>(control))
    value = g->Value();
  else if (auto* c = qobject_cast<TKvAnalogCControl*>(control))
    value = c->Value();
  QAccessibleValueChangeEvent event(target, value);
  Announce(event);
}

void KvAccessibleStateChanged(TControl* control) {
  if (!control || (!gObserver && !QAccessible::isActive())) return;
  QObject* target = EventTarget(control);
  if (!target) return;
  QAccessible::State changed;
  changed.checked = true;
  changed.pressed = true;
  QAccessibleStateChangeEvent event(target, changed);
  Announce(event);
}

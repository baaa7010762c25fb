#pragma once
// Accessibility of the library's instruments.
//
// One interface factory, installed once (KvInstallInstrumentAccessibility),
// serves three kinds of object. Qt asks it with every class name of an
// object's meta-object chain, most derived first, so it answers at the base
// class level and every descendant is covered without code of its own:
//  - a windowless analog indicator (key "TKvAnalogGControl"): its own
//    interface with its bounds as rectangle, a value interface reading
//    Value, SignalSettings.ValueFrom and ValueTo;
//  - a windowless two-state control (key "TKvBinGControl"): checkable, and
//    checked while Checked;
//  - a control's plain widget (key "QWidget" on a widget that belongs to a
//    TWinControl): the usual widget interface, with the control's windowless
//    children added after its widget children (a windowless control has no
//    widget, so this is how it is found); for a TKvAnalogCControl also the
//    value interface.
// Names: an analog control's Name1 (else its component name), description
// Name2 and unit; a two-state control's Caption (else its component name),
// description its Hint.
//
// The announce functions send the matching event for a control; instruments
// call them when their value or state changes. They build no event while no
// assistive technology listens (QAccessible::isActive) and no observer is
// set. Qt hands events to an update handler only while accessibility is
// active, which it never is on the offscreen platform; the observer sees
// every event the announce functions make, for tests and for logging.

class QAccessibleEvent;
class QAccessibleInterface;
class QObject;
class QString;
class TControl;

// Installs the factory (once per process; later calls do nothing).
void KvInstallInstrumentAccessibility();

// The value of an analog control changed.
void KvAccessibleValueChanged(TControl* control);
// The checked state of a two-state control changed.
void KvAccessibleStateChanged(TControl* control);

// Sets the observer of announced events (null: none) and returns the
// previous one. GUI thread only.
using TKvAccessibleObserver = void (*)(QAccessibleEvent* event);
TKvAccessibleObserver KvSetAccessibleObserver(TKvAccessibleObserver observer);

// The factory itself, exposed for tests.
QAccessibleInterface* KvInstrumentAccessibleFactory(const QString& key, QObject* object);

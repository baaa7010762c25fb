#pragma once
// Events: a single optional callback with the sender first. An event may also
// remember the receiver and method name it was bound to by name, so that form
// descriptions can store it and bind it again ("OnClick = Button1Click").

#include <QByteArray>
#include <QHash>
#include <QMetaMethod>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <functional>
#include <utility>

#include "platform/core/types.h"

template <typename... Args>
class TEvent {
 public:
  using Function = std::function<void(Args...)>;

  TEvent() = default;
  TEvent(std::nullptr_t) {}  // NOLINT: "OnChange = nullptr" clears the event
  template <typename F, typename = std::enable_if_t<std::is_invocable_v<F&, Args...> &&
                                                    !std::is_same_v<std::decay_t<F>, TEvent>>>
  TEvent(F&& f) : fn_(std::forward<F>(f)) {}  // NOLINT: implicit from any callable

  // Binds a member function to its receiver: TEvent(this, &TForm1::Button1Click).
  template <typename R, typename M>
  TEvent(R* receiver, void (M::*method)(Args...))
      : fn_([receiver, method](Args... a) { (receiver->*method)(std::forward<Args>(a)...); }),
        receiver_(receiver_object(receiver)) {}

  // Binds the invokable method `name` of `receiver` (a slot or Q_INVOKABLE
  // taking exactly these arguments). Returns an unassigned event when the
  // receiver has no such method.
  static TEvent BindByName(QObject* receiver, const QByteArray& name) {
    TEvent e;
    if (!receiver) return e;
    const QMetaObject* mo = receiver->metaObject();
    for (int i = 0; i < mo->methodCount(); ++i) {
      const QMetaMethod m = mo->method(i);
      if (m.name() != name || m.parameterCount() != int(sizeof...(Args))) continue;
      if (m.methodType() != QMetaMethod::Slot && m.methodType() != QMetaMethod::Method) continue;
      if (!ParametersMatch(m, std::index_sequence_for<Args...>{})) continue;
      QPointer<QObject> target(receiver);
      e.fn_ = [target, m](Args... a) {
        if (target) m.invoke(target.data(), Qt::DirectConnection, MakeArgument<Args>(a)...);
      };
      e.receiver_ = receiver;
      e.method_ = name;
      return e;
    }
    return e;
  }

  explicit operator bool() const { return bool(fn_); }
  bool Assigned() const { return bool(fn_); }
  void operator()(Args... a) const {
    if (fn_) fn_(std::forward<Args>(a)...);
  }
  // Receiver and method name when bound by name (empty otherwise).
  QObject* Receiver() const { return receiver_.data(); }
  const QByteArray& MethodName() const { return method_; }
  // Two events are equal when both are unassigned or both were bound by name
  // to the same receiver and method; plain callables never compare equal.
  friend bool operator==(const TEvent& a, const TEvent& b) {
    if (!a.fn_ && !b.fn_) return true;
    return !a.method_.isEmpty() && a.method_ == b.method_ && a.receiver_ == b.receiver_;
  }

 private:
  template <typename R>
  static QObject* receiver_object(R* r) {
    if constexpr (std::is_base_of_v<QObject, R>) return r;
    else return nullptr;
  }
  template <std::size_t... I>
  static bool ParametersMatch(const QMetaMethod& m, std::index_sequence<I...>) {
    return ((m.parameterMetaType(int(I)) == QMetaType::fromType<std::decay_t<Args>>() ||
             (std::is_pointer_v<std::decay_t<Args>> && m.parameterMetaType(int(I)).flags() &
                                                           QMetaType::PointerToQObject) ||
             // A handler that may change an argument (Key, Action) takes it by
             // non-const reference; the meta-object has no type for those, only
             // the written name ending in "&".
             (IsOutParameter<Args>() && !m.parameterMetaType(int(I)).isValid() &&
              m.parameterTypes().at(int(I)).endsWith('&'))) &&
            ...);
  }
  template <typename A>
  static constexpr bool IsOutParameter() {
    return std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;
  }
  template <typename A>
  static QGenericArgument MakeArgument(A& value) {
    return QGenericArgument(QMetaType::fromType<std::decay_t<A>>().name(), &value);
  }

  Function fn_;
  QPointer<QObject> receiver_;
  QByteArray method_;
};

using TNotifyEvent = TEvent<TObject*>;

// Streaming support: form descriptions read and write event properties of any
// TEvent type through this table, keyed by the property's meta type.
struct TEventTypeInfo {
  // Binds the event stored at `event` to receiver.method; false if no such method.
  bool (*bind)(void* event, QObject* receiver, const QByteArray& method);
  // The bound method name of the event at `event` (empty when not bound by name).
  QByteArray (*methodName)(const void* event);
  // Clears the event at `event`.
  void (*clear)(void* event);
};

const TEventTypeInfo* FindEventType(QMetaType type);
void RegisterEventTypeInfo(QMetaType type, const TEventTypeInfo& info);

template <typename E>
void RegisterEventType() {
  RegisterEventTypeInfo(QMetaType::fromType<E>(),
                        TEventTypeInfo{[](void* e, QObject* r, const QByteArray& m) {
                                         E bound = E::BindByName(r, m);
                                         if (!bound) return false;
                                         *static_cast<E*>(e) = std::move(bound);
                                         return true;
                                       },
                                       [](const void* e) { return static_cast<const E*>(e)->MethodName(); },
                                       [](void* e) { *static_cast<E*>(e) = E(); }});
}

Q_DECLARE_METATYPE(TNotifyEvent)

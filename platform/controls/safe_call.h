#pragma once
// Every entry from Qt into the framework's handlers (paint, mouse, keyboard,
// focus, clicks, timers) runs through SafeCall: an exception must never
// unwind through Qt's event loop, so it is caught here and handed to
// Application->HandleException (or written to stderr when there is no
// application object).

#include <exception>
#include <utility>

// Hands the exception to the application object's handling. Never throws.
void HandleExceptionAtEntry(std::exception_ptr error) noexcept;

// Runs `f`; an exception escaping it is reported and swallowed. Returns true
// when `f` finished normally.
template <typename F>
bool SafeCall(F&& f) noexcept {
  try {
    std::forward<F>(f)();
    return true;
  } catch (...) {
    HandleExceptionAtEntry(std::current_exception());
    return false;
  }
}

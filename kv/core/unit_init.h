#pragma once
// One-time initialisation and finalisation of the library's units.
//
// A unit (the identification object, the flash timer, the procedure unit's
// process-wide values, ...) describes itself with a TUnit: a name and an
// initialisation and a finalisation function. A counter per unit makes each
// of them run once however many times the unit is required:
//
//   TUnit& KvInfoUnit() {                  // function-local static: exists on
//     static TUnit unit("_kvinfo",         // first use, whatever the order in
//                       &CreateInfo,       // which files are initialised
//                       &FreeInfo);
//     return unit;
//   }
//   [[maybe_unused]] const bool registered = RegisterUnit(KvInfoUnit());
//
// Registration only records the unit; it runs no code of the unit. Two ways
// bring a unit up:
//  - The program's main() creates a TUnitsInitialization before the
//    application object and the main form; it initialises every registered
//    unit in registration order and, when it goes out of scope at exit,
//    finalises them in reverse order. Create it first in main() so that it is
//    destroyed last, after the forms that use the units.
//  - A unit's own entry points call Require() on it, so code that runs without
//    such an object (tests, tools) still finds the unit initialised. A unit
//    brought up this way and not finalised explicitly is finalised when the
//    process exits.
// Nothing depends on the order in which static objects of different files are
// initialised: the registry and the units are function-local statics.

#include <exception>
#include <functional>

class TUnit {
 public:
  using Procedure = std::function<void()>;
  TUnit(const char* name, Procedure initialization, Procedure finalization);
  ~TUnit() = default;
  TUnit(const TUnit&) = delete;
  TUnit& operator=(const TUnit&) = delete;

  const char* Name() const { return name_; }
  // Number of holders; the unit is initialised while it is above 0.
  int Count() const { return count_; }
  bool Initialized() const { return count_ > 0; }

  // Adds a holder; the first one runs the initialisation. If the
  // initialisation raises, the count stays as it was and the error goes on.
  void Initialize();
  // Drops a holder; the last one runs the finalisation. Without holders it
  // does nothing.
  void Finalize();
  // Initialises the unit if nobody holds it yet; the process exit releases
  // such a lazy hold.
  void Require();

 private:
  const char* name_;
  Procedure initialization_;
  Procedure finalization_;
  int count_ = 0;
};

// Records `unit` for TUnitsInitialization (once, however often it is called).
// Returns true so that it can initialise a namespace-scope constant.
bool RegisterUnit(TUnit& unit);

// Brings up every registered unit for its lifetime (see above).
class TUnitsInitialization {
 public:
  TUnitsInitialization();
  // The same, except that a unit whose initialisation raises does not end
  // the constructor with its error: the units already brought up are
  // finalised again, the error is stored in `*error` and the object holds
  // nothing. A program keeps the error to show it once its application
  // object exists (the standard error box needs one).
  explicit TUnitsInitialization(std::exception_ptr* error);
  ~TUnitsInitialization();
  TUnitsInitialization(const TUnitsInitialization&) = delete;
  TUnitsInitialization& operator=(const TUnitsInitialization&) = delete;

 private:
  int initialized_ = 0;  // how many registered units this object holds
};

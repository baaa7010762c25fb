#include "kv/core/unit_init.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The registered units and the lazily required ones. A function-local static,
// constructed on the first registration or requirement; being constructed
// before anything that requires a unit lazily, it is destroyed after it and
// releases the lazy holds at process exit, last required first.
struct Registry {
  std::vector<TUnit*> units;
  std::vector<TUnit*> lazy;
  ~Registry() {
    for (auto it = lazy.rbegin(); it != lazy.rend(); ++it) (*it)->Finalize();
  }
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

TUnit::TUnit(const char* name, Procedure initialization, Procedure finalization)
    : name_(name), initialization_(std::move(initialization)), finalization_(std::move(finalization)) {}

void TUnit::Initialize() {
  if (count_ == 0 && initialization_) initialization_();
  ++count_;
}

void TUnit::Finalize() {
  if (count_ == 0) return;
  if (--count_ == 0 && finalization_) finalization_();
}

void TUnit::Require() {
  if (count_ > 0) return;
  Registry& r = registry();
  Initialize();
  r.lazy.push_back(this);
}

bool RegisterUnit(TUnit& unit) {
  Registry& r = registry();
  if (std::find(r.units.begin(), r.units.end(), &unit) == r.units.end()) r.units.push_back(&unit);
  return true;
}

TUnitsInitialization::TUnitsInitialization() {
  // If one initialisation raises, the units already brought up are finalised
  // again before the error leaves the constructor.
  Registry& r = registry();
  try {
    for (TUnit* unit : r.units) {
      unit->Initialize();
      ++initialized_;
    }
  } catch (...) {
    while (initialized_ > 0) r.units[size_t(--initialized_)]->Finalize();
    throw;
  }
}

TUnitsInitialization::TUnitsInitialization(std::exception_ptr* error) {
  try {
    TUnitsInitialization all;
    initialized_ = std::exchange(all.initialized_, 0);
  } catch (...) {
    *error = std::current_exception();
  }
}

TUnitsInitialization::~TUnitsInitialization() {
  Registry& r = registry();
  while (initialized_ > 0) r.units[size_t(--initialized_)]->Finalize();
}

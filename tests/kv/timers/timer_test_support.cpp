#include "tests/kv/timers/timer_test_support.h"

namespace kv::test {
namespace {

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete owned;
    owned = nullptr;
  }
  TApplication* owned = nullptr;
};

ApplicationEnvironment* const gEnvironment =
    static_cast<ApplicationEnvironment*>(::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));

}  // namespace

TApplication* TestApplication() {
  if (!Application) gEnvironment->owned = new TApplication(nullptr);
  return Application;
}

}  // namespace kv::test

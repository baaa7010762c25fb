#include "tests/platform/forms/form_test_classes.h"

#include "platform/core/class_registry.h"

int TestLog::live = 0;
std::vector<QString> TestLog::loaded;
std::vector<QString> TestLog::setters;
bool TTestFragile::failConstruction = false;

void RegisterFormTestClasses() {
  RegisterEventType<TValueEvent>();
  RegisterComponentClass<TTestItem>();
  RegisterComponentClass<TTestControl>();
  RegisterComponentClass<TTestFragile>();
  RegisterComponentClass<TTestForm>();
  RegisterComponentClass<TOtherForm>();
  RegisterComponentClass<TTestPlain>();
  RegisterComponentClass<TTestGradient>();
}

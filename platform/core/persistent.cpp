#include "platform/core/persistent.h"

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  if (Dest) Dest->AssignError(this);
  throw EConvertError(Exception::Fmt(SAssignError, ClassName(), "nil"));
}

void TPersistent::AssignError(TPersistent* Source) {
  const QString source = Source ? Source->ClassName() : QStringLiteral("nil");
  throw EConvertError(Exception::Fmt(SAssignError, source, ClassName()));
}

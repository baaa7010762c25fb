#include "kv/core/kv_info.h"

#include "kv/core/identification_texts.h"

namespace {

// Constant-initialised, so usable from any static initialiser; owned by the
// unit between its initialisation and finalisation.
TKvInfo* info = nullptr;

void CreateInfo() {
  info = new TKvInfo();
}

void FreeInfo() {
  delete info;
  info = nullptr;
}

[[maybe_unused]] const bool registered = RegisterUnit(KvInfoUnit());

}  // namespace

TKvInfo::TKvInfo()
    : pName_(QString::fromUtf8(::pName)),
      pVersion_(QString::fromUtf8(::pVersion)),
      copyright_(QString::fromUtf8(::Copyright)),
      mail_(QString::fromUtf8(::Mail)),
      www_(QString::fromUtf8(::WWW)) {}

TUnit& KvInfoUnit() {
  static TUnit unit("_kvinfo", &CreateInfo, &FreeInfo);
  return unit;
}

TKvInfo* LoadKavelInfo() {
  KvInfoUnit().Require();
  return info;
}

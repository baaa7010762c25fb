#include "panel/panel_flash.h"

#include "platform/core/exceptions.h"

TKvPanelFlash::TKvPanelFlash(TComponent* AOwner) : TKvFlash(AOwner) {}

TKvPanelFlash::~TKvPanelFlash() = default;

void TKvPanelFlash::SetIntervalMs(int value) {
  if (value < 0 || value > kMaxInterval)
    throw EConvertError(
        QStringLiteral("Interval %1 is outside 0..%2 milliseconds").arg(value).arg(kMaxInterval));
  if (value > 0 && value < kMinInterval) value = kMinInterval;
  SetInterval(uint32_t(value));
}

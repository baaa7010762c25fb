#include "kv/timers/flash_timer.h"

#include <limits>
#include <utility>

#include "platform/controls/application.h"
#include "platform/controls/control.h"
#include "platform/controls/messages.h"
#include "platform/core/class_registry.h"
#include "platform/core/date_time.h"

TFlashList* dynFlashList = nullptr;
TFlashRecord* AFlashRecord = nullptr;
TKvFlashTimer* KvFlashTimer = nullptr;
double NextSecPuls = 0.0;
uint32_t FlashTick = 0;
double OneSecond = 0.0;
int16_t TimerInstances = 0;

namespace {

// The 64-bit time line of interval entries (see the header).
struct TTimeLine {
  bool known = false;
  uint32_t lastTick = 0;
  int64_t now = 0;
};
TTimeLine gTimeLine;

int64_t CurrentTime() {
  const uint32_t tick = GetTickCount();
  if (!gTimeLine.known) {
    gTimeLine.known = true;
    gTimeLine.now = tick;
  } else {
    gTimeLine.now += TickDiff(tick, gTimeLine.lastTick);
  }
  gTimeLine.lastTick = tick;
  return gTimeLine.now;
}

// a + b, held at the ends of the range instead of overflowing (a due time
// beyond any reachable time is simply never due).
int64_t AddTime(int64_t a, int64_t b) {
  int64_t sum;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

bool ApplicationDestroying() {
  return Application && (Application->ComponentState() & csDestroying);
}

void Notify(const TFlashRecord& record, int32_t value) {
  if (record.Control)
    record.Control->Perform(WM_FLASH, intptr_t(FlashTick), value);
  else
    record.Proc(int32_t(FlashTick), value);
}

// A new record, or the existing ones of the same control or procedure, get the
// value and a due time one value from now.
template <typename Match>
void Register(TControl* control, TFlashProc proc, int64_t freq, Match matches) {
  const int64_t due = AddTime(CurrentTime(), freq);
  bool found = false;
  for (const std::unique_ptr<TFlashRecord>& record : *dynFlashList) {
    if (!matches(*record)) continue;
    record->Freq = freq;
    record->NextTime = due;
    AFlashRecord = record.get();
    found = true;
  }
  if (!found) {
    auto record = std::make_unique<TFlashRecord>();
    record->Control = control;
    record->Proc = proc;
    record->Freq = freq;
    record->NextTime = due;
    AFlashRecord = record.get();
    dynFlashList->push_back(std::move(record));
  }
  // Capacity grows in steps of ten, so a tick's registrations rarely move it.
  if (dynFlashList->capacity() - dynFlashList->size() < 2) dynFlashList->reserve(dynFlashList->size() + 10);
  if (!dynFlashList->empty() && !KvFlashTimer) {
    NextSecPuls = Now() + OneSecond;
    KvFlashTimer = new TKvFlashTimer(nullptr);
  }
}

// After a deletion during shutdown, the last record takes the timer with it.
void FreeTimerIfShuttingDown() {
  if (ApplicationDestroying() && dynFlashList && dynFlashList->empty()) {
    delete std::exchange(KvFlashTimer, nullptr);
  }
}

void InitializeUnit() {
  OneSecond = 1.0 / 86400.0;
  FlashTick = 0;
  AFlashRecord = nullptr;
  gTimeLine = TTimeLine{};
  dynFlashList = new TFlashList;
  RegisterComponentClass<TKvFlash>();
  RegisterComponentClass<TKvFlashTimer>();
}

void FinalizeUnit() {
  delete std::exchange(KvFlashTimer, nullptr);
  ClearFlashList();
  delete std::exchange(dynFlashList, nullptr);
}

}  // namespace

TUnit& KvflashtUnit() {
  static TUnit unit("Kvflasht", &InitializeUnit, &FinalizeUnit);
  return unit;
}

namespace {
[[maybe_unused]] const bool registered = RegisterUnit(KvflashtUnit());
}  // namespace

void AddControl(TControl* Control, int64_t Freq) {
  if (!Control) return;
  KvflashtUnit().Require();
  Register(Control, nullptr, Freq, [Control](const TFlashRecord& r) { return r.Control == Control; });
}

void AddProc(TFlashProc Proc, int64_t Freq) {
  if (!Proc) return;
  KvflashtUnit().Require();
  // A record with a control is a control record, whatever its procedure.
  Register(nullptr, Proc, Freq, [Proc](const TFlashRecord& r) { return !r.Control && r.Proc == Proc; });
}

namespace {
// Full-width index: the list may hold more records than a 16-bit index reaches.
void DeleteAt(size_t index) {
  dynFlashList->erase(dynFlashList->begin() + ptrdiff_t(index));
  AFlashRecord = nullptr;
}
}  // namespace

void DelControlNo(int16_t Index) {
  // A negative index names no record (it must not reach the list).
  if (!dynFlashList || Index < 0 || size_t(Index) >= dynFlashList->size()) return;
  DeleteAt(size_t(Index));
}

void DelProcNo(int16_t Index) {
  DelControlNo(Index);
}

void DelControl(TControl* Control) {
  if (!dynFlashList) return;
  for (size_t i = 0; Control && i < dynFlashList->size(); ++i) {
    if ((*dynFlashList)[i]->Control == Control) {
      DeleteAt(i);
      break;
    }
  }
  FreeTimerIfShuttingDown();
}

void DelProc(TFlashProc Proc) {
  if (!dynFlashList) return;
  for (size_t i = dynFlashList->size(); Proc && i-- > 0;) {
    const TFlashRecord& record = *(*dynFlashList)[i];
    if (!record.Control && record.Proc == Proc) {
      DeleteAt(i);
      break;
    }
  }
  FreeTimerIfShuttingDown();
}

void ClearFlashList() {
  if (!dynFlashList) return;
  dynFlashList->clear();
  AFlashRecord = nullptr;
}

TKvFlashTimer::TKvFlashTimer(TComponent* AOwner) : TKvFlash(AOwner) {
  ++TimerInstances;
  if (TimerInstances == 1) {
    SetOnTimer(TNotifyEvent(this, &TKvFlashTimer::flash));
    kvInfo_ = LoadKavelInfo();
  } else if (Application) {
    Application->MessageBox(QStringLiteral("Only one TKvFlashTimer per Application!") + QLatin1Char('\r') +
                                QStringLiteral("Remove it..."),
                            QStringLiteral("Error Message"), MB_OK);
  }
}

TKvFlashTimer::~TKvFlashTimer() {
  --TimerInstances;
  // Freed by its owner (a form) or directly: the list must not refer to it.
  if (KvFlashTimer == this) KvFlashTimer = nullptr;
}

void TKvFlashTimer::flash(TObject* /*Sender*/) {
  FlashTick = FlashTick == std::numeric_limits<uint32_t>::max() ? 0 : FlashTick + 1;
  const int64_t t = CurrentTime();
  const double now = Now();
  bool secondPulse = false;
  if (now >= NextSecPuls) {
    NextSecPuls += OneSecond;  // not resynchronised: a late pulse catches up
    secondPulse = true;
  }
  if (!dynFlashList) return;
  // A notification may add or delete records: walk by index and look at the
  // list's current length each time (a record that moves into a deleted slot
  // may miss this tick). The record itself is not touched after telling it.
  const size_t count = dynFlashList->size();
  for (size_t i = 0; i < count; ++i) {
    if (ApplicationDestroying()) break;
    if (!dynFlashList || i >= dynFlashList->size()) break;
    TFlashRecord& record = *(*dynFlashList)[i];
    AFlashRecord = &record;
    if (!record.Control && !record.Proc) continue;
    try {
      if (record.Freq >= kFlashCodeFirst && record.Freq <= kFlashCodeLast) {
        const bool state = (FlashTick >> record.Freq) & 1u;
        if (state != record.State) {
          record.State = state;
          Notify(record, state ? 1 : 0);
        }
      } else if (record.Freq == kFlashSecondPulse) {
        if (secondPulse) Notify(record, 0);
      } else if (t >= record.NextTime) {
        int64_t late;
        // Too late to keep the grid (or beyond counting): start again from now.
        if (__builtin_sub_overflow(t, record.NextTime, &late) || late > 1000) late = 0;
        record.NextTime = AddTime(AddTime(t, record.Freq), -late);
        Notify(record, int32_t(late));
      }
    } catch (...) {
      // A failing entry must not stop the others or reach the timer thread.
    }
  }
}

#pragma once
// The shared flash timer: one 16 ms heartbeat for every periodic duty of the
// library. A process-wide list of flash records names controls (told by the
// message WM_FLASH) and plain procedures (called), each with a frequency code
// or an interval. The one TKvFlashTimer, created when the first record is
// added, walks the list on every tick, on the GUI thread.
//
// Frequency codes: 2..6 follow bit 2..6 of FlashTick (all entries of one code
// blink in step; an entry is told only when its state changes, the first time
// when the bit first comes on), 32 is told once per wall-clock second. Any
// other value is an interval in milliseconds: the entry is told when due,
// with its lateness as the value; up to one second late it stays on the grid
// of its first due time, later it starts again from now and is told 0.
//
// Interval entries are scheduled on a 64-bit millisecond time line that
// follows the 32-bit tick counter across its wrap (every 49.7 days): each
// reading advances the line by the signed 32-bit distance from the previous
// reading, so due times computed before a wrap still come due after it. The
// low 32 bits of a due time are the tick count at which it is due.
//
// Everything here belongs to the GUI thread; there is no lock.

#include <cstdint>
#include <memory>
#include <vector>

#include "kv/core/kv_info.h"
#include "kv/timers/kv_flash.h"

class TControl;

// A flash procedure is called with the tick counter and the value.
using TFlashProc = void (*)(int32_t Tick, int32_t Value);

// Frequency codes with a meaning of their own.
inline constexpr int64_t kFlashCodeFirst = 2;     // bit 2 of FlashTick, about 8 Hz
inline constexpr int64_t kFlashCodeLast = 6;      // bit 6, about 0.5 Hz
inline constexpr int64_t kFlashSecondPulse = 32;  // once per wall-clock second

struct TFlashRecord {
  TControl* Control = nullptr;  // the control to tell; null for a procedure entry
  TFlashProc Proc = nullptr;    // the procedure to call
  int64_t Freq = 0;             // frequency code or interval in milliseconds
  int64_t NextTime = 0;         // due time of an interval entry
  bool State = false;           // last state told to a frequency-code entry
};

// The records in registration order; the list owns them.
using TFlashList = std::vector<std::unique_ptr<TFlashRecord>>;

// Unit-wide values.
extern TFlashList* dynFlashList;    // created at unit start-up, freed at unit end
extern TFlashRecord* AFlashRecord;  // record being visited or registered; null after a deletion
class TKvFlashTimer;
extern TKvFlashTimer* KvFlashTimer;  // the shared timer, created on demand
extern double NextSecPuls;           // wall-clock date-time of the next second pulse
extern uint32_t FlashTick;           // tick counter, wraps from 4294967295 to 0
extern double OneSecond;             // one second as a date-time (1/86400 day)
extern int16_t TimerInstances;       // TKvFlashTimer objects alive

// Registers `Control` with a frequency code or interval; a control already
// listed only gets the new value and due time. Null is ignored.
void AddControl(TControl* Control, int64_t Freq);
// The same for a procedure.
void AddProc(TFlashProc Proc, int64_t Freq);
// Removes the record of the control (first from the front) or of the
// procedure (first from the back); no effect when none is listed.
void DelControl(TControl* Control);
void DelProc(TFlashProc Proc);
// Removes the record at `Index`; an index outside the list does nothing.
void DelControlNo(int16_t Index);
void DelProcNo(int16_t Index);
// Releases every record.
void ClearFlashList();

class TKvFlashTimer : public TKvFlash {
  Q_OBJECT
  Q_PROPERTY(TKvInfo* KvInfo READ KvInfo STORED false)
 public:
  // The first instance drives the list; a further one shows an error box and
  // never ticks.
  Q_INVOKABLE explicit TKvFlashTimer(TComponent* AOwner = nullptr);
  ~TKvFlashTimer() override;

  TKvInfo* KvInfo() const { return kvInfo_; }

  // The tick: advances FlashTick and tells every due record. Runs on the GUI
  // thread; callable directly (tests drive the schedule with it).
  void flash(TObject* Sender);

 private:
  TKvInfo* kvInfo_ = nullptr;
};

// The unit "Kvflasht": start-up computes OneSecond and creates the empty
// list; the end frees the shared timer, the records and the list.
TUnit& KvflashtUnit();

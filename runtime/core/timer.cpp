// The timer slots over the multimedia timer service. The main thread starts
// and stops timers; the platform's timer thread only reads the procedures.
#include "runtime/core/timer.h"

namespace {

struct TimerTable {
    uint32_t ids[TIMER_SLOTS];                  // platform timer per slot; 0 is none
    TimerProcedure procedures[TIMER_SLOTS];     // read by the timer thread
    TIMECAPS caps;
};

TimerTable timers;
bool service_running;

// The timer thread may read a slot's procedure while the main thread replaces
// it (a call of a just-killed timer still under way), so both sides use atomic
// accesses.
void procedure_set(uint32_t slot, TimerProcedure procedure)
{
    __atomic_store_n(&timers.procedures[slot], procedure, __ATOMIC_RELEASE);
}

TimerProcedure procedure_get(uint32_t slot)
{
    return __atomic_load_n(&timers.procedures[slot], __ATOMIC_ACQUIRE);
}

// No TIME_KILL_SYNCHRONOUS, here or in timeSetEvent: a kill that waited for a
// call under way would deadlock against a procedure that is itself waiting
// for the main thread (a SetWindowTextA to the main thread's window).
void kill(uint32_t slot)
{
    timeKillEvent(timers.ids[slot]);
    timers.ids[slot] = 0;
}

}  // namespace

void timer_service_start()
{
    if (service_running)
        return;
    if (timeGetDevCaps(&timers.caps, sizeof timers.caps) == TIMERR_NOERROR)
        timeBeginPeriod(timers.caps.wPeriodMin);
    else
        timers.caps = TIMECAPS{};
    for (uint32_t slot = 0; slot < TIMER_SLOTS; slot++) {
        timers.ids[slot] = 0;
        procedure_set(slot, nullptr);
    }
    service_running = true;
}

void timer_service_end()
{
    if (!service_running)
        return;
    if (timers.caps.wPeriodMin)
        timeEndPeriod(timers.caps.wPeriodMin);
    for (uint32_t slot = 0; slot < TIMER_SLOTS; slot++) {
        if (timers.ids[slot])
            kill(slot);
    }
    service_running = false;
}

uint32_t timer_start(uint32_t slot, int32_t period, TimerProcedure procedure)
{
    if (slot >= TIMER_SLOTS)
        return 0;
    if (timers.ids[slot])
        kill(slot);
    // Stored before the timer exists, so that its first call finds it.
    procedure_set(slot, procedure);
    timers.ids[slot] = timeSetEvent(UINT(period), 0, timer_dispatch, slot,
                                    TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    return timers.ids[slot];
}

int32_t timer_stop(uint32_t slot)
{
    if (slot >= TIMER_SLOTS || !timers.ids[slot])
        return 0;
    kill(slot);
    return 1;
}

void CALLBACK timer_dispatch(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR)
{
    if (user >= TIMER_SLOTS)
        return;
    TimerProcedure procedure = procedure_get(uint32_t(user));
    if (procedure)
        procedure();
}

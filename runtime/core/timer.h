// Periodic timers: 16 numbered slots, each calling a procedure of the program
// at a fixed period on the platform's multimedia timer thread. The service
// holds the finest timer resolution from its start to its end.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

const uint32_t TIMER_SLOTS = 16;

// Runs on the multimedia timer thread, beside the main thread: it must return
// quickly and share nothing with the main thread unguarded.
typedef void (*TimerProcedure)();

// Start-chain step: finest resolution on, all slots empty. A second call
// while the service runs does nothing.
void timer_service_start();
// End-chain step: resolution back, every running timer killed.
void timer_service_end();
// Runs the procedure every `period` ms in the slot, first one period from now,
// killing the slot's old timer first. Gives the platform timer identifier; 0,
// with the slot left empty, for a bad slot or period.
uint32_t timer_start(uint32_t slot, int32_t period, TimerProcedure procedure);
// 1 if a timer ran in the slot and is now killed, else 0. Never waits for a
// call under way, which may still complete.
int32_t timer_stop(uint32_t slot);
// The platform's callback: calls the procedure of the slot given as `user`.
void CALLBACK timer_dispatch(UINT id, UINT message, DWORD_PTR user, DWORD_PTR reserved1,
                             DWORD_PTR reserved2);

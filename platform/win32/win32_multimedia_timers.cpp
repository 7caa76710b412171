#include "platform/win32/win32_multimedia_timers.h"

#include <windows.h>
#include <mmsystem.h>

namespace platform::win32 {
namespace {

void CALLBACK Dispatch(UINT timer_id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    reinterpret_cast<TimerCallback*>(user)->OnTimer(timer_id);
}

}  // namespace

uint32_t Win32MultimediaTimers::SetEvent(uint32_t period_ms, uint32_t resolution_ms, TimerCallback& callback) {
    return timeSetEvent(period_ms, resolution_ms, Dispatch, reinterpret_cast<DWORD_PTR>(&callback),
                        TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
}

bool Win32MultimediaTimers::KillEvent(uint32_t timer_id) { return timeKillEvent(timer_id) == TIMERR_NOERROR; }

}  // namespace platform::win32

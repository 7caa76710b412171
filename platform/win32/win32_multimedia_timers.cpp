#include "platform/win32/win32_multimedia_timers.h"

#include <windows.h>
#include <mmsystem.h>

namespace platform::win32 {
namespace {

void CALLBACK Dispatch(UINT timer_id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    reinterpret_cast<TimerCallback*>(user)->OnTimer(timer_id);
}

}  // namespace

uint32_t Win32MultimediaTimers::SetEvent(uint32_t delay_ms, uint32_t resolution_ms, TimerCallback& callback,
                                         TimerKind kind) {
    const UINT flags = (kind == TimerKind::Periodic ? TIME_PERIODIC : TIME_ONESHOT) | TIME_KILL_SYNCHRONOUS;
    return timeSetEvent(delay_ms, resolution_ms, Dispatch, reinterpret_cast<DWORD_PTR>(&callback), flags);
}

bool Win32MultimediaTimers::KillEvent(uint32_t timer_id) { return timeKillEvent(timer_id) == TIMERR_NOERROR; }

}  // namespace platform::win32

#include "platform/fake/fake_multimedia_timers.h"

#include <algorithm>

namespace platform::fake {

FakeMultimediaTimers::FakeMultimediaTimers(FakeClock& clock) : clock_(clock) { clock_.AddListener(*this); }

FakeMultimediaTimers::~FakeMultimediaTimers() { clock_.RemoveListener(*this); }

uint32_t FakeMultimediaTimers::SetEvent(uint32_t delay_ms, uint32_t, TimerCallback& callback, TimerKind kind) {
    // timeSetEvent refuses a delay of 0 too.
    if (fail_creation_ || delay_ms == 0) return 0;
    const uint32_t id = next_id_++;
    timers_.push_back({id, clock_.TickCount() + delay_ms, delay_ms, &callback, kind});
    created_.push_back({id, clock_.TickCount(), delay_ms, kind});
    peak_periodic_ = std::max(peak_periodic_, Running(TimerKind::Periodic));
    return id;
}

bool FakeMultimediaTimers::KillEvent(uint32_t timer_id) {
    return std::erase_if(timers_, [&](const Timer& timer) { return timer.id == timer_id; }) != 0;
}

int FakeMultimediaTimers::Running(TimerKind kind) const {
    return static_cast<int>(std::count_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.kind == kind; }));
}

std::optional<uint32_t> FakeMultimediaTimers::NextDueIn() const {
    std::optional<uint32_t> soonest;
    for (const Timer& timer : timers_) {
        const uint32_t due_in = timer.due - clock_.TickCount();
        if (!soonest || due_in < *soonest) soonest = due_in;
    }
    return soonest;
}

void FakeMultimediaTimers::OnDue() {
    auto due = std::find_if(timers_.begin(), timers_.end(),
                            [&](const Timer& timer) { return timer.due == clock_.TickCount(); });
    if (due == timers_.end()) return;
    const uint32_t id = due->id;
    TimerCallback* callback = due->callback;
    // A one-shot timer is gone once it fired, as the system's is.
    if (due->kind == TimerKind::Periodic)
        due->due += due->delay_ms;
    else
        timers_.erase(due);
    callback->OnTimer(id);
}

}  // namespace platform::fake

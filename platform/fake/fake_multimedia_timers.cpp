#include "platform/fake/fake_multimedia_timers.h"

#include <algorithm>

namespace platform::fake {

FakeMultimediaTimers::FakeMultimediaTimers(FakeClock& clock) : clock_(clock) { clock_.AddListener(*this); }

FakeMultimediaTimers::~FakeMultimediaTimers() { clock_.RemoveListener(*this); }

uint32_t FakeMultimediaTimers::SetEvent(uint32_t delay_ms, uint32_t, TimerCallback& callback, TimerKind kind) {
    // timeSetEvent refuses a delay of 0 too.
    if (fail_creation_ || delay_ms == 0) return 0;
    const uint32_t id = next_id_++;
    timers_.push_back({id, clock_.TickCount() + delay_ms, 0, delay_ms, &callback, kind});
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

void FakeMultimediaTimers::DelayNextCallback(uint32_t late_ms) {
    if (!timers_.empty()) timers_[Next()].late_ms = late_ms;
}

int32_t FakeMultimediaTimers::DueIn(const Timer& timer) const {
    // Signed, so that a late timer's overdue neighbours come first and the clock may wrap.
    return static_cast<int32_t>(timer.due + timer.late_ms - clock_.TickCount());
}

std::size_t FakeMultimediaTimers::Next() const {
    auto earlier = [&](const Timer& a, const Timer& b) { return DueIn(a) < DueIn(b); };
    return static_cast<std::size_t>(std::min_element(timers_.begin(), timers_.end(), earlier) - timers_.begin());
}

std::optional<uint32_t> FakeMultimediaTimers::NextDueIn() const {
    if (timers_.empty()) return std::nullopt;
    return static_cast<uint32_t>(std::max(0, DueIn(timers_[Next()])));
}

void FakeMultimediaTimers::OnDue() {
    if (timers_.empty()) return;
    const std::size_t next = Next();
    Timer& due = timers_[next];
    if (DueIn(due) > 0) return;
    const uint32_t id = due.id;
    TimerCallback* callback = due.callback;
    // A one-shot timer is gone once it fired, as the system's is.
    if (due.kind == TimerKind::Periodic) {
        due.due += due.delay_ms;
        due.late_ms = 0;
    } else {
        timers_.erase(timers_.begin() + static_cast<std::ptrdiff_t>(next));
    }
    callback->OnTimer(id);
}

}  // namespace platform::fake

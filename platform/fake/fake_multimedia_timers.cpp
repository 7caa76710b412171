#include "platform/fake/fake_multimedia_timers.h"

#include <algorithm>

namespace platform::fake {

FakeMultimediaTimers::FakeMultimediaTimers(FakeClock& clock) : clock_(clock) { clock_.AddListener(*this); }

FakeMultimediaTimers::~FakeMultimediaTimers() { clock_.RemoveListener(*this); }

uint32_t FakeMultimediaTimers::SetEvent(uint32_t period_ms, uint32_t, TimerCallback& callback) {
    // timeSetEvent refuses a period of 0 too.
    if (fail_creation_ || period_ms == 0) return 0;
    const uint32_t id = next_id_++;
    timers_.push_back({id, clock_.TickCount() + period_ms, period_ms, &callback});
    created_.push_back({id, clock_.TickCount(), period_ms});
    peak_ = std::max(peak_, Running());
    return id;
}

bool FakeMultimediaTimers::KillEvent(uint32_t timer_id) {
    return std::erase_if(timers_, [&](const Timer& timer) { return timer.id == timer_id; }) != 0;
}

std::size_t FakeMultimediaTimers::Next() const {
    // Signed distances, so that the clock may wrap.
    auto earlier = [&](const Timer& a, const Timer& b) {
        return static_cast<int32_t>(a.due - clock_.TickCount()) < static_cast<int32_t>(b.due - clock_.TickCount());
    };
    return static_cast<std::size_t>(std::min_element(timers_.begin(), timers_.end(), earlier) - timers_.begin());
}

std::optional<uint32_t> FakeMultimediaTimers::NextDueIn() const {
    if (timers_.empty()) return std::nullopt;
    return static_cast<uint32_t>(std::max(0, static_cast<int32_t>(timers_[Next()].due - clock_.TickCount())));
}

void FakeMultimediaTimers::OnDue() {
    if (timers_.empty()) return;
    Timer& due = timers_[Next()];
    if (static_cast<int32_t>(due.due - clock_.TickCount()) > 0) return;
    due.due += due.period_ms;
    due.callback->OnTimer(due.id);
}

}  // namespace platform::fake

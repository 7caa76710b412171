#include "platform/fake/fake_window_timers.h"

namespace platform::fake {

bool FakeWindowTimers::Set(uint32_t id, uint32_t interval_ms) {
    timers_[id] = {interval_ms, clock_.TickCount() + interval_ms};
    return true;
}

uint32_t FakeWindowTimers::Interval(uint32_t id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? 0 : it->second.interval_ms;
}

std::optional<uint32_t> FakeWindowTimers::NextDueIn() const {
    std::optional<uint32_t> next;
    for (const auto& [id, timer] : timers_) {
        const uint32_t due_in = timer.due - clock_.TickCount();
        if (!next || due_in < *next) next = due_in;
    }
    return next;
}

void FakeWindowTimers::OnDue() {
    for (auto& [id, timer] : timers_) {
        if (timer.due != clock_.TickCount()) continue;
        timer.due += timer.interval_ms;
        // The handler may kill or set timers: look no further this time.
        if (handler_) handler_(id);
        return;
    }
}

}  // namespace platform::fake

#pragma once
// The main window's timers over the fake clock: while the test advances the
// clock, each running timer fires at its period, on the test's own thread,
// into the handler the test gave (as WM_TIMER reaches the window procedure).

#include "platform/fake/fake_clock.h"
#include "platform/window_timers.h"

#include <functional>
#include <map>

namespace platform::fake {

class FakeWindowTimers final : public WindowTimers, private FakeClock::Listener {
public:
    explicit FakeWindowTimers(FakeClock& clock) : clock_(clock) { clock_.AddListener(*this); }
    ~FakeWindowTimers() { clock_.RemoveListener(*this); }
    FakeWindowTimers(const FakeWindowTimers&) = delete;
    FakeWindowTimers& operator=(const FakeWindowTimers&) = delete;

    bool Set(uint32_t id, uint32_t interval_ms) override;
    void Kill(uint32_t id) override { timers_.erase(id); }

    // Where the timers' WM_TIMER messages go.
    void SetHandler(std::function<void(uint32_t id)> handler) { handler_ = std::move(handler); }
    bool IsRunning(uint32_t id) const { return timers_.count(id) != 0; }
    // The period of a running timer, 0 for a timer that does not run.
    uint32_t Interval(uint32_t id) const;

private:
    struct Timer {
        uint32_t interval_ms;
        uint32_t due;
    };

    std::optional<uint32_t> NextDueIn() const override;
    void OnDue() override;

    FakeClock& clock_;
    std::function<void(uint32_t)> handler_;
    std::map<uint32_t, Timer> timers_;
};

}  // namespace platform::fake

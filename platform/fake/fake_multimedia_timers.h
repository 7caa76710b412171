#pragma once
// Multimedia timers that fire while the test advances the fake clock, on the
// test's own thread. Tests see which timers were made and which still run,
// and can make timer creation fail.

#include "platform/fake/fake_clock.h"
#include "platform/multimedia_timers.h"

#include <vector>

namespace platform::fake {

class FakeMultimediaTimers final : public MultimediaTimers, private FakeClock::Listener {
public:
    struct Created {
        uint32_t id;
        uint32_t at;  // the clock when it was made
        uint32_t period_ms;
    };

    explicit FakeMultimediaTimers(FakeClock& clock);
    ~FakeMultimediaTimers();
    FakeMultimediaTimers(const FakeMultimediaTimers&) = delete;
    FakeMultimediaTimers& operator=(const FakeMultimediaTimers&) = delete;

    uint32_t SetEvent(uint32_t period_ms, uint32_t resolution_ms, TimerCallback& callback) override;
    bool KillEvent(uint32_t timer_id) override;

    // While set, SetEvent fails as timeSetEvent does when the system has no timer left.
    void FailCreation(bool fail) { fail_creation_ = fail; }
    // How many timers run now.
    int Running() const { return static_cast<int>(timers_.size()); }
    // The most timers that ever ran at once.
    int Peak() const { return peak_; }
    // Every timer made, in order.
    const std::vector<Created>& created() const { return created_; }
    // Forgets the timers made so far: a run of months would otherwise keep every one.
    void ForgetCreated() { created_.clear(); }

private:
    struct Timer {
        uint32_t id;
        uint32_t due;
        uint32_t period_ms;
        TimerCallback* callback;
    };

    // The timer to call back next (there must be one): the earliest, the first made among equals.
    std::size_t Next() const;
    std::optional<uint32_t> NextDueIn() const override;
    void OnDue() override;

    FakeClock& clock_;
    std::vector<Timer> timers_;  // in creation order, so that timers due together fire in that order
    std::vector<Created> created_;
    uint32_t next_id_ = 1;
    bool fail_creation_ = false;
    int peak_ = 0;
};

}  // namespace platform::fake

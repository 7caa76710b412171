#pragma once
// A clock that moves only when the test moves it (Sleep moves it too).

#include "platform/clock.h"

namespace platform::fake {

class FakeClock final : public Clock {
public:
    explicit FakeClock(uint32_t start = 0) : now_(start) {}

    uint32_t TickCount() const override { return now_; }
    void Sleep(uint32_t milliseconds) override { Advance(milliseconds); }

    void Advance(uint32_t milliseconds) { now_ += milliseconds; }  // wraps like the real one
    void Set(uint32_t now) { now_ = now; }

private:
    uint32_t now_;
};

}  // namespace platform::fake

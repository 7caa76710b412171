#pragma once
// A clock that moves only when the test moves it (Sleep moves it too).
// Listeners (the fake timers) act at their due times on the way, with the
// clock standing at each due time while they do.

#include "platform/clock.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace platform::fake {

class FakeClock final : public Clock {
public:
    class Listener {
    public:
        // Milliseconds from now until this listener is next due; nothing when it waits for nothing.
        virtual std::optional<uint32_t> NextDueIn() const = 0;
        // Called with the clock at the due time.
        virtual void OnDue() = 0;

    protected:
        ~Listener() = default;
    };

    explicit FakeClock(uint32_t start = 0) : now_(start) {}

    uint32_t TickCount() const override { return now_; }
    void Sleep(uint32_t milliseconds) override { Advance(milliseconds); }

    // Moves the clock, stopping at every listener's due time on the way; wraps like the real one.
    void Advance(uint32_t milliseconds) {
        uint32_t remaining = milliseconds;
        while (Listener* next = NextListenerWithin(remaining)) {
            const uint32_t due_in = *next->NextDueIn();
            now_ += due_in;
            remaining -= due_in;
            next->OnDue();
        }
        now_ += remaining;
    }
    void Set(uint32_t now) { now_ = now; }

    void AddListener(Listener& listener) { listeners_.push_back(&listener); }
    void RemoveListener(Listener& listener) { std::erase(listeners_, &listener); }

private:
    Listener* NextListenerWithin(uint32_t limit) const {
        Listener* next = nullptr;
        for (Listener* listener : listeners_) {
            std::optional<uint32_t> due_in = listener->NextDueIn();
            if (due_in && *due_in <= limit) {
                next = listener;
                limit = *due_in;
            }
        }
        return next;
    }

    uint32_t now_;
    std::vector<Listener*> listeners_;
};

}  // namespace platform::fake

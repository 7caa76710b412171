#pragma once
// The sensor and trigger base classes. A sensor is polled by the engine; it
// measures something and keeps one trigger per distinct thing it has seen,
// each remembering when it was last seen.

#include "platform/clock.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class cTrigger {
public:
    // A new trigger starts fired, at the current time.
    cTrigger(const platform::Clock& clock, std::string name);
    virtual ~cTrigger() = default;
    cTrigger(const cTrigger&) = delete;
    cTrigger& operator=(const cTrigger&) = delete;

    // The millisecond tick count of the last Fire.
    virtual uint32_t LastFired() const;

    void Fire();
    void Reset();
    bool Fired() const { return fired_; }
    const std::string& Name() const { return name_; }

private:
    const platform::Clock& clock_;
    const std::string name_;
    uint32_t last_fired_ = 0;
    bool fired_ = false;
};

class cSensor {
public:
    explicit cSensor(std::string name);
    virtual ~cSensor() = default;
    cSensor(const cSensor&) = delete;
    cSensor& operator=(const cSensor&) = delete;

    // Resets every trigger, then samples: afterwards exactly the triggers seen
    // by this sample are fired.
    void Poll();
    // The measurement.
    virtual void Sample() = 0;

    const std::string& Name() const { return name_; }
    // The triggers, in the order they were created.
    std::size_t TriggerCount() const { return triggers_.size(); }
    const cTrigger& TriggerAt(std::size_t index) const { return *triggers_[index]; }
    // The trigger of exactly this name, or null.
    const cTrigger* FindTrigger(std::string_view name) const;

protected:
    // FindTrigger, for the sensor's own bookkeeping.
    cTrigger* TriggerNamed(std::string_view name);
    cTrigger& AddTrigger(std::unique_ptr<cTrigger> trigger);
    // Deletes every trigger that is not fired.
    void RemoveUnfiredTriggers();

private:
    const std::string name_;
    std::vector<std::unique_ptr<cTrigger>> triggers_;
};

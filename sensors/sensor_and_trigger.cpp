#include "sensors/sensor_and_trigger.h"

#include <algorithm>
#include <utility>

cTrigger::cTrigger(const platform::Clock& clock, std::string name) : clock_(clock), name_(std::move(name)) {
    Fire();
}

uint32_t cTrigger::LastFired() const { return last_fired_; }

void cTrigger::Fire() {
    last_fired_ = clock_.TickCount();
    fired_ = true;
}

void cTrigger::Reset() { fired_ = false; }

cSensor::cSensor(std::string name) : name_(std::move(name)) {}

void cSensor::Poll() {
    for (const auto& trigger : triggers_) trigger->Reset();
    Sample();
}

const cTrigger* cSensor::FindTrigger(std::string_view name) const {
    auto it = std::find_if(triggers_.begin(), triggers_.end(),
                           [name](const auto& trigger) { return trigger->Name() == name; });
    return it == triggers_.end() ? nullptr : it->get();
}

cTrigger* cSensor::TriggerNamed(std::string_view name) {
    return const_cast<cTrigger*>(std::as_const(*this).FindTrigger(name));
}

cTrigger& cSensor::AddTrigger(std::unique_ptr<cTrigger> trigger) { return *triggers_.emplace_back(std::move(trigger)); }

void cSensor::RemoveUnfiredTriggers() {
    std::erase_if(triggers_, [](const auto& trigger) { return !trigger->Fired(); });
}

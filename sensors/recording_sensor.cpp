#include "sensors/recording_sensor.h"

#include <cstdio>
#include <memory>

cMceRecordingSensor::cMceRecordingSensor(platform::SharedAreaReader& reader, const platform::Clock& clock)
    : cSensor("MCERecording"), clock_(clock), client_(reader, kMediaStatusAreaName) {}

void cMceRecordingSensor::Sample() {
    recording_count_ = kUnreadable;
    playing_ = paused_ = muted_ = error_ = false;
    if (!client_.MapView()) return;

    recording_count_ = 0;
    for (int index = 0; index < client_.SlotCount(); ++index) {
        // The sink writes the area at any time: read each slot once, then judge the copy.
        const MediaStatusSlot slot = ReadMediaStatusSlot(*client_.SlotAt(index));
        if (slot.inUse != kMediaStatusSlotInUse) continue;
        // A slot counts for the state its session reported true last.
        switch (slot.lastState) {
            case msas::MSPROPTAG_Recording:
                ++recording_count_;
                FireRecording(slot.sequence);
                break;
            case msas::MSPROPTAG_Mute: muted_ = true; break;
            case msas::MSPROPTAG_Play: playing_ = true; break;
            case msas::MSPROPTAG_Pause: paused_ = true; break;
            case msas::MSPROPTAG_Error: error_ = true; break;
            default: break;
        }
    }
    client_.UnmapView();
    // Only the recordings in the slots now keep a trigger: the slot numbers
    // never repeat, so the triggers of ended ones would pile up for as long
    // as the program runs (and as fast as a writer renumbers its slots).
    RemoveUnfiredTriggers();
}

void cMceRecordingSensor::FireRecording(uint32_t sequence) {
    char name[sizeof "4294967295"];
    std::snprintf(name, sizeof name, "%06u", static_cast<unsigned>(sequence));
    cTrigger* trigger = TriggerNamed(name);
    if (!trigger) trigger = &AddTrigger(std::make_unique<cMceRecordingTrigger>(clock_, name));
    trigger->Fire();
}

#pragma once
// The Media Center recording sensor: from the media status area that the
// sink module publishes, the number of recordings in progress and whether
// Media Center is playing, paused, muted or in error. One trigger per
// recording in progress, named after its slot's sequence number.

#include "platform/clock.h"
#include "platform/shared_area_reader.h"
#include "sensors/mcsa_client.h"
#include "sensors/sensor_and_trigger.h"

#include <cstdint>

// Stands for one recording in progress.
class cMceRecordingTrigger : public cTrigger {
public:
    using cTrigger::cTrigger;
};

class cMceRecordingSensor : public cSensor {
public:
    static constexpr int32_t kUnreadable = -1;

    // Reads nothing until the first Poll.
    cMceRecordingSensor(platform::SharedAreaReader& reader, const platform::Clock& clock);

    // Reads every slot of the area once.
    void Sample() override;

    // The values of the last sample; the count is kUnreadable when the area could not be read.
    int32_t RecordingCount() const { return recording_count_; }
    bool Playing() const { return playing_; }
    bool Paused() const { return paused_; }
    bool Muted() const { return muted_; }
    bool Error() const { return error_; }

private:
    void FireRecording(uint32_t sequence);

    const platform::Clock& clock_;
    cMcsaClient client_;
    int32_t recording_count_ = 0;
    bool playing_ = false;
    bool paused_ = false;
    bool muted_ = false;
    bool error_ = false;
};

// The recording sensor and its status client over arbitrary 4096-byte areas
// that another process rewrites between samples, releases and creates again,
// with mapping and unmapping failing now and then. Every sample must count
// exactly the slots that are in use and recording, and leave no view mapped.
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_shared_area_reader.h"
#include "sensors/mcsa_client.h"
#include "sensors/recording_sensor.h"
#include "tests/fuzz/fuzz_require.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using platform::fake::FakeSharedAreaReader;

struct Expected {
    int32_t recordings = 0;
    bool playing = false, paused = false, muted = false, error = false;
};

// The area as the sensor must judge it, slot by slot.
Expected Judge(std::span<const uint8_t, FakeSharedAreaReader::kAreaSize> area) {
    Expected expected;
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) {
        MediaStatusSlot slot;
        std::memcpy(&slot, area.data() + MediaStatusSlotOffset(i), sizeof slot);
        if (slot.inUse != kMediaStatusSlotInUse) continue;
        expected.recordings += slot.lastState == msas::MSPROPTAG_Recording;
        expected.playing |= slot.lastState == msas::MSPROPTAG_Play;
        expected.paused |= slot.lastState == msas::MSPROPTAG_Pause;
        expected.muted |= slot.lastState == msas::MSPROPTAG_Mute;
        expected.error |= slot.lastState == msas::MSPROPTAG_Error;
    }
    return expected;
}

// Every recording slot's trigger, "%06u" of its number, exists and is fired, and no other trigger is kept.
void CheckTriggers(const cMceRecordingSensor& sensor, std::span<const uint8_t, FakeSharedAreaReader::kAreaSize> area) {
    for (std::size_t i = 0; i < sensor.TriggerCount(); ++i) FUZZ_REQUIRE(sensor.TriggerAt(i).Fired());
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) {
        MediaStatusSlot slot;
        std::memcpy(&slot, area.data() + MediaStatusSlotOffset(i), sizeof slot);
        if (slot.inUse != kMediaStatusSlotInUse || slot.lastState != msas::MSPROPTAG_Recording) continue;
        char name[16];
        std::snprintf(name, sizeof name, "%06u", static_cast<unsigned>(slot.sequence));
        const cTrigger* trigger = sensor.FindTrigger(name);
        FUZZ_REQUIRE(trigger != nullptr && trigger->Fired());
    }
}

// Writes into the area as a sink would, or as a stray writer might: a field
// of a slot, or a run of arbitrary bytes anywhere.
void Rewrite(FuzzedDataProvider& input, std::span<uint8_t, FakeSharedAreaReader::kAreaSize> area) {
    if (input.ConsumeBool()) {
        const std::size_t slot = MediaStatusSlotOffset(input.ConsumeIntegralInRange<std::size_t>(0, kMediaStatusSlotCount - 1));
        static constexpr int32_t kStates[] = {0, msas::MSPROPTAG_Recording, msas::MSPROPTAG_Play, msas::MSPROPTAG_Pause,
                                              msas::MSPROPTAG_Mute, msas::MSPROPTAG_Error, msas::MSPROPTAG_Stop};
        area[slot + offsetof(MediaStatusSlot, inUse)] = input.ConsumeIntegralInRange<uint8_t>(0, 2);
        const uint32_t sequence = input.ConsumeIntegral<uint32_t>();
        const int32_t last_state = input.PickValueInArray(kStates);
        std::memcpy(&area[slot + offsetof(MediaStatusSlot, sequence)], &sequence, sizeof sequence);
        std::memcpy(&area[slot + offsetof(MediaStatusSlot, lastState)], &last_state, sizeof last_state);
        return;
    }
    const std::size_t offset = input.ConsumeIntegralInRange<std::size_t>(0, area.size() - 1);
    const std::string bytes = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, 64));
    std::memcpy(&area[offset], bytes.data(), std::min(bytes.size(), area.size() - offset));
}

// A client of any name reaches the area named by its first 259 characters up to a zero.
void CheckClientName(FuzzedDataProvider& input) {
    FakeSharedAreaReader reader;
    const std::string name = input.ConsumeRandomLengthString(300);
    std::string reachable = name.substr(0, std::min<std::size_t>(name.find('\0'), 259));
    reader.Create(reachable);
    cMcsaClient client(reader, name);
    FUZZ_REQUIRE(client.MapView());
    FUZZ_REQUIRE(client.SlotCount() == static_cast<int>(kMediaStatusSlotCount));
    FUZZ_REQUIRE(client.SlotAt(-1) == nullptr && client.SlotAt(client.SlotCount()) == nullptr);
    FUZZ_REQUIRE(client.UnmapView() && reader.MappedViews() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeIntegralInRange(0, 15) == 0) {
        CheckClientName(input);
        return 0;
    }

    FakeSharedAreaReader reader;
    platform::fake::FakeClock clock{input.ConsumeIntegral<uint32_t>()};
    cMceRecordingSensor sensor(reader, clock);
    std::span<uint8_t, FakeSharedAreaReader::kAreaSize> area = reader.Create(kMediaStatusAreaName);
    const std::string first = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, area.size()));
    std::memcpy(area.data(), first.data(), first.size());
    bool area_exists = true;  // the writer holds it, or the sensor's client has opened it

    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 5)) {
            case 0:
            case 1:
                if (area_exists) Rewrite(input, area);
                break;
            case 2:
                // The sink goes away; the area lives on while the sensor's client holds it.
                reader.Release(kMediaStatusAreaName);
                area_exists = reader.OpenHandles() > 0;
                break;
            case 3:
                area = reader.Create(kMediaStatusAreaName);
                area_exists = true;
                break;
            case 4: reader.FailMapping(input.ConsumeBool()); break;
            case 5: reader.FailUnmapping(input.ConsumeBool()); break;
        }
        clock.Advance(1000);
        const int views_before = reader.MappedViews();
        sensor.Poll();
        if (!area_exists || reader.MappingFails()) {
            FUZZ_REQUIRE(sensor.RecordingCount() == cMceRecordingSensor::kUnreadable);
            FUZZ_REQUIRE(!sensor.Playing() && !sensor.Paused() && !sensor.Muted() && !sensor.Error());
            continue;
        }
        const Expected expected = Judge(area);
        FUZZ_REQUIRE(sensor.RecordingCount() == expected.recordings);
        FUZZ_REQUIRE(sensor.Playing() == expected.playing && sensor.Paused() == expected.paused);
        FUZZ_REQUIRE(sensor.Muted() == expected.muted && sensor.Error() == expected.error);
        CheckTriggers(sensor, area);
        // A view is never kept between samples; one the system refused to unmap stays counted.
        FUZZ_REQUIRE(reader.MappedViews() == views_before + (reader.UnmappingFails() ? 1 : 0));
        FUZZ_REQUIRE(reader.OpenHandles() == 1);
    }
    return 0;
}

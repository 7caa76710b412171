// Relations and calibration loaded from a registry that a user, another
// version or a broken tool filled with arbitrary values of any type, next to
// the names the program writes. Whatever was stored, loading may not crash,
// the loaded relations must drive a device, calibrated levels must be
// percentages, and saving then loading again must give the same settings.
#include "devices/serial_led_device.h"
#include "engine/event_catalogue.h"
#include "engine/relation.h"
#include "engine/relation_resolver.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_serial_ports.h"
#include "settings/persistent_variables.h"
#include "tests/fuzz/fuzz_require.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using platform::RegistryRoot;
using platform::fake::FakeRegistry;

struct Machine {
    platform::fake::FakeClock clock{1000};
    FakeRegistry registry;
    platform::fake::FakeSerialPorts ports{clock};
    platform::fake::FakeMultimediaTimers timers{clock};
    platform::fake::FakeMessageBoxes message_boxes;
    serial_led_services services{ports, timers, registry, clock, message_boxes};
};

std::string HardwareKey(uint16_t hardware_id) {
    char id[8];
    std::snprintf(id, sizeof id, "%04X", static_cast<unsigned>(hardware_id));
    return std::string(kGlimmerboxKey) + "\\" + id;
}

// The names the program itself reads for this device, so that most values land where they are looked for.
std::vector<std::string> KnownNames(const cLedDevice& device) {
    std::vector<std::string> names = {"LevelControl"};
    for (int i = 0; i < 12; ++i)
        for (const char* field : {"Event", "LED", "State", "Priority"})
            names.push_back("Relation" + std::to_string(i) + field);
    for (int i = 0; i < device.LedCount(); ++i) {
        const led_descriptor& led = *device.GetLed(i);
        names.push_back("LED" + std::to_string(i) + "-Calibration");
        for (int j = 0; j < led.state_count; ++j)
            for (int k = 0; k < 3; ++k)
                names.push_back("LED" + std::to_string(i) + "-" + device.GetStateName(i, led.states[j]) + "-" +
                                std::to_string(k));
    }
    return names;
}

void Fill(FuzzedDataProvider& input, FakeRegistry& registry, const cLedDevice& device) {
    const uint16_t hardware_id = static_cast<uint16_t>(device.HardwareId());
    const std::string keys[] = {RelationsKeyPath(hardware_id), HardwareKey(hardware_id),
                                HardwareKey(hardware_id) + "\\Calibration"};
    const std::vector<std::string> names = KnownNames(device);
    for (int count = input.ConsumeIntegralInRange(0, 64); count > 0 && input.remaining_bytes() > 0; --count) {
        const std::string& key = input.PickValueInArray(keys);
        const std::string name = input.ConsumeBool() ? names[input.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)]
                                                     : input.ConsumeRandomLengthString(24);
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                registry.PutBinary(RegistryRoot::CurrentUser, key, name);
                break;
            case 1:
                registry.OpenOrCreate(RegistryRoot::CurrentUser, key)->WriteString(name, input.ConsumeRandomLengthString(16));
                break;
            default:
                registry.OpenOrCreate(RegistryRoot::CurrentUser, key)->WriteDword(name, input.ConsumeIntegral<uint32_t>());
                break;
        }
    }
}

void CheckLevels(const cLedDevice& device) {
    for (int i = 0; i < device.LedCount(); ++i) {
        const led_descriptor& led = *device.GetLed(i);
        FUZZ_REQUIRE(led.level >= 0 && led.level <= 100);
        for (const auto& levels : led.levels)
            for (int32_t level : levels) FUZZ_REQUIRE(level >= 0 && level <= 100);
    }
}

bool SameLevels(const cLedDevice& a, const cLedDevice& b) {
    for (int i = 0; i < a.LedCount(); ++i) {
        const led_descriptor& x = *a.GetLed(i);
        const led_descriptor& y = *b.GetLed(i);
        if (x.level != y.level || std::memcmp(x.levels, y.levels, sizeof x.levels) != 0) return false;
    }
    return a.LevelControlEnabled() == b.LevelControlEnabled();
}

// Drives the device with what the relations resolve to for a few event sets,
// with level control running when the stored settings switched it on.
void Drive(FuzzedDataProvider& input, Machine& machine, cSerialLedDevice& device, const cRelationList& relations,
           const cEventCatalogue& catalogue) {
    FUZZ_REQUIRE(device.Activate());
    cRelationResolver resolver;
    for (int frame = 0; frame < 4 && input.remaining_bytes() > 0; ++frame) {
        const led_frame resolved = resolver.Resolve(relations, input.ConsumeIntegral<uint32_t>(), catalogue,
                                                    device.LedCount(), input.ConsumeBool(), input.ConsumeBool());
        device.BeginUpdate();
        for (int i = 0; i < std::min(device.LedCount(), kEngineLeds); ++i)
            if (resolved[i].driven) device.SetLedState(i, resolved[i].state, resolved[i].hold);
        device.EndUpdate(true);
        device.AdvancePhase();
        machine.clock.Advance(45);
        for (int bit = 0; bit < kOutputBits; ++bit) FUZZ_REQUIRE(device.OnTime(bit) >= 0);
    }
    device.Deactivate();
    // The level-control timers end with the port they drive.
    FUZZ_REQUIRE(machine.timers.Running() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Machine machine;
    // A plain port or one of the modules, recognised by which inputs answer which line.
    static constexpr uint32_t kInputs[] = {0, platform::kMsCtsOn, platform::kMsDsrOn, platform::kMsRlsdOn};
    const platform::fake::PortWiring wiring{.dtr = input.PickValueInArray(kInputs),
                                            .rts = input.PickValueInArray(kInputs),
                                            .txd = input.PickValueInArray(kInputs)};
    machine.ports.AddPort(1, wiring);
    cSerialLedDevice device(machine.services, 1);
    FUZZ_REQUIRE(device.IsPresent());
    Fill(input, machine.registry, device);

    cEventCatalogue catalogue;
    cRelationList relations;
    const uint16_t hardware_id = static_cast<uint16_t>(device.HardwareId());
    relations.Load(machine.registry, hardware_id, catalogue);
    device.LoadCalibration();
    CheckLevels(device);

    // What is saved is what loads.
    FUZZ_REQUIRE(relations.Save(machine.registry, hardware_id));
    cRelationList reloaded;
    FUZZ_REQUIRE(reloaded.Load(machine.registry, hardware_id, catalogue));
    FUZZ_REQUIRE(reloaded.size() == relations.size());
    for (std::size_t i = 0; i < relations.size(); ++i) FUZZ_REQUIRE(reloaded[i] == relations[i]);

    device.SaveCalibration();
    cSerialLedDevice twin(machine.services, 1);
    twin.LoadCalibration();
    FUZZ_REQUIRE(SameLevels(device, twin));

    Drive(input, machine, device, relations, catalogue);
    return 0;
}

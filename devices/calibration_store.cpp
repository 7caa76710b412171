#include "devices/calibration_store.h"

#include "settings/persistent_variables.h"

#include <algorithm>
#include <cstdio>
#include <string>

using platform::RegistryRoot;

namespace {

constexpr const char* kCalibration = "\\Calibration";
constexpr const char* kLevelControl = "LevelControl";
constexpr int32_t kMinLevel = 0;
constexpr int32_t kMaxLevel = 100;

// "\Software\Quillmoor\Glimmerbox\1008" for hardware ID 0x1008.
std::string HardwareIdKey(const cLedDevice& device) {
    char id[8];
    std::snprintf(id, sizeof id, "%04X", static_cast<unsigned>(static_cast<uint16_t>(device.HardwareId())));
    return std::string(kGlimmerboxKey) + "\\" + id;
}

// Full-colour LEDs keep a level per colour and channel ("LED0-Red-2"), the others one level ("LED0-Calibration").
template <typename Visit>
void ForEachCalibrationValue(cLedDevice& device, Visit visit) {
    for (int i = 0; i < device.LedCount(); ++i) {
        led_descriptor& led = *device.GetLed(i);
        const std::string prefix = "LED" + std::to_string(i) + "-";
        if (!led.per_state_levels) {
            visit(prefix + "Calibration", led.level);
            continue;
        }
        for (int j = 0; j < led.state_count; ++j)
            for (int channel = 0; channel < kColourChannels; ++channel)
                if (const int bit = led.ChannelBit(channel); bit >= 0)
                    visit(prefix + device.GetStateName(i, led.states[j]) + "-" + std::to_string(channel),
                          led.levels[j][bit]);
    }
}

}  // namespace

void SaveCalibration(platform::Registry& registry, cLedDevice& device, bool level_control) {
    const std::string key = HardwareIdKey(device);
    // Values of LEDs or states this device does not have must not survive.
    registry.DeleteTree(RegistryRoot::CurrentUser, key + kCalibration);
    if (auto calibration = registry.OpenOrCreate(RegistryRoot::CurrentUser, key + kCalibration))
        ForEachCalibrationValue(device, [&](const std::string& name, int32_t& level) {
            calibration->WriteDword(name, static_cast<uint32_t>(level));
        });
    if (auto hardware = registry.OpenOrCreate(RegistryRoot::CurrentUser, key))
        hardware->WriteDword(kLevelControl, level_control ? 1 : 0);
}

std::optional<bool> LoadCalibration(platform::Registry& registry, cLedDevice& device) {
    const std::string key = HardwareIdKey(device);
    if (auto calibration = registry.OpenReadOnly(RegistryRoot::CurrentUser, key + kCalibration))
        ForEachCalibrationValue(device, [&](const std::string& name, int32_t& level) {
            // Levels are percentages; a hand-edited value outside them would overflow the on-time.
            if (auto stored = calibration->ReadDword(name))
                level = std::clamp(static_cast<int32_t>(*stored), kMinLevel, kMaxLevel);
        });
    if (auto hardware = registry.OpenReadOnly(RegistryRoot::CurrentUser, key))
        if (auto enabled = hardware->ReadDword(kLevelControl)) return *enabled != 0;
    return std::nullopt;
}

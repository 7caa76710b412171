// Calibrated levels per module kind, under the program's key in
// "<hardware ID>\Calibration", and whether level control is on.

#include "devices/serial_led_device.h"
#include "devices/serial_lines.h"

#include <algorithm>
#include <cstdio>

using platform::RegistryRoot;

namespace {
constexpr const char* kCalibration = "\\Calibration";
constexpr const char* kLevelControl = "LevelControl";
constexpr int32_t kMinLevel = 0;
constexpr int32_t kMaxLevel = 100;
}  // namespace

// "\Software\Quillmoor\Glimmerbox\1008" for hardware ID 0x1008.
std::string cSerialLedDevice::HardwareIdKey() const {
    char id[8];
    std::snprintf(id, sizeof id, "%04X", static_cast<unsigned>(static_cast<uint16_t>(HardwareId())));
    return std::string(kGlimmerboxKey) + "\\" + id;
}

// Full-colour LEDs keep a level per colour and line ("LED0-Red-2"), the others one level ("LED0-Calibration").
template <typename Visit>
void cSerialLedDevice::ForEachCalibrationValue(Visit visit) {
    for (int i = 0; i < LedCount(); ++i) {
        led_descriptor& led = *GetLed(i);
        const std::string prefix = "LED" + std::to_string(i) + "-";
        if (!led.per_state_levels) {
            visit(prefix + "Calibration", led.level);
            continue;
        }
        for (int j = 0; j < led.state_count; ++j)
            for (int k = 0; k < kSerialLineCount; ++k)
                visit(prefix + GetStateName(i, led.states[j]) + "-" + std::to_string(k), led.levels[j][k]);
    }
}

void cSerialLedDevice::SaveCalibration() {
    const std::string key = HardwareIdKey();
    // Values of LEDs or states this module does not have must not survive.
    registry_.DeleteTree(RegistryRoot::CurrentUser, key + kCalibration);
    if (auto calibration = registry_.OpenOrCreate(RegistryRoot::CurrentUser, key + kCalibration))
        ForEachCalibrationValue([&](const std::string& name, int32_t& level) {
            calibration->WriteDword(name, static_cast<uint32_t>(level));
        });
    if (auto hardware = registry_.OpenOrCreate(RegistryRoot::CurrentUser, key))
        hardware->WriteDword(kLevelControl, LevelControlEnabled() ? 1 : 0);
}

void cSerialLedDevice::LoadCalibration() {
    const std::string key = HardwareIdKey();
    if (auto calibration = registry_.OpenReadOnly(RegistryRoot::CurrentUser, key + kCalibration))
        ForEachCalibrationValue([&](const std::string& name, int32_t& level) {
            // Levels are percentages; a hand-edited value outside them would overflow the on-time.
            if (auto stored = calibration->ReadDword(name))
                level = std::clamp(static_cast<int32_t>(*stored), kMinLevel, kMaxLevel);
        });
    // Starts nothing: the next Open starts the timer when it is on.
    if (auto hardware = registry_.OpenReadOnly(RegistryRoot::CurrentUser, key))
        if (auto enabled = hardware->ReadDword(kLevelControl)) level_control_enabled_ = *enabled != 0;
}

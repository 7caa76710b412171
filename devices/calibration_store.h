#pragma once
// Calibrated levels per device kind, under the program's key in
// "<hardware ID>\Calibration", and whether level control is on: the same
// values for every kind that dims or mixes its LEDs.

#include "devices/led_device.h"
#include "platform/registry.h"

#include <optional>

// Stores the levels of the device's LEDs in use, and on as its "LevelControl".
void SaveCalibration(platform::Registry& registry, cLedDevice& device, bool level_control);
// Reads the stored levels into the device's LEDs; answers the stored "LevelControl", if any.
std::optional<bool> LoadCalibration(platform::Registry& registry, cLedDevice& device);

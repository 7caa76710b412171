// A serial module's calibration, stored per module kind.

#include "devices/calibration_store.h"
#include "devices/serial_led_device.h"

void cSerialLedDevice::SaveCalibration() { ::SaveCalibration(registry_, *this, LevelControlEnabled()); }

void cSerialLedDevice::LoadCalibration() {
    // Starts nothing: the next Open starts the timer when it is on.
    if (const std::optional<bool> enabled = ::LoadCalibration(registry_, *this)) level_control_enabled_ = *enabled;
}

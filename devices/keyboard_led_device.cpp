#include "devices/keyboard_led_device.h"

#include "devices/keyboard_indicators.h"

namespace {
constexpr int kLockLeds = 3;
constexpr int16_t kThreeIndicatorKeyboard = 0x2003;
}  // namespace

cKeyboardLedDevice::cKeyboardLedDevice() : cLedDevice(kLockLeds) {
    SetId("Keyboard");
    SetDescription("Keyboard (by keystroke simulation)");
    hardware_id_ = kThreeIndicatorKeyboard;
}

std::string cKeyboardLedDevice::GetLedName(int index) const {
    if (index >= 0 && index < kLockLeds) return kKeyboardIndicators[index].name;
    return cLedDevice::GetLedName(index);
}

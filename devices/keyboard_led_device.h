#pragma once
// "Keyboard (by keystroke simulation)": an inert device that names the three
// lock LEDs but lists no states and writes nothing. The engine keeps one as
// its current device whenever no enumerated device is current.

#include "devices/led_device.h"

class cKeyboardLedDevice final : public cLedDevice {
public:
    cKeyboardLedDevice();
    ~cKeyboardLedDevice() override { Deactivate(); }

    std::string GetLedName(int index) const override;
};

#pragma once
// A keyboard's lock indicators as LEDs, set through the keyboard class
// driver. Indicators that no relation drives keep showing the real lock
// state. The keyboard is opened anew for every write; no handle is held.

#include "devices/detection_log.h"
#include "devices/led_device.h"
#include "platform/keyboards.h"
#include "platform/registry.h"

#include <string>

// The registry key of the keyboard device-interface class; its subkeys are the keyboards.
inline constexpr const char* kKeyboardClassKey =
    "\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";

class cKeyboardDriverLedDevice final : public cLedDevice {
public:
    // Asks the keyboard of this interface key how many indicators it has and logs its
    // answers. A remote desktop keyboard or one that cannot be opened is not present.
    cKeyboardDriverLedDevice(const std::string& key_name, cDetectionLog* log, platform::Registry& registry,
                             platform::Keyboards& keyboards);
    ~cKeyboardDriverLedDevice() override { Deactivate(); }

    std::string GetLedName(int index) const override;
    void WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) override;

private:
    void QueryDriver(platform::KeyboardConnection& keyboard, cDetectionLog* log);
    void SetUpLeds();

    platform::Keyboards& keyboards_;
};

#pragma once
// A keyboard's lock indicators as LEDs, set through the keyboard class
// driver. Indicators that no relation drives keep showing the real lock
// state. The keyboard is opened anew for every write; no handle is held.
// A frame is written when its indicators differ from the last written ones,
// and once a second all the same: Windows sets the indicators itself when a
// lock key toggles, and that write must not outlast a second.

#include "devices/detection_log.h"
#include "devices/led_device.h"
#include "platform/clock.h"
#include "platform/keyboards.h"
#include "platform/registry.h"

#include <optional>
#include <string>

// The registry key of the keyboard device-interface class; its subkeys are the keyboards.
inline constexpr const char* kKeyboardClassKey =
    "\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";

class cKeyboardDriverLedDevice final : public cLedDevice {
public:
    // Asks the keyboard of this interface key how many indicators it has and logs its
    // answers. A remote desktop keyboard or one that cannot be opened is not present.
    cKeyboardDriverLedDevice(const std::string& key_name, cDetectionLog* log, platform::Registry& registry,
                             platform::Keyboards& keyboards, const platform::Clock& clock);
    ~cKeyboardDriverLedDevice() override { Deactivate(); }

    std::string GetLedName(int index) const override;
    bool Open() override;
    void Resume() override;
    void WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) override;

private:
    void QueryDriver(platform::KeyboardConnection& keyboard, cDetectionLog* log);
    void SetUpLeds();

    platform::Keyboards& keyboards_;
    const platform::Clock& clock_;
    std::optional<uint16_t> written_flags_;  // nothing: the next frame writes whatever it holds
    uint16_t written_locks_ = 0;             // the lock states at that write
    uint32_t written_at_ = 0;                // tick count of that write
};

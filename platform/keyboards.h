#pragma once
// Keyboards reached through the Windows keyboard class driver, and the lock
// states that Windows keeps for the keyboard input of this thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// KEYBOARD_ATTRIBUTES: the fields that the program reads.
struct KeyboardAttributes {
    uint8_t type = 0;  // KeyboardIdentifier.Type
    uint8_t subtype = 0;
    uint16_t keyboard_mode = 0;
    uint16_t number_of_function_keys = 0;
    uint16_t number_of_indicators = 0;
    uint16_t number_of_keys_total = 0;
};

// One INDICATOR_LIST entry of KEYBOARD_INDICATOR_TRANSLATION.
struct IndicatorKey {
    uint16_t make_code = 0;
    uint16_t indicator_flags = 0;
    bool operator==(const IndicatorKey&) const = default;
};

// KEYBOARD_INDICATOR_TRANSLATION as far as it arrived.
struct IndicatorTranslation {
    uint16_t number_of_indicator_keys = 0;  // the driver's own count
    std::vector<IndicatorKey> keys;         // the entries that the answer holds, at most that many
};

// KEYBOARD_INDICATOR_PARAMETERS.
struct IndicatorParameters {
    uint16_t unit_id = 0;
    uint16_t led_flags = 0;  // KEYBOARD_SCROLL_LOCK_ON (0x1) and the other indicator flags
};

// One open keyboard device. Its handle is closed when destroyed.
class KeyboardConnection {
public:
    virtual ~KeyboardConnection() = default;

    // IOCTL_KEYBOARD_QUERY_ATTRIBUTES; nothing when the driver refuses it.
    virtual std::optional<KeyboardAttributes> QueryAttributes() = 0;
    // IOCTL_KEYBOARD_QUERY_INDICATOR_TRANSLATION into a 100-byte answer; nothing
    // when the driver refuses it.
    virtual std::optional<IndicatorTranslation> QueryIndicatorTranslation() = 0;
    // IOCTL_KEYBOARD_QUERY_INDICATORS for unit 0; nothing when the driver refuses it.
    virtual std::optional<IndicatorParameters> QueryIndicators() = 0;
};

class Keyboards {
public:
    // An open keyboard, or the GetLastError code of the failed open.
    struct Opened {
        std::unique_ptr<KeyboardConnection> keyboard;
        uint32_t error = 0;
    };

    virtual ~Keyboards() = default;

    // Opens a keyboard device path ("\\.\HID#...") without access rights, sharing reads.
    virtual Opened Open(const std::string& path) = 0;
    // Opens the keyboard as Open does, sends IOCTL_KEYBOARD_SET_INDICATORS for unit 0
    // with these flags and closes it again. False when the keyboard did not open;
    // the driver's answer is ignored.
    virtual bool SetIndicators(const std::string& path, uint16_t led_flags) = 0;
    // GetKeyState of a virtual key: non-zero while its lock is toggled on or the key is down.
    virtual int16_t KeyState(int virtual_key) = 0;
};

}  // namespace platform

#pragma once
// Keyboards in memory, each with what its driver answers and the indicator
// flags it shows; tests add keyboards by device path and set lock states.

#include "platform/keyboards.h"

#include <map>
#include <string>
#include <vector>

namespace platform::fake {

class FakeKeyboards final : public Keyboards {
public:
    struct Keyboard {
        uint32_t open_error = 0;  // when not 0, Open fails with this code
        std::optional<KeyboardAttributes> attributes;  // nothing: the query fails
        // The driver's table; an answer holds its first 24 entries and its full count.
        std::optional<std::vector<IndicatorKey>> translation;
        bool query_indicators_fails = false;
        uint16_t unit_id = 0;
        uint16_t led_flags = 0;             // what the indicators show now
        std::vector<uint16_t> flags_set;    // every SetIndicators, in order
        int opens = 0;                      // successful opens
        int open_connections = 0;           // opened and not yet closed
    };

    Opened Open(const std::string& path) override;
    bool SetIndicators(const std::string& path, uint16_t led_flags) override;
    int16_t KeyState(int virtual_key) override;

    // Adds (or returns) the keyboard at this device path, answering every query
    // as a plain keyboard with three indicators.
    Keyboard& Add(const std::string& path);
    Keyboard& At(const std::string& path) { return keyboards_.at(path); }

    std::map<int, int16_t> key_states;  // GetKeyState per virtual key; 0 when absent

private:
    std::map<std::string, Keyboard> keyboards_;
};

}  // namespace platform::fake

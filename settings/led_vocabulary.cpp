#include "settings/led_vocabulary.h"

const char* StateCodeName(int8_t state) {
    static constexpr const char* kNames[] = {"Undefined", "Off",     "On",     "Blink slow", "Blink",
                                             "Blink fast", "Red",    "Green",  "Blue",       "Cyan",
                                             "Magenta",   "Yellow",  "White",  "Pulse"};
    return state >= 0 && state <= led_state::Pulse ? kNames[state] : "Invalid";
}

const char* PriorityName(int8_t priority) {
    static constexpr const char* kNames[] = {"Undefined", "Lowest", "Low", "Normal", "High", "Highest"};
    return priority >= 0 && priority <= priority::Highest ? kNames[priority] : "Invalid";
}

const char* GenericLedName(int index, int led_count) {
    static constexpr const char* kNames[] = {"LED 1", "LED 2", "LED 3", "LED 4"};
    if (index >= led_count) return kInvalidForThisDevice;
    return index >= 0 && index < 4 ? kNames[index] : "Unknown LED";
}

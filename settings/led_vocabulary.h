#pragma once
// LED state codes, priorities and the names shown for them.

#include <cstdint>

// LED state codes as relations store them.
namespace led_state {
inline constexpr int8_t Undefined = 0;
inline constexpr int8_t Off = 1;
inline constexpr int8_t On = 2;
inline constexpr int8_t BlinkSlow = 3;
inline constexpr int8_t Blink = 4;
inline constexpr int8_t BlinkFast = 5;
inline constexpr int8_t Red = 6;
inline constexpr int8_t Green = 7;
inline constexpr int8_t Blue = 8;
inline constexpr int8_t Cyan = 9;
inline constexpr int8_t Magenta = 10;
inline constexpr int8_t Yellow = 11;
inline constexpr int8_t White = 12;
inline constexpr int8_t Pulse = 13;
}  // namespace led_state

namespace priority {
inline constexpr int8_t Undefined = 0;
inline constexpr int8_t Lowest = 1;
inline constexpr int8_t Normal = 3;
inline constexpr int8_t High = 4;
inline constexpr int8_t Highest = 5;
}  // namespace priority

// The name of a state code, whether or not an LED supports it; "Invalid" outside 0 to 13.
const char* StateCodeName(int8_t state);
// "Undefined", "Lowest" .. "Highest", or "Invalid".
const char* PriorityName(int8_t priority);
// "LED 1" .. "LED 4" below led_count, "Invalid for this device" from led_count on,
// "Unknown LED" for any other index.
const char* GenericLedName(int index, int led_count);

inline constexpr const char* kInvalidForThisDevice = "Invalid for this device";

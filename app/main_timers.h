#pragma once
// The two timers of the main window: their IDs (the WM_TIMER wParam) and periods.

#include <cstdint>

namespace main_timer {
inline constexpr uint32_t Timer1 = 1;  // the tick
inline constexpr uint32_t Timer1IntervalMs = 125;
inline constexpr uint32_t Timer2 = 2;  // saves calibration edits once they rest
inline constexpr uint32_t Timer2IntervalMs = 3000;
}  // namespace main_timer

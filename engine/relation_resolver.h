#pragma once
// Turns the relation list and the active events into one state per LED.
// Among the active relations of an LED only those of the highest priority
// count; when several of their events are active the LED shows one at a time
// and moves on to the next once per rotation. It remembers which event each
// LED shows, and nothing else.

#include "engine/event_catalogue.h"
#include "engine/relation.h"

#include <array>
#include <cstdint>

inline constexpr int kEngineLeds = 4;

struct led_resolution {
    int8_t state = 0;
    bool hold = false;    // the shown event keeps its light while the system sleeps
    bool driven = false;  // the LED has relations; an LED without any is left to itself
};

using led_frame = std::array<led_resolution, kEngineLeds>;

class cRelationResolver {
public:
    // Resolves relations for a device with led_count LEDs. rotate moves every LED on to
    // its next candidate event; suspend_only lets only events of the catalogue's suspend
    // mask take part. Relations of LEDs outside 0 to 3 take no part.
    led_frame Resolve(const cRelationList& relations, uint32_t events, const cEventCatalogue& catalogue,
                      int led_count, bool rotate, bool suspend_only);

    // The single event bit whose relation drives the LED, or 0.
    uint32_t ShownEvent(int led) const { return shown_[led]; }

private:
    std::array<uint32_t, kEngineLeds> shown_ = {};
};

#include "engine/relation_resolver.h"

#include <algorithm>

namespace {

bool IsEngineLed(int32_t led) { return led >= 0 && led < kEngineLeds; }

// The lowest candidate bit above shown, wrapping round to the lowest candidate,
// so that the shown bit itself comes last; the lowest candidate when nothing is shown.
uint32_t NextCandidate(uint32_t shown, uint32_t candidates) {
    const uint32_t above = candidates & ~((shown << 1) - 1);
    const uint32_t pool = above != 0 ? above : candidates;
    return pool & (~pool + 1);
}

}  // namespace

led_frame cRelationResolver::Resolve(const cRelationList& relations, uint32_t events,
                                     const cEventCatalogue& catalogue, int led_count, bool rotate,
                                     bool suspend_only) {
    // Priorities below 1 never qualify: the bar starts at 1.
    std::array<int, kEngineLeds> top_priority = {1, 1, 1, 1};
    std::array<uint32_t, kEngineLeds> candidates = {};
    led_frame frame = {};

    const uint32_t eligible = suspend_only ? events & catalogue.suspend_mask : events;
    for (const auto& relation : relations) {
        if (!IsEngineLed(relation->led)) continue;
        const int led = relation->led;
        frame[led].driven = true;
        if ((relation->event & eligible) == 0) continue;
        const int priority = relation->priority;
        if (priority > top_priority[led]) {
            top_priority[led] = priority;
            candidates[led] = 0;
        }
        if (priority == top_priority[led]) candidates[led] |= relation->event;
    }

    const int leds = std::clamp(led_count, 0, kEngineLeds);
    for (int i = 0; i < leds; ++i) {
        shown_[i] &= events;
        const bool keep = !rotate && (shown_[i] & candidates[i]) != 0;
        if (!keep && candidates[i] != 0) shown_[i] = NextCandidate(shown_[i], candidates[i]);
    }

    // The last relation in list order naming the shown event gives the state,
    // whatever its priority.
    for (const auto& relation : relations) {
        if (!IsEngineLed(relation->led)) continue;
        const int led = relation->led;
        if (shown_[led] == 0 || relation->event != shown_[led]) continue;
        frame[led].state = relation->state;
        frame[led].hold = (relation->event & catalogue.suspend_mask) != 0;
    }
    return frame;
}

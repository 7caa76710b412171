// The relations a device kind shows until the user stores a list of its own.
#include "engine/relation.h"
#include "devices/usb_light_models.h"
#include "settings/led_vocabulary.h"

#include <span>

namespace {

constexpr uint32_t kRecording2 = event::Recording1 << 1;

constexpr led_relation kSingleLedNormallyOn[] = {
    {event::PowerOn, 0, led_state::On, priority::Lowest},
    {event::Recording1, 0, led_state::BlinkSlow, priority::Normal},
    {kRecording2, 0, led_state::BlinkFast, priority::Normal},
};

constexpr int8_t kLow = 2;
constexpr led_relation kFullColourLed[] = {
    {event::PowerOn, 0, led_state::White, priority::Lowest},
    {event::AwayMode, 0, led_state::Blue, kLow},
    {event::ResumedForAutoTask, 0, led_state::Blue, kLow},
    {event::Recording1, 0, led_state::Red, priority::Normal},
    {kRecording2, 0, led_state::Magenta, priority::Normal},
    {event::ExtenderInUse, 0, led_state::Green, priority::Normal},
};

// A USB light is often the only light of a machine that plays through Kodi:
// beside the full-colour module's rows it shows playback in green, below a recording.
constexpr led_relation kPlaybackInGreen[] = {
    {event::McPlaying, 0, led_state::Green, kLow},
    {event::KodiPlaying, 0, led_state::Green, kLow},
};

constexpr led_relation kSingleLedNormallyOff[] = {
    {event::Recording1, 0, led_state::On, priority::Normal},
    {kRecording2, 0, led_state::Blink, priority::Normal},
};

constexpr led_relation kOtherDevices[] = {
    {event::Recording1, 0, led_state::On, priority::Normal},
    {kRecording2, 0, led_state::Blink, priority::Normal},
    {event::ExtenderInUse, 1, led_state::On, priority::Normal},
};

// Lists without a "Power on" row of their own get this one when none of
// their events is offered, so that a fresh device still shows something.
constexpr led_relation kPowerOnFallback = {event::PowerOn, 0, led_state::On, priority::Lowest};

struct default_list {
    std::span<const led_relation> rows;
    bool power_on_fallback;
    std::span<const led_relation> more_rows = {};
};

default_list DefaultsOf(uint16_t hardware_id) {
    if (IsUsbLightHardwareId(hardware_id)) return {kFullColourLed, false, kPlaybackInGreen};
    switch (hardware_id) {
        case 0x1002: return {kSingleLedNormallyOn, false};
        case 0x1008:
        case 0x1080: return {kFullColourLed, false};
        case 0x1010: return {kSingleLedNormallyOff, true};
        default: return {kOtherDevices, true};
    }
}

}  // namespace

void cRelationList::LoadDefaults(uint16_t hardware_id, const cEventCatalogue& catalogue) {
    Clear();
    const default_list defaults = DefaultsOf(hardware_id);
    for (std::span<const led_relation> rows : {defaults.rows, defaults.more_rows})
        for (const led_relation& row : rows)
            if (catalogue.IsAvailable(row.event)) Add(row);
    if (defaults.power_on_fallback && empty()) Add(kPowerOnFallback);
}

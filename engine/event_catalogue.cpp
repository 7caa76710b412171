#include "engine/event_catalogue.h"

#include <array>

namespace {

constexpr std::array<event_row, 31> kRows{{
    {event::PowerOn, "Power on", 0x01},
    {0x2, "Recording 0 channels", 0x20},
    {0x4, "Recording 1 channel", 0x20},
    {0x8, "Recording 2 channels", 0x20},
    {0x10, "Recording 3 channels", 0x20},
    {0x20, "Recording 4 channels", 0x20},
    {0x40, "Recording 5 channels", 0x20},
    {0x80, "Recording 6 channels", 0x20},
    {event::ExtenderInUse, "Extender in use", 0x21},
    {event::AwayMode, "Away mode", 0x01},
    {event::ResumedForAutoTask, "Resumed for auto task", 0x00},
    {event::ResumedForUserTask, "Resumed for user task", 0x00},
    {event::UserEvent0, "User event 0", 0x00},
    {event::UserEvent1, "User event 1", 0x00},
    {event::UserEvent2, "User event 2", 0x00},
    {event::McPlaying, "MC playing", 0x20},
    {event::McPaused, "MC paused", 0x20},
    {event::McMuted, "MC muted", 0x20},
    {event::McError, "MC error", 0x20},
    {event::RemoteDesktopSession, "Remote desktop session", 0x01},
    {event::SystemSuspended, "System suspended (S1/S3/S4)", 0x07},
    {event::MonitorOn, "Monitor on", 0x19},
    {event::AlwaysOn, "Always on", 0x0F},
    {event::SystemRequired, "System required", 0x08},
    {event::DisplayRequired, "Display required", 0x08},
    {event::UserInput, "User input", 0x05},
    {event::McIsRunning, "MC is running", 0x20},
    {event::KodiPlaying, "Kodi playing", 0x00},
    {event::KodiPaused, "Kodi paused", 0x00},
    {event::KodiMuted, "Kodi muted", 0x00},
    {event::KodiIsRunning, "Kodi is running", 0x00},
}};

uint32_t MaskOf(uint8_t flag_bits, bool wanted) {
    uint32_t mask = 0;
    for (const event_row& row : kRows)
        if (((row.flags & flag_bits) != 0) == wanted) mask |= row.bit;
    return mask;
}

const event_row* Find(uint32_t event) {
    for (const event_row& row : kRows)
        if (row.bit == event) return &row;
    return nullptr;
}

}  // namespace

cEventCatalogue::cEventCatalogue()
    : count(kRows.size()),
      kept_mask(MaskOf(event_flag::Kept, true)),
      available_mask(MaskOf(0xFF, true) | MaskOf(0xFF, false)),
      suspend_mask(MaskOf(event_flag::Suspend, true)) {}

std::span<const event_row> cEventCatalogue::Rows() { return kRows; }

void cEventCatalogue::RecomputeAvailability(uint8_t exclusion_flags) {
    available_mask = MaskOf(exclusion_flags, false);
}

const char* cEventCatalogue::NameOf(uint32_t event) const {
    const event_row* row = Find(event);
    return row ? row->name : "** Invalid **";
}

uint8_t cEventCatalogue::FlagsOf(uint32_t event) const {
    const event_row* row = Find(event);
    return row ? row->flags : 0;
}

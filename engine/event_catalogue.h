#pragma once
// The 31 events the program knows, each one bit of the 32-bit event set, with
// the display names the configuration window shows and the flags that decide
// how the engine treats them and when they are offered.

#include <cstdint>
#include <span>

// Event bits, named as the engine speaks of them.
namespace event {
inline constexpr uint32_t PowerOn = 0x1;
inline constexpr uint32_t Recording0 = 0x2;  // Recording1 .. Recording6 follow bit by bit
inline constexpr uint32_t Recording1 = 0x4;
inline constexpr uint32_t Recording6 = 0x80;
inline constexpr uint32_t ExtenderInUse = 0x100;
inline constexpr uint32_t AwayMode = 0x200;
inline constexpr uint32_t ResumedForAutoTask = 0x400;
inline constexpr uint32_t ResumedForUserTask = 0x800;
inline constexpr uint32_t UserEvent0 = 0x1000;
inline constexpr uint32_t UserEvent1 = 0x2000;
inline constexpr uint32_t UserEvent2 = 0x4000;
inline constexpr uint32_t McPlaying = 0x8000;
inline constexpr uint32_t McPaused = 0x10000;
inline constexpr uint32_t McMuted = 0x20000;
inline constexpr uint32_t McError = 0x40000;
inline constexpr uint32_t RemoteDesktopSession = 0x80000;
inline constexpr uint32_t SystemSuspended = 0x100000;
inline constexpr uint32_t MonitorOn = 0x200000;
inline constexpr uint32_t AlwaysOn = 0x400000;
inline constexpr uint32_t SystemRequired = 0x800000;
inline constexpr uint32_t DisplayRequired = 0x1000000;
inline constexpr uint32_t UserInput = 0x2000000;
inline constexpr uint32_t McIsRunning = 0x4000000;
inline constexpr uint32_t KodiPlaying = 0x8000000;
inline constexpr uint32_t KodiPaused = 0x10000000;
inline constexpr uint32_t KodiMuted = 0x20000000;
inline constexpr uint32_t KodiIsRunning = 0x40000000;
}  // namespace event

// The meaning of each bit of an event's flag byte.
namespace event_flag {
inline constexpr uint8_t Kept = 0x01;     // survives the periodic gathering
inline constexpr uint8_t Suspend = 0x02;  // resolved at suspend; its LED keeps its light while asleep
inline constexpr uint8_t Notice = 0x04;   // choosing it may show the suspend notice
inline constexpr uint8_t Hidden = 0x08;   // offered only while hidden events are shown
inline constexpr uint8_t NeedsVista = 0x10;
inline constexpr uint8_t NeedsMediaCenter = 0x20;
}  // namespace event_flag

struct event_row {
    uint32_t bit;
    const char* name;
    uint8_t flags;
};

class cEventCatalogue {
public:
    cEventCatalogue();

    // The rows in ascending bit order.
    static std::span<const event_row> Rows();

    // Offers exactly the events whose flags share no bit with exclusion_flags.
    void RecomputeAvailability(uint8_t exclusion_flags);

    // The display name of the single event bit, or "** Invalid **".
    const char* NameOf(uint32_t event) const;
    // The flag byte of the single event bit, or 0.
    uint8_t FlagsOf(uint32_t event) const;
    // True when any bit of event is currently offered.
    bool IsAvailable(uint32_t event) const { return (event & available_mask) != 0; }

    uint32_t count;
    uint32_t kept_mask;
    uint32_t available_mask;
    uint32_t suspend_mask;
};

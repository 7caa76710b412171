#pragma once
// The shared area "GlimmerboxMSAS": the only data that passes between the
// sink module, which writes it inside Media Center's status host, and the
// program, which opens it by name read-only and samples it once a second.
// Both sides include this header, so it needs nothing but the standard library.
//
// The area is 4096 bytes. Its first 720 bytes are 15 slots of 48 bytes, one
// per Media Center session; the rest is never written and stays zero. Every
// multi-byte field is a little-endian 32-bit word on a 4-byte boundary and is
// written with one store of its own width, so a reader in another process
// always sees each field whole (though it may see a slot between two field
// updates). The writer marks a slot in use last, with release ordering, and
// the reader reads that mark first, with acquire ordering.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>

// The area's name in the local object namespace of the Windows session; the
// sink passes it to the wide calls, the program to the ANSI ones.
inline constexpr char kMediaStatusAreaName[] = "GlimmerboxMSAS";
inline constexpr std::size_t kMediaStatusAreaSize = 4096;
inline constexpr std::size_t kMediaStatusSlotCount = 15;

// Media Center's MEDIASTATUSPROPERTYTAG values that give the slot fields their
// meaning. In a namespace of their own, so that they never clash with the
// enumeration of the module's generated interface header.
namespace msas {
inline constexpr int32_t MSPROPTAG_Unknown = 0x0000;
// State tags: each has a byte of its own in stateFlags, at index tag - 0x1000.
inline constexpr int32_t MSPROPTAG_Mute = 0x1000;
inline constexpr int32_t MSPROPTAG_Play = 0x1001;
inline constexpr int32_t MSPROPTAG_Pause = 0x1002;
inline constexpr int32_t MSPROPTAG_Stop = 0x1003;
inline constexpr int32_t MSPROPTAG_Shuffle = 0x1004;
inline constexpr int32_t MSPROPTAG_RepeatSet = 0x1005;
inline constexpr int32_t MSPROPTAG_Recording = 0x1006;
inline constexpr int32_t MSPROPTAG_Rewind1 = 0x1007;
inline constexpr int32_t MSPROPTAG_Rewind2 = 0x1008;
inline constexpr int32_t MSPROPTAG_Rewind3 = 0x1009;
inline constexpr int32_t MSPROPTAG_FF1 = 0x100A;
inline constexpr int32_t MSPROPTAG_FF2 = 0x100B;
inline constexpr int32_t MSPROPTAG_FF3 = 0x100C;
inline constexpr int32_t MSPROPTAG_Next = 0x100D;
inline constexpr int32_t MSPROPTAG_Prev = 0x100E;
inline constexpr int32_t MSPROPTAG_Error = 0x100F;
inline constexpr int32_t MSPROPTAG_Ejecting = 0x1010;
// Tags with bit 0x2000 that a slot keeps.
inline constexpr int32_t MSPROPTAG_MediaTypes = 0x2000;
inline constexpr int32_t MSPROPTAG_TrackTime = 0x200B;
inline constexpr int32_t MSPROPTAG_FS_Home = 0x200E;
inline constexpr int32_t MSPROPTAG_FS_TV = 0x200F;
inline constexpr int32_t MSPROPTAG_FS_DVD = 0x2010;
inline constexpr int32_t MSPROPTAG_FS_Guide = 0x2011;
inline constexpr int32_t MSPROPTAG_FS_Music = 0x2012;
inline constexpr int32_t MSPROPTAG_FS_Photos = 0x2013;
inline constexpr int32_t MSPROPTAG_FS_Videos = 0x2014;
inline constexpr int32_t MSPROPTAG_FS_RecordedShows = 0x2015;
inline constexpr int32_t MSPROPTAG_FS_Unknown = 0x2016;
inline constexpr int32_t MSPROPTAG_CurrentPicture = 0x201B;
inline constexpr int32_t MSPROPTAG_FS_Radio = 0x2025;
inline constexpr int32_t MSPROPTAG_FS_Extensibility = 0x202C;
inline constexpr int32_t MSPROPTAG_DiscWriter_Start = 0x202D;
inline constexpr int32_t MSPROPTAG_DiscWriter_Stop = 0x2031;
// Placeholders that still carry bit 0x1000, so they too set lastState.
inline constexpr int32_t MSPROPTAG_MSASPrivateTags = 0xF000;
inline constexpr int32_t MSPROPTAG_Application = 0xF001;
}  // namespace msas

inline constexpr std::size_t kMediaStatusStateFlagCount = msas::MSPROPTAG_Ejecting - msas::MSPROPTAG_Mute + 1;

// One Media Center session's status. All zero while the slot is free.
struct MediaStatusSlot {
    uint8_t inUse;                                   // 1 while a session owns the slot, 0 when free
    uint8_t reserved1[3];                            // always 0
    uint32_t sequence;                               // the writer's number for the slot: 1, 2, 3, ... in the order taken
    uint8_t stateFlags[kMediaStatusStateFlagCount];  // 1 or 0: the last value of state tag 0x1000 + index
    uint8_t reserved2[3];                            // always 0
    int32_t lastState;     // the last tag with bit 0x1000 that came true; 0 after one came false
    int32_t experience;    // the current full-screen experience tag; 0 until the first
    int32_t discWriter;    // MSPROPTAG_DiscWriter_Start or _Stop, whichever came last; 0 before
    int32_t trackTime;     // the value of the last MSPROPTAG_TrackTime
    uint32_t pictureCount; // MSPROPTAG_CurrentPicture notifications so far, wrapping at 2^32
};

inline constexpr uint8_t kMediaStatusSlotInUse = 1;

// One field of a slot that another process may be writing, read whole.
template <typename Field>
Field LoadSlotField(const Field& field, std::memory_order order = std::memory_order_relaxed) {
    // Only loads go through the reference: the read-only view is never written.
    return std::atomic_ref<Field>(const_cast<Field&>(field)).load(order);
}

// A copy of a slot as the writer left it: inUse first, with acquire ordering,
// so that a slot seen in use shows at least the number it was given, then
// every other field with a load of its own width.
inline MediaStatusSlot ReadMediaStatusSlot(const MediaStatusSlot& shared) {
    MediaStatusSlot copy{};
    copy.inUse = LoadSlotField(shared.inUse, std::memory_order_acquire);
    for (std::size_t i = 0; i < sizeof copy.reserved1; ++i) copy.reserved1[i] = LoadSlotField(shared.reserved1[i]);
    copy.sequence = LoadSlotField(shared.sequence);
    for (std::size_t i = 0; i < sizeof copy.stateFlags; ++i) copy.stateFlags[i] = LoadSlotField(shared.stateFlags[i]);
    for (std::size_t i = 0; i < sizeof copy.reserved2; ++i) copy.reserved2[i] = LoadSlotField(shared.reserved2[i]);
    copy.lastState = LoadSlotField(shared.lastState);
    copy.experience = LoadSlotField(shared.experience);
    copy.discWriter = LoadSlotField(shared.discWriter);
    copy.trackTime = LoadSlotField(shared.trackTime);
    copy.pictureCount = LoadSlotField(shared.pictureCount);
    return copy;
}

// Slot i lies at byte 48 * i of the area.
constexpr std::size_t MediaStatusSlotOffset(std::size_t index) { return index * sizeof(MediaStatusSlot); }
inline constexpr std::size_t kMediaStatusSlotsSize = MediaStatusSlotOffset(kMediaStatusSlotCount);

// The layout is a contract between two separately built deliverables, and
// between 32-bit and 64-bit builds of each: hold it to the byte.
static_assert(std::is_standard_layout_v<MediaStatusSlot> && std::is_trivially_copyable_v<MediaStatusSlot>);
static_assert(offsetof(MediaStatusSlot, inUse) == 0);
static_assert(offsetof(MediaStatusSlot, reserved1) == 1);
static_assert(offsetof(MediaStatusSlot, sequence) == 4);
static_assert(offsetof(MediaStatusSlot, stateFlags) == 8);
static_assert(kMediaStatusStateFlagCount == 17);
static_assert(offsetof(MediaStatusSlot, reserved2) == 25);
static_assert(offsetof(MediaStatusSlot, lastState) == 28);
static_assert(offsetof(MediaStatusSlot, experience) == 32);
static_assert(offsetof(MediaStatusSlot, discWriter) == 36);
static_assert(offsetof(MediaStatusSlot, trackTime) == 40);
static_assert(offsetof(MediaStatusSlot, pictureCount) == 44);
static_assert(sizeof(MediaStatusSlot) == 48);
static_assert(alignof(MediaStatusSlot) == 4);
static_assert(kMediaStatusSlotsSize == 720 && kMediaStatusSlotsSize <= kMediaStatusAreaSize);

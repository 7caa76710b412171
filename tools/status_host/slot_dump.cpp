// slot_dump: prints the shared area "GlimmerboxMSAS" as the program sees it,
// opened by name with read access from a process of its own.
//
//   slot_dump.exe
//
// One line for every slot that is not all zero (a free slot is), then one
// line for the bytes after the slots, which must stay zero:
//
//   slot 0 inUse 1 sequence 1 lastState 0x1006 experience 0x200f discWriter 0x0 trackTime 42 pictureCount 0 flags 00000010000000000
//   tail zero
//
// flags lists the 17 state bytes from MSPROPTAG_Mute on. Exit code 0, or 2
// when no area of that name exists.
#include "sink/media_status_slot.h"

#include <windows.h>

#include <cstdio>

namespace {

bool IsZero(const unsigned char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i]) return false;
    return true;
}

void PrintSlot(std::size_t index, const MediaStatusSlot& slot) {
    std::printf("slot %zu inUse %u sequence %u lastState 0x%x experience 0x%x discWriter 0x%x trackTime %d "
                "pictureCount %u flags ",
                index, static_cast<unsigned>(slot.inUse), static_cast<unsigned>(slot.sequence),
                static_cast<unsigned>(slot.lastState), static_cast<unsigned>(slot.experience),
                static_cast<unsigned>(slot.discWriter), static_cast<int>(slot.trackTime),
                static_cast<unsigned>(slot.pictureCount));
    for (uint8_t flag : slot.stateFlags) std::printf("%u", static_cast<unsigned>(flag));
    std::printf("\n");
}

}  // namespace

int main() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kMediaStatusAreaName);
    if (!mapping) {
        std::printf("no area \"%s\"\n", kMediaStatusAreaName);
        return 2;
    }
    const auto* view = static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kMediaStatusAreaSize));
    if (!view) {
        std::printf("cannot map \"%s\"\n", kMediaStatusAreaName);
        CloseHandle(mapping);
        return 2;
    }
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) {
        const unsigned char* bytes = view + MediaStatusSlotOffset(i);
        if (IsZero(bytes, sizeof(MediaStatusSlot))) continue;
        PrintSlot(i, ReadMediaStatusSlot(*reinterpret_cast<const MediaStatusSlot*>(bytes)));
    }
    std::printf("tail %s\n", IsZero(view + kMediaStatusSlotsSize, kMediaStatusAreaSize - kMediaStatusSlotsSize) ? "zero" : "dirty");
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return 0;
}

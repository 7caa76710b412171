// Plays the sink module's part in another process: creates the media status
// area, publishes three sessions (two recordings, one playing) and a slot in
// an unknown state, signals that it reached its checkpoint, and once passed
// clears its slots as an orderly writer does and exits.
//   media_status_writer.exe <reached event name> <passed event name>
#include "sink/media_status_slot.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr DWORD kPassTimeoutMs = 30000;

void PutSlot(unsigned char* area, int index, uint8_t in_use, uint32_t sequence, int32_t last_state) {
    MediaStatusSlot slot{};
    slot.inUse = in_use;
    slot.sequence = sequence;
    slot.lastState = last_state;
    std::memcpy(area + MediaStatusSlotOffset(index), &slot, sizeof slot);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    HANDLE reached = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE passed = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(kMediaStatusAreaSize), kMediaStatusAreaName);
    auto* area = mapping ? static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
    if (!reached || !passed || !area) return 1;

    std::memset(area, 0, kMediaStatusSlotsSize);
    PutSlot(area, 0, kMediaStatusSlotInUse, 7, msas::MSPROPTAG_Recording);
    PutSlot(area, 1, kMediaStatusSlotInUse, 12, msas::MSPROPTAG_Recording);
    PutSlot(area, 2, kMediaStatusSlotInUse, 13, msas::MSPROPTAG_Play);
    PutSlot(area, 3, 2, 14, msas::MSPROPTAG_Recording);
    SetEvent(reached);
    const bool released = WaitForSingleObject(passed, kPassTimeoutMs) == WAIT_OBJECT_0;

    std::memset(area, 0, kMediaStatusSlotsSize);
    UnmapViewOfFile(area);
    CloseHandle(mapping);
    return released ? 0 : 3;
}

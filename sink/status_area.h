#pragma once
// The sink's writer of the shared area: hands out its 15 slots to Media
// Center sessions, numbers them, folds status changes into them and clears
// them again. It runs inside Media Center's status host, so every operation
// is safe on any slot index and does nothing at all while no view is mapped.

#include "sink/media_status_slot.h"
#include "sink/shared_area_backing.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

class StatusArea {
public:
    using SlotIndex = std::size_t;

    explicit StatusArea(std::unique_ptr<SharedAreaBacking> backing);
    ~StatusArea();  // tears the area down
    StatusArea(const StatusArea&) = delete;
    StatusArea& operator=(const StatusArea&) = delete;

    // A created writer, or null when memory for it is short. The sink's only way to make one.
    static std::shared_ptr<StatusArea> Make(std::unique_ptr<SharedAreaBacking> backing, const char* name) noexcept;

    // Maps the named area and clears its 15 slots, also when an area of that
    // name already existed. The sequence counter starts again at 0.
    void Create(const char* name);
    // Takes the lowest free slot: zeroed, marked in use and numbered with the
    // next sequence number. None (and no number used) when all 15 are in use.
    std::optional<SlotIndex> AcquireSlot();
    // Folds one tag and its property into the slot. value_field is the
    // property's 32-bit value field; its low 16 bits non-zero mean true.
    void ApplyProperty(SlotIndex slot, int32_t tag, uint32_t value_field);
    // Zeroes the slot: it is free for the next session.
    void ClearSlot(SlotIndex slot);
    // Clears every slot, unmaps the view and closes the area; later operations do nothing.
    void Teardown();

    bool HasView() const { return view_ != nullptr; }

private:
    MediaStatusSlot* Slot(SlotIndex slot) const;

    std::unique_ptr<SharedAreaBacking> backing_;
    std::byte* view_ = nullptr;
    uint32_t sequence_ = 0;
};

#pragma once
// The sink's writer of the shared area: hands out its 15 slots to Media
// Center sessions, numbers them, folds status changes into them and clears
// them again. It runs inside Media Center's status host, so every operation
// is safe on any slot index and does nothing at all while no view is mapped.
// An area that could not be mapped (another process held its name) is tried
// again when a slot is asked for, at most once a second.

#include "sink/media_status_slot.h"
#include "sink/shared_area_backing.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <optional>

class StatusArea {
public:
    using SlotIndex = std::size_t;
    // Milliseconds from any fixed start, wrapping at 2^32.
    using Clock = std::function<uint32_t()>;

    StatusArea(std::unique_ptr<SharedAreaBacking> backing, Clock clock);
    ~StatusArea();  // tears the area down
    StatusArea(const StatusArea&) = delete;
    StatusArea& operator=(const StatusArea&) = delete;

    // A created writer, or null when memory for it is short. The sink's only way to make one.
    static std::shared_ptr<StatusArea> Make(std::unique_ptr<SharedAreaBacking> backing, const char* name,
                                            Clock clock) noexcept;

    // Maps the named area and clears its 15 slots, also when an area of that
    // name already existed. The sequence counter starts again at 0.
    void Create(const char* name);
    // Takes the lowest free slot: zeroed, marked in use and numbered with the
    // next sequence number. None (and no number used) when all 15 are in use
    // or no view is mapped; without a view it first tries to map one again.
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
    static constexpr uint32_t kRetryIntervalMs = 1000;

    MediaStatusSlot* Slot(SlotIndex slot) const;
    void MapAndClear();
    void Close();

    std::unique_ptr<SharedAreaBacking> backing_;
    Clock clock_;
    std::string name_;
    std::byte* view_ = nullptr;
    uint32_t sequence_ = 0;
    uint32_t last_mapping_ = 0;  // when a view was last asked for
    bool torn_down_ = false;
};

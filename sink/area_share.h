#pragma once
// One sink's share of the process's status area. The area is one per
// process, whatever number of sinks the host makes: a host that re-creates
// its sink while the old one still lives gets a second share of the same
// area, so that neither sink clears the other's live slots nor hands one slot
// to two sessions. The area lives while any share does; a share that goes
// clears the slots it handed out and still holds. Sinks may live in
// different apartments, so every slot operation takes the process's lock.

#include "sink/status_area.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class AreaShare {
public:
    // A share of the process's area, made with make_area() when no share
    // holds one yet. Null when memory for the share is short. make_area may
    // return null: the share then works without slots.
    static std::shared_ptr<AreaShare> Join(const std::function<std::shared_ptr<StatusArea>()>& make_area) noexcept;

    explicit AreaShare(std::shared_ptr<StatusArea> area) : area_(std::move(area)) {}
    ~AreaShare();
    AreaShare(const AreaShare&) = delete;
    AreaShare& operator=(const AreaShare&) = delete;

    // As StatusArea's, limited to the slots this share handed out.
    std::optional<StatusArea::SlotIndex> AcquireSlot();
    void ApplyProperty(StatusArea::SlotIndex slot, int32_t tag, uint32_t value_field);
    void ClearSlot(StatusArea::SlotIndex slot);
    // True while the area has a view: without one no slot can be handed out.
    bool HasView() const;

private:
    std::shared_ptr<StatusArea> area_;
    std::bitset<kMediaStatusSlotCount> held_;
};

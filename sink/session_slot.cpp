#include "sink/session_slot.h"

#include <utility>

SessionSlot SessionSlot::Acquire(const std::shared_ptr<StatusArea>& area) {
    if (!area) return {};
    std::optional<StatusArea::SlotIndex> index = area->AcquireSlot();
    if (!index) return {};
    return SessionSlot(area, *index);
}

SessionSlot::SessionSlot(SessionSlot&& other) noexcept
    : area_(std::move(other.area_)), index_(std::exchange(other.index_, std::nullopt)) {}

SessionSlot& SessionSlot::operator=(SessionSlot&& other) noexcept {
    area_ = std::move(other.area_);
    index_ = std::exchange(other.index_, std::nullopt);
    return *this;
}

bool SessionSlot::Holds() const { return index_ && !area_.expired(); }

void SessionSlot::Apply(int32_t tag, uint32_t value_field) {
    if (!index_) return;
    if (std::shared_ptr<StatusArea> area = area_.lock()) area->ApplyProperty(*index_, tag, value_field);
}

void SessionSlot::Release() {
    if (!index_) return;
    if (std::shared_ptr<StatusArea> area = area_.lock()) area->ClearSlot(*index_);
    index_.reset();
    area_.reset();
}

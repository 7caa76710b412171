#include "sink/session_slot.h"

#include <utility>

SessionSlot SessionSlot::Acquire(const std::shared_ptr<AreaShare>& share) {
    if (!share) return {};
    std::optional<StatusArea::SlotIndex> index = share->AcquireSlot();
    if (!index) return {};
    return SessionSlot(share, *index);
}

SessionSlot::SessionSlot(SessionSlot&& other) noexcept
    : share_(std::move(other.share_)), index_(std::exchange(other.index_, std::nullopt)) {}

SessionSlot& SessionSlot::operator=(SessionSlot&& other) noexcept {
    share_ = std::move(other.share_);
    index_ = std::exchange(other.index_, std::nullopt);
    return *this;
}

bool SessionSlot::Holds() const { return index_ && !share_.expired(); }

void SessionSlot::Apply(int32_t tag, uint32_t value_field) {
    if (!index_) return;
    if (std::shared_ptr<AreaShare> share = share_.lock()) share->ApplyProperty(*index_, tag, value_field);
}

void SessionSlot::Release() {
    if (!index_) return;
    if (std::shared_ptr<AreaShare> share = share_.lock()) share->ClearSlot(*index_);
    index_.reset();
    share_.reset();
}

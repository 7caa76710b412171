#include "sink/session_slot.h"

#include <utility>

SessionSlot SessionSlot::Acquire(const std::shared_ptr<AreaShare>& share) {
    if (!share) return {};
    std::optional<StatusArea::SlotIndex> index = share->AcquireSlot();
    if (!index && share->HasView()) return {};  // the area is full: the session stays unseen
    return SessionSlot(share, index);
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
    std::shared_ptr<AreaShare> share = share_.lock();
    if (!share) return;
    if (!index_) {
        index_ = share->AcquireSlot();
        if (!index_) {
            if (share->HasView()) share_.reset();  // healed, but full: the session stays unseen
            return;
        }
    }
    share->ApplyProperty(*index_, tag, value_field);
}

void SessionSlot::Release() {
    std::shared_ptr<AreaShare> share = share_.lock();
    if (share && index_) share->ClearSlot(*index_);
    index_.reset();
    share_.reset();
}

#include "sink/area_share.h"

#include <mutex>
#include <new>

namespace {

// The process's area and the lock over it and over every slot operation.
std::mutex& ProcessLock() {
    static std::mutex lock;
    return lock;
}
std::weak_ptr<StatusArea>& ProcessArea() {
    static std::weak_ptr<StatusArea> area;
    return area;
}

}  // namespace

std::shared_ptr<AreaShare> AreaShare::Join(const std::function<std::shared_ptr<StatusArea>()>& make_area) noexcept {
    try {
        std::lock_guard<std::mutex> hold(ProcessLock());
        std::shared_ptr<StatusArea> area = ProcessArea().lock();
        if (!area) {
            area = make_area();
            ProcessArea() = area;
        }
        return std::make_shared<AreaShare>(std::move(area));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

AreaShare::~AreaShare() {
    std::lock_guard<std::mutex> hold(ProcessLock());
    if (!area_) return;
    for (StatusArea::SlotIndex slot = 0; slot < kMediaStatusSlotCount; ++slot)
        if (held_[slot]) area_->ClearSlot(slot);
    area_.reset();  // the last share tears the area down, still under the lock
}

std::optional<StatusArea::SlotIndex> AreaShare::AcquireSlot() {
    std::lock_guard<std::mutex> hold(ProcessLock());
    if (!area_) return std::nullopt;
    std::optional<StatusArea::SlotIndex> slot = area_->AcquireSlot();
    if (slot) held_.set(*slot);
    return slot;
}

void AreaShare::ApplyProperty(StatusArea::SlotIndex slot, int32_t tag, uint32_t value_field) {
    std::lock_guard<std::mutex> hold(ProcessLock());
    if (area_ && slot < kMediaStatusSlotCount && held_[slot]) area_->ApplyProperty(slot, tag, value_field);
}

bool AreaShare::HasView() const {
    std::lock_guard<std::mutex> hold(ProcessLock());
    return area_ && area_->HasView();
}

void AreaShare::ClearSlot(StatusArea::SlotIndex slot) {
    std::lock_guard<std::mutex> hold(ProcessLock());
    if (!area_ || slot >= kMediaStatusSlotCount || !held_[slot]) return;
    area_->ClearSlot(slot);
    held_.reset(slot);
}

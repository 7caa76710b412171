#include "sink/status_area.h"

#include <atomic>
#include <new>

namespace {

// Each field is written with one store of its own width, never merged with
// its neighbours: the program in another process reads the slot meanwhile.
template <typename Field>
void Store(Field& field, Field value, std::memory_order order = std::memory_order_relaxed) {
    std::atomic_ref<Field>(field).store(value, order);
}

template <typename Field, std::size_t N>
void StoreZeros(Field (&fields)[N]) {
    for (Field& field : fields) Store(field, Field{0});
}

constexpr int32_t kStateTagBit = 0x1000;
constexpr int32_t kMediaTypeTagBit = 0x2000;

bool IsTrue(uint32_t value_field) { return (value_field & 0xFFFF) != 0; }

bool IsExperienceTag(int32_t tag) {
    using namespace msas;
    return (tag >= MSPROPTAG_FS_Home && tag <= MSPROPTAG_FS_Unknown) || tag == MSPROPTAG_FS_Radio ||
           tag == MSPROPTAG_FS_Extensibility;
}

void ApplyMediaTypeTag(MediaStatusSlot& slot, int32_t tag, uint32_t value_field) {
    using namespace msas;
    if (tag == MSPROPTAG_TrackTime)
        Store(slot.trackTime, static_cast<int32_t>(value_field));
    else if (IsExperienceTag(tag))
        Store(slot.experience, IsTrue(value_field) ? tag : MSPROPTAG_FS_Unknown);
    else if (tag == MSPROPTAG_CurrentPicture)
        Store(slot.pictureCount, slot.pictureCount + 1);  // unsigned: wraps at 2^32
    else if (tag == MSPROPTAG_DiscWriter_Start || tag == MSPROPTAG_DiscWriter_Stop)
        Store(slot.discWriter, tag);
}

}  // namespace

StatusArea::StatusArea(std::unique_ptr<SharedAreaBacking> backing, Clock clock)
    : backing_(std::move(backing)), clock_(std::move(clock)) {}

StatusArea::~StatusArea() { Teardown(); }

std::shared_ptr<StatusArea> StatusArea::Make(std::unique_ptr<SharedAreaBacking> backing, const char* name,
                                             Clock clock) noexcept {
    if (!backing || !clock) return nullptr;
    try {
        auto area = std::make_shared<StatusArea>(std::move(backing), std::move(clock));
        area->Create(name);
        return area;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void StatusArea::Create(const char* name) {
    name_ = name;
    torn_down_ = false;
    MapAndClear();
}

void StatusArea::MapAndClear() {
    Close();
    sequence_ = 0;
    last_mapping_ = clock_ ? clock_() : 0;
    view_ = backing_ ? backing_->Map(name_.c_str()) : nullptr;
    for (SlotIndex slot = 0; slot < kMediaStatusSlotCount; ++slot) ClearSlot(slot);
}

MediaStatusSlot* StatusArea::Slot(SlotIndex slot) const {
    if (!view_ || slot >= kMediaStatusSlotCount) return nullptr;
    return reinterpret_cast<MediaStatusSlot*>(view_ + MediaStatusSlotOffset(slot));
}

std::optional<StatusArea::SlotIndex> StatusArea::AcquireSlot() {
    if (!view_ && !torn_down_ && clock_ && clock_() - last_mapping_ >= kRetryIntervalMs) MapAndClear();
    for (SlotIndex index = 0; index < kMediaStatusSlotCount; ++index) {
        MediaStatusSlot* slot = Slot(index);
        if (!slot || slot->inUse != 0) continue;
        ClearSlot(index);
        Store(slot->sequence, ++sequence_);
        // The program never sees a slot in use before its number.
        Store(slot->inUse, kMediaStatusSlotInUse, std::memory_order_release);
        return index;
    }
    return std::nullopt;
}

void StatusArea::ApplyProperty(SlotIndex index, int32_t tag, uint32_t value_field) {
    MediaStatusSlot* slot = Slot(index);
    if (!slot) return;
    const bool is_true = IsTrue(value_field);
    if (tag & kStateTagBit) Store(slot->lastState, is_true ? tag : 0);
    if (tag >= msas::MSPROPTAG_Mute && tag <= msas::MSPROPTAG_Ejecting)
        Store(slot->stateFlags[tag - msas::MSPROPTAG_Mute], static_cast<uint8_t>(is_true));
    if (tag & kMediaTypeTagBit) ApplyMediaTypeTag(*slot, tag, value_field);
}

void StatusArea::ClearSlot(SlotIndex index) {
    MediaStatusSlot* slot = Slot(index);
    if (!slot) return;
    // Free first: the program stops counting the slot before its fields go.
    Store(slot->inUse, uint8_t{0});
    StoreZeros(slot->reserved1);
    Store(slot->sequence, uint32_t{0});
    StoreZeros(slot->stateFlags);
    StoreZeros(slot->reserved2);
    Store(slot->lastState, int32_t{0});
    Store(slot->experience, int32_t{0});
    Store(slot->discWriter, int32_t{0});
    Store(slot->trackTime, int32_t{0});
    Store(slot->pictureCount, uint32_t{0});
}

void StatusArea::Teardown() {
    torn_down_ = true;
    Close();
}

void StatusArea::Close() {
    for (SlotIndex slot = 0; slot < kMediaStatusSlotCount; ++slot) ClearSlot(slot);
    view_ = nullptr;
    if (backing_) backing_->Unmap();
}

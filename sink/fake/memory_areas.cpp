#include "sink/fake/memory_areas.h"

namespace sink::fake {
namespace {

class MemoryBacking final : public SharedAreaBacking {
public:
    explicit MemoryBacking(MemoryAreas& areas) : areas_(areas) {}

    std::byte* Map(const char* name) override {
        Unmap();
        if (areas_.MappingFails()) return nullptr;
        bytes_ = areas_.CreateOrJoin(name);
        return bytes_->data.data();
    }
    void Unmap() override { bytes_.reset(); }

private:
    MemoryAreas& areas_;
    std::shared_ptr<MemoryAreas::Bytes> bytes_;
};

}  // namespace

std::unique_ptr<SharedAreaBacking> MemoryAreas::NewBacking() { return std::make_unique<MemoryBacking>(*this); }

MemoryAreas::Reader MemoryAreas::Open(const std::string& name) const {
    auto found = areas_.find(name);
    return found == areas_.end() ? nullptr : found->second.lock();
}

std::shared_ptr<MemoryAreas::Bytes> MemoryAreas::CreateOrJoin(const std::string& name) {
    std::shared_ptr<Bytes> bytes = areas_[name].lock();
    if (!bytes) areas_[name] = bytes = std::make_shared<Bytes>();
    return bytes;
}

const MediaStatusSlot& SlotOf(const MemoryAreas::Bytes& bytes, std::size_t index) {
    return *reinterpret_cast<const MediaStatusSlot*>(bytes.data.data() + MediaStatusSlotOffset(index));
}

}  // namespace sink::fake

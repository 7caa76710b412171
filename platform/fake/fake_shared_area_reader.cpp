#include "platform/fake/fake_shared_area_reader.h"

#include <algorithm>
#include <vector>

namespace platform::fake {
namespace {

class FakeMapping final : public SharedAreaMapping {
public:
    FakeMapping(FakeSharedAreaReader& reader, std::shared_ptr<FakeSharedAreaReader::Area> area)
        : reader_(reader), area_(std::move(area)) {
        reader_.CountHandle(+1);
    }
    ~FakeMapping() override { reader_.CountHandle(-1); }
    FakeMapping(const FakeMapping&) = delete;
    FakeMapping& operator=(const FakeMapping&) = delete;

    const void* MapView() override {
        if (reader_.MappingFails()) return nullptr;
        views_.push_back(area_->bytes.data());
        reader_.CountView(+1);
        return views_.back();
    }

    bool UnmapView(const void* view) override {
        auto it = std::find(views_.begin(), views_.end(), view);
        if (it == views_.end() || reader_.UnmappingFails()) return false;
        views_.erase(it);
        reader_.CountView(-1);
        return true;
    }

private:
    FakeSharedAreaReader& reader_;
    std::shared_ptr<FakeSharedAreaReader::Area> area_;
    std::vector<const void*> views_;
};

}  // namespace

std::unique_ptr<SharedAreaMapping> FakeSharedAreaReader::Open(const char* name) {
    ++open_calls_;
    auto it = names_.find(name);
    std::shared_ptr<Area> area = it == names_.end() ? nullptr : it->second.lock();
    if (!area) return nullptr;
    return std::make_unique<FakeMapping>(*this, std::move(area));
}

std::span<uint8_t, FakeSharedAreaReader::kAreaSize> FakeSharedAreaReader::Create(const std::string& name) {
    std::shared_ptr<Area> area = names_[name].lock();
    if (!area) {
        area = std::make_shared<Area>();
        names_[name] = area;
    }
    writer_handles_[name] = area;
    return area->bytes;
}

void FakeSharedAreaReader::Release(const std::string& name) { writer_handles_.erase(name); }

}  // namespace platform::fake

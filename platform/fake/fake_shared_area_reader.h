#pragma once
// Named shared areas kept in memory. A test plays the writer: it creates an
// area, fills its bytes, and releases it. Like a real named mapping object,
// an area and its name live on while any handle to it is open, the writer's
// or a reader's. Mapping and unmapping can be made to fail, and open
// handles and views are counted.

#include "platform/shared_area_reader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace platform::fake {

class FakeSharedAreaReader final : public SharedAreaReader {
public:
    static constexpr std::size_t kAreaSize = 4096;
    struct Area {
        alignas(8) std::array<uint8_t, kAreaSize> bytes{};
    };

    std::unique_ptr<SharedAreaMapping> Open(const char* name) override;

    // The writer creates the named area, zeroed, and holds it open; an area of
    // that name that still exists is returned as it is (its bytes unchanged).
    std::span<uint8_t, kAreaSize> Create(const std::string& name);
    // The writer closes its handle: the area is gone unless a reader still holds it open.
    void Release(const std::string& name);

    void FailMapping(bool fail) { mapping_fails_ = fail; }
    void FailUnmapping(bool fail) { unmapping_fails_ = fail; }

    int OpenCalls() const { return open_calls_; }
    int OpenHandles() const { return open_handles_; }
    int MappedViews() const { return mapped_views_; }

    // Used by the mappings it hands out.
    bool MappingFails() const { return mapping_fails_; }
    bool UnmappingFails() const { return unmapping_fails_; }
    void CountHandle(int change) { open_handles_ += change; }
    void CountView(int change) { mapped_views_ += change; }

private:
    std::map<std::string, std::weak_ptr<Area>> names_;
    std::map<std::string, std::shared_ptr<Area>> writer_handles_;
    bool mapping_fails_ = false;
    bool unmapping_fails_ = false;
    int open_calls_ = 0;
    int open_handles_ = 0;
    int mapped_views_ = 0;
};

}  // namespace platform::fake

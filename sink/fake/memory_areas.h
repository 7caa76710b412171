#pragma once
// Named shared areas in memory, as the object namespace of one Windows
// session holds them: mapping a name that is already mapped joins its bytes,
// and an area lives while any backing or reader still holds it. Tests read
// the bytes through a reader, make mapping fail on demand and step the
// clock of the writers made over it.

#include "sink/media_status_slot.h"
#include "sink/shared_area_backing.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace sink::fake {

class MemoryAreas {
public:
    struct Bytes {
        alignas(MediaStatusSlot) std::array<std::byte, kMediaStatusAreaSize> data{};
    };
    // A reader's hold on an area, like the program's mapping handle.
    using Reader = std::shared_ptr<const Bytes>;

    // A backing that maps areas of this namespace.
    std::unique_ptr<SharedAreaBacking> NewBacking();
    // The area of that name while it exists, else null.
    Reader Open(const std::string& name) const;
    // Makes every later Map fail (true) or succeed again (false).
    void FailMapping(bool fail) { fail_mapping_ = fail; }
    // Milliseconds as the writers see them; they move only when Advance says so.
    std::function<uint32_t()> Milliseconds() const { return [this] { return now_ms_; }; }
    void Advance(uint32_t ms) { now_ms_ += ms; }

    // Used by the backings it hands out.
    std::shared_ptr<Bytes> CreateOrJoin(const std::string& name);
    bool MappingFails() const { return fail_mapping_; }

private:
    std::map<std::string, std::weak_ptr<Bytes>> areas_;
    bool fail_mapping_ = false;
    uint32_t now_ms_ = 0;
};

// The slot at that index of an area's bytes, for tests to inspect.
const MediaStatusSlot& SlotOf(const MemoryAreas::Bytes& bytes, std::size_t index);

}  // namespace sink::fake

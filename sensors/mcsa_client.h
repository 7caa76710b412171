#pragma once
// The program's read-only window on the media status area that the sink
// module writes: connects to the area by name, maps a view for each sample
// and hands out its slots without interpreting them. Once connected it keeps
// the area open, so the area outlives a sink module that released it, and a
// sink module that starts again writes into the very area still held here.

#include "platform/shared_area_reader.h"
#include "sink/media_status_slot.h"

#include <array>
#include <memory>
#include <string_view>

class cMcsaClient {
public:
    // Copies the name (at most 259 characters); opens nothing yet.
    cMcsaClient(platform::SharedAreaReader& reader, std::string_view area_name);
    ~cMcsaClient();
    cMcsaClient(const cMcsaClient&) = delete;
    cMcsaClient& operator=(const cMcsaClient&) = delete;

    // Connects to the area when not yet connected, then maps a read-only view
    // of it. False when there is no area of that name or it cannot be mapped;
    // the next call tries again.
    bool MapView();
    // Unmaps the view, if any; false only when the system refused to unmap it.
    bool UnmapView();
    // The number of slots while a view is mapped, else 0.
    int SlotCount() const;
    // The slot at index while a view is mapped and 0 <= index < SlotCount, else null.
    const MediaStatusSlot* SlotAt(int index) const;

private:
    platform::SharedAreaReader& reader_;
    std::array<char, 260> area_name_{};
    std::unique_ptr<platform::SharedAreaMapping> mapping_;
    const void* view_ = nullptr;
};

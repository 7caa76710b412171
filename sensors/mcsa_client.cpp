#include "sensors/mcsa_client.h"

#include <algorithm>

cMcsaClient::cMcsaClient(platform::SharedAreaReader& reader, std::string_view area_name) : reader_(reader) {
    const std::size_t length = std::min(area_name.size(), area_name_.size() - 1);
    std::copy_n(area_name.begin(), length, area_name_.begin());
}

cMcsaClient::~cMcsaClient() { UnmapView(); }

bool cMcsaClient::MapView() {
    UnmapView();  // a view is never kept between samples; never leak one either
    if (!mapping_) mapping_ = reader_.Open(area_name_.data());
    if (!mapping_) return false;
    view_ = mapping_->MapView();
    return view_ != nullptr;
}

bool cMcsaClient::UnmapView() {
    if (!view_) return true;
    const bool unmapped = mapping_->UnmapView(view_);
    view_ = nullptr;
    return unmapped;
}

int cMcsaClient::SlotCount() const { return view_ ? static_cast<int>(kMediaStatusSlotCount) : 0; }

const MediaStatusSlot* cMcsaClient::SlotAt(int index) const {
    if (index < 0 || index >= SlotCount()) return nullptr;
    const auto* area = static_cast<const unsigned char*>(view_);
    return reinterpret_cast<const MediaStatusSlot*>(area + MediaStatusSlotOffset(static_cast<std::size_t>(index)));
}

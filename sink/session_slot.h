#pragma once
// A Media Center session's hold on one slot of its sink's share of the area.
// The host may release the sink before its sessions, and a closed session's
// slot may already belong to the next session: in both cases the hold
// touches nothing. A session that found the area unmapped asks for a slot
// again at each change until the area has a view, so that it is seen as
// soon as the area heals.

#include "sink/area_share.h"

#include <cstdint>
#include <memory>
#include <optional>

class SessionSlot {
public:
    SessionSlot() = default;  // holds no slot
    // Takes the area's lowest free slot; holds none when the share or area is missing, the area
    // unmapped or full.
    static SessionSlot Acquire(const std::shared_ptr<AreaShare>& share);

    SessionSlot(SessionSlot&& other) noexcept;
    SessionSlot& operator=(SessionSlot&& other) noexcept;

    // True while a slot is held and its sink's share still exists.
    bool Holds() const;
    // Folds one tag and its property's 32-bit value field into the slot, first
    // taking one when the area had no view so far.
    void Apply(int32_t tag, uint32_t value_field);
    // Frees the slot for the next session and lets go of it.
    void Release();

private:
    SessionSlot(std::weak_ptr<AreaShare> share, std::optional<StatusArea::SlotIndex> index)
        : share_(std::move(share)), index_(index) {}

    std::weak_ptr<AreaShare> share_;  // kept without a slot only while the area has no view
    std::optional<StatusArea::SlotIndex> index_;
};

// Opens a session: takes a slot and hands it to make_session(SessionSlot&),
// which moves it into the new session and returns that session, or returns
// null when the session cannot be made. Then the slot is given back at once,
// so that a session that never came to be keeps no slot from those that follow.
template <typename MakeSession>
auto OpenSession(const std::shared_ptr<AreaShare>& share, MakeSession&& make_session) {
    SessionSlot slot = SessionSlot::Acquire(share);
    auto session = make_session(slot);
    if (!session) slot.Release();
    return session;
}

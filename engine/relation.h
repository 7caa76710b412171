#pragma once
// The user's ordered list of relations for one kind of LED device: when an
// event is active, an LED may show a state, with a priority. The list is
// stored per hardware ID under the program's key; a hardware ID with nothing
// stored uses a built-in default list.

#include "engine/event_catalogue.h"
#include "platform/registry.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct led_relation {
    uint32_t event = 0;   // one event bit
    int32_t led = 0;      // LED index of the device, 0-based
    int8_t state = 0;     // LED state code
    int8_t priority = 3;  // 1 "Lowest" to 5 "Highest"
    bool operator==(const led_relation&) const = default;
};

// The records are allocated singly, so a record the configuration window
// edits in place keeps its address while the list grows.
class cRelationList {
public:
    using Records = std::vector<std::unique_ptr<led_relation>>;

    Records::const_iterator begin() const { return records_.begin(); }
    Records::const_iterator end() const { return records_.end(); }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    led_relation& operator[](std::size_t index) const { return *records_[index]; }

    // Appends a copy of relation and returns the stored record.
    led_relation& Add(const led_relation& relation);
    // Removes and frees the record at index; an index past the end does nothing.
    void Remove(std::size_t index);
    void Clear() { records_.clear(); }

    // Replaces the list with the one stored for hardware_id, or with its defaults
    // when none is stored. False when a stored relation could not be read and was skipped.
    bool Load(platform::Registry& registry, uint16_t hardware_id, const cEventCatalogue& catalogue);
    // Stores the list for hardware_id; true iff every write succeeded. Whichever
    // write a save is cut short at, the next Load finds the old list or this one, whole.
    bool Save(platform::Registry& registry, uint16_t hardware_id) const;
    // Replaces the list with the defaults of hardware_id whose events the catalogue offers.
    void LoadDefaults(uint16_t hardware_id, const cEventCatalogue& catalogue);

private:
    Records records_;
};

// "\Software\Quillmoor\Glimmerbox\<hardware ID, 4 upper-case hex digits>\Relations"
std::string RelationsKeyPath(uint16_t hardware_id);

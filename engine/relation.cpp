#include "engine/relation.h"

#include "settings/persistent_variables.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

using platform::RegistryRoot;

namespace {

enum class Field { Event, Led, State, Priority };
constexpr Field kFields[] = {Field::Event, Field::Led, Field::State, Field::Priority};

std::string ValueName(std::size_t index, Field field) {
    static constexpr const char* kSuffixes[] = {"Event", "LED", "State", "Priority"};
    return "Relation" + std::to_string(index) + kSuffixes[static_cast<int>(field)];
}

uint32_t StoredValue(const led_relation& relation, Field field) {
    switch (field) {
        case Field::Event: return relation.event;
        case Field::Led: return static_cast<uint32_t>(relation.led);
        // State and priority are stored sign-extended, so -1 is stored as 0xFFFFFFFF.
        case Field::State: return static_cast<uint32_t>(static_cast<int32_t>(relation.state));
        case Field::Priority: return static_cast<uint32_t>(static_cast<int32_t>(relation.priority));
    }
    return 0;
}

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A value that exists with another type than REG_DWORD fails the read; a
// missing one gives the fallback.
std::optional<uint32_t> ReadOptional(const platform::RegistryKey& key, const std::string& name, uint32_t fallback) {
    if (!key.ValueExists(name)) return fallback;
    return key.ReadDword(name);
}

// True when relation index already lies in key exactly as relation would be stored.
bool IsStoredAs(const platform::RegistryKey& key, std::size_t index, const led_relation& relation) {
    for (Field field : kFields)
        if (key.ReadDword(ValueName(index, field)) != StoredValue(relation, field)) return false;
    return true;
}

// The LED value goes first and comes back last: in between, loading skips
// the relation (and says so) instead of reading one the user never made,
// half new and half old.
bool StoreRelation(platform::RegistryKey& key, std::size_t index, const led_relation& relation) {
    const std::string led = ValueName(index, Field::Led);
    if (key.ValueExists(led) && !key.DeleteValue(led)) return false;
    for (Field field : {Field::Event, Field::State, Field::Priority, Field::Led})
        if (!key.WriteDword(ValueName(index, field), StoredValue(relation, field))) return false;
    return true;
}

}  // namespace

std::string RelationsKeyPath(uint16_t hardware_id) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(hardware_id));
    return std::string(kGlimmerboxKey) + "\\" + digits + "\\Relations";
}

led_relation& cRelationList::Add(const led_relation& relation) {
    records_.push_back(std::make_unique<led_relation>(relation));
    return *records_.back();
}

void cRelationList::Remove(std::size_t index) {
    if (index < records_.size()) records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool cRelationList::Load(platform::Registry& registry, uint16_t hardware_id, const cEventCatalogue& catalogue) {
    records_.clear();
    auto key = registry.OpenReadOnly(RegistryRoot::CurrentUser, RelationsKeyPath(hardware_id));
    if (!key) {
        LoadDefaults(hardware_id, catalogue);
        return true;
    }
    constexpr uint32_t kMissingState = 0;
    constexpr uint32_t kMissingPriority = 3;
    bool every_relation_read = true;
    // The first missing event ends the list, even when later indexes are stored.
    for (std::size_t i = 0; key->ValueExists(ValueName(i, Field::Event)); ++i) {
        std::optional<uint32_t> event = key->ReadDword(ValueName(i, Field::Event));
        std::optional<uint32_t> led = key->ReadDword(ValueName(i, Field::Led));
        std::optional<uint32_t> state = ReadOptional(*key, ValueName(i, Field::State), kMissingState);
        std::optional<uint32_t> priority = ReadOptional(*key, ValueName(i, Field::Priority), kMissingPriority);
        if (!event || !led || !state || !priority) {
            every_relation_read = false;
            continue;
        }
        Add({*event, static_cast<int32_t>(*led), static_cast<int8_t>(*state & 0xFF),
             static_cast<int8_t>(*priority & 0xFF)});
    }
    return every_relation_read;
}

// The new list is written over the stored one, relation by relation, and
// only then are the values it no longer uses removed. A save that fails
// part-way thus leaves whole relations, old or new, and at most one skipped,
// instead of the empty or truncated list a delete-then-write would leave.
bool cRelationList::Save(platform::Registry& registry, uint16_t hardware_id) const {
    auto key = registry.OpenOrCreate(RegistryRoot::CurrentUser, RelationsKeyPath(hardware_id));
    if (!key) return false;

    std::vector<std::string> in_use;
    in_use.reserve(records_.size() * std::size(kFields));
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (!IsStoredAs(*key, i, *records_[i]) && !StoreRelation(*key, i, *records_[i])) return false;
        for (Field field : kFields) in_use.push_back(Lowered(ValueName(i, field)));
    }

    // Removing the first unused event first ends the stored list at its new
    // length even if a later removal fails.
    const std::string end_of_list = ValueName(records_.size(), Field::Event);
    if (key->ValueExists(end_of_list) && !key->DeleteValue(end_of_list)) return false;
    std::sort(in_use.begin(), in_use.end());
    for (const std::string& name : key->ValueNames()) {
        if (std::binary_search(in_use.begin(), in_use.end(), Lowered(name))) continue;
        if (!key->DeleteValue(name)) return false;
    }
    return true;
}

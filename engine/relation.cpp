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

// Appends the relations stored in key to records. False when one could not
// be read and was skipped.
bool ReadRelations(const platform::RegistryKey& key, cRelationList::Records& records) {
    constexpr uint32_t kMissingState = 0;
    constexpr uint32_t kMissingPriority = 3;
    bool every_relation_read = true;
    // The first missing event ends the list, even when later indexes are stored.
    for (std::size_t i = 0; key.ValueExists(ValueName(i, Field::Event)); ++i) {
        std::optional<uint32_t> event = key.ReadDword(ValueName(i, Field::Event));
        std::optional<uint32_t> led = key.ReadDword(ValueName(i, Field::Led));
        std::optional<uint32_t> state = ReadOptional(key, ValueName(i, Field::State), kMissingState);
        std::optional<uint32_t> priority = ReadOptional(key, ValueName(i, Field::Priority), kMissingPriority);
        if (!event || !led || !state || !priority) {
            every_relation_read = false;
            continue;
        }
        records.push_back(std::make_unique<led_relation>(led_relation{*event, static_cast<int32_t>(*led),
                                                                      static_cast<int8_t>(*state & 0xFF),
                                                                      static_cast<int8_t>(*priority & 0xFF)}));
    }
    return every_relation_read;
}

// Makes key hold exactly records: writes each value that differs, then
// removes the values the list no longer uses.
bool WriteRelations(platform::RegistryKey& key, const cRelationList::Records& records) {
    std::vector<std::string> in_use;
    in_use.reserve(records.size() * std::size(kFields));
    for (std::size_t i = 0; i < records.size(); ++i) {
        for (Field field : kFields) {
            const std::string name = ValueName(i, field);
            const uint32_t value = StoredValue(*records[i], field);
            if (key.ReadDword(name) != value && !key.WriteDword(name, value)) return false;
            in_use.push_back(Lowered(name));
        }
    }
    std::sort(in_use.begin(), in_use.end());
    for (const std::string& name : key.ValueNames()) {
        if (std::binary_search(in_use.begin(), in_use.end(), Lowered(name))) continue;
        if (!key.DeleteValue(name)) return false;
    }
    return true;
}

// A save first writes the whole new list into a journal beside the
// relations and marks it complete, and only then writes the relations
// themselves. Whenever the program ends, the relations are whole or a
// complete journal holds the list they were being given.
constexpr const char* kJournalComplete = "Complete";

std::string JournalKeyPath(uint16_t hardware_id) { return RelationsKeyPath(hardware_id) + "Journal"; }

// Reads the list of a complete journal into records: the relations may be
// half-written. Nothing when there is no complete journal; else whether
// every relation of the journal was read.
std::optional<bool> ReadCompleteJournal(platform::Registry& registry, uint16_t hardware_id,
                                        cRelationList::Records& records) {
    auto journal = registry.OpenReadOnly(RegistryRoot::CurrentUser, JournalKeyPath(hardware_id));
    if (!journal || journal->ReadDword(kJournalComplete) != 1u) return std::nullopt;
    return ReadRelations(*journal, records);
}

// Writes the journal's list as the relations, then drops the journal. The
// mark goes first: a journal caught half-removed must not pass for complete.
bool CommitJournal(platform::Registry& registry, uint16_t hardware_id, const cRelationList::Records& records) {
    auto relations = registry.OpenOrCreate(RegistryRoot::CurrentUser, RelationsKeyPath(hardware_id));
    if (!relations || !WriteRelations(*relations, records)) return false;
    const std::string journal_path = JournalKeyPath(hardware_id);
    auto journal = registry.OpenOrCreate(RegistryRoot::CurrentUser, journal_path);
    return journal && journal->DeleteValue(kJournalComplete) &&
           registry.DeleteTree(RegistryRoot::CurrentUser, journal_path);
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
    if (std::optional<bool> every_relation_read = ReadCompleteJournal(registry, hardware_id, records_)) {
        CommitJournal(registry, hardware_id, records_);  // failing, the journal stays for the next load
        return *every_relation_read;
    }
    auto key = registry.OpenReadOnly(RegistryRoot::CurrentUser, RelationsKeyPath(hardware_id));
    if (!key) {
        LoadDefaults(hardware_id, catalogue);
        return true;
    }
    return ReadRelations(*key, records_);
}

bool cRelationList::Save(platform::Registry& registry, uint16_t hardware_id) const {
    // A save cut short after its journal was complete is finished first:
    // until then only its journal holds a whole list.
    Records interrupted;
    if (ReadCompleteJournal(registry, hardware_id, interrupted) && !CommitJournal(registry, hardware_id, interrupted))
        return false;

    const std::string journal_path = JournalKeyPath(hardware_id);
    if (!registry.DeleteTree(RegistryRoot::CurrentUser, journal_path)) return false;  // one never completed
    auto journal = registry.OpenOrCreate(RegistryRoot::CurrentUser, journal_path);
    if (!journal || !WriteRelations(*journal, records_) || !journal->WriteDword(kJournalComplete, 1)) return false;
    return CommitJournal(registry, hardware_id, records_);
}

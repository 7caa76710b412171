#include "app/event_dialog_model.h"

#include "settings/led_vocabulary.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

// The index of the first item whose data equals value, or -1.
template <typename T, typename U>
int IndexOf(const std::vector<T>& data, U value) {
    const auto it = std::find(data.begin(), data.end(), static_cast<T>(value));
    return it == data.end() ? -1 : static_cast<int>(it - data.begin());
}

bool IsItem(int index, std::size_t count) { return index >= 0 && static_cast<std::size_t>(index) < count; }

// The order of a sorted combo box: by name, ignoring case.
bool NameBefore(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

cEventDialogModel::cEventDialogModel(cLedEngine& engine, cPersistentBool& enable_hidden_events,
                                     platform::TopLevelWindows& windows, platform::WindowHandle window,
                                     cSuspendNotice& suspend_notice, cEventDialogOwner& owner)
    : engine_(engine),
      enable_hidden_events_(enable_hidden_events),
      windows_(windows),
      window_(window),
      suspend_notice_(suspend_notice),
      owner_(owner) {}

void cEventDialogModel::FillEventAndPriorityLists() {
    const cEventCatalogue& catalogue = engine_.Catalogue();
    const bool hidden_shown = enable_hidden_events_.Get();
    std::vector<const event_row*> offered;
    for (const event_row& row : cEventCatalogue::Rows()) {
        const bool hidden = (row.flags & event_flag::Hidden) != 0;
        if ((!hidden || hidden_shown) && catalogue.IsAvailable(row.bit)) offered.push_back(&row);
    }
    // The list is sorted by name, as a sorted combo box orders its items.
    std::stable_sort(offered.begin(), offered.end(),
                     [](const event_row* a, const event_row* b) { return NameBefore(a->name, b->name); });
    view_.events = {};
    event_bits_.clear();
    for (const event_row* row : offered) {
        view_.events.items.emplace_back(row->name);
        event_bits_.push_back(row->bit);
    }

    view_.priorities = {};
    for (int8_t p = priority::Lowest; p <= priority::Highest; ++p) view_.priorities.items.emplace_back(PriorityName(p));
}

void cEventDialogModel::Edit(led_relation& relation, cLedDevice& device) {
    relation_ = &relation;
    device_ = &device;
    windows_.Show(window_);
    loading_ = true;
    view_.events.selected = IndexOf(event_bits_, relation.event);
    view_.leds = {};
    for (int i = 0; i < device.LedCount(); ++i) view_.leds.items.push_back(device.GetLedName(i));
    view_.leds.selected = IsItem(relation.led, view_.leds.items.size()) ? relation.led : -1;
    const int priority_item = relation.priority - priority::Lowest;
    view_.priorities.selected = IsItem(priority_item, view_.priorities.items.size()) ? priority_item : -1;
    FillStateList();
    loading_ = false;
}

void cEventDialogModel::FillStateList() {
    filling_states_ = true;
    view_.states = {};
    state_codes_.clear();
    if (const led_descriptor* led = relation_ ? device_->GetLed(relation_->led) : nullptr) {
        for (int j = 0; j < led->state_count; ++j) {
            view_.states.items.push_back(device_->GetStateName(relation_->led, led->states[j]));
            state_codes_.push_back(led->states[j]);
        }
        view_.states.selected = IndexOf(state_codes_, relation_->state);
    }
    filling_states_ = false;
}

void cEventDialogModel::ComboBox1Change(int index) {
    if (!relation_ || !IsItem(index, event_bits_.size())) return;
    relation_->event = event_bits_[index];
    view_.events.selected = index;
    const uint8_t flags = engine_.Catalogue().FlagsOf(relation_->event);
    if ((flags & event_flag::Notice) && relation_->event == event::SystemSuspended) suspend_notice_.Show();
}

void cEventDialogModel::ComboBox2Change(int index) {
    if (!relation_ || !IsItem(index, view_.leds.items.size())) return;
    relation_->led = index;
    view_.leds.selected = index;
    // The relation keeps its state even where the new LED lacks it: the list then selects nothing.
    if (!loading_) FillStateList();
}

void cEventDialogModel::ComboBox3Change(int index) {
    if (!relation_ || filling_states_ || !IsItem(index, state_codes_.size())) return;
    relation_->state = state_codes_[index];
    view_.states.selected = index;
}

void cEventDialogModel::ComboBox4Change(int index) {
    if (!relation_ || loading_ || !IsItem(index, view_.priorities.items.size())) return;
    relation_->priority = static_cast<int8_t>(priority::Lowest + index);
    view_.priorities.selected = index;
}

void cEventDialogModel::Button1Click() {
    windows_.Hide(window_);
    FormClose();
}

void cEventDialogModel::FormClose() {
    // The relation may be deleted and the device refreshed away once the owner has it back.
    relation_ = nullptr;
    device_ = nullptr;
    owner_.EventDialogClosed();
}

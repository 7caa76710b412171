#pragma once
// The event settings dialog (fEvent) without its window: it edits one
// relation of the engine's list in place, so every choice takes effect at
// once; there is no Cancel. Closing it in any way hands back to the
// configuration window.

#include "app/control_views.h"
#include "app/suspend_notice.h"
#include "engine/led_engine.h"
#include "platform/top_level_windows.h"
#include "settings/persistent_variables.h"

#include <cstdint>
#include <string>
#include <vector>

// What every control of the event dialog shows.
struct event_dialog_view {
    std::string caption = "Event settings";
    combo_view events;      // ComboBox1: the offered events, by name
    combo_view leds;        // ComboBox2: the LEDs of the device
    combo_view states;      // ComboBox3: the supported states of the relation's LED
    combo_view priorities;  // ComboBox4: "Lowest" .. "Highest"
};

// Told when the dialog closes.
class cEventDialogOwner {
public:
    virtual void EventDialogClosed() = 0;

protected:
    ~cEventDialogOwner() = default;
};

class cEventDialogModel {
public:
    cEventDialogModel(cLedEngine& engine, cPersistentBool& enable_hidden_events, platform::TopLevelWindows& windows,
                      platform::WindowHandle window, cSuspendNotice& suspend_notice, cEventDialogOwner& owner);

    // Refills the event list (the offered events; hidden ones only while "EnableHiddenEvents"
    // is set) and the priority list. Run at the end of the start-up and whenever hidden
    // events are switched.
    void FillEventAndPriorityLists();
    // Shows the dialog, not modally, on relation (edited in place) with the LEDs of device.
    void Edit(led_relation& relation, cLedDevice& device);
    // Refills the state list from the relation's LED and selects the relation's state.
    void FillStateList();
    // Sets the caption the next Edit shows under.
    void SetCaption(std::string caption) { view_.caption = std::move(caption); }

    // The user chose item index of a list: the relation takes its event, LED, state or priority.
    // Choosing "System suspended (S1/S3/S4)" shows the suspend notice.
    void ComboBox1Change(int index);
    void ComboBox2Change(int index);
    void ComboBox3Change(int index);
    void ComboBox4Change(int index);
    // "OK": hides the dialog and closes it as FormClose does.
    void Button1Click();
    // Every close (OK or the title bar's close button): hands back to the owner. The lists'
    // handlers change nothing until the next Edit.
    void FormClose();

    const event_dialog_view& View() const { return view_; }
    // The relation under edit, or null while the dialog is closed.
    const led_relation* Relation() const { return relation_; }

private:
    cLedEngine& engine_;
    cPersistentBool& enable_hidden_events_;
    platform::TopLevelWindows& windows_;
    platform::WindowHandle window_;
    cSuspendNotice& suspend_notice_;
    cEventDialogOwner& owner_;

    led_relation* relation_ = nullptr;  // in the engine's list, not owned
    cLedDevice* device_ = nullptr;      // the engine's current device at Edit, not owned
    bool loading_ = false;              // set while Edit fills the lists
    bool filling_states_ = false;       // set while FillStateList refills the state list
    std::vector<uint32_t> event_bits_;  // item data of the event list
    std::vector<int8_t> state_codes_;   // item data of the state list
    event_dialog_view view_;
};

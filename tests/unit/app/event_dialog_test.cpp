#include "tests/unit/app/app_fixture.h"

#include <algorithm>

namespace {

using Items = std::vector<std::string>;

class EventDialog : public AppFixture {
protected:
    const event_dialog_view& Dialog() { return model->EventDialog().View(); }
    bool Offers(const std::string& name) {
        const Items& items = Dialog().events.items;
        return std::find(items.begin(), items.end(), name) != items.end();
    }
    int IndexOf(const Items& items, const std::string& name) {
        return static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin());
    }
    const led_relation& Relation(std::size_t index) { return model->Engine().Relations()[index]; }
};

TEST_F(EventDialog, AddAppendsARelationAndEditsItInPlaceUntilClosed) {
    StartWithColourLed();
    Relate({{event::PowerOn, 0, led_state::White, 3}});
    model->ButtonAddClick();

    EXPECT_EQ(Relation(1), (led_relation{event::Recording1, 0, led_state::Red, priority::Normal}));
    EXPECT_FALSE(View().enabled);
    EXPECT_TRUE(desktop.IsVisible(windows.event_dialog));
    EXPECT_EQ(Dialog().caption, "New event/LED relation");
    EXPECT_EQ(Dialog().events.selected, IndexOf(Dialog().events.items, "Recording 1 channel"));
    EXPECT_EQ(Dialog().leds.items, Items{"LED 1"});
    EXPECT_EQ(Dialog().leds.selected, 0);
    EXPECT_EQ(Dialog().states.selected, IndexOf(Dialog().states.items, "Red"));
    EXPECT_EQ(Dialog().priorities.items, (Items{"Lowest", "Low", "Normal", "High", "Highest"}));
    EXPECT_EQ(Dialog().priorities.selected, 2);

    cEventDialogModel& dialog = model->EventDialog();
    dialog.ComboBox1Change(IndexOf(Dialog().events.items, "MC paused"));
    dialog.ComboBox3Change(IndexOf(Dialog().states.items, "Cyan"));
    dialog.ComboBox4Change(4);
    EXPECT_EQ(Relation(1), (led_relation{event::McPaused, 0, led_state::Cyan, priority::Highest}));

    dialog.Button1Click();
    EXPECT_FALSE(desktop.IsVisible(windows.event_dialog));
    EXPECT_TRUE(View().enabled);
    EXPECT_EQ(View().selected_row, 1);
    EXPECT_EQ(View().rows[1].event, "MC paused");
    cRelationList stored;
    stored.Load(registry, 0x1008, model->Engine().Catalogue());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1], Relation(1));
}

TEST_F(EventDialog, EditKeepsAStateTheNewLedLacks) {
    StartWithThreeLeds();
    Relate({{event::PowerOn, 0, led_state::On, 3}, {event::UserEvent1, 1, led_state::Pulse, 2}});
    model->ListView1DblClick(1);
    EXPECT_EQ(Dialog().caption, "Edit event/LED relation");
    EXPECT_EQ(model->EditIndex(), 1);
    EXPECT_EQ(Dialog().states.selected, IndexOf(Dialog().states.items, "Pulse"));

    // A device whose second LED lists fewer states is not at hand: take a state the LED lacks.
    model->Engine().Relations()[1].state = led_state::Red;
    model->EventDialog().ComboBox2Change(2);
    EXPECT_EQ(Relation(1).led, 2);
    EXPECT_EQ(Relation(1).state, led_state::Red);
    EXPECT_EQ(Dialog().states.selected, -1);
    model->EventDialog().FormClose();  // the title bar's close keeps every choice, as OK does
    EXPECT_EQ(View().rows[1].led, "LED 3");
    EXPECT_EQ(View().rows[1].state, "Invalid for this device");
    EXPECT_EQ(View().selected_row, 1);
    model->ButtonDeleteClick(1);
    model->EventDialog().ComboBox4Change(0);  // a late choice in the closed dialog: nothing
    EXPECT_EQ(model->EventDialog().Relation(), nullptr);

    model->ListView1DblClick(-1);  // no row selected: nothing
    EXPECT_TRUE(View().enabled);
}

TEST_F(EventDialog, FallbackDeviceOffersItsLockLedsWithoutStates) {
    ASSERT_EQ(Start(), std::nullopt);
    model->ButtonAddClick();
    EXPECT_EQ(Dialog().leds.items, (Items{"Scroll Lock", "Caps Lock", "Num Lock"}));
    EXPECT_TRUE(Dialog().states.items.empty());
    model->EventDialog().ComboBox2Change(1);
    model->EventDialog().ComboBox4Change(0);
    EXPECT_EQ(Relation(model->Engine().Relations().size() - 1).led, 1);
    EXPECT_TRUE(Dialog().states.items.empty());
}

TEST_F(EventDialog, OffersHiddenEventsOnlyWhileEnabledAndListsByName) {
    ASSERT_EQ(Start(), std::nullopt);
    EXPECT_EQ(Items(Dialog().events.items.begin(), Dialog().events.items.begin() + 3),
              (Items{"Away mode", "Extender in use", "Kodi is running"}));
    for (const char* hidden : {"Monitor on", "Always on", "System required", "Display required"})
        EXPECT_FALSE(Offers(hidden)) << hidden;

    model->CheckBox1Click(true);  // while the dialog is closed
    EXPECT_EQ(StoredDword(kGlimmerboxKey, "EnableHiddenEvents"), 1u);
    for (const char* hidden : {"Monitor on", "Always on", "System required", "Display required"})
        EXPECT_TRUE(Offers(hidden)) << hidden;
    EXPECT_EQ(Dialog().events.items.front(), "Always on");

    Start();  // the next start offers them from the beginning
    EXPECT_TRUE(Offers("Monitor on"));
}

TEST_F(EventDialog, WithoutMediaCenterTheNewRelationsEventIsNotOffered) {
    metrics.Set(platform::kSmMediaCenter, 0);
    StartWithThreeLeds();
    EXPECT_FALSE(Offers("Recording 1 channel"));
    model->ButtonAddClick();
    EXPECT_EQ(Dialog().events.selected, -1);
    EXPECT_EQ(Relation(model->Engine().Relations().size() - 1).event, event::Recording1);
}

TEST_F(EventDialog, SuspendEventShowsTheNoticeEachTimeItIsChosen) {
    StartWithThreeLeds();
    model->ButtonAddClick();
    cEventDialogModel& dialog = model->EventDialog();
    const int shows = desktop.shows;
    const int suspended = IndexOf(Dialog().events.items, "System suspended (S1/S3/S4)");
    dialog.ComboBox1Change(suspended);
    EXPECT_TRUE(desktop.IsVisible(windows.suspend_notice));
    model->SuspendNotice().Button2Click();
    EXPECT_FALSE(desktop.IsVisible(windows.suspend_notice));

    // "User input" carries the notice flag as well, but the notice concerns the suspend alone.
    for (const char* other : {"Power on", "User input"}) {
        ASSERT_TRUE(Offers(other)) << other;
        dialog.ComboBox1Change(IndexOf(Dialog().events.items, other));
        EXPECT_FALSE(desktop.IsVisible(windows.suspend_notice)) << other;
    }
    dialog.ComboBox1Change(suspended);
    dialog.ComboBox1Change(suspended);
    EXPECT_TRUE(desktop.IsVisible(windows.suspend_notice));
    EXPECT_EQ(desktop.shows - shows, 3);  // once per choice, one window
}

TEST_F(EventDialog, DefaultRelationsOnlyOnYes) {
    StartWithThreeLeds();
    Relate({{event::UserEvent2, 1, led_state::Blink, 5}});
    english_boxes.answer = platform::kIdNo;
    model->Button2Click();
    ASSERT_EQ(english_boxes.shown.size(), 1u);
    EXPECT_EQ(english_boxes.shown[0].owner, windows.main);
    EXPECT_EQ(english_boxes.shown[0].title, "Default relations");
    EXPECT_EQ(english_boxes.shown[0].text, "Are you sure you want to load the default relations for this device?");
    EXPECT_EQ(english_boxes.shown[0].type, platform::kMbYesNo | platform::kMbIconQuestion);
    EXPECT_EQ(View().rows.size(), 1u);

    english_boxes.answer = platform::kIdYes;
    model->Button2Click();
    cRelationList defaults;
    defaults.LoadDefaults(0x1000, model->Engine().Catalogue());
    ASSERT_EQ(model->Engine().Relations().size(), defaults.size());
    EXPECT_EQ(View().rows.size(), defaults.size());
    cRelationList stored;
    stored.Load(registry, 0x1000, model->Engine().Catalogue());
    EXPECT_EQ(stored.size(), defaults.size());
}

}  // namespace

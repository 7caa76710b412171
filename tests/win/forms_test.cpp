// The program's windows over fake devices, driven by the messages a user's
// clicks send: what each control shows, and what reaches the registry.

#include "app/main_timers.h"
#include "app/win32/main_form_layout.h"
#include "engine/event_catalogue.h"
#include "settings/led_vocabulary.h"
#include "tests/win/form_layout.h"
#include "tests/win/program_fixture.h"

#include <algorithm>
#include <cstring>

namespace {

std::vector<Form*> AllForms(cProgram& program) {
    return {&program.fMain, &program.fEvent, &program.fSuspendMessage};
}

// A window's controls are made when it is first shown.
void ShowOnce(Form& form) {
    form.Show();
    form.Hide();
}

int IndexOf(const std::vector<std::string>& items, const std::string& item) {
    const auto found = std::find(items.begin(), items.end(), item);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

}  // namespace

using FormLayout = ProgramOverFakeDevices;

TEST_F(FormLayout, EveryControlStandsAsDesignedAt96Dpi) {
    for (Form* form : AllForms(*program_)) {
        ShowOnce(*form);
        ExpectControlsAsDesigned(*form);
    }
}

TEST_F(FormLayout, NothingIsClippedAtOtherDpiOrInTheSystemFont) {
    struct layout_case {
        UINT dpi;
        const char* font;
    };
    // The first case changes the windows before their controls exist; the others lay out made controls.
    constexpr layout_case kCases[] = {{144, "Segoe UI"}, {96, "Tahoma"}, {96, "Segoe UI"}, {120, "Tahoma"},
                                      {144, "MS Sans Serif"}, {192, "Tahoma"}};
    for (const layout_case& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dpi, " << c.font);
        for (Form* form : AllForms(*program_)) {
            form->SetFontName(c.font);
            form->ApplyDpi(c.dpi);
            ShowOnce(*form);
            RECT client = {};
            GetClientRect(form->Handle(), &client);
            EXPECT_EQ(client.right, MulDiv(form->Table().client_width, c.dpi, 96));
            EXPECT_EQ(client.bottom, MulDiv(form->Table().client_height, c.dpi, 96));
            ExpectNothingClipped(*form);
        }
    }
}

using ConfigurationWindow = ProgramOverFakeDevices;

TEST_F(ConfigurationWindow, StartsHiddenOnTheLedsTabWithTheFirstModuleChosen) {
    Start();
    for (Form* form : AllForms(*program_)) {
        EXPECT_FALSE(IsWindowVisible(form->Handle())) << form->Table().class_name;
        EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), nullptr) << form->Table().class_name << ": no controls until shown";
    }
    OpenConfiguration();
    EXPECT_EQ(GetWindow(event_form().Handle(), GW_CHILD), nullptr) << "the dialog is made when it first opens";
    EXPECT_EQ(TabTexts(), (std::vector<std::string>{"LEDs", "Device", "About"}));
    EXPECT_EQ(main_form().SelectedPage(), main_layout::kLedsPage);

    std::vector<std::string> descriptions;
    for (int i = 0; i < model().Engine().Devices().Count(); ++i) {
        descriptions.push_back(model().Engine().Devices().Item(i)->Description());
    }
    EXPECT_EQ(ComboItems(main_form(), MainControl::ComboBox1), descriptions);
    ASSERT_EQ(descriptions.size(), 2u);
    EXPECT_EQ(main_form().Selection(MainControl::ComboBox1), 0) << "the full-colour module classifies highest";
    EXPECT_EQ(descriptions[0], "Full-color LED (cc) on COM3");
}

TEST_F(ConfigurationWindow, TabsFollowLevelControlAndTheHiddenHotSpot) {
    Start();
    OpenConfiguration();
    Click(main_form(), MainControl::CheckBox3);
    EXPECT_EQ(TabTexts(), (std::vector<std::string>{"LEDs", "Device", "Calibration", "About"}));
    EXPECT_TRUE(model().Engine().CurrentDevice().LevelControlEnabled());

    HWND hot_spot = main_form().Control(MainControl::Panel1);
    SendMessageA(hot_spot, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(TabTexts(), (std::vector<std::string>{"LEDs", "Device", "Calibration", "R&&D", "About"}));
    SendMessageA(hot_spot, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    Click(main_form(), MainControl::CheckBox3);
    EXPECT_EQ(TabTexts(), (std::vector<std::string>{"LEDs", "Device", "About"}));
}

TEST_F(ConfigurationWindow, RowsShowTheRelationsAndMarkTheActiveOnes) {
    Start();
    OpenConfiguration();
    const std::vector<shown_row> rows = ShownRows();
    const std::vector<led_relation> relations = EngineRelations();
    ASSERT_EQ(rows.size(), relations.size());
    ASSERT_FALSE(rows.empty());
    cLedDevice& device = model().Engine().CurrentDevice();
    bool some_marked = false, some_unmarked = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const led_relation& relation = relations[i];
        const std::vector<std::string> expected = {model().Engine().Catalogue().NameOf(relation.event),
                                                   device.GetLedName(relation.led),
                                                   device.GetStateName(relation.led, relation.state),
                                                   PriorityName(relation.priority)};
        EXPECT_EQ(rows[i].texts, expected) << "row " << i;
        const bool active = (model().Engine().Events() & relation.event) != 0;
        EXPECT_EQ(rows[i].marked, active) << "row " << i;
        (active ? some_marked : some_unmarked) = true;
    }
    EXPECT_TRUE(some_marked && some_unmarked) << "the defaults hold active and inactive events";
}

TEST_F(ConfigurationWindow, MarksFollowTheEventsTickByTick) {
    Start();
    OpenConfiguration();
    Click(main_form(), MainControl::ButtonAdd);
    const std::string user_event = model().Engine().Catalogue().NameOf(event::UserEvent0);
    Choose(event_form(), EventControl::ComboBox1, IndexOf(ComboItems(event_form(), EventControl::ComboBox1), user_event));
    Click(event_form(), EventControl::Button1);
    EXPECT_FALSE(ShownRows().back().marked);

    model().Engine().UserEvent(0).Set(true);  // as a second instance started with USEREVENT0=1 does
    for (int tick = 0; tick < 8; ++tick) SendMessageA(main_form().Handle(), WM_TIMER, main_timer::Timer1, 0);
    EXPECT_TRUE(ShownRows().back().marked) << "the user events are gathered every eighth tick";
}

TEST_F(ConfigurationWindow, ChoosingAnotherDeviceShowsItsRelationsAndLeds) {
    Start();
    OpenConfiguration();
    Choose(main_form(), MainControl::ComboBox1, 1);
    EXPECT_EQ(model().Engine().CurrentDevice().Id(), "COM5");
    EXPECT_EQ(main_form().Selection(MainControl::ComboBox1), 1);
    EXPECT_EQ(ShownRows().size(), model().Engine().Relations().size());
    EXPECT_FALSE(IsWindowEnabled(main_form().Control(MainControl::CheckBox2))) << "no Prolific adapter";
}

TEST_F(ConfigurationWindow, RefreshDevicesIsDisabledWhileItRunsAndRefusesAClickFromItsBoxes) {
    Start();
    OpenConfiguration();
    ports.AddPort(7).fail_modem_status = true;  // its probe shows boxes
    HWND button = main_form().Control(MainControl::ButtonRefreshDevices);
    bool disabled_under_every_box = true;
    message_boxes.while_shown = [&] {
        disabled_under_every_box &= !IsWindowEnabled(button);
        if (message_boxes.shown.size() == 1) model().ButtonRefreshDevicesClick();  // would list the ports twice
    };
    Click(main_form(), MainControl::ButtonRefreshDevices);
    ASSERT_FALSE(message_boxes.shown.empty());
    EXPECT_TRUE(disabled_under_every_box);
    EXPECT_TRUE(IsWindowEnabled(button));
    EXPECT_EQ(ComboItems(main_form(), MainControl::ComboBox1).size(), 3u);
}

// The window unpacks the system's record; a missing or empty one is no report.
TEST_F(ConfigurationWindow, PowerSettingMessagesReachTheEngineThroughTheWindow) {
    Start();
    struct record_case {
        bool record;
        DWORD data_length;
        bool away;
    };
    constexpr record_case kCases[] = {{true, 4, true}, {false, 4, true}, {true, 0, true}, {true, 1, false}};
    DWORD value = 1;
    for (const record_case& c : kCases) {
        alignas(POWERBROADCAST_SETTING) BYTE record[sizeof(POWERBROADCAST_SETTING) + sizeof value] = {};
        auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(record);
        std::memcpy(&setting->PowerSetting, &platform::kGuidSystemAwayMode, sizeof(GUID));
        setting->DataLength = c.data_length;
        std::memcpy(setting->Data, &value, sizeof value);
        SendMessageA(main_form().Handle(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                     c.record ? reinterpret_cast<LPARAM>(record) : 0);
        EXPECT_EQ((model().Engine().Events() & event::AwayMode) != 0, c.away);
        value = 0;
    }
}

// The form keeps the image list it gives the relation list; the list must not free it.
TEST_F(ConfigurationWindow, TheRelationListLeavesItsMarksToTheForm) {
    Start();
    OpenConfiguration();
    HWND list = main_form().Control(MainControl::ListView1);
    const auto marks = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    DestroyWindow(list);
    EXPECT_EQ(ImageList_GetImageCount(marks), 2);
}

TEST_F(ConfigurationWindow, CalibrationListsAndBarsEditTheChosenColour) {
    Start();
    OpenConfiguration();
    Click(main_form(), MainControl::CheckBox3);
    cLedDevice& device = model().Engine().CurrentDevice();
    std::vector<std::string> leds;
    for (int i = 0; i < device.LedCount(); ++i) leds.push_back(device.GetLedName(i));
    EXPECT_EQ(ComboItems(main_form(), MainControl::ComboBox3), leds);

    const led_descriptor& led = *device.GetLed(0);
    std::vector<std::string> colours;
    for (int j = 0; j < led.state_count; ++j) colours.push_back(device.GetStateName(0, led.states[j]));
    EXPECT_EQ(ComboItems(main_form(), MainControl::ComboBox2), colours);
    const int red = IndexOf(colours, StateCodeName(led_state::Red));
    ASSERT_GE(red, 0);
    Choose(main_form(), MainControl::ComboBox2, red);

    for (MainControl bar : {MainControl::TrackBar1, MainControl::TrackBar2, MainControl::TrackBar3}) {
        EXPECT_EQ(SendMessageA(main_form().Control(bar), TBM_GETRANGEMIN, 0, 0), 0) << static_cast<int>(bar);
        EXPECT_EQ(SendMessageA(main_form().Control(bar), TBM_GETRANGEMAX, 0, 0), 100) << static_cast<int>(bar);
    }
    MoveBar(MainControl::TrackBar1, 40);
    EXPECT_EQ(led.levels[red][0], 40);
    EXPECT_EQ(main_form().Text(MainControl::Label1), "40%");
    EXPECT_TRUE(model().Calibration().IsSavePending());
}

using RelationEditing = ProgramOverFakeDevices;

TEST_F(RelationEditing, AddOpensTheDialogAndStoresTheNewRelationWhenItCloses) {
    Start();
    OpenConfiguration();
    const std::size_t before = ShownRows().size();
    Click(main_form(), MainControl::ButtonAdd);
    EXPECT_TRUE(IsWindowVisible(event_form().Handle()));
    EXPECT_FALSE(IsWindowEnabled(main_form().Handle()));
    char caption[64] = {};
    GetWindowTextA(event_form().Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "New event/LED relation");
    EXPECT_EQ(ComboItems(event_form(), EventControl::ComboBox4),
              (std::vector<std::string>{"Lowest", "Low", "Normal", "High", "Highest"}));

    const std::string user_event = model().Engine().Catalogue().NameOf(event::UserEvent0);
    Choose(event_form(), EventControl::ComboBox1, IndexOf(ComboItems(event_form(), EventControl::ComboBox1), user_event));
    Click(event_form(), EventControl::Button1);

    EXPECT_FALSE(IsWindowVisible(event_form().Handle()));
    EXPECT_TRUE(IsWindowEnabled(main_form().Handle()));
    const std::vector<shown_row> rows = ShownRows();
    ASSERT_EQ(rows.size(), before + 1);
    EXPECT_EQ(rows.back().texts[0], user_event);
    EXPECT_EQ(StoredRelations(), EngineRelations());
    EXPECT_EQ(StoredRelations().back().event, event::UserEvent0);
}

TEST_F(RelationEditing, DoubleClickEditsTheRowAndTheCloseButtonKeepsTheChoice) {
    Start();
    OpenConfiguration();
    const int row = 1;
    DoubleClickRow(row);
    ASSERT_TRUE(IsWindowVisible(event_form().Handle()));
    char caption[64] = {};
    GetWindowTextA(event_form().Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Edit event/LED relation");
    EXPECT_EQ(event_form().Selection(EventControl::ComboBox4), EngineRelations()[row].priority - 1);

    Choose(event_form(), EventControl::ComboBox4, priority::Highest - 1);
    SendMessageA(event_form().Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(event_form().Handle()));
    EXPECT_EQ(ShownRows()[row].texts[3], PriorityName(priority::Highest));
    EXPECT_EQ(StoredRelations(), EngineRelations());
    EXPECT_EQ(StoredRelations()[row].priority, priority::Highest);
    EXPECT_EQ(SendMessageA(main_form().Control(MainControl::ListView1), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
              row);
}

TEST_F(RelationEditing, DeleteRemovesTheSelectedRowAndStoresTheRest) {
    Start();
    OpenConfiguration();
    std::vector<led_relation> expected = EngineRelations();
    const int last = static_cast<int>(expected.size()) - 1;
    DoubleClickRow(last);  // selects the row; the dialog it opens is closed again
    Click(event_form(), EventControl::Button1);
    Click(main_form(), MainControl::ButtonDelete);
    expected.pop_back();
    EXPECT_EQ(EngineRelations(), expected);
    EXPECT_EQ(StoredRelations(), expected);
    EXPECT_EQ(ShownRows().size(), expected.size());
    EXPECT_EQ(SendMessageA(main_form().Control(MainControl::ListView1), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED),
              last - 1)
        << "the new last row";
}

TEST_F(RelationEditing, DefaultAsksAndReplacesTheListOnlyOnYes) {
    Start();
    OpenConfiguration();
    Click(main_form(), MainControl::ButtonAdd);
    Click(event_form(), EventControl::Button1);
    const std::vector<led_relation> edited = EngineRelations();

    english_boxes.answer = platform::kIdNo;
    Click(main_form(), MainControl::Button2);
    ASSERT_EQ(english_boxes.shown.size(), 1u);
    EXPECT_EQ(english_boxes.shown[0].title, "Default relations");
    EXPECT_EQ(english_boxes.shown[0].owner, main_form().Handle());
    EXPECT_EQ(EngineRelations(), edited);
    EXPECT_EQ(StoredRelations(), edited);

    english_boxes.answer = platform::kIdYes;
    Click(main_form(), MainControl::Button2);
    cRelationList defaults;
    defaults.LoadDefaults(static_cast<uint16_t>(model().Engine().CurrentDevice().HardwareId()),
                          model().Engine().Catalogue());
    std::vector<led_relation> expected;
    for (const auto& relation : defaults) expected.push_back(*relation);
    EXPECT_EQ(EngineRelations(), expected);
    EXPECT_EQ(StoredRelations(), expected);
    EXPECT_EQ(ShownRows().size(), expected.size());
}

#include "tests/unit/app/app_fixture.h"

namespace {

using Items = std::vector<std::string>;

class ConfigurationWindow : public AppFixture {
protected:
    // A USB adapter of the Prolific kind on COM1, without a module.
    void AddProlificPort() {
        registry
            .OpenOrCreate(platform::RegistryRoot::LocalMachine,
                          "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_067B&PID_2303\\5&1\\Device Parameters")
            ->WriteString("PortName", "COM1");
        ports.AddPort(1);
    }
    static void ExpectRow(const relation_row& row, const relation_row& expected) {
        EXPECT_EQ(row.event, expected.event);
        EXPECT_EQ(row.led, expected.led);
        EXPECT_EQ(row.state, expected.state);
        EXPECT_EQ(row.priority, expected.priority);
        EXPECT_EQ(row.marked, expected.marked) << expected.event;
    }
    static void ExpectBar(const bar_view& bar, bool visible, bool enabled, int position, const std::string& label) {
        EXPECT_EQ(bar.visible, visible);
        EXPECT_EQ(bar.label_visible, visible);
        EXPECT_EQ(bar.enabled, enabled);
        EXPECT_EQ(bar.label_enabled, enabled);
        EXPECT_EQ(bar.position, position);
        EXPECT_EQ(bar.label, label);
        EXPECT_EQ(bar.maximum, 100);
    }
};

TEST_F(ConfigurationWindow, FullColourSerialDeviceWithLevelControl) {
    StartWithColourLed();
    model->CheckBox3Click(true);
    Relate({{event::PowerOn, 0, led_state::Red, 4},
            {event::Recording1, 0, led_state::On, 3},
            {0x80000000, 1, led_state::Blue, 5}});

    ASSERT_EQ(View().rows.size(), 3u);
    ExpectRow(View().rows[0], {"Power on", "LED 1", "Red", "High", true});
    ExpectRow(View().rows[1], {"Recording 1 channel", "LED 1", "Invalid for this device", "Normal", false});
    ExpectRow(View().rows[2],
              {"** Invalid **", "Invalid for this device", "Invalid for this device", "Highest", false});
    EXPECT_EQ(View().devices.items, Items{"Full-color LED (cc) on COM1"});
    EXPECT_EQ(View().devices.selected, 0);
    EXPECT_FALSE(View().prolific_fix.checked);
    EXPECT_FALSE(View().prolific_fix.enabled);
    EXPECT_TRUE(View().level_control.checked);
    EXPECT_TRUE(View().level_control.enabled);
    EXPECT_EQ(View().hardware_id, "1008");
    EXPECT_EQ(View().classification, "4");
    EXPECT_EQ(View().manufacturer_device_id, "");
    EXPECT_FALSE(View().hidden_events.checked);

    // "On" is no colour of this LED: no colour chosen and every bar disabled at its place.
    EXPECT_TRUE(Calibration().tab_shown);
    EXPECT_EQ(Calibration().leds.items, Items{"LED 1"});
    EXPECT_EQ(Calibration().leds.selected, 0);
    EXPECT_EQ(Calibration().colours.items,
              (Items{"Off", "Red", "Green", "Blue", "Cyan", "Magenta", "Yellow", "White"}));
    EXPECT_EQ(Calibration().colours.selected, -1);
    EXPECT_TRUE(Calibration().colours.enabled);
    EXPECT_TRUE(Calibration().colour_label_enabled);
    for (const bar_view& bar : Calibration().bars) ExpectBar(bar, true, false, 0, "-");
    EXPECT_FALSE(timers.IsRunning(main_timer::Timer2));

    // Choosing red moves the red bar, and a bar the program moves counts as an edit.
    model->ComboBox2Change(1);
    EXPECT_EQ(model->Calibration().CalibrationColour(), led_state::Red);
    ExpectBar(Calibration().bars[0], true, true, 100, "100%");
    ExpectBar(Calibration().bars[1], true, true, 0, "0%");
    ExpectBar(Calibration().bars[2], true, true, 0, "0%");
    EXPECT_TRUE(timers.IsRunning(main_timer::Timer2));

    model->CheckBox3Click(false);
    EXPECT_FALSE(Calibration().tab_shown);
    EXPECT_FALSE(View().level_control.checked);
}

// A blink(1) mk2 alone is the first choice; its second LED's bars are that LED's red, green and blue.
TEST_F(ConfigurationWindow, UsbLightCalibratesEachLedsColoursAndPreviewsThemOnTheLight) {
    const std::string path = "\\\\?\\hid#vid_27b8&pid_01ed#1";
    hid.Plug(path, {0x27B8, 0x01ED, 2, 0, 9}, "20000001");
    StartWithThreeLeds();
    EXPECT_EQ(Current().Id(), path) << "a known light before a port without a module";
    EXPECT_EQ(View().hardware_id, "3655");
    model->CheckBox3Click(true);
    model->ComboBox3Change(1);
    model->ComboBox2Change(11);
    EXPECT_EQ(model->Calibration().CalibrationColour(), led_state::Yellow);
    ExpectBar(Calibration().bars[2], true, true, 0, "0%");
    model->TrackBar1Change(50);
    EXPECT_EQ(Current().GetLed(1)->levels[11][3], 50);
    clock.Advance(125);
    const std::vector<uint8_t> yellow = {1, 'n', 127, 255, 0, 0, 0, 2, 0};
    EXPECT_EQ(hid.At(path).reports.back().bytes, yellow);
}

TEST_F(ConfigurationWindow, PlainDeviceCalibratesOneLevelPerLed) {
    StartWithThreeLeds();
    model->CheckBox3Click(true);
    Relate({{event::UserEvent0, 2, led_state::BlinkFast, 1}});

    ExpectRow(View().rows[0], {"User event 0", "LED 3", "Blink fast", "Lowest", false});
    EXPECT_EQ(View().hardware_id, "1000");
    EXPECT_EQ(View().classification, "2");
    EXPECT_EQ(Calibration().leds.items, (Items{"LED 1", "LED 2", "LED 3"}));
    EXPECT_TRUE(Calibration().colours.items.empty());
    EXPECT_FALSE(Calibration().colours.enabled);
    EXPECT_FALSE(Calibration().colour_label_enabled);
    ExpectBar(Calibration().bars[0], false, false, 0, "-");
    ExpectBar(Calibration().bars[1], true, true, 100, "100%");
    ExpectBar(Calibration().bars[2], false, false, 0, "-");

    model->TrackBar2Change(40);
    model->ComboBox3Change(2);
    EXPECT_EQ(Calibration().leds.selected, 2);
    EXPECT_EQ(model->Calibration().CalibrationLed(), 2);
    ExpectBar(Calibration().bars[1], true, true, 100, "100%");
    EXPECT_EQ(Current().GetLed(0)->level, 40);
}

TEST_F(ConfigurationWindow, FallbackKeyboardDevice) {
    EXPECT_EQ(Start(), std::nullopt);
    Relate({{event::PowerOn, 2, led_state::On, 3}});

    ExpectRow(View().rows[0], {"Power on", "Num Lock", "Invalid for this device", "Normal", true});
    EXPECT_TRUE(View().devices.items.empty());
    EXPECT_EQ(View().devices.selected, -1);
    EXPECT_FALSE(View().prolific_fix.enabled);
    EXPECT_FALSE(View().level_control.checked);
    EXPECT_FALSE(View().level_control.enabled);
    EXPECT_FALSE(Calibration().tab_shown);
    EXPECT_EQ(View().hardware_id, "2003");
    EXPECT_EQ(View().classification, "0");
}

TEST_F(ConfigurationWindow, TickMarksTheRowsOfActiveEvents) {
    StartWithThreeLeds();
    Relate({{event::UserEvent0, 0, led_state::On, 3}, {event::PowerOn, 1, led_state::On, 3}});
    EXPECT_FALSE(View().rows[0].marked);
    EXPECT_TRUE(View().rows[1].marked);

    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteDword("UserEvent0", 1);
    clock.Advance(1000);  // another instance set the user event; the next gathering sees it
    EXPECT_TRUE(View().rows[0].marked);
    EXPECT_TRUE(Current().LitBits() & 0x1);
}

TEST_F(ConfigurationWindow, ProlificFixBelongsToTheSerialDevice) {
    AddProlificPort();
    ports.AddPort(2, {.dtr = platform::kMsRlsdOn});
    EXPECT_EQ(Start(), std::nullopt);
    model->ComboBox1Change(0);
    EXPECT_EQ(View().manufacturer_device_id, "VID_067B&PID_2303");
    EXPECT_TRUE(View().prolific_fix.enabled);
    EXPECT_FALSE(View().level_control.enabled);  // USB adapters cannot dim
    EXPECT_FALSE(Calibration().tab_shown);
    model->CheckBox2Click(true);
    EXPECT_TRUE(View().prolific_fix.checked);

    model->ComboBox1Change(1);
    EXPECT_EQ(model->Engine().DeviceId().Get(), "COM2");
    EXPECT_FALSE(View().prolific_fix.checked);
    EXPECT_FALSE(View().prolific_fix.enabled);
    EXPECT_TRUE(dynamic_cast<cSerialLedDevice&>(*model->Engine().Devices().Item(0)).ResumeFix().Get());
}

TEST_F(ConfigurationWindow, RefreshWithoutTheStoredDeviceShowsTheFallbacksOwnRelations) {
    StartWithThreeLeds();
    Relate({{event::UserEvent0, 2, led_state::On, 3}});
    model->Engine().SaveRelations();
    model->Engine().DeviceId().Set("COM9");
    model->ButtonRefreshDevicesClick();
    EXPECT_EQ(Current().Id(), "Keyboard");
    EXPECT_TRUE(View().refresh_devices_enabled);

    cRelationList fallback;
    fallback.Load(registry, 0x2003, model->Engine().Catalogue());
    ASSERT_EQ(model->Engine().Relations().size(), fallback.size());
    EXPECT_EQ(model->Engine().Relations()[0], fallback[0]);
}

TEST_F(ConfigurationWindow, ASwitchLoadsTheNewDevicesRelationsBeforeItsErrorBoxIsUp) {
    ports.AddPort(2, {.dtr = platform::kMsRlsdOn});  // a module: another kind, chosen at start
    StartWithThreeLeds();
    model->ComboBox1Change(0);
    Relate({{event::UserEvent0, 2, led_state::On, 3}});
    model->Engine().SaveRelations();  // stored for COM1's kind
    model->ComboBox1Change(1);
    ports.port(1).open_error = 5;  // taken by another program meanwhile

    std::vector<led_relation> shown_under_the_box;
    message_boxes.while_shown = [&] {
        for (const auto& relation : model->Engine().Relations()) shown_under_the_box.push_back(*relation);
    };
    model->ComboBox1Change(0);
    ASSERT_EQ(message_boxes.shown.size(), 1u);
    EXPECT_EQ(shown_under_the_box, (std::vector<led_relation>{{event::UserEvent0, 2, led_state::On, 3}}));
}

TEST_F(ConfigurationWindow, DeleteSelectsTheRowThatMovedUpOrTheNewLast) {
    struct Case {
        int rows;
        int deleted;  // the selected row; -1: none
        int selected_after;
        uint32_t selections;  // how often the selection was set
    };
    StartWithThreeLeds();
    for (const Case c : {Case{3, 2, 1, 1}, Case{3, 0, 0, 1}, Case{1, 0, -1, 1}, Case{2, -1, -1, 0}}) {
        model->Engine().Relations().Clear();
        for (int i = 0; i < c.rows; ++i) model->Engine().Relations().Add({event::UserEvent0 << i, i, 2, 3});
        model->Engine().SaveRelations();
        model->RefreshWindow();
        const uint32_t selections = View().selection_generation;

        model->ButtonDeleteClick(c.deleted);
        const std::size_t left = c.rows - (c.deleted >= 0 ? 1 : 0);
        EXPECT_EQ(View().rows.size(), left);
        EXPECT_EQ(View().selection_generation, selections + c.selections);
        if (c.selections) {
            EXPECT_EQ(View().selected_row, c.selected_after);
        }
        // Stored at once: a program started now finds the same list.
        cRelationList stored;
        stored.Load(registry, 0x1000, model->Engine().Catalogue());
        EXPECT_EQ(stored.size(), left);
    }
}

}  // namespace

TEST_F(ConfigurationWindow, KodiIsFollowedIntoTheLightsTheMarksAndTheStatusLine) {
    using Answer = platform::fake::FakeStreamSockets::Answer;
    FakeMachine::windows.classes.insert("Kodi");
    StartWithThreeLeds();
    EXPECT_TRUE(View().kodi_source.checked) << "followed unless the user said otherwise";
    Relate({{event::KodiPlaying, 0, led_state::On, 3}, {0x10, 1, led_state::On, 3}});  // recording 3 channels
    clock.Advance(125);
    EXPECT_EQ(View().kodi_status, "Kodi refused: turn on its setting "
                                  "\"Allow remote control from applications on this system\"");

    sockets.AnswerConnects(Answer::Accept);
    SetSlot(0, msas::MSPROPTAG_Recording);
    clock.Advance(5000);
    EXPECT_EQ(View().kodi_status, "Connected to Kodi");
    sockets.LastPeer()->Deliver(R"({"method":"Player.OnPlay"}{"id":1,"result":{"version":{"major":13,"minor":0,)"
                                R"("patch":0}}}{"id":5,"result":{"timers":[{"state":"recording"},)"
                                R"({"state":"recording"}]}})");
    clock.Advance(125);  // the very next tick
    EXPECT_EQ(View().kodi_status, "Connected to Kodi (JSON-RPC 13.0.0)");
    EXPECT_TRUE(View().rows[0].marked && View().rows[1].marked) << "Media Center's recording and Kodi's two";
    EXPECT_EQ(Current().LitBits() & 0x3, 0x3u);

    model->CheckBoxKodiClick(false);
    EXPECT_EQ(View().kodi_status, "");
    EXPECT_FALSE(sockets.LastPeer()->Held());
    clock.Advance(125);
    EXPECT_FALSE(View().rows[0].marked || View().rows[1].marked);
    EXPECT_EQ(StoredDword(kGlimmerboxKey, "KodiSource"), 0u);
}

#include "tests/unit/app/app_fixture.h"

namespace {

using enum tray_light;
using Lights = std::vector<tray_light>;

class TrayPanel : public AppFixture {
protected:
    Lights Shown() const {
        const tray_picture& picture = model->Tray().Picture();
        return Lights(picture.lights.begin(), picture.lights.begin() + picture.count);
    }
    // Ticks and counts the ticks after which the form had a new picture or tip to send.
    int ChangesOver(int ticks) {
        const uint32_t before = View().tray_generation;
        for (int i = 0; i < ticks; ++i) model->Timer1Timer();
        return static_cast<int>(View().tray_generation - before);
    }
};

struct picture_case {
    const char* name;
    int ports;  // 0: the fallback keyboard device; 1: COM1 plain; 2: COM1 with the colour module
    std::vector<led_relation> relations;
    Lights lights;
    std::string tip;
};
void PrintTo(const picture_case& c, std::ostream* os) { *os << c.name; }

class TrayPictures : public TrayPanel, public testing::WithParamInterface<picture_case> {};

TEST_P(TrayPictures, StatesBecomeLightsAndTheWinningEventsTheTip) {
    const picture_case& c = GetParam();
    if (c.ports) ports.AddPort(1, {.dtr = c.ports == 2 ? platform::kMsRlsdOn : 0u});
    ASSERT_EQ(Start(), std::nullopt);
    Relate({});
    for (const led_relation& relation : c.relations) model->Engine().Relations().Add(relation);
    model->Timer1Timer();
    EXPECT_EQ(Shown(), c.lights);
    EXPECT_EQ(model->Tray().Tip(), c.tip);
}

constexpr int8_t kNormal = priority::Normal, kHigh = priority::High;
INSTANTIATE_TEST_SUITE_P(
    EveryDeviceKind, TrayPictures,
    testing::Values(
        picture_case{"PlainLeds", 1,
                     {{event::AlwaysOn, 0, led_state::On, kNormal}, {event::AlwaysOn, 1, led_state::Off, kNormal},
                      {event::PowerOn, 2, led_state::BlinkSlow, kNormal}, {event::AlwaysOn, 2, led_state::On, kHigh}},
                     {Lit, Dark, Lit}, "Glimmerbox\nLED 1: Always on\nLED 3: Always on"},
        picture_case{"FullColour", 2, {{event::PowerOn, 0, led_state::Cyan, kNormal}}, {Cyan},
                     "Glimmerbox\nLED 1: Power on"},
        picture_case{"ColourTheLedLacks", 2, {{event::PowerOn, 0, led_state::On, kNormal}}, {Dark}, kNoEventTrayTip},
        picture_case{"Keyboard", 0, {{event::AlwaysOn, 2, led_state::On, kNormal}}, {Dark, Dark, Lit},
                     "Glimmerbox\nNum Lock: Always on"},
        picture_case{"NothingActive", 1, {{event::Recording1, 0, led_state::On, kNormal}}, {Dark, Dark, Dark},
                     kNoEventTrayTip}),
    [](const testing::TestParamInfo<picture_case>& info) { return std::string(info.param.name); });

TEST_F(TrayPanel, BlinkingFollowsTheDevicesPhaseAndNothingElseSendsAnUpdate) {
    StartWithThreeLeds();
    Relate({{event::AlwaysOn, 0, led_state::On, priority::Normal}});
    model->Timer1Timer();
    EXPECT_EQ(ChangesOver(32), 0);

    Relate({{event::AlwaysOn, 0, led_state::Blink, priority::Normal}});
    int changes = 0;
    for (int tick = 0; tick < 32; ++tick) {
        changes += ChangesOver(1);
        EXPECT_EQ(Shown()[0] == Lit, ports.port(1).dtr) << "LED 1 is on DTR; tick " << tick;
    }
    EXPECT_EQ(changes, 8);  // a blink is lit four ticks and dark four
    EXPECT_EQ(model->Tray().Tip(), "Glimmerbox\nLED 1: Always on");

    // Off: the plain icon and tip, stored for the next start.
    model->CheckBoxTrayLightsClick(false);
    EXPECT_TRUE(Shown().empty() && model->Tray().Tip() == "Glimmerbox" && !View().tray_lights.checked);
    EXPECT_EQ(ChangesOver(32), 0);
    EXPECT_EQ(StoredDword(kGlimmerboxKey, "TrayLights"), 0u);
}

TEST(TrayTip, KeepsWholeLinesAndCutsTheFirstThatDoesNotFitTo127Characters) {
    const std::string led(60, 'L');
    const tray_tip_line lines[] = {{led, "Always on"}, {led, "Power on"}, {"Scroll Lock", "MC paused"}};
    EXPECT_EQ(TrayTip(lines), "Glimmerbox\n" + led + ": Always on\n" + led.substr(0, 41) + "...");
}

}  // namespace

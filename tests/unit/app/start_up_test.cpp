#include "app/build_stamp.h"
#include "app/command_line.h"
#include "devices/detection_log.h"
#include "tests/unit/app/app_fixture.h"

#include <array>

namespace {

using StoredEvents = std::array<std::optional<bool>, 3>;
constexpr std::nullopt_t kNone = std::nullopt;

struct CommandLineCase {
    const char* name;
    std::vector<std::string> arguments;  // the program's own path first
    bool remote_session;
    std::optional<int> exit_code;
    StoredEvents stored;  // "UserEvent0" .. "UserEvent2" afterwards; nothing: never written
    bool help_shown;
    bool log_detect;
    bool running_elsewhere = false;  // a program of this session takes the start over
};

void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << c.name; }

class StartUp : public AppFixture, public testing::WithParamInterface<CommandLineCase> {};

TEST_P(StartUp, CommandLineEndsOrRunsOn) {
    const CommandLineCase& c = GetParam();
    metrics.Set(platform::kSmRemoteSession, c.remote_session ? 1 : 0);
    Build();
    std::optional<bool> handed_over_log_detect;
    const std::optional<int> code = model->Start(c.arguments, [this] { tray_rows = 0; }, [&](bool log_detect) {
        handed_over_log_detect = log_detect;
        return c.running_elsewhere;
    });

    EXPECT_EQ(code, c.exit_code);
    // Only a start that would run on is handed over: the other ends stay as they are.
    EXPECT_EQ(handed_over_log_detect.has_value(), !c.exit_code || *c.exit_code == exit_code::HandedOver);
    EXPECT_EQ(handed_over_log_detect.value_or(c.log_detect), c.log_detect);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(StoredDword(kGlimmerboxKey, "UserEvent" + std::to_string(i)), c.stored[i]) << i;
    ASSERT_EQ(english_boxes.shown.size(), c.help_shown ? 1u : 0u);
    if (c.help_shown) {
        const auto& box = english_boxes.shown[0];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.title, "Glimmerbox Help");
        EXPECT_EQ(box.text,
                  "Command line options:\r\n\r\nUSEREVENTx=y - Set user event state.\r\nWhere x = 0 to 2 and y = 0 "
                  "or 1\r\n\r\nLOGDETECT - Create device detection log file.");
        EXPECT_EQ(box.type, platform::kMbOk);
    }
    EXPECT_EQ(model->LogDetect(), c.log_detect);
    // An early end comes before the enumeration, the tray icon and the tick.
    EXPECT_EQ(files.Exists(kDetectionLogFileName), c.log_detect && !c.exit_code);
    EXPECT_EQ(tray_rows >= 0, !c.exit_code);
    EXPECT_EQ(timers.Interval(main_timer::Timer1), c.exit_code ? 0u : 125u);
}

const std::string kOwn = "C:\\Program Files\\Glimmerbox\\GlimmerBox.EXE";
const StoredEvents kReset = {false, false, false};

INSTANTIATE_TEST_SUITE_P(
    Table, StartUp,
    testing::Values(
        CommandLineCase{"OwnPathOnly", {kOwn}, false, kNone, kReset, false, false},
        CommandLineCase{"OtherProgramName", {"C:\\Tools\\Lights.exe"}, false, 1, {}, true, false},
        CommandLineCase{"MixedCaseZero", {kOwn, "usErEvent1=0"}, false, 2, {kNone, false, kNone}, false, false},
        CommandLineCase{"One", {kOwn, "USEREVENT1=1"}, false, 2, {kNone, true, kNone}, false, false},
        CommandLineCase{"EmptyValue", {kOwn, "USEREVENT1="}, false, 2, {kNone, true, kNone}, false, false},
        CommandLineCase{"Yes", {kOwn, "USEREVENT2=yes"}, false, 2, {kNone, kNone, true}, false, false},
        CommandLineCase{"LeadingZero", {kOwn, "USEREVENT1=01"}, false, 2, {kNone, false, kNone}, false, false},
        CommandLineCase{"UnknownAfterEvent", {kOwn, "USEREVENT0=1", "BOGUS"}, false, 1, {true, kNone, kNone}, true,
                        false},
        CommandLineCase{"LogAndEvent", {kOwn, "LOGDETECT", "USEREVENT2=0"}, false, 2, {kNone, kNone, false}, false,
                        true},
        CommandLineCase{"LogInside", {kOwn, "xlogdetectx"}, false, kNone, kReset, false, true},
        CommandLineCase{"EventNotAtStart", {kOwn, "XUSEREVENT0=1"}, false, 1, {}, true, false},
        CommandLineCase{"UserEventBeforeRemote", {kOwn, "USEREVENT0=0"}, true, 2, {false, kNone, kNone}, false, false},
        CommandLineCase{"RemoteSession", {kOwn}, true, 4, {}, false, false},
        CommandLineCase{"HandedOver", {kOwn}, false, 0, {}, false, false, true},
        CommandLineCase{"LogHandedOver", {kOwn, "LOGDETECT"}, false, 0, {}, false, true, true},
        CommandLineCase{"EventWhileRunning", {kOwn, "USEREVENT0=1"}, false, 2, {true, kNone, kNone}, false, false,
                        true}),
    [](const testing::TestParamInfo<CommandLineCase>& info) { return info.param.name; });

TEST_F(AppFixture, PlainStartFillsTheWindowBeforeTheTrayIconAndTicksAfterIt) {
    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteDword("UserEvent1", 1);
    EXPECT_EQ(Start(), std::nullopt);
    EXPECT_GT(tray_rows, 0);  // the fallback device's default relations were shown
    EXPECT_EQ(StoredDword(kGlimmerboxKey, "UserEvent1"), 0u);
    EXPECT_EQ(View().build_stamp.rfind("Build: ", 0), 0u);
    EXPECT_EQ(View().active_page, config_page::Leds);
    EXPECT_FALSE(View().rnd_tab_shown);
    EXPECT_FALSE(desktop.IsVisible(windows.main));

    clock.Advance(125);  // the first tick gathers the event set and marks its rows
    EXPECT_EQ(model->ShownEventSet(), model->Engine().Events());
    const uint32_t marks = View().marks_generation;
    clock.Advance(125);  // the same event set: nothing redrawn
    EXPECT_EQ(View().marks_generation, marks);
}

TEST_F(AppFixture, SessionsAreCountedBeforeTheFirstTick) {
    sessions.Add({2, platform::SessionState::Active, platform::kWtsProtocolTypeRdp, "DOMAIN\\someone"});
    Build();
    EXPECT_TRUE(model->Engine().Events() & event::RemoteDesktopSession);
}

TEST(BuildStamp, ShowsTheDayWithoutPadding) {
    EXPECT_EQ(BuildStamp("May 25 2009", "14:03:59"), "Build: May 25 2009, 14:03:59");
    EXPECT_EQ(BuildStamp("Dec  7 2026", "09:00:00"), "Build: Dec 7 2026, 09:00:00");
}

// The initial device: a machine's ports, the stored "DeviceID", and what is opened.
struct DeviceChoiceCase {
    const char* name;
    std::vector<platform::fake::PortWiring> ports;  // COM1, COM2 ...
    std::string stored_id;
    std::string current_id;  // "Keyboard": the fallback device
    std::string stored_after;
};

void PrintTo(const DeviceChoiceCase& c, std::ostream* out) { *out << c.name; }

class InitialDevice : public AppFixture, public testing::WithParamInterface<DeviceChoiceCase> {};

TEST_P(InitialDevice, IsTheStoredOrTheBestClassified) {
    const DeviceChoiceCase& c = GetParam();
    for (std::size_t i = 0; i < c.ports.size(); ++i) ports.AddPort(static_cast<int>(i + 1), c.ports[i]);
    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteString("DeviceID", c.stored_id);
    EXPECT_EQ(Start(), std::nullopt);
    EXPECT_EQ(Current().Id(), c.current_id);
    EXPECT_EQ(model->Engine().DeviceId().Get(), c.stored_after);
    const bool fallback = c.current_id == "Keyboard";
    EXPECT_EQ(View().devices.selected, fallback ? -1 : std::stoi(c.current_id.substr(3)) - 1);
    if (!fallback) return;
    // The relations stay those loaded for the fallback device before the enumeration.
    cRelationList expected;
    expected.Load(registry, static_cast<uint16_t>(Current().HardwareId()), model->Engine().Catalogue());
    ASSERT_EQ(model->Engine().Relations().size(), expected.size());
    EXPECT_EQ(model->Engine().Relations()[0], expected[0]);
}

const platform::fake::PortWiring kPlain = {};
const platform::fake::PortWiring kColourModule = {.dtr = platform::kMsRlsdOn};
const platform::fake::PortWiring kAnswersSeveral = {.dtr = platform::kMsCtsOn, .rts = platform::kMsCtsOn};

INSTANTIATE_TEST_SUITE_P(
    Table, InitialDevice,
    testing::Values(DeviceChoiceCase{"HighestWins", {kPlain, kColourModule}, "", "COM2", "COM2"},
                    DeviceChoiceCase{"TieGoesToTheFirst", {kColourModule, kColourModule}, "", "COM1", "COM1"},
                    DeviceChoiceCase{"LaterOnlyWhenStrictlyHigher", {kAnswersSeveral, kPlain}, "", "COM2", "COM2"},
                    DeviceChoiceCase{"NothingRated", {}, "", "Keyboard", ""},
                    DeviceChoiceCase{"StoredWins", {kPlain, kColourModule}, "COM1", "COM1", "COM1"},
                    DeviceChoiceCase{"StoredGone", {kColourModule}, "COM7", "Keyboard", "COM7"}),
    [](const testing::TestParamInfo<DeviceChoiceCase>& info) { return info.param.name; });

}  // namespace

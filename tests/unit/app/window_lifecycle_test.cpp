#include "app/links.h"
#include "devices/detection_log.h"
#include "tests/unit/app/app_fixture.h"

namespace {

class WindowLifecycle : public AppFixture {
protected:
    void SetUp() override { ASSERT_EQ(Start(), std::nullopt); }
    void ShowInFront() { model->MenuConfigureClick(); }
    bool Visible() { return desktop.IsVisible(windows.main); }
};

TEST_F(WindowLifecycle, CloseRuleHidesOnlyTheVisibleForegroundWindowWithoutExit) {
    struct Case {
        const char* name;
        bool shown;
        bool in_front;
        bool exit_requested;
        bool granted;
    };
    for (const Case c : {Case{"title-bar close in front", true, true, false, false},
                         Case{"hidden window", false, false, false, true},
                         Case{"visible behind another program", true, false, false, true},
                         Case{"Exit while visible in front", true, true, true, true},
                         Case{"Exit while hidden", false, false, true, true}}) {
        model->ButtonOkClick();
        if (c.shown) ShowInFront();
        if (!c.in_front) desktop.LoseForeground();
        if (c.exit_requested) model->MenuExitClick();

        EXPECT_EQ(model->FormCloseQuery(), c.granted) << c.name;
        EXPECT_EQ(Visible(), c.shown && c.granted) << c.name;
        // Every request clears the exit: the next close of the window in front only hides it.
        ShowInFront();
        EXPECT_FALSE(model->FormCloseQuery()) << c.name;
    }
}

TEST_F(WindowLifecycle, LogOffHidesTheWindowFirstAndEndsOnTheSecondQuery) {
    ShowInFront();
    EXPECT_FALSE(model->FormCloseQuery());  // WM_QUERYENDSESSION answered FALSE
    EXPECT_FALSE(Visible());
    model->WMEndSession(false);  // so Windows cancelled the log-off: nothing ends
    EXPECT_FALSE(model->Ended());
    EXPECT_TRUE(timers.IsRunning(main_timer::Timer1));
    ShowInFront();
    EXPECT_FALSE(model->FormCloseQuery()) << "the close button still hides the window";
    EXPECT_TRUE(model->FormCloseQuery());  // the next query finds it hidden

    ShowInFront();
    model->WMEndSession(true);
    EXPECT_TRUE(model->Ended());
    EXPECT_TRUE(model->FormCloseQuery());  // after the session's end every close is granted
}

TEST_F(WindowLifecycle, EveryWayOutStoresTheCalibrationEditAndTheRelationUnderEditFirst) {
    enum class Way { TrayExit, SecondCloseRequest, LogOff };
    ports.AddPort(1);  // three plain LEDs
    int level = 40;
    for (Way way : {Way::TrayExit, Way::SecondCloseRequest, Way::LogOff}) {
        SCOPED_TRACE(static_cast<int>(way));
        ASSERT_EQ(Start(), std::nullopt);
        ShowInFront();
        model->CheckBox3Click(true);
        model->TrackBar2Change(++level);  // stored 3 s after the last move
        model->ButtonAddClick();          // stored when the dialog closes
        model->EventDialog().ComboBox4Change(4);
        if (way == Way::LogOff) {
            model->WMEndSession(true);
        } else {
            if (way == Way::TrayExit) model->MenuExitClick();
            else desktop.LoseForeground();  // a close request for a window behind another program
            ASSERT_TRUE(model->FormCloseQuery());
            model->FormClose();
        }
        EXPECT_TRUE(model->Ended());
        EXPECT_FALSE(timers.IsRunning(main_timer::Timer1)) << "no frame after the end";
        EXPECT_EQ(StoredDword("\\Software\\Quillmoor\\Glimmerbox\\1000\\Calibration", "LED0-Calibration"), static_cast<uint32_t>(level));
        cRelationList stored;
        stored.Load(registry, 0x1000, model->Engine().Catalogue());
        ASSERT_EQ(stored.size(), model->Engine().Relations().size());
        EXPECT_EQ(stored[stored.size() - 1].priority, priority::Highest);
        // The teardown leaves the LEDs at rest later; a session's end may not wait for it.
        EXPECT_EQ(ports.port(1).open, way != Way::LogOff);
    }
}

TEST_F(WindowLifecycle, ConfigureShowsOnceAndBringsToFront) {
    version_info.SetFileVersion(kOwnPath, 1, 2, 3, 4);
    EXPECT_EQ(View().version, "version");
    model->PopupMenu1Popup();  // the tray menu opens: to the front even while hidden
    EXPECT_TRUE(desktop.IsForeground(windows.main));
    EXPECT_FALSE(Visible());

    desktop.LoseForeground();
    ShowInFront();
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(desktop.IsForeground(windows.main));
    EXPECT_EQ(View().version, "V1.2.003");
    EXPECT_EQ(View().font_name, "Segoe UI");
    const int shows = desktop.shows;
    desktop.LoseForeground();
    ShowInFront();  // already visible: only to the front
    EXPECT_EQ(desktop.shows, shows);
    EXPECT_TRUE(desktop.IsForeground(windows.main));
}

TEST_F(WindowLifecycle, SecondStartShowsTheWindowAndWithLogDetectLogsARefresh) {
    desktop.LoseForeground();
    model->WMSecondStart(false);
    EXPECT_TRUE(Visible());
    EXPECT_TRUE(desktop.IsForeground(windows.main));
    EXPECT_FALSE(files.Exists(kDetectionLogFileName));

    model->ListView1DblClick(0);  // the event dialog edits a record: no refresh under it
    model->WMSecondStart(true);
    EXPECT_FALSE(files.Exists(kDetectionLogFileName));
    model->EventDialog().Button1Click();
    model->WMSecondStart(true);
    EXPECT_TRUE(files.Exists(kDetectionLogFileName));
    EXPECT_TRUE(model->LogDetect()) << "later refreshes log too, as after a start with LOGDETECT";
}

TEST_F(WindowLifecycle, TestButtonsAlternateAndLinksOpen) {
    model->ButtonSuspendClick();
    EXPECT_TRUE(model->Engine().Events() & event::SystemSuspended);
    EXPECT_FALSE(View().suspend_enabled);
    EXPECT_TRUE(View().resume_enabled);
    model->ButtonResumeClick();
    EXPECT_FALSE(model->Engine().Events() & event::SystemSuspended);
    EXPECT_TRUE(View().suspend_enabled);
    EXPECT_FALSE(View().resume_enabled);
    model->ButtonEndSessionClick();
    EXPECT_FALSE(View().end_session_enabled);

    model->Panel1DblClick();
    EXPECT_TRUE(View().rnd_tab_shown);
    model->Panel1DblClick();
    EXPECT_FALSE(View().rnd_tab_shown);

    model->Button1Click();
    EXPECT_EQ(comm_config.shown, std::vector<std::string>{"COM256"});
    version_info.SetFileVersion(kOwnPath, 1, 0, 7, 0);
    model->Label17Click();
    model->Label16Click();
    model->Label7Click();
    model->SuspendNotice().Button1Click();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{links::kWebSite, links::kForum,
                                                      "mailto:glimmerbox@example.com?subject=Glimmerbox%20V1.0.007",
                                                      links::kSuspendThread}));
}

TEST_F(WindowLifecycle, ModelStopsItsTimersWhenDestroyed) {
    EXPECT_TRUE(timers.IsRunning(main_timer::Timer1));
    model.reset();
    EXPECT_FALSE(timers.IsRunning(main_timer::Timer1));
}

}  // namespace

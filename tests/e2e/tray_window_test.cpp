// The running program as a person meets it: hidden in the tray, shown by the
// tray icon, hidden by the close button, ended by "Exit" or the log-off.
#include "configuration_window.h"
#include "desktop.h"
#include "e2e_fixture.h"

namespace {

constexpr DWORD kStillRunningMs = 300;

}  // namespace

class RunningProgramTest : public TrayProgramTest {
protected:
    void SetUp() override {
        TrayProgramTest::SetUp();
        run_ = Start(L"");
        window_ = run_->WaitUntilInTray();
        ASSERT_NE(window_, nullptr) << "the program did not come up; " << e2e::ShownWindows(run_->Id());
    }
    // Ends the program through its menu; its exit code.
    std::optional<DWORD> Exit() {
        if (!e2e::ChooseExitFromTrayMenu(window_)) return std::nullopt;
        return run_->WaitForExit(e2e::kPatienceMs);
    }
    bool StillRuns() { return !run_->WaitForExit(kStillRunningMs); }

    std::unique_ptr<e2e::ProgramRun> run_;
    HWND window_ = nullptr;
};

TEST_F(RunningProgramTest, APlainStartShowsNoWindow) {
    EXPECT_TRUE(e2e::VisibleTopLevelWindows(run_->Id()).empty());
    EXPECT_EQ(Exit(), 0u);
}

TEST_F(RunningProgramTest, TrayDoubleClickShowsTheConfigurationWindowInFrontAndItsCloseButtonHidesIt) {
    ASSERT_TRUE(e2e::DoubleClickTrayIcon(window_));
    EXPECT_EQ(e2e::Text(window_), e2e::kMainWindowCaption);
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == window_; }));
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 353);
    EXPECT_EQ(client.bottom, 344);

    // What the title bar's close button sends.
    SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_TRUE(StillRuns());
    EXPECT_TRUE(e2e::TrayIconShown(window_));

    ASSERT_TRUE(e2e::DoubleClickTrayIcon(window_)) << "shown again from the tray";
    EXPECT_EQ(Exit(), 0u) << "Exit ends the program while its window is visible";
}

TEST_F(RunningProgramTest, LogOffHidesTheWindowFirstAndIsGrantedAtTheSecondQuery) {
    ASSERT_TRUE(e2e::DoubleClickTrayIcon(window_));
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == window_; }));
    EXPECT_EQ(SendMessageW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_NE(SendMessageW(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_TRUE(StillRuns()) << "answering the query does not end the program";
    EXPECT_EQ(Exit(), 0u);
}

TEST_F(RunningProgramTest, ExitFromTheTrayMenuEndsWithCode0AndTakesTheIconAlong) {
    EXPECT_EQ(Exit(), 0u);
    EXPECT_FALSE(e2e::TrayIconShown(window_));
}

TEST_F(RunningProgramTest, TaskbarCreatedAddsTheLostIconAgain) {
    ASSERT_TRUE(e2e::RemoveTrayIcon(window_));
    ASSERT_FALSE(e2e::TrayIconShown(window_));
    // A restarted shell announces itself to every top-level window.
    SendMessageW(window_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TrayIconShown(window_); }));
    EXPECT_EQ(Exit(), 0u);
}

TEST_F(RunningProgramTest, ASecondStartShowsTheRunningProgramsWindowAndEndsWithCode0) {
    auto user_event = Start(L"USEREVENT1=1");
    EXPECT_EQ(user_event->WaitForExit(e2e::kPatienceMs), 2u) << "other programs still set user events";
    auto second = Start(L"");
    EXPECT_EQ(second->WaitForExit(e2e::kPatienceMs), 0u);
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(UserEvent(1), 1u) << "the second start reset the running program's user events";

    // LOGDETECT handed over: the running program enumerates anew into the log.
    const std::wstring log = Folder() + L"\\Glimmerbox detection log.txt";
    ASSERT_EQ(GetFileAttributesW(log.c_str()), INVALID_FILE_ATTRIBUTES);
    auto logging = Start(L"LOGDETECT");
    EXPECT_EQ(logging->WaitForExit(e2e::kPatienceMs), 0u);
    EXPECT_NE(GetFileAttributesW(log.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(StillRuns());
    EXPECT_EQ(Exit(), 0u);
}

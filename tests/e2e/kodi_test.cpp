// Glimmerbox.exe following Kodi on this computer. Run by real_kodi.py and
// kodi_stand_in.py (ctest's e2e_kodi): the test plays, pauses, mutes, stops
// and quits the real Kodi through its JSON-RPC, and has the stand-in report a
// recording, which Debian's Kodi cannot make; the marks of the relations on
// the Kodi events follow each step within a second.
#include "configuration_window.h"
#include "desktop.h"
#include "e2e_fixture.h"

#include "platform/win32/win32_stream_sockets.h"
#include "settings/persistent_variables.h"
#include "tests/kodi/json_rpc_peer.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRecording0Channels = 0x2;
constexpr uint32_t kRecording1Channel = 0x4;
constexpr uint32_t kKodiPlaying = 0x8000000;
constexpr uint32_t kKodiPaused = 0x10000000;
constexpr uint32_t kKodiMuted = 0x20000000;
constexpr uint32_t kKodiIsRunning = 0x40000000;

// How soon the marks follow Kodi's notification of a step.
constexpr DWORD kStepMs = 1000;
// A recording shows at the next of the once-a-second questions for it.
constexpr DWORD kRecordingStepMs = kStepMs + 1000;

class KodiTest : public TrayProgramTest {
protected:
    // Starts the program following Kodi on the port, with relations on these
    // events; the window shows their rows.
    void StartFollowing(uint16_t port, std::initializer_list<uint32_t> events) {
        StoreRelations(events);
        auto settings = registry_.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
        ASSERT_TRUE(settings && settings->WriteDword("KodiPort", port));
        run_ = Start(L"");
        window_ = run_->WaitUntilInTray();
        ASSERT_NE(window_, nullptr) << e2e::ShownWindows(run_->Id());
        ASSERT_TRUE(e2e::DoubleClickTrayIcon(window_));
    }

    // Whether exactly these rows carry the mark within the time.
    testing::AssertionResult Marked(const std::vector<std::wstring>& rows, DWORD timeout_ms) const {
        e2e::ConfigurationWindow configuration(window_);
        if (configuration.WaitForMarkedRows(rows, timeout_ms)) return testing::AssertionSuccess();
        testing::AssertionResult failure = testing::AssertionFailure();
        failure << "after " << timeout_ms << " ms the marked rows are:";
        for (const std::wstring& row : configuration.MarkedRows()) failure << " \"" << e2e::Narrow(row) << "\"";
        return failure;
    }

    void Exit() {
        ASSERT_TRUE(e2e::ChooseExitFromTrayMenu(window_));
        EXPECT_EQ(run_->WaitForExit(e2e::kPatienceMs), 0u);
    }

    platform::win32::Win32StreamSockets sockets_;

private:
    std::unique_ptr<e2e::ProgramRun> run_;
    HWND window_ = nullptr;
};

TEST_F(KodiTest, MarksFollowTheRealKodiStepByStepAndGoWhenItQuits) {
    const uint16_t port = kodi_test::PortFromEnvironment("KODI_PORT");
    const char* wav = std::getenv("KODI_WAV");
    if (port == 0 || !wav) GTEST_SKIP() << "run under tests/kodi/real_kodi.py";
    ASSERT_EQ(std::string(wav).find_first_of("\"\\"), std::string::npos) << "a path that needs no escaping in JSON";

    StartFollowing(port, {kKodiIsRunning, kKodiPlaying, kKodiPaused, kKodiMuted});
    ASSERT_TRUE(Marked({L"Kodi is running"}, e2e::kPatienceMs)) << "connected to Kodi";
    kodi_test::JsonRpcPeer kodi(sockets_, port);
    ASSERT_TRUE(kodi.Connected());

    // Each step: the request, Kodi's notification of it, and the marks within
    // a second of the notification, which the program gets as this test does;
    // where a time to hold is given, the marks still stand after it.
    const struct {
        const char* method;
        std::string params;
        const char* notification;
        std::vector<std::wstring> marked;
        DWORD holds_ms;
    } steps[] = {
        {"Player.Open", std::string(R"({"item":{"file":")") + wav + "\"}}", "Player.OnPlay",
         {L"Kodi is running", L"Kodi playing"}, 0},
        // Also past Kodi's report that the sound has started, which can come after a quick pause.
        {"Player.PlayPause", R"({"playerid":0})", "Player.OnPause", {L"Kodi is running", L"Kodi paused"}, kStepMs},
        {"Application.SetMute", R"({"mute":true})", "Application.OnVolumeChanged",
         {L"Kodi is running", L"Kodi paused", L"Kodi muted"}, 0},
        {"Player.Stop", R"({"playerid":0})", "Player.OnStop", {L"Kodi is running", L"Kodi muted"}, 0},
        {"Application.Quit", "{}", "System.OnQuit", {}, 0},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(kodi.Send(step.method, step.params)) << step.method;
        ASSERT_TRUE(kodi.WaitForNotification(step.notification)) << step.method;
        EXPECT_TRUE(Marked(step.marked, kStepMs)) << step.method;
        if (step.holds_ms == 0) continue;
        Sleep(step.holds_ms);
        EXPECT_TRUE(Marked(step.marked, 0)) << step.method << ", a moment later";
    }
    Exit();
}

TEST_F(KodiTest, ARecordingTheStandInReportsCountsAsARecordingChannel) {
    const uint16_t port = kodi_test::PortFromEnvironment("KODI_STAND_IN_PORT");
    if (port == 0) GTEST_SKIP() << "run under tests/kodi/kodi_stand_in.py";
    kodi_test::JsonRpcPeer stand_in(sockets_, port);
    ASSERT_TRUE(stand_in.Connected());
    ASSERT_EQ(stand_in.Control("StandIn.Set", R"({"pvr":"timers","timers":["scheduled"]})"), "\"OK\"");

    StartFollowing(port, {kKodiIsRunning, kRecording0Channels, kRecording1Channel});
    ASSERT_TRUE(Marked({L"Kodi is running", L"Recording 0 channels"}, e2e::kPatienceMs)) << "connected";
    ASSERT_EQ(stand_in.Control("StandIn.Set", R"({"timers":["scheduled","recording"]})"), "\"OK\"");
    EXPECT_TRUE(Marked({L"Kodi is running", L"Recording 1 channel"}, kRecordingStepMs)) << "recording";
    ASSERT_EQ(stand_in.Control("StandIn.Set", R"({"timers":["completed"]})"), "\"OK\"");
    EXPECT_TRUE(Marked({L"Kodi is running", L"Recording 0 channels"}, kRecordingStepMs)) << "recorded";
    Exit();
}

}  // namespace

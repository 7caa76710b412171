// Kodi followed over a scripted peer: what is asked at connect, what each
// message changes, how the stream is cut, and what a lost connection leaves.
#include "sensors/kodi_sensor.h"

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_power.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_stream_sockets.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Answer = platform::fake::FakeStreamSockets::Answer;

// Messages as Kodi 20 sends them; the title holds what a naive cut would trip on.
const std::string kPlay = R"({"jsonrpc":"2.0","method":"Player.OnPlay","params":{"data":{"item":{"title":"}\"{[ \\"},)"
                          R"("player":{"playerid":0,"speed":1}},"sender":"xbmc"}})";
const std::string kPause = R"({"jsonrpc":"2.0","method":"Player.OnPause","params":{"data":{"player":{"speed":0}}}})";
const std::string kAvStart = R"({"method":"Player.OnAVStart","params":{"data":{"player":{"playerid":0,"speed":1}}}})";
const std::string kMuted = R"({"method":"Application.OnVolumeChanged","params":{"data":{"muted":true,"volume":50}}})";
const std::string kTwoRecording = R"({"id":5,"jsonrpc":"2.0","result":{"timers":[{"state":"recording"},)"
                                  R"({"state":"scheduled"},{"state":"recording"},{"state":7},5]}})";
const std::string kTimersFail = R"({"id":5,"error":{"code":-32100,"message":"Failed to execute method."}})";
const std::string kAskTimers = R"({"id":5,"jsonrpc":"2.0","method":"PVR.GetTimers","params":{"properties":["state"]}})";

// Kodi's port answers a first try at once.
struct KodiOnAFakeMachine {
    explicit KodiOnAFakeMachine(Answer answer = Answer::Accept) {
        sockets.AnswerConnects(answer);
        kodi.Tick();
    }
    platform::fake::FakeStreamPeer& Peer() { return *sockets.LastPeer(); }
    void Deliver(const std::string& chunk) {
        Peer().Deliver(chunk);
        kodi.Tick();
    }
    // Playing, paused, muted and the recordings, as "ppm3".
    std::string Shown() const {
        const kodi_state& k = kodi.State();
        return std::string(k.playing ? "p" : "-") + (k.paused ? "p" : "-") + (k.muted ? "m" : "-") +
               std::to_string(k.recordings);
    }

    platform::fake::FakeClock clock{1000};
    platform::fake::FakeRegistry registry;
    platform::fake::FakeWindowFinder windows;
    platform::fake::FakeStreamSockets sockets;
    cKodiSensor kodi{sockets, windows, registry, clock};
};

}  // namespace

TEST(KodiSensor, ConnectAsksForTheStateThatAlreadyHoldsAndReadsIt) {
    KodiOnAFakeMachine machine;
    ASSERT_EQ(machine.kodi.Status(), kodi_status::Connected);
    EXPECT_EQ(machine.Peer().Port(), 9090);
    EXPECT_EQ(machine.Peer().Sent(), R"({"id":1,"jsonrpc":"2.0","method":"JSONRPC.Version"})"
                                     R"({"id":2,"jsonrpc":"2.0","method":"Player.GetActivePlayers"})"
                                     R"({"id":4,"jsonrpc":"2.0","method":"Application.GetProperties",)"
                                     R"("params":{"properties":["muted"]}})" + kAskTimers);
    machine.Deliver(R"({"id":1,"result":{"version":{"major":13,"minor":0,"patch":0}}} )"
                    R"({"id":2,"result":[{"playerid":1,"type":"audio"}]}{"id":4,"result":{"muted":true}})");
    EXPECT_TRUE(machine.Peer().Sent().ends_with(R"({"id":3,"jsonrpc":"2.0","method":"Player.GetProperties",)"
                                                R"("params":{"playerid":1,"properties":["speed"]}})"));
    machine.Deliver(R"({"id":3,"result":{"speed":0}})" + kTwoRecording);
    EXPECT_EQ(machine.Shown(), "-pm2");
    EXPECT_TRUE(machine.kodi.State().running);
    EXPECT_EQ(machine.kodi.State().version, "13.0.0");
}

TEST(KodiSensor, EachMessageChangesWhatItSaysAndNothingElse) {
    const struct {
        const char* name;
        std::string messages;
        const char* shown;
    } cases[] = {
        {"play", kPlay, "p--0"},
        {"pause", kPause, "-p-0"},
        {"resume", kPause + R"({"method":"Player.OnResume","params":{"data":{"player":{"speed":1}}}})", "p--0"},
        {"speed 0", R"({"method":"Player.OnSpeedChanged","params":{"data":{"player":{"speed":0}}}})", "-p-0"},
        {"AV start after a pause, as Kodi 20 sends it", kPause + kAvStart, "-p-0"},
        {"stop", kPlay + R"({"method":"Player.OnStop","params":{"data":{"end":true}}})", "---0"},
        {"no player left", kPlay + R"({"id":2,"result":[]})", "---0"},
        {"mute and unmute", kMuted + R"({"method":"Application.OnVolumeChanged","params":{"data":{"muted":false}}})",
         "---0"},
        {"muted", kMuted, "--m0"},
        {"muted of a wrong type", R"({"method":"Application.OnVolumeChanged","params":{"data":{"muted":1}}})", "---0"},
        {"speed of a wrong type", kPause + R"({"id":3,"result":{"speed":"fast"}})", "-p-0"},
        {"malformed", R"({"method":"Player.OnPlay",}{"method":"Player.OnPlay"]})" + kMuted, "--m0"},
        {"method of a wrong type", R"({"method":["Player.OnPlay"]})", "---0"},
        {"noise and arrays", R"(x,5 [1,{"method":"Player.OnPlay"}] null)" + kMuted, "--m0"},
        {"answers to no question", R"({"id":"3","result":{"speed":1}}{"id":9,"result":{"speed":1}})", "---0"},
        {"recording timers", kTwoRecording, "---2"},
        {"timers of a wrong type", kTwoRecording + R"({"id":5,"result":{"timers":{"state":"recording"}}})", "---0"},
        {"timers fail, PVR records", kTimersFail + R"({"id":6,"result":{"recording":true}})", "---1"},
        {"timers fail, PVR idle", kTwoRecording + kTimersFail + R"({"id":6,"result":{"recording":false}})", "---0"},
        {"both fail", kTwoRecording + kTimersFail + R"({"id":6,"error":{"code":-32100}})", "---0"},
    };
    for (const auto& test : cases) {
        KodiOnAFakeMachine machine;
        machine.Deliver(test.messages);
        EXPECT_EQ(machine.Shown(), test.shown) << test.name;
        EXPECT_EQ(machine.kodi.Status(), kodi_status::Connected) << test.name;
    }
    KodiOnAFakeMachine machine;
    machine.Deliver(kTimersFail);
    EXPECT_TRUE(machine.Peer().Sent().ends_with(
        R"({"id":6,"jsonrpc":"2.0","method":"PVR.GetProperties","params":{"properties":["recording"]}})"));
    machine.Deliver(kAvStart);
    EXPECT_TRUE(machine.Peer().Sent().ends_with(R"({"id":3,"jsonrpc":"2.0","method":"Player.GetProperties",)"
                                                R"("params":{"playerid":0,"properties":["speed"]}})"))
        << "the speed of AV start is not to be trusted";
}

TEST(KodiSensor, MessagesCutAtAnyByteOrSentTogetherReadAlike) {
    const std::string stream = kPlay + "\r\n" + kMuted + kTwoRecording + kPause;
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        KodiOnAFakeMachine machine;
        machine.Peer().Deliver(stream.substr(0, cut));
        machine.Deliver(stream.substr(cut));
        ASSERT_EQ(machine.Shown(), "-pm2") << "cut at " << cut;
    }
}

TEST(KodiSensor, ConnectionsComeAndGoEveryFiveSecondsAndLeaveNothingBehind) {
    KodiOnAFakeMachine machine(Answer::Refuse);
    EXPECT_EQ(machine.kodi.Status(), kodi_status::NotRunning);
    machine.windows.classes.insert("Kodi");
    machine.clock.Advance(4999);
    machine.kodi.Tick();
    EXPECT_EQ(machine.sockets.Attempts(), 1);
    machine.clock.Advance(1);
    machine.kodi.Tick();
    EXPECT_EQ(machine.sockets.Attempts(), 2);
    EXPECT_EQ(machine.kodi.Status(), kodi_status::Refused) << "Kodi's window is open, its port refuses";

    // Each way a connection ends: the peer closes, breaks, quits, or floods.
    const std::string kOversized = R"({"method":"Player.OnPlay","params":")" + std::string(64 * 1024, ' ') + "\"}";
    const std::string endings[] = {"close", "break", R"({"method":"System.OnQuit","params":{"data":{"exitcode":0}}})",
                                   kOversized};
    machine.sockets.AnswerConnects(Answer::Accept);
    for (const std::string& ending : endings) {
        machine.kodi.Resume();  // at once, not 5 s after the last try
        machine.kodi.Tick();
        machine.Deliver(kPlay + kMuted + kTwoRecording);
        ASSERT_EQ(machine.Shown(), "p-m2");
        if (ending == "close") machine.Peer().Close();
        else if (ending == "break") machine.Peer().Break();
        else machine.Peer().Deliver(ending);
        machine.kodi.Tick();
        EXPECT_EQ(machine.Shown(), "---0") << ending.substr(0, 20);
        EXPECT_FALSE(machine.kodi.State().running);
        EXPECT_FALSE(machine.Peer().Held());
        EXPECT_EQ(machine.kodi.Status(), kodi_status::NotRunning);
    }

    machine.registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteDword("KodiPort", 8080);
    machine.kodi.Resume();
    machine.kodi.Tick();
    EXPECT_EQ(machine.Peer().Port(), 8080);
}

TEST(KodiSensor, AsksForTheRecordingsOnceASecondOnceAnswered) {
    KodiOnAFakeMachine machine;
    const struct {
        uint32_t later_ms;
        std::string answer;
        int asked;
    } steps[] = {{2000, "", 1}, {0, kTwoRecording, 2}, {999, kTwoRecording, 2}, {1, "", 3}};
    for (const auto& step : steps) {
        machine.clock.Advance(step.later_ms);
        machine.Deliver(step.answer);
        const std::string& sent = machine.Peer().Sent();
        int asked = 0;
        for (std::size_t at = 0; (at = sent.find("PVR.GetTimers", at)) != std::string::npos; ++at) ++asked;
        EXPECT_EQ(asked, step.asked) << step.later_ms;
    }
}

// The Kodi sensor over the real Winsock, against the stand-in Kodi on this
// computer (the test runs under kodi_stand_in.py): the state read at connect,
// a pushed notification, the recordings asked for each second, and the
// server going away (its port refusing beside Kodi's window) and coming back.
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_stream_sockets.h"
#include "sensors/kodi_sensor.h"
#include "settings/persistent_variables.h"
#include "tests/kodi/json_rpc_peer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// The sensor's retry after a lost connection, and a little more: a refused
// connection to this computer is known at once.
constexpr DWORD kRetryMs = 5000 + 2000;

// A window of Kodi's class in this process, as Kodi's own main window is seen.
class KodiWindow {
public:
    KodiWindow() {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = cKodiSensor::kWindowClass;
        RegisterClassA(&window_class);
        window_ = CreateWindowExA(0, cKodiSensor::kWindowClass, "Kodi", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
    }
    ~KodiWindow() {
        if (window_) DestroyWindow(window_);
    }
    KodiWindow(const KodiWindow&) = delete;
    KodiWindow& operator=(const KodiWindow&) = delete;
    bool Shown() const { return window_ != nullptr; }

private:
    HWND window_;
};

class KodiSensorOverWinsockTest : public testing::Test {
protected:
    void SetUp() override {
        port_ = kodi_test::PortFromEnvironment("KODI_STAND_IN_PORT");
        if (port_ == 0) GTEST_SKIP() << "run under tests/kodi/kodi_stand_in.py";
        registry_.DeleteTree(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
        auto settings = registry_.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
        ASSERT_TRUE(settings && settings->WriteDword("KodiPort", port_));
        control_ = std::make_unique<kodi_test::JsonRpcPeer>(sockets_, port_);
        ASSERT_TRUE(control_->Connected());
    }

    void TearDown() override { registry_.DeleteTree(platform::RegistryRoot::CurrentUser, kGlimmerboxKey); }

    // Ticks the sensor as the program does until the condition holds.
    bool TickUntil(const std::function<bool(const kodi_state&)>& condition, DWORD timeout_ms = kodi_test::kPatienceMs) {
        const DWORD start = GetTickCount();
        for (;;) {
            kodi_.Tick();
            if (condition(kodi_.State())) return true;
            if (GetTickCount() - start >= timeout_ms) return false;
            Sleep(10);
        }
    }

    platform::win32::Win32StreamSockets sockets_;
    platform::win32::Win32WindowFinder windows_;
    platform::win32::Win32Registry registry_;
    platform::win32::Win32Clock clock_;
    uint16_t port_ = 0;
    std::unique_ptr<kodi_test::JsonRpcPeer> control_;
    cKodiSensor kodi_{sockets_, windows_, registry_, clock_};
};

TEST_F(KodiSensorOverWinsockTest, FollowsTheStandInUntilItGoesAwayAndAgainWhenItComesBack) {
    ASSERT_EQ(control_->Control("StandIn.Set", R"({"players":true,"speed":1,"muted":true,)"
                                               R"("pvr":"timers","timers":["recording","scheduled"]})"),
              "\"OK\"");
    EXPECT_TRUE(TickUntil([](const kodi_state& state) {
        return state.running && state.playing && state.muted && state.recordings == 1 && state.version == "13.0.0";
    })) << "the state read at connect";
    EXPECT_EQ(kodi_.Status(), kodi_status::Connected);

    ASSERT_EQ(control_->Control("StandIn.Notify", R"({"method":"Player.OnPause","data":{"player":{"speed":0}}})"),
              "\"OK\"");
    EXPECT_TRUE(TickUntil([](const kodi_state& state) { return state.paused && !state.playing; }));
    ASSERT_EQ(control_->Control("StandIn.Set", R"({"timers":["recording","recording"]})"), "\"OK\"");
    EXPECT_TRUE(TickUntil([](const kodi_state& state) { return state.recordings == 2; }))
        << "the recordings, asked for each second";
    ASSERT_EQ(control_->Control("StandIn.Set", R"({"pvr":"properties"})"), "\"OK\"");
    EXPECT_TRUE(TickUntil([](const kodi_state& state) { return state.recordings == 1; }))
        << "where the timers cannot be had, the back end's recording flag";
    ASSERT_EQ(control_->Control("StandIn.Set", R"({"pvr":"timers"})"), "\"OK\"");

    ASSERT_EQ(control_->Control("StandIn.GoAway"), "\"OK\"");
    EXPECT_TRUE(TickUntil([](const kodi_state& state) {
        return !state.running && !state.paused && !state.muted && state.recordings == 0;
    })) << "a lost connection forgets everything";
    {
        KodiWindow window;
        ASSERT_TRUE(window.Shown());
        EXPECT_TRUE(TickUntil([&](const kodi_state&) { return kodi_.Status() == kodi_status::Refused; }, kRetryMs))
            << "the port refuses while Kodi's window is open: the hint on Kodi's setting";
    }
    ASSERT_EQ(control_->Control("StandIn.ComeBack"), "\"OK\"");
    EXPECT_TRUE(TickUntil([](const kodi_state& state) { return state.running && state.recordings == 2; }, kRetryMs));
    EXPECT_EQ(kodi_.Status(), kodi_status::Connected);
}

}  // namespace

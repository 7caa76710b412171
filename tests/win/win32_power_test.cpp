// The power and window services against the real system calls.
#include "platform/win32/win32_power.h"

#include <windows.h>

#include <gtest/gtest.h>

using platform::DllBinding;

TEST(Win32Power, BindsCallNtPowerInformationByNameAndAsksTheExecutionState) {
    platform::win32::Win32Power power;
    DllBinding binding = DllBinding::LibraryMissing;
    auto information = power.LoadPowerInformation(binding);
    ASSERT_EQ(binding, DllBinding::Bound);
    ASSERT_TRUE(information);

    uint32_t state = 0xFFFFFFFF;
    EXPECT_EQ(information->Call(platform::kSystemExecutionState, &state, sizeof state), 0);
    EXPECT_EQ(state & ~uint32_t{ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED | ES_USER_PRESENT | ES_AWAYMODE_REQUIRED |
                                ES_CONTINUOUS},
              0u);
}

TEST(Win32Power, LastInputTimeLiesInThePast) {
    platform::win32::Win32Power power;
    std::optional<uint32_t> last_input = power.LastInputTime();
    ASSERT_TRUE(last_input);
    EXPECT_LE(GetTickCount() - *last_input, GetTickCount());
}

class Win32Window : public testing::Test {
protected:
    static constexpr const char* kClass = "GlimmerboxPowerTestWindow";

    void SetUp() override {
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = kClass;
        RegisterClassA(&window_class);
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
    }
    HWND Create(HWND parent) {
        window_ = CreateWindowA(kClass, "", WS_OVERLAPPED, 0, 0, 10, 10, parent, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
        return window_;
    }

    HWND window_ = nullptr;
};

TEST_F(Win32Window, RegistersForPowerSettingsThroughUser32) {
    ASSERT_TRUE(Create(HWND_MESSAGE));
    platform::win32::Win32Power power;
    const platform::Guid settings[] = {platform::kGuidSystemAwayMode, platform::kGuidMonitorPowerOn};
    EXPECT_EQ(power.RegisterPowerSettingNotifications(window_, settings), DllBinding::Bound);
}

TEST_F(Win32Window, FindsTopLevelWindowsByClass) {
    platform::win32::Win32WindowFinder finder;
    EXPECT_FALSE(finder.ClassExists(kClass));
    EXPECT_FALSE(finder.ClassExists("eHome Render Window"));
    // A message-only window is no top-level window. The test fixture gives every test a display.
    ASSERT_TRUE(Create(nullptr));
    EXPECT_TRUE(finder.ClassExists(kClass));
}

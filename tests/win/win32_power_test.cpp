// The power and window services and the search for system libraries against the real system calls.
#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_power.h"
#include "sink_test_support.h"

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

// Glimmerbox.dll, a library without the power functions, under another name beside this program.
struct PlantedLibrary {
    explicit PlantedLibrary(const wchar_t* name)
        : path(BesideTests(name)), copied(CopyFileW(BesideTests(L"Glimmerbox.dll").c_str(), path.c_str(), FALSE)) {}
    ~PlantedLibrary() { DeleteFileW(path.c_str()); }
    const std::wstring path;
    const bool copied;
};

TEST(Win32Power, APowerLibraryBesideTheProgramIsNotTheOneLoaded) {
    PlantedLibrary planted(L"powrprof.dll");
    ASSERT_TRUE(planted.copied);
    // Wine takes its own library before any other of that name; told to take
    // the one the search finds, as Windows does, it shows which one that is.
    const wchar_t* overrides = L"Software\\Wine\\DllOverrides";
    RegSetKeyValueW(HKEY_CURRENT_USER, overrides, L"powrprof", REG_SZ, L"native,builtin", sizeof L"native,builtin");
    DllBinding binding = DllBinding::LibraryMissing;
    platform::win32::Win32Power().LoadPowerInformation(binding);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, overrides, L"powrprof");
    EXPECT_EQ(binding, DllBinding::Bound);
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

// Last in this program: the restriction holds for the rest of the process.
TEST(Win32LibrarySearch, AfterTheRestrictionALibraryBesideTheProgramIsNotFound) {
    PlantedLibrary planted(L"glimmerbox_planted.dll");
    HMODULE found = LoadLibraryW(L"glimmerbox_planted.dll");
    ASSERT_TRUE(found) << "the open search finds it";
    FreeLibrary(found);

    platform::win32::RestrictLibrarySearch();
    EXPECT_EQ(LoadLibraryW(L"glimmerbox_planted.dll"), nullptr);
    EXPECT_TRUE(LoadLibraryW(L"powrprof.dll")) << "the system folder is still searched";
}

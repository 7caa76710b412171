// The real sessions, version and metrics services under Windows (Wine here,
// a machine without remote desktop connections or Media Center): what the
// sensors build on answers as the system does.
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_sessions.h"
#include "platform/win32/win32_system_metrics.h"
#include "platform/win32/win32_version_info.h"
#include "sensors/file_version.h"
#include "sensors/media_center_extender.h"
#include "sensors/windows_version.h"

#include <windows.h>
#include <wtsapi32.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

constexpr const char* kMediaCenterKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

struct ReceivedMessage {
    UINT message;
    WPARAM code;
    LPARAM session_id;
};
std::vector<ReceivedMessage> received;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_WTSSESSION_CHANGE) received.push_back({message, wparam, lparam});
    return DefWindowProcA(window, message, wparam, lparam);
}

// A message-only window of this thread that records the session changes it receives.
class RecordingWindow {
public:
    RecordingWindow() {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = RecordingWindowProc;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "GlimmerboxSessionTest";
        RegisterClassA(&window_class);
        window_ = CreateWindowA("GlimmerboxSessionTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                window_class.hInstance, nullptr);
        received.clear();
    }
    ~RecordingWindow() { DestroyWindow(window_); }
    HWND handle() const { return window_; }

private:
    HWND window_;
};

TEST(Win32Sessions, EnumeratesEachSessionOnce) {
    platform::win32::Win32Sessions sessions;
    auto list = sessions.Enumerate();
    ASSERT_TRUE(list);
    std::set<uint32_t> ids;
    for (const platform::SessionEntry& session : *list) EXPECT_TRUE(ids.insert(session.id).second);
}

TEST(Win32Sessions, UnknownSessionHasNoClient) {
    platform::win32::Win32Sessions sessions;
    EXPECT_FALSE(sessions.QueryClient(0xFFFFFFF0u));
}

TEST(Win32Sessions, LocalSessionIsNoRemoteDesktop) {
    platform::win32::Win32Sessions sessions;
    DWORD own = 0;
    ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &own));
    // Wine does not answer for the client of a session; one it cannot answer for is no remote desktop.
    EXPECT_FALSE(sessions.QueryClient(own));
    cMediaCenterExtender extender(sessions);
    EXPECT_EQ(extender.ExtenderCount(), 0);
    EXPECT_EQ(extender.RemoteSessionCount(), 0);
}

TEST(Win32Sessions, RegisteredWindowIsPrimedWithOneSessionChange) {
    platform::win32::Win32Sessions sessions;
    cMediaCenterExtender extender(sessions);
    RecordingWindow window;
    ASSERT_TRUE(window.handle());
    ASSERT_TRUE(extender.RegisterSessionNotification(window.handle()));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].code, 0u);
    EXPECT_EQ(received[0].session_id, 0);
    WTSUnRegisterSessionNotification(window.handle());
}

TEST(Win32VersionInfo, WindowsVersionAgreesWithGetVersion) {
    platform::win32::Win32VersionInfo version_info;
    auto version = version_info.WindowsVersion();
    ASSERT_TRUE(version);
    const DWORD packed = GetVersion();
    EXPECT_EQ(version->major, LOBYTE(LOWORD(packed)));
    EXPECT_EQ(version->minor, HIBYTE(LOWORD(packed)));
    EXPECT_GE(version->major, 5u);
}

TEST(Win32VersionInfo, ExecutablePathNamesThisProgram) {
    platform::win32::Win32VersionInfo version_info;
    const std::string path = version_info.ExecutablePath();
    ASSERT_GT(path.size(), 2u);
    EXPECT_EQ(path[1], ':');
    EXPECT_TRUE(path.ends_with("\\win_sensors_test.exe")) << path;
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32VersionInfo, ReadsFileVersionsOrNothing) {
    platform::win32::Win32VersionInfo version_info;
    char system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    auto kernel = version_info.FileVersion(std::string(system) + "\\kernel32.dll");
    ASSERT_TRUE(kernel);
    EXPECT_GE(kernel->most_significant >> 16, 5u);
    EXPECT_FALSE(version_info.FileVersion(std::string(system) + "\\no such file.dll"));
}

TEST(Win32VersionInfo, ShortVersionOfThisProgramComesFromItsResource) {
    platform::win32::Win32VersionInfo version_info;
    EXPECT_EQ(cFileVersion(version_info).ShortVersion(), "0.9.020");
}

TEST(Win32VersionProbe, ReadsTheMachinesMediaCenterIdent) {
    platform::win32::Win32VersionInfo version_info;
    platform::win32::Win32SystemMetrics metrics;
    platform::win32::Win32Registry registry;
    cWindowsVersion probe(version_info, metrics, registry);
    EXPECT_FALSE(probe.IsMediaCenterEdition());
    if (registry.KeyExists(platform::RegistryRoot::LocalMachine, kMediaCenterKey))
        GTEST_SKIP() << "this machine has Media Center";
    EXPECT_EQ(probe.MediaCenterVersionName(), "No Media Center version");
    auto key = registry.OpenOrCreate(platform::RegistryRoot::LocalMachine, kMediaCenterKey);
    ASSERT_TRUE(key);
    key->WriteString("Ident", "6.0");
    EXPECT_EQ(probe.MediaCenterVersionName(), "Windows Media Center for Windows 7");
    key->WriteDword("Ident", 6);
    EXPECT_EQ(probe.MediaCenterIdent(), "0.0");
    key.reset();
    EXPECT_TRUE(registry.DeleteTree(platform::RegistryRoot::LocalMachine, kMediaCenterKey));
}

}  // namespace

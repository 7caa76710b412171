// The whole system: the real sink module registered with COM, the stand-in
// Media Center host playing a recording through it in a process of its own,
// and the program marking the relation of the event in its window and
// lighting the LED's light in its tray icon.
#include "configuration_window.h"
#include "desktop.h"
#include "e2e_fixture.h"
#include "remote_controls.h"

#include "settings/persistent_variables.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr DWORD kRecording0Channels = 0x2;
constexpr DWORD kRecording1Channel = 0x4;

DWORD RunBesideUs(const std::wstring& command_line, const std::wstring& output_path = L"") {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE output = output_path.empty() ? nullptr
                                        : CreateFileW(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (output && output != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION process{};
    std::wstring line = command_line;
    DWORD exit_code = ~DWORD{0};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, e2e::BesideThisProgram(L"").c_str(),
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (output && output != INVALID_HANDLE_VALUE) CloseHandle(output);
    return exit_code;
}

std::string ReadAll(const std::wstring& path) {
    std::ifstream file{std::filesystem::path(path)};
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class SinkRegistration {
public:
    SinkRegistration() { registered_ = RunBesideUs(Regsvr32(L"")) == 0; }
    ~SinkRegistration() {
        if (registered_) RunBesideUs(Regsvr32(L"/u "));
    }
    SinkRegistration(const SinkRegistration&) = delete;
    SinkRegistration& operator=(const SinkRegistration&) = delete;
    bool Registered() const { return registered_; }

private:
    // regsvr32 of this build's bitness: system32 holds the native one.
    static std::wstring Regsvr32(const std::wstring& options) {
        return L"C:\\windows\\system32\\regsvr32.exe /s " + options + L"\"" + e2e::BesideThisProgram(L"Glimmerbox.dll") + L"\"";
    }
    bool registered_;
};

}  // namespace

using EndToEndTest = TrayProgramTest;

TEST_F(EndToEndTest, ARecordingMarksItsRelationWithinTwoSecondsAndTheMarkGoesWithTheSession) {
    SinkRegistration sink;
    ASSERT_TRUE(sink.Registered());
    // LED 1 on while recording, off without: the tray's light goes out with the session.
    StoreRelations({kRecording1Channel, kRecording0Channels}, kRecording0Channels);
    auto run = Start(L"");
    HWND window = run->WaitUntilInTray();
    ASSERT_NE(window, nullptr) << e2e::ShownWindows(run->Id());
    ASSERT_TRUE(e2e::DoubleClickTrayIcon(window));
    e2e::ConfigurationWindow configuration(window);
    std::vector<e2e::ListRow> rows = e2e::ReadListView(configuration.RelationList());
    ASSERT_EQ(rows.size(), 2u) << "the relations stored for the fallback device";
    EXPECT_EQ(rows[0].caption, L"Recording 1 channel");
    EXPECT_EQ(rows[1].caption, L"Recording 0 channels");
    EXPECT_TRUE(configuration.WaitForMarkedRows({L"Recording 0 channels"}, e2e::kPatienceMs))
        << "no session: no recording";

    // The host blocks while each "run" step checks the window and the tray, so
    // they are read while the session is in the state just played. The tray's
    // pictures go beside the window's.
    const std::string pictures = e2e::Narrow(e2e::BesideThisProgram(L"screenshots"));
    CreateDirectoryW(e2e::Widen(pictures).c_str(), nullptr);
    const std::wstring script = Folder() + L"\\recording.txt";
    std::ofstream(std::filesystem::path(script))
        << "open tv\n"
           "change tv Recording=true\n"
           "run ui_driver.exe marks 2000 \"Recording 1 channel\"\n"
           "run ui_driver.exe tray 2000 LIT \"" << pictures << "\\tray-recording.png\"\n"
           "close tv\n"
           "run ui_driver.exe marks 2000 \"Recording 0 channels\"\n"
           "run ui_driver.exe tray 2000 DARK \"" << pictures << "\\tray-closed.png\"\n";
    const std::wstring output = Folder() + L"\\status_host.txt";
    EXPECT_EQ(RunBesideUs(L"status_host.exe -f \"" + script + L"\"", output), 0u) << ReadAll(output);

    ASSERT_TRUE(e2e::ChooseExitFromTrayMenu(window));
    EXPECT_EQ(run->WaitForExit(e2e::kPatienceMs), 0u);
}

// The command line of the real program: the help box, the exit codes and
// what each start leaves in the registry and the working folder.
#include "desktop.h"
#include "e2e_fixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr wchar_t kHelpTitle[] = L"Glimmerbox Help";
constexpr wchar_t kHelpText[] =
    L"Command line options:\r\n\r\nUSEREVENTx=y - Set user event state.\r\nWhere x = 0 to 2 and y = 0 or 1\r\n\r\n"
    L"LOGDETECT - Create device detection log file.";
constexpr wchar_t kDetectionLog[] = L"Glimmerbox detection log.txt";

// The help box of a run: found, read and answered with its OK button.
struct HelpBox {
    std::wstring text;
    std::wstring ok_caption;
};

std::optional<HelpBox> AnswerHelpBox(const e2e::ProgramRun& run) {
    HWND box = nullptr;
    // A message box is a dialog of the system's class "#32770".
    if (!e2e::WaitUntil([&] { return (box = e2e::FindTopLevel(run.Id(), L"#32770", kHelpTitle)) != nullptr; }))
        return std::nullopt;
    HelpBox read;
    for (HWND label : e2e::Descendants(box, L"Static"))
        if (read.text.empty()) read.text = e2e::Text(label);  // the icon's label has no text
    HWND ok = GetDlgItem(box, IDOK);
    read.ok_caption = e2e::Text(ok);
    SendMessageW(ok, BM_CLICK, 0, 0);
    return read;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

using CommandLineTest = TrayProgramTest;

TEST_F(CommandLineTest, UnknownArgumentShowsTheHelpBoxWithAnEnglishOkAndEndsWithCode1) {
    auto run = Start(L"BOGUS");
    std::optional<HelpBox> help = AnswerHelpBox(*run);
    ASSERT_TRUE(help) << "no help box";
    EXPECT_EQ(help->text, kHelpText);
    EXPECT_EQ(help->ok_caption, L"OK");
    EXPECT_EQ(run->WaitForExit(e2e::kPatienceMs), 1u);
    EXPECT_EQ(e2e::FindMainWindow(), nullptr);
}

TEST_F(CommandLineTest, UnderAnotherFileNameItsOwnPathIsAnUnknownArgument) {
    const std::wstring renamed = Folder() + L"\\Lightbox.exe";
    ASSERT_TRUE(CopyFileW(Program().c_str(), renamed.c_str(), FALSE));
    e2e::ProgramRun run(renamed, L"", Folder());
    EXPECT_TRUE(AnswerHelpBox(run)) << "no help box";
    EXPECT_EQ(run.WaitForExit(e2e::kPatienceMs), 1u);
}

// Each row: the arguments, the exit code, and every user event's value
// before and after (kUnset: absent). Values expected to change start at the
// other value, so a start that stores nothing fails.
TEST_F(CommandLineTest, UserEventsAreStoredThenTheRunEnds) {
    constexpr uint32_t kUnset = 99;
    struct Case {
        const wchar_t* arguments;
        DWORD exit_code;
        uint32_t before[3];
        uint32_t after[3];
    };
    const Case cases[] = {
        {L"USEREVENT1=1", 2, {kUnset, 0, kUnset}, {kUnset, 1, kUnset}},
        {L"usErEvent1=0", 2, {kUnset, 1, kUnset}, {kUnset, 0, kUnset}},
        {L"USEREVENT2=01 USEREVENT0=", 2, {0, kUnset, 1}, {1, kUnset, 0}},
        {L"USEREVENT0=1 BOGUS", 1, {0, kUnset, kUnset}, {1, kUnset, kUnset}},
        {L"LOGDETECT USEREVENT2=yes", 2, {kUnset, kUnset, 0}, {kUnset, kUnset, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(e2e::Narrow(c.arguments));
        ASSERT_TRUE(ForgetSettings());
        for (int i = 0; i < 3; ++i)
            if (c.before[i] != kUnset) SetUserEvent(i, c.before[i]);
        auto run = Start(c.arguments);
        if (c.exit_code == 1) {
            EXPECT_TRUE(AnswerHelpBox(*run)) << "no help box";
        }
        EXPECT_EQ(run->WaitForExit(e2e::kPatienceMs), c.exit_code);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(UserEvent(i), c.after[i] == kUnset ? std::nullopt : std::optional<uint32_t>(c.after[i]))
                << "UserEvent" << i;
    }
    // A run that ends early enumerates no device, so it writes no detection log.
    EXPECT_FALSE(FileExists(Folder() + L"\\" + kDetectionLog));
}

TEST_F(CommandLineTest, LogDetectWritesTheDetectionLogIntoTheWorkingFolder) {
    auto run = Start(L"LOGDETECT");
    HWND window = run->WaitUntilInTray();
    ASSERT_NE(window, nullptr) << e2e::ShownWindows(run->Id());
    std::ifstream log(std::filesystem::path(Folder() + L"\\" + kDetectionLog), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    log.close();
    EXPECT_EQ(text.rfind("Glimmerbox detection log\r\n", 0), 0u) << "no detection log";
    // The real HID enumeration ran between the ports and the keyboards and found no light here.
    const std::size_t lights = text.find("\r\n=== USB lights ===");
    EXPECT_LT(lights, text.find("\r\n=== Keyboards ==="));
    EXPECT_LT(text.find("\r\n=== Serial ports ==="), lights);
    EXPECT_EQ(text.find(" (USB)"), std::string::npos) << text;
    ASSERT_TRUE(e2e::ChooseExitFromTrayMenu(window));
    EXPECT_EQ(run->WaitForExit(e2e::kPatienceMs), 0u);
}

TEST_F(CommandLineTest, APlainStartStoresFalseForEveryUserEvent) {
    for (int i = 0; i < 3; ++i) SetUserEvent(i, 1);
    auto run = Start(L"");
    HWND window = run->WaitUntilInTray();
    ASSERT_NE(window, nullptr) << e2e::ShownWindows(run->Id());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(UserEvent(i), 0u) << "UserEvent" << i;
    ASSERT_TRUE(e2e::ChooseExitFromTrayMenu(window));
    EXPECT_EQ(run->WaitForExit(e2e::kPatienceMs), 0u);
}

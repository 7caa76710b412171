// The tray icon's record and its return after Explorer restarts, and the
// message box with English buttons, read from another thread as a user sees it.

#include "platform/win32/win32_english_message_boxes.h"
#include "tests/win/program_fixture.h"

#include <chrono>
#include <cstring>
#include <map>
#include <thread>

TEST(NotifyIconRecord, HoldsTheAnsiLayoutUpToTheBalloonFieldsAndCutsTheTip) {
    struct tip_case {
        std::size_t length;
        std::size_t shown;
    };
    constexpr tip_case kTips[] = {{10, 10}, {127, 127}, {128, 127}, {300, 127}};
    HWND owner = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    for (const tip_case& c : kTips) {
        SCOPED_TRACE(c.length);
        const std::string tip(c.length, 'x');
        HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
        cNotifyIcon notify_icon(tip, icon, owner, 0x87CD);
        const NOTIFYICONDATAA& record = notify_icon.Record();
        // 488 bytes with 32-bit handles; the same fields with 64-bit handles and their alignment take 504.
        EXPECT_EQ(record.cbSize, sizeof(void*) == 4 ? 488u : 504u);
        EXPECT_EQ(record.cbSize, offsetof(NOTIFYICONDATAA, dwInfoFlags) + sizeof record.dwInfoFlags);
        EXPECT_EQ(record.uFlags, 7u);
        EXPECT_EQ(record.uID, 0u);
        EXPECT_EQ(record.hWnd, owner);
        EXPECT_EQ(record.hIcon, icon);
        EXPECT_EQ(record.uCallbackMessage, 0x87CDu);
        EXPECT_EQ(std::strlen(record.szTip), c.shown);
        EXPECT_EQ(record.dwState, 0u);
        EXPECT_EQ(record.szInfo[0], '\0');
    }
    DestroyWindow(owner);
}

using TrayIcon = ProgramOverFakeDevices;

TEST_F(TrayIcon, IsAddedAgainWhenTheNotificationAreaIsCreatedAnew) {
    Start();
    ASSERT_TRUE(main_form().Icon());
    NOTIFYICONDATAA record = main_form().Icon()->Record();
    EXPECT_STREQ(record.szTip, "Glimmerbox");
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &record)) << "the icon was added at start";
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));  // Explorer ends and takes the icon along
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record));
    SendMessageA(main_form().Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &record));
}

namespace {

// The message box of this title once it is up, waited for on another thread; null after 5 s.
HWND WaitForBox(const char* title) {
    HWND box = nullptr;
    for (int attempt = 0; attempt < 500 && !(box && IsWindowVisible(box)); ++attempt) {
        box = FindWindowA("#32770", title);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The box is shown, then activated: its captions are set by then.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return box;
}

// Reads the buttons of the box of this title and presses one.
std::map<int, std::string> ReadAndPress(const char* title, int press) {
    std::map<int, std::string> captions;
    HWND box = WaitForBox(title);
    if (!box) return captions;
    for (int id : {IDOK, IDYES, IDNO}) {
        if (HWND button = GetDlgItem(box, id)) {
            char text[32] = {};
            GetWindowTextA(button, text, sizeof text);
            captions[id] = text;
        }
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, press)));
    return captions;
}

}  // namespace

TEST(EnglishMessageBox, ButtonsReadOkYesAndNo) {
    struct box_case {
        UINT type;
        int press;
        std::map<int, std::string> captions;
    };
    const box_case kBoxes[] = {
        {MB_OK, IDOK, {{IDOK, "OK"}}},
        {MB_YESNO | MB_ICONQUESTION, IDNO, {{IDYES, "Yes"}, {IDNO, "No"}}},
        {MB_YESNO, IDYES, {{IDYES, "Yes"}, {IDNO, "No"}}},
    };
    for (const box_case& c : kBoxes) {
        std::map<int, std::string> captions;
        std::thread reader([&] { captions = ReadAndPress("Glimmerbox test box", c.press); });
        const int result = platform::win32::EnglishMessageBox(nullptr, "Text", "Glimmerbox test box", c.type);
        reader.join();
        EXPECT_EQ(captions, c.captions) << "type " << c.type;
        EXPECT_EQ(result, c.press);
    }
}

using ProgramEnd = ProgramOverFakeDevices;

TEST_F(ProgramEnd, LogOffHidesTheWindowFirstThenGrantsTheEnd) {
    Start();
    OpenConfiguration();
    SetForegroundWindow(main_form().Handle());
    ASSERT_EQ(GetForegroundWindow(), main_form().Handle());
    EXPECT_EQ(SendMessageA(main_form().Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_FALSE(IsWindowVisible(main_form().Handle()));
    EXPECT_EQ(SendMessageA(main_form().Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

TEST_F(ProgramEnd, TheSessionsEndShutsDownBeforeWindowsEndsTheProcess) {
    Start();
    ASSERT_TRUE(ports.port(3).open);
    NOTIFYICONDATAA record = main_form().Icon()->Record();
    EXPECT_EQ(SendMessageA(main_form().Handle(), WM_ENDSESSION, TRUE, 0), 1);
    EXPECT_EQ(program_->Model(), nullptr);
    EXPECT_FALSE(ports.port(3).open) << "the device left its LEDs and closed";
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record)) << "the icon is gone";
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the message loop ends";
}

namespace {

// A form whose button fails, as a handler that meets a fault does.
constexpr control_row kFailingControls[] = {{ControlKind::Button, "Fail", "Fail", 8, 8, 75, 25}};
constexpr form_table kFailingForm = {"GlimmerFailingForm", "Failing", 100, 50, WS_EX_TOOLWINDOW, kFailingControls};

class FailingForm : public Form {
public:
    FailingForm() : Form(kFailingForm) {
        Bind("Fail", BN_CLICKED, [this] {
            ++clicks;
            throw std::runtime_error("Handler failed");
        });
    }
    int clicks = 0;
};

// The text of the exception box of this title, read on another thread, which then closes it.
std::string ReadAndClose(const char* title) {
    HWND box = WaitForBox(title);
    if (!box) return "(no box)";
    char text[128] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the static of a message box
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return text;
}

}  // namespace

TEST(ExceptionBox, ShowsAHandlersFaultOnceAndTheWindowGoesOn) {
    FailingForm form;
    form.Show();
    for (int click = 1; click <= 2; ++click) {
        std::string text;
        std::thread reader([&] { text = ReadAndClose(kApplicationTitle); });
        SendMessageA(form.Control("Fail"), BM_CLICK, 0, 0);
        reader.join();
        EXPECT_EQ(text, "Handler failed");
        EXPECT_EQ(form.clicks, click) << "the window still handles its controls";
    }
}

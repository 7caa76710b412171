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

// Waits for the box of this title on another thread, reads its buttons and presses one.
std::map<int, std::string> ReadAndPress(const char* title, int press) {
    std::map<int, std::string> captions;
    HWND box = nullptr;
    for (int attempt = 0; attempt < 500 && !(box && IsWindowVisible(box)); ++attempt) {
        box = FindWindowA("#32770", title);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!box) return captions;
    // The box is shown, then activated: its captions are set by then.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
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

// The tray icon's record, its lights and its return after Explorer restarts,
// a resume or a refusal; the message box with English buttons, read from
// another thread as a user sees it, and the program's end.

#include "app/main_timers.h"
#include "platform/win32/win32_english_message_boxes.h"
#include "platform/win32/win32_message_boxes.h"
#include "settings/led_vocabulary.h"
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

TEST_F(TrayIcon, ShowsTheLightsAndIsAddedAgainWithThemWhenTheNotificationAreaIsCreatedAnew) {
    Start();
    ASSERT_TRUE(main_form().Icon());
    auto tick = [this] { SendMessageA(main_form().Handle(), WM_TIMER, main_timer::Timer1, 0); };
    auto record = [this] { return main_form().Icon()->Record(); };
    // The colour module on COM3, the device chosen at start, shows the colour from the next tick.
    auto show = [&](int8_t colour, int ticks) {
        model().Engine().Relations().Clear();
        model().Engine().Relations().Add({event::AlwaysOn, 0, colour, priority::Normal});
        for (int i = 0; i < ticks; ++i) tick();
        return record().hIcon;
    };
    const HICON red = show(led_state::Red, 1);
    EXPECT_EQ(record().uFlags, 7u);
    EXPECT_STREQ(record().szTip, "Glimmerbox\nLED 1: Always on");
    EXPECT_EQ(show(led_state::Red, 16), red) << "the same picture keeps its icon";
    const HICON blue = show(led_state::Blue, 1);
    EXPECT_NE(blue, red);
    EXPECT_EQ(show(led_state::Red, 1), red) << "a picture shown before is not made again";

    NOTIFYICONDATAA shown = record();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &shown)) << "the icon was added at start";
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &shown));  // Explorer ends and takes the icon along
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &shown));
    SendMessageA(main_form().Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &shown));
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &shown));  // a shell that lost it during a suspend
    SendMessageA(main_form().Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &shown));
    EXPECT_EQ(record().hIcon, red);

    OpenConfiguration();
    Click(main_form(), MainControl::CheckBoxTrayLights);
    EXPECT_STREQ(record().szTip, "Glimmerbox");
    EXPECT_TRUE(record().hIcon != red && record().hIcon != blue);
}

TEST_F(TrayIcon, IsAddedOnALaterTickWhenTheShellRefusedItAtStart) {
    // The shell holds an icon of this window already, so the first add fails as a busy shell's does.
    NOTIFYICONDATAA held = {};
    held.cbSize = NOTIFYICONDATAA_V2_SIZE;
    held.hWnd = main_form().Handle();
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &held));
    Start();
    ASSERT_FALSE(main_form().Icon()->Added());
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &held));
    for (int tick = 0; tick < 16; ++tick) SendMessageA(main_form().Handle(), WM_TIMER, main_timer::Timer1, 0);
    NOTIFYICONDATAA record = main_form().Icon()->Record();
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &record)) << "added again within 2 s";
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

// The program's end with the real boxes of the devices, owned by the
// configuration window while it is open.
class ProgramEnd : public ProgramOverFakeDevices {
protected:
    void SetUp() override {
        ProgramOverFakeDevices::SetUp();
        boxes_.OwnBoxesBy(main_form().Handle());
    }
    platform::MessageBoxes& Boxes() override { return boxes_; }
    // What the log-off sends: the query, then the end, while something is up.
    LRESULT EndSession() {
        const LRESULT granted = SendMessageA(main_form().Handle(), WM_QUERYENDSESSION, 0, 0);
        SendMessageA(main_form().Handle(), WM_ENDSESSION, granted, 0);
        return granted;
    }

    platform::win32::Win32MessageBoxes boxes_;
};

TEST_F(ProgramEnd, LogOffHidesTheWindowFirstThenGrantsTheEnd) {
    Start();
    OpenConfiguration();
    SetForegroundWindow(main_form().Handle());
    ASSERT_EQ(GetForegroundWindow(), main_form().Handle());
    EXPECT_EQ(SendMessageA(main_form().Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_FALSE(IsWindowVisible(main_form().Handle()));
    EXPECT_EQ(SendMessageA(main_form().Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

TEST_F(ProgramEnd, TheSessionsEndUnderABoxFreesNothingUntilTheLoopReturns) {
    Start();
    OpenConfiguration();
    ports.port(5).open_error = 5;  // taken by another program meanwhile
    bool window_disabled = false, model_kept = false;
    std::thread log_off([&] {
        window_disabled = WaitForBox("COM5") && !IsWindowEnabled(main_form().Handle());
        EndSession();
        model_kept = program_->Model() != nullptr;
    });
    Choose(main_form(), MainControl::ComboBox1, 1);  // COM5 fails to open: its box is up until the end closes it
    log_off.join();
    EXPECT_TRUE(window_disabled) << "the box is modal to the configuration window";
    EXPECT_TRUE(model_kept) << "the handler that showed the box still runs";
    EXPECT_EQ(program_->Run(), 0);
}

TEST_F(ProgramEnd, TheSessionsEndStoresWhatIsPendingAndGoesDarkAtOnce) {
    Start();
    OpenConfiguration();
    Choose(main_form(), MainControl::ComboBox1, 1);  // COM5: three plain LEDs
    Click(main_form(), MainControl::CheckBox3);
    MoveBar(MainControl::TrackBar2, 40);
    Click(main_form(), MainControl::ButtonAdd);
    Choose(event_form(), EventControl::ComboBox4, 4);
    ASSERT_TRUE(ports.port(5).open);
    NOTIFYICONDATAA record = main_form().Icon()->Record();

    EXPECT_EQ(EndSession(), TRUE);
    EXPECT_EQ(StoredRelations(), EngineRelations());
    EXPECT_EQ(StoredRelations().back().priority, priority::Highest);
    auto calibration = registry().OpenReadOnly(platform::RegistryRoot::CurrentUser,
                                               std::string(kGlimmerboxKey) + "\\1000\\Calibration");
    ASSERT_TRUE(calibration);
    EXPECT_EQ(calibration->ReadDword("LED0-Calibration"), 40u);
    EXPECT_FALSE(ports.port(5).open) << "the device left its LEDs dark and closed";
    ASSERT_NE(program_->Model(), nullptr);

    EXPECT_EQ(program_->Run(), 0);
    program_.reset();
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record)) << "the icon is gone";
}

namespace {

// A form whose button fails, as a handler that meets a fault does.
enum class FailingControl : uint8_t { Fail };
constexpr control_row kFailingControls[] = {{ControlKind::Button, FailingControl::Fail, "Fail", "Fail", 8, 8, 75, 25}};
constexpr form_table kFailingForm = {"GlimmerFailingForm", "Failing", 100, 50, WS_EX_TOOLWINDOW, kFailingControls};

class FailingForm : public Form {
public:
    FailingForm() : Form(kFailingForm) {
        Bind(FailingControl::Fail, BN_CLICKED, [this] {
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
        SendMessageA(form.Control(FailingControl::Fail), BM_CLICK, 0, 0);
        reader.join();
        EXPECT_EQ(text, "Handler failed");
        EXPECT_EQ(form.clicks, click) << "the window still handles its controls";
    }
}

#pragma once
// The program's real windows over fake devices: a full-colour LED module on
// COM3 and three plain LEDs on COM5, the real registry and window services,
// and the rest of the machine in memory. The windows are driven by the
// messages a user's clicks would send.

#include "app/win32/main_form_layout.h"
#include "app/win32/program.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_comm_config_dialogs.h"
#include "platform/fake/fake_english_message_boxes.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_hid_devices.h"
#include "platform/fake/fake_keyboards.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_power.h"
#include "platform/fake/fake_serial_ports.h"
#include "platform/fake/fake_sessions.h"
#include "platform/fake/fake_shared_area_reader.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_stream_sockets.h"
#include "platform/fake/fake_system_metrics.h"
#include "platform/fake/fake_version_info.h"
#include "platform/win32/win32_top_level_windows.h"
#include "tests/common/registry_fixture.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class ProgramOverFakeDevices : public RegistryFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program as a plain start does: no window shown.
    void Start();
    // The tray icon's double-click: shows the configuration window.
    void OpenConfiguration();
    void Click(const Form& form, control_id control);
    void Choose(const Form& form, control_id control, int index);
    void DoubleClickRow(int row);
    void MoveBar(MainControl bar, int position);

    // What the list shows: per row its four texts and whether it carries the mark.
    struct shown_row {
        std::vector<std::string> texts;
        bool marked;
    };
    std::vector<shown_row> ShownRows() const;
    std::vector<std::string> ComboItems(const Form& form, control_id control) const;
    std::vector<std::string> TabTexts() const;
    // The relations stored in the registry for the current device.
    std::vector<led_relation> StoredRelations();
    std::vector<led_relation> EngineRelations();

    // The boxes of the devices and the engine.
    virtual platform::MessageBoxes& Boxes() { return message_boxes; }

    TfMain& main_form() { return program_->fMain; }
    TfEvent& event_form() { return program_->fEvent; }
    cMainWindowModel& model() { return *program_->Model(); }

    platform::fake::FakeClock clock{1000};
    platform::fake::FakeMessageBoxes message_boxes;
    platform::fake::FakeSerialPorts ports{clock};
    platform::fake::FakeMultimediaTimers multimedia_timers{clock};
    platform::fake::FakeKeyboards keyboards;
    platform::fake::FakeHidDevices hid;
    platform::fake::FakePower power;
    platform::fake::FakeWindowFinder window_finder;
    platform::fake::FakeSessions sessions;
    platform::fake::FakeSharedAreaReader areas;
    platform::fake::FakeStreamSockets sockets;
    platform::fake::FakeVersionInfo version_info;
    platform::fake::FakeSystemMetrics metrics;
    platform::fake::FakeFiles files;
    platform::win32::Win32TopLevelWindows windows;
    platform::fake::FakeShell shell;
    platform::fake::FakeCommConfigDialogs comm_config;
    platform::fake::FakeEnglishMessageBoxes english_boxes;
    std::unique_ptr<serial_led_services> serial_;
    std::unique_ptr<led_engine_services> engine_;
    std::unique_ptr<cProgram> program_;
};

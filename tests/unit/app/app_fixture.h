#pragma once
// The main window's model over the in-memory machine, with the fake window
// services: a test scripts the machine, starts the program and drives the
// model as the forms would.

#include "app/main_timers.h"
#include "app/main_window_model.h"
#include "platform/fake/fake_comm_config_dialogs.h"
#include "platform/fake/fake_english_message_boxes.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_top_level_windows.h"
#include "platform/fake/fake_window_timers.h"
#include "settings/led_vocabulary.h"
#include "tests/unit/fake_machine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class AppFixture : public testing::Test, protected FakeMachine {
protected:
    static constexpr const char* kOwnPath = "C:\\Program Files\\Glimmerbox\\Glimmerbox.exe";

    AppFixture() {
        timers.SetHandler([this](uint32_t id) {
            if (model) model->WMTimer(id);
        });
    }

    cMainWindowModel& Build() {
        model = std::make_unique<cMainWindowModel>(app, windows);
        return *model;
    }
    // Builds the model and runs the start-up with these arguments after the program's path.
    std::optional<int> Start(std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), kOwnPath);
        Build();
        return model->Start(arguments, [this] { tray_rows = static_cast<int>(model->View().rows.size()); });
    }
    // A started program whose device is the full-colour module (common cathode) on COM1.
    cMainWindowModel& StartWithColourLed() {
        ports.AddPort(1, {.dtr = platform::kMsRlsdOn});
        EXPECT_EQ(Start(), std::nullopt);
        return *model;
    }
    // A started program whose device is COM1 without a module: three plain LEDs.
    cMainWindowModel& StartWithThreeLeds() {
        ports.AddPort(1);
        EXPECT_EQ(Start(), std::nullopt);
        return *model;
    }
    // Replaces the relation list and refills the window.
    void Relate(std::initializer_list<led_relation> relations) {
        model->Engine().Relations().Clear();
        for (const led_relation& relation : relations) model->Engine().Relations().Add(relation);
        model->RefreshWindow();
    }
    std::optional<uint32_t> StoredDword(const std::string& path, const std::string& name) {
        auto key = registry.OpenReadOnly(platform::RegistryRoot::CurrentUser, path);
        return key ? key->ReadDword(name) : std::nullopt;
    }
    const cLedDevice& Current() { return model->Engine().CurrentDevice(); }
    const main_window_view& View() const { return model->View(); }
    const calibration_view& Calibration() const { return model->Calibration().View(); }

    static platform::WindowHandle Handle(uintptr_t value) { return reinterpret_cast<platform::WindowHandle>(value); }

    platform::fake::FakeFiles files;
    platform::fake::FakeWindowTimers timers{clock};
    platform::fake::FakeTopLevelWindows desktop;
    platform::fake::FakeShell shell;
    platform::fake::FakeCommConfigDialogs comm_config;
    platform::fake::FakeEnglishMessageBoxes english_boxes;
    app_services app{services, version_info, metrics, files, timers, desktop, shell, comm_config, english_boxes};
    app_windows windows{Handle(0x100), Handle(0x200), Handle(0x300)};
    std::unique_ptr<cMainWindowModel> model;
    int tray_rows = -1;  // the rows the window had when the tray icon was added; -1: never added
};

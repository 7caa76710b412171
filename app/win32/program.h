#pragma once
// The program: its three windows in their order of creation, the main
// window's model over them, and the one message loop. The platform services
// come from outside, so a test runs the real windows over fake devices.

#include "app/app_services.h"
#include "app/main_window_model.h"
#include "app/win32/event_form.h"
#include "app/win32/main_form.h"
#include "app/win32/suspend_message_form.h"
#include "platform/win32/win32_window_timers.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

// The services of app_services besides the main window's timers, which need its window.
struct desktop_services {
    platform::VersionInfo& version_info;
    platform::SystemMetrics& metrics;
    platform::Files& files;
    platform::TopLevelWindows& windows;
    platform::Shell& shell;
    platform::CommConfigDialogs& comm_config;
    platform::EnglishMessageBoxes& english_boxes;
};

class cProgram {
public:
    // Creates fMain, fEvent and fSuspendMessage, in this order; none is shown.
    cProgram(const led_engine_services& engine, const desktop_services& desktop);
    // The shut-down order: tray icon, then the model (timers, engine), then the windows.
    // It runs here only, never inside a message handler: a handler that showed a box may
    // still be running below the one that ended the program.
    ~cProgram();
    cProgram(const cProgram&) = delete;
    cProgram& operator=(const cProgram&) = delete;

    // Builds the main window's model and starts it with the command line
    // (arguments[0] is the program's path): an exit code ends the program at once.
    // hand_over as the model's Start takes it.
    std::optional<int> Start(std::span<const std::string> arguments,
                             const std::function<bool(bool log_detect)>& hand_over = {});
    // The message loop, until the main window closes for good; returns the exit code.
    int Run();

    TfMain fMain;
    TfEvent fEvent;
    TfSuspendMessage fSuspendMessage;
    cMainWindowModel* Model() { return model_.get(); }

private:
    void RenderAll();
    void DrawNow();

    platform::win32::Win32WindowTimers timers_;
    app_services services_;
    std::unique_ptr<cMainWindowModel> model_;
};

// The program's command line as the model reads it: the executable's full
// path, then the arguments.
std::vector<std::string> ProgramArguments();

#pragma once
// The platform services the program's windows need besides the engine's, all
// owned elsewhere (by WinMain, or by a test over the fakes), and the three
// windows they act on.

#include "engine/led_engine.h"
#include "platform/comm_config_dialogs.h"
#include "platform/english_message_boxes.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/system_metrics.h"
#include "platform/top_level_windows.h"
#include "platform/version_info.h"
#include "platform/window_handle.h"
#include "platform/window_timers.h"

struct app_services {
    const led_engine_services& engine;
    platform::VersionInfo& version_info;
    platform::SystemMetrics& metrics;
    platform::Files& files;
    platform::WindowTimers& timers;  // the main window's
    platform::TopLevelWindows& windows;
    platform::Shell& shell;
    platform::CommConfigDialogs& comm_config;
    platform::EnglishMessageBoxes& english_boxes;
};

// The program's three windows, created before the main window's model.
struct app_windows {
    platform::WindowHandle main = nullptr;            // the configuration window, fMain
    platform::WindowHandle event_dialog = nullptr;    // fEvent
    platform::WindowHandle suspend_notice = nullptr;  // fSuspendMessage
};

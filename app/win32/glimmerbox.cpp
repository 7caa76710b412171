// The entry point: the real platform services, the program over them, and
// the framework's exception box for whatever escapes start-up or the loop.
#include "app/win32/program.h"
#include "app/win32/single_instance.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_comm_config_dialogs.h"
#include "platform/win32/win32_english_message_boxes.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_hid_devices.h"
#include "platform/win32/win32_keyboards.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_multimedia_timers.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_serial_ports.h"
#include "platform/win32/win32_sessions.h"
#include "platform/win32/win32_shared_area_reader.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_stream_sockets.h"
#include "platform/win32/win32_system_metrics.h"
#include "platform/win32/win32_top_level_windows.h"
#include "platform/win32/win32_version_info.h"

#include <exception>

namespace {

int RunProgram() {
    namespace win32 = platform::win32;
    win32::Win32Registry registry;
    win32::Win32Clock clock;
    win32::Win32MessageBoxes message_boxes;
    win32::Win32SerialPorts ports;
    win32::Win32MultimediaTimers multimedia_timers;
    win32::Win32Keyboards keyboards;
    win32::Win32HidDevices hid;
    win32::Win32Power power;
    win32::Win32WindowFinder window_finder;
    win32::Win32Sessions sessions;
    win32::Win32SharedAreaReader shared_areas;
    win32::Win32StreamSockets sockets;
    win32::Win32VersionInfo version_info;
    win32::Win32SystemMetrics metrics;
    win32::Win32Files files;
    win32::Win32TopLevelWindows windows;
    win32::Win32Shell shell;
    win32::Win32CommConfigDialogs comm_config;
    win32::Win32EnglishMessageBoxes english_boxes;
    const serial_led_services serial{ports, multimedia_timers, registry, clock, message_boxes};
    const led_engine_services engine{serial, keyboards, hid, power, window_finder, sessions, shared_areas, sockets};

    cSingleInstance instance;
    cProgram program(engine, {version_info, metrics, files, windows, shell, comm_config, english_boxes});
    message_boxes.OwnBoxesBy(program.fMain.Handle());
    const auto hand_over = [&](bool log_detect) {
        return instance.HandOverToRunningProgram(log_detect, program.fMain.Handle());
    };
    if (const std::optional<int> code = program.Start(ProgramArguments(), hand_over)) return *code;
    return program.Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::RestrictLibrarySearch();
    try {
        return RunProgram();
    } catch (const std::exception& error) {
        ShowException(&error);
    } catch (...) {
        ShowException(nullptr);
    }
    return 0;
}

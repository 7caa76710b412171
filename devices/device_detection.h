#pragma once
// The device detection that runs at start-up and on "Refresh devices": it
// enumerates the devices and, when the program was started with LOGDETECT,
// rewrites the detection log with what the enumeration found.

#include "devices/led_device_list.h"
#include "platform/files.h"

#include <string_view>

// What the log's header names: the program's short file version and Media Center's version.
struct detection_log_versions {
    std::string_view glimmerbox;
    std::string_view media_center;
};

void DetectDevices(cLedDeviceList& list, platform::Files& files, bool log_detect,
                   const detection_log_versions& versions);

#include "devices/device_detection.h"

#include "devices/detection_log.h"

void DetectDevices(cLedDeviceList& list, platform::Files& files, bool log_detect,
                   const detection_log_versions& versions) {
    if (!log_detect) {
        list.Refresh(nullptr, false);
        return;
    }
    // A log that cannot be created drops its lines; the enumeration runs all the same.
    cDetectionLogFile log(files.Create(kDetectionLogFileName));
    log << "Glimmerbox detection log\n\n"
        << "Glimmerbox version: V" << versions.glimmerbox << "\n"
        << "Media center      : " << versions.media_center << "\n";
    list.Refresh(&log, false);
}

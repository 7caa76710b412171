#pragma once
// The LED engine turns the state of the machine into LED light. It keeps the
// event set up to date from the sensors (Media Center's and Kodi's), the user
// events and the system's power and session notifications, resolves the
// current device's relation list into one state per LED and hands the device
// a frame every tick.
// Everything runs on the main window's thread.

#include "devices/keyboard_led_device.h"
#include "devices/led_device.h"
#include "devices/led_device_list.h"
#include "devices/serial_led_device.h"
#include "engine/event_catalogue.h"
#include "engine/relation.h"
#include "engine/relation_resolver.h"
#include "platform/clock.h"
#include "platform/hid_devices.h"
#include "platform/keyboards.h"
#include "platform/message_boxes.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "platform/sessions.h"
#include "platform/shared_area_reader.h"
#include "platform/stream_sockets.h"
#include "platform/window_finder.h"
#include "platform/window_handle.h"
#include "sensors/kodi_sensor.h"
#include "sensors/media_center_extender.h"
#include "sensors/recording_sensor.h"
#include "sensors/windows_version.h"
#include "settings/persistent_variables.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// The platform services the engine and everything it owns need, all owned
// elsewhere. The engine itself uses the registry, clock and message boxes
// that the serial devices use.
struct led_engine_services {
    const serial_led_services& serial;
    platform::Keyboards& keyboards;
    platform::HidDevices& hid;
    platform::Power& power;
    platform::WindowFinder& windows;
    platform::Sessions& sessions;
    platform::SharedAreaReader& shared_areas;
    platform::StreamSockets& sockets;  // to Kodi
};

class cLedEngine {
public:
    // Registers window for power-setting (from Windows Vista on) and session
    // notifications and binds the power library; a missing library or entry
    // point is reported once in a message box and costs only the events it feeds.
    cLedEngine(const led_engine_services& services, platform::WindowHandle window, const cWindowsVersion& version);
    virtual ~cLedEngine();
    cLedEngine(const cLedEngine&) = delete;
    cLedEngine& operator=(const cLedEngine&) = delete;

    // One 125 ms step: follows Kodi, gathers on every eighth tick, follows user
    // input, resolves, sends the frame and advances the device's blink phase.
    void Tick();
    // Rebuilds every event that is not kept from its source.
    void Gather();
    // Resolves the relations and sends the current device one frame.
    void Resolve(bool rotate, bool suspend_only);
    // Sets (on) or clears the event bits; nothing else.
    void SetEvent(uint32_t events, bool on);

    // Acts on suspend, automatic resume and power-setting changes.
    void OnPowerEvent(const platform::PowerEvent& power_event);
    // A power-setting change: away mode and monitor power; any other setting is ignored.
    void OnPowerSetting(const platform::PowerEvent& change);
    // Recounts extenders and remote desktop sessions.
    void OnSessionChange(const platform::SessionChange& change);
    // Shows state on LED (0 to 3) for duration_ms regardless of the relations.
    void ShowOverride(int led, int8_t state, uint32_t duration_ms);

    // Makes the listed device of this ID current and loads its relations;
    // an unknown ID changes nothing.
    void OpenDevice(const std::string& id);
    // Deactivates the current device and makes the fallback device current,
    // so that the device list can be refreshed.
    void FallBack();
    // Offers hidden events (shown) or only those this Windows supports.
    void SetHiddenEventsShown(bool shown);
    // The Windows session ends: the current device leaves its driven LEDs dark when closed.
    void EndSession();

    // The relation list of the current device's hardware ID; see cRelationList.
    bool LoadRelations();
    bool SaveRelations();
    void LoadDefaultRelations(uint16_t hardware_id);
    cRelationList& Relations() { return relations_; }

    uint32_t Events() const { return events_; }
    // The event bit whose relation drives the LED in the last frame; 0 while none
    // does, or while a shown override holds the LED.
    uint32_t WinningEvent(int led) const;
    cLedDevice& CurrentDevice() { return *current_; }
    cLedDeviceList& Devices() { return devices_; }
    const cEventCatalogue& Catalogue() const { return catalogue_; }
    cKodiSensor& Kodi() { return kodi_; }
    cPersistentAnsiString& DeviceId() { return device_id_; }
    // "UserEvent0" to "UserEvent2"; index 0 to 2.
    cPersistentBool& UserEvent(int index) { return user_events_[index]; }

private:
    void RegisterPowerSettings(platform::WindowHandle window);
    void BindPowerInformation();
    // "Extender in use" and "Remote desktop session" from the session counter's counts.
    void ShowSessionCounts();
    // The recording event of both sources' recordings, and Kodi's four events.
    void ShowRecordingsAndKodi();
    void ExpireOverrides();
    // A device whose write failed (a USB light unplugged) gives way to the fallback device.
    void FallBackWhenFailed();
    uint16_t CurrentHardwareId() const { return static_cast<uint16_t>(current_->HardwareId()); }

    platform::Registry& registry_;
    platform::Clock& clock_;
    platform::MessageBoxes& message_boxes_;
    platform::Power& power_;
    platform::WindowFinder& windows_;

    // Destroyed in reverse order: the fallback device before the device list.
    cRelationList relations_;
    cLedDeviceList devices_;
    cKeyboardLedDevice fallback_;
    cLedDevice* current_;  // into devices_ or &fallback_; never null
    cEventCatalogue catalogue_;
    cMceRecordingSensor recording_sensor_;
    cMediaCenterExtender session_counter_;
    cKodiSensor kodi_;
    int32_t media_center_recordings_ = 0;  // of the last gathering; cMceRecordingSensor::kUnreadable too
    cPersistentAnsiString device_id_;
    cPersistentBool user_events_[3];
    std::unique_ptr<platform::PowerInformation> power_information_;  // null when not bound
    const cWindowsVersion& version_;

    bool away_ = false;
    uint32_t tick_counter_ = 0;
    uint32_t events_ = event::PowerOn | event::AlwaysOn;
    cRelationResolver resolver_;  // remembers the shown event of each LED
    std::array<int8_t, kEngineLeds> override_state_ = {};
    std::array<uint32_t, kEngineLeds> override_expiry_ = {};
    uint32_t last_input_ = 0;
};

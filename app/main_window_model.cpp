#include "app/main_window_model.h"

#include "app/build_stamp.h"
#include "app/command_line.h"
#include "app/device_choice.h"
#include "app/links.h"
#include "app/main_timers.h"
#include "devices/device_detection.h"
#include "platform/power.h"
#include "sensors/file_version.h"
#include "settings/led_vocabulary.h"

#include <cstdio>

namespace {

constexpr const char* kCommConfigPort = "COM256";
constexpr const char* kDefaultRelationsTitle = "Default relations";
constexpr const char* kDefaultRelationsQuestion = "Are you sure you want to load the default relations for this device?";
constexpr const char* kNewRelationCaption = "New event/LED relation";
constexpr const char* kEditRelationCaption = "Edit event/LED relation";

std::string KodiStatusText(const cKodiSensor& kodi) {
    switch (kodi.Status()) {
        case kodi_status::Off: break;
        case kodi_status::Looking: return "Looking for Kodi...";
        case kodi_status::Connected: {
            const std::string& version = kodi.State().version;
            return version.empty() ? "Connected to Kodi" : "Connected to Kodi (JSON-RPC " + version + ")";
        }
        case kodi_status::NotRunning: return "Kodi is not running";
        case kodi_status::Refused:
            return "Kodi refused: turn on its setting \"Allow remote control from applications on this system\"";
    }
    return "";
}

// At least three upper-case hexadecimal digits of the 16-bit hardware ID.
std::string HardwareIdText(int16_t hardware_id) {
    char text[8];
    std::snprintf(text, sizeof text, "%03X", static_cast<unsigned>(static_cast<uint16_t>(hardware_id)));
    return text;
}

}  // namespace

cMainWindowModel::cMainWindowModel(const app_services& services, const app_windows& windows)
    : services_(services),
      windows_(windows),
      windows_version_(services.version_info, services.metrics, services.engine.serial.registry),
      engine_(services.engine, windows.main, windows_version_),
      enable_hidden_events_(services.engine.serial.registry, "EnableHiddenEvents"),
      tray_lights_(services.engine.serial.registry, "TrayLights", false, true),
      tray_(engine_),
      calibration_(engine_, services.timers),
      suspend_notice_(services.windows, services.shell, windows.suspend_notice),
      event_dialog_(engine_, enable_hidden_events_, services.windows, windows.event_dialog, suspend_notice_, *this) {
    view_.web_site_text = links::kWebSiteText;
    view_.forum_text = links::kForumText;
    view_.mail_text = links::kMailAddress;
}

cMainWindowModel::~cMainWindowModel() {
    services_.timers.Kill(main_timer::Timer1);
    services_.timers.Kill(main_timer::Timer2);
}

std::optional<int> cMainWindowModel::Start(std::span<const std::string> arguments,
                                           const std::function<void()>& add_tray_icon,
                                           const std::function<bool(bool log_detect)>& hand_over) {
    const command_line parsed = ParseCommandLine(arguments);
    for (int i = 0; i < 3; ++i)
        if (parsed.user_events[i]) engine_.UserEvent(i).Set(*parsed.user_events[i]);
    log_detect_ = parsed.log_detect;
    if (parsed.unknown)
        services_.english_boxes.Show(nullptr, kHelpText, kHelpTitle, platform::kMbOk);
    const bool remote = services_.metrics.Get(platform::kSmRemoteSession) != 0;
    if (std::optional<int> code = StartUpExitCode(parsed, remote)) return code;
    if (hand_over && hand_over(parsed.log_detect)) return exit_code::HandedOver;

    view_.build_stamp = ThisBuildStamp();
    for (int i = 0; i < 3; ++i) engine_.UserEvent(i).Set(false);
    engine_.LoadRelations();
    DetectDevices();
    FillDeviceList();
    OpenInitialDevice();
    RefreshWindow();
    add_tray_icon();
    services_.timers.Set(main_timer::Timer1, main_timer::Timer1IntervalMs);
    view_.active_page = config_page::Leds;
    ++view_.page_generation;
    view_.rnd_tab_shown = false;
    // The event dialog is made after the main window: it offers what the refill made available.
    event_dialog_.FillEventAndPriorityLists();
    return std::nullopt;
}

void cMainWindowModel::DetectDevices() {
    const cFileVersion file_version(services_.version_info);
    const std::string media_center(windows_version_.MediaCenterVersionName());
    ::DetectDevices(engine_.Devices(), services_.files, log_detect_, {file_version.ShortVersion(), media_center});
}

void cMainWindowModel::FillDeviceList() {
    view_.devices = {};
    const cLedDeviceList& devices = engine_.Devices();
    for (int i = 0; i < devices.Count(); ++i) view_.devices.items.push_back(devices.Item(i)->Description());
}

void cMainWindowModel::SelectCurrentDevice() {
    view_.devices.selected = -1;  // the fallback device is in no list
    for (int i = 0; i < engine_.Devices().Count(); ++i)
        if (engine_.Devices().Item(i) == &engine_.CurrentDevice()) view_.devices.selected = i;
}

void cMainWindowModel::OpenInitialDevice() {
    const std::string stored = engine_.DeviceId().Get();
    if (!stored.empty()) {
        engine_.OpenDevice(stored);  // a device no longer present changes nothing
        return;
    }
    if (const cLedDevice* best = BestClassifiedDevice(engine_.Devices())) {
        engine_.DeviceId().Set(best->Id());
        engine_.OpenDevice(best->Id());
    }
}

void cMainWindowModel::WMTimer(uint32_t id) {
    if (id == main_timer::Timer1) Timer1Timer();
    if (id == main_timer::Timer2) Timer2Timer();
}

void cMainWindowModel::Timer1Timer() {
    engine_.Tick();
    UpdateActivityMarks();
    ShowKodiStatus();
    UpdateTray();
}

void cMainWindowModel::UpdateTray() {
    if (tray_.Update()) ++view_.tray_generation;
}

// Built anew only when it changed: the tick runs eight times a second.
void cMainWindowModel::ShowKodiStatus() {
    const cKodiSensor& kodi = engine_.Kodi();
    if (kodi.Status() == shown_kodi_status_ && kodi.State().version == shown_kodi_version_) return;
    shown_kodi_status_ = kodi.Status();
    shown_kodi_version_ = kodi.State().version;
    view_.kodi_status = KodiStatusText(kodi);
}

void cMainWindowModel::Timer2Timer() { calibration_.Timer2Timer(); }

void cMainWindowModel::RefreshWindow() {
    updating_ = true;
    cLedDevice& device = engine_.CurrentDevice();
    const cEventCatalogue& catalogue = engine_.Catalogue();

    view_.rows.clear();
    for (const auto& relation : engine_.Relations())
        view_.rows.push_back({catalogue.NameOf(relation->event), device.GetLedName(relation->led),
                              device.GetStateName(relation->led, relation->state), PriorityName(relation->priority)});
    ++view_.rows_generation;
    shown_event_set_ = 0;
    UpdateActivityMarks();

    SelectCurrentDevice();

    auto* serial = dynamic_cast<cSerialLedDevice*>(&device);
    if (serial && serial->IsProlific())
        view_.prolific_fix = {.checked = serial->ResumeFix().Get(), .enabled = true};
    else
        view_.prolific_fix = {.checked = false, .enabled = false};

    view_.level_control = {.checked = device.LevelControlEnabled(), .enabled = device.LevelControlSupported()};
    view_.tray_lights.checked = tray_lights_.Get();
    tray_.ShowLights(view_.tray_lights.checked);
    UpdateTray();
    view_.kodi_source.checked = engine_.Kodi().Following();
    ShowKodiStatus();
    calibration_.Fill();

    view_.hardware_id = HardwareIdText(device.HardwareId());
    view_.classification = std::to_string(static_cast<int8_t>(device.Classification()));
    view_.manufacturer_device_id = device.ManufacturerDeviceId();

    const bool hidden_shown = enable_hidden_events_.Get();
    view_.hidden_events.checked = hidden_shown;
    engine_.SetHiddenEventsShown(hidden_shown);
    updating_ = false;
}

void cMainWindowModel::UpdateActivityMarks() {
    const uint32_t events = engine_.Events();
    if (events == shown_event_set_) return;
    shown_event_set_ = events;
    std::size_t i = 0;
    for (const auto& relation : engine_.Relations()) {
        if (i < view_.rows.size()) view_.rows[i].marked = (relation->event & events) != 0;
        ++i;
    }
    ++view_.marks_generation;
}

void cMainWindowModel::NewRelation() {
    const led_descriptor* led0 = engine_.CurrentDevice().GetLed(0);
    led_relation relation;
    relation.event = event::Recording1;
    relation.led = 0;
    relation.state = led0 && led0->state_count > 1 ? led0->states[1] : led_state::Undefined;
    relation.priority = priority::Normal;
    engine_.Relations().Add(relation);
    OpenEditor(static_cast<int>(engine_.Relations().size()) - 1, kNewRelationCaption);
}

void cMainWindowModel::ListView1DblClick(int selected_row) {
    if (selected_row < 0 || static_cast<std::size_t>(selected_row) >= engine_.Relations().size()) return;
    OpenEditor(selected_row, kEditRelationCaption);
}

void cMainWindowModel::OpenEditor(int row, const char* caption) {
    view_.enabled = false;
    edit_index_ = row;
    event_dialog_.SetCaption(caption);
    event_dialog_.Edit(engine_.Relations()[row], engine_.CurrentDevice());
}

void cMainWindowModel::EventDialogClosed() {
    RefreshWindow();
    view_.enabled = true;
    SelectRow(edit_index_);
    engine_.SaveRelations();
}

void cMainWindowModel::SelectRow(int row) {
    view_.selected_row = row;
    ++view_.selection_generation;
}

void cMainWindowModel::ButtonDeleteClick(int selected_row) {
    cRelationList& relations = engine_.Relations();
    if (selected_row < 0 || static_cast<std::size_t>(selected_row) >= relations.size()) return;
    relations.Remove(selected_row);
    RefreshWindow();
    // The row that moved up into the gap, or the new last row; none when the list is empty.
    SelectRow(std::min(selected_row, static_cast<int>(relations.size()) - 1));
    engine_.SaveRelations();
}

void cMainWindowModel::Button2Click() {
    const int answer = services_.english_boxes.Show(windows_.main, kDefaultRelationsQuestion, kDefaultRelationsTitle,
                                                    platform::kMbYesNo | platform::kMbIconQuestion);
    if (answer != platform::kIdYes) return;
    engine_.LoadDefaultRelations(static_cast<uint16_t>(engine_.CurrentDevice().HardwareId()));
    engine_.SaveRelations();
    RefreshWindow();
}

void cMainWindowModel::ComboBox1Change(int index) {
    if (updating_) return;
    const cLedDevice* device = engine_.Devices().Item(index);
    if (!device) return;
    // Edits of the device being left reach the registry before it closes.
    calibration_.SavePending();
    engine_.DeviceId().Set(device->Id());
    engine_.OpenDevice(engine_.DeviceId().Get());
    RefreshWindow();
}

void cMainWindowModel::ButtonRefreshDevicesClick() {
    // A click from a box shown while the ports are probed would list every port twice.
    if (!view_.refresh_devices_enabled) return;
    view_.refresh_devices_enabled = false;
    if (draw_now_) draw_now_();
    calibration_.SavePending();
    engine_.FallBack();
    DetectDevices();
    FillDeviceList();
    engine_.OpenDevice(engine_.DeviceId().Get());
    SelectCurrentDevice();
    // Without the stored device the fallback device stays current: it shows its own relations,
    // so that a later save does not store another device's list under its hardware ID.
    if (view_.devices.selected < 0) engine_.LoadRelations();
    RefreshWindow();
    view_.refresh_devices_enabled = true;
}

void cMainWindowModel::CheckBox2Click(bool checked) {
    if (updating_) return;
    auto* serial = dynamic_cast<cSerialLedDevice*>(&engine_.CurrentDevice());
    if (!serial) return;
    serial->ResumeFix().Set(checked);
    RefreshWindow();
}

void cMainWindowModel::CheckBox3Click(bool checked) {
    if (updating_) return;
    engine_.CurrentDevice().SetLevelControl(checked);
    RefreshWindow();
}

void cMainWindowModel::CheckBoxTrayLightsClick(bool checked) {
    if (updating_) return;
    tray_lights_.Set(checked);
    RefreshWindow();
}

void cMainWindowModel::CheckBoxKodiClick(bool checked) {
    if (updating_) return;
    engine_.Kodi().SetFollowing(checked);
    view_.kodi_source.checked = checked;
    ShowKodiStatus();
}

void cMainWindowModel::ComboBox3Change(int index) {
    if (updating_) return;
    calibration_.ChooseLed(index);
    RefreshWindow();
}

void cMainWindowModel::ComboBox2Change(int index) {
    if (updating_) return;
    calibration_.ChooseColour(index);
}

void cMainWindowModel::TrackBar1Change(int position) {
    if (!updating_) calibration_.MoveBar(0, position);
}

void cMainWindowModel::TrackBar2Change(int position) {
    if (!updating_) calibration_.MoveBar(1, position);
}

void cMainWindowModel::TrackBar3Change(int position) {
    if (!updating_) calibration_.MoveBar(2, position);
}

void cMainWindowModel::CheckBox1Click(bool checked) {
    if (updating_) return;
    engine_.SetHiddenEventsShown(checked);
    enable_hidden_events_.Set(checked);
    view_.hidden_events.checked = checked;
    event_dialog_.FillEventAndPriorityLists();
}

void cMainWindowModel::Panel1DblClick() { view_.rnd_tab_shown = !view_.rnd_tab_shown; }

void cMainWindowModel::ButtonSuspendClick() {
    view_.suspend_enabled = false;
    engine_.OnPowerEvent({platform::kPbtApmSuspend});
    view_.resume_enabled = true;
}

void cMainWindowModel::ButtonResumeClick() {
    view_.resume_enabled = false;
    engine_.OnPowerEvent({platform::kPbtApmResumeAutomatic});
    view_.suspend_enabled = true;
}

void cMainWindowModel::ButtonEndSessionClick() {
    view_.end_session_enabled = false;
    engine_.EndSession();
}

void cMainWindowModel::Button1Click() { services_.comm_config.Show(kCommConfigPort); }

void cMainWindowModel::Label17Click() { services_.shell.Open(links::kWebSite); }

void cMainWindowModel::Label16Click() { services_.shell.Open(links::kForum); }

void cMainWindowModel::Label7Click() {
    services_.shell.Open(MailLink(cFileVersion(services_.version_info).ShortVersion()));
}

void cMainWindowModel::ButtonOkClick() { services_.windows.Hide(windows_.main); }

void cMainWindowModel::MenuConfigureClick() {
    if (!services_.windows.IsVisible(windows_.main)) {
        FormShow();
        services_.windows.Show(windows_.main);
    }
    services_.windows.BringToForeground(windows_.main);
}

void cMainWindowModel::WMSecondStart(bool log_detect) {
    if (log_detect && view_.enabled) {
        log_detect_ = true;
        ButtonRefreshDevicesClick();
    }
    MenuConfigureClick();
}

void cMainWindowModel::FormShow() {
    view_.font_name = windows_version_.UiFontName();
    view_.version = "V" + cFileVersion(services_.version_info).ShortVersion();
}

void cMainWindowModel::PopupMenu1Popup() { services_.windows.BringToForeground(windows_.main); }

void cMainWindowModel::MenuExitClick() { exit_requested_ = true; }

bool cMainWindowModel::FormCloseQuery() {
    platform::TopLevelWindows& windows = services_.windows;
    const bool hide = !exit_requested_ && windows.IsVisible(windows_.main) && windows.IsForeground(windows_.main);
    exit_requested_ = false;
    if (hide) windows.Hide(windows_.main);
    return !hide;
}

void cMainWindowModel::FormClose() { End(false); }

void cMainWindowModel::WMEndSession(bool ending) {
    if (!ending) return;
    exit_requested_ = true;
    End(true);
}

// The one way out. Everything is stored at once, so what is still pending is stored first:
// Windows may end the process as soon as the session's end has been handled.
void cMainWindowModel::End(bool session_ends) {
    if (!ended_) {
        ended_ = true;
        services_.timers.Kill(main_timer::Timer1);  // no frame after the last one
        calibration_.SavePending();
        if (event_dialog_.Relation()) engine_.SaveRelations();
    }
    if (session_ends) {
        engine_.EndSession();
        engine_.CurrentDevice().Deactivate();  // dark now, not at the teardown Windows may not wait for
    }
}

void cMainWindowModel::WMPowerBroadcast(const platform::PowerEvent& power_event) { engine_.OnPowerEvent(power_event); }

void cMainWindowModel::WMSessionChange(const platform::SessionChange& change) { engine_.OnSessionChange(change); }

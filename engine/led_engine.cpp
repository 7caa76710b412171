#include "engine/led_engine.h"

#include "settings/led_vocabulary.h"

#include <algorithm>

namespace {

constexpr const char* kMediaCenterWindowClass = "eHome Render Window";
constexpr uint32_t kTicksPerGathering = 8;
constexpr const char* kWriteFailedText = "Error: failed to write to device";
constexpr uint32_t kRecordingEvents = (event::Recording6 << 1) - event::Recording0;
constexpr uint32_t kKodiEvents = event::KodiPlaying | event::KodiPaused | event::KodiMuted | event::KodiIsRunning;

// The recording event of a recording count: 0 (or unreadable) to 6 and more channels.
uint32_t RecordingEvent(int32_t count) {
    constexpr int32_t kMostChannels = 6;
    return event::Recording0 << std::clamp(count, 0, kMostChannels);
}

// Tick counts wrap every 49.7 days: an expiry just past the wrap is still
// ahead of a time just before it, so compare the distance, not the values.
bool HasPassed(uint32_t now, uint32_t expiry) { return static_cast<int32_t>(now - expiry) > 0; }

}  // namespace

cLedEngine::cLedEngine(const led_engine_services& services, platform::WindowHandle window,
                       const cWindowsVersion& version)
    : registry_(services.serial.registry),
      clock_(services.serial.clock),
      message_boxes_(services.serial.message_boxes),
      power_(services.power),
      windows_(services.windows),
      devices_(services.serial, services.keyboards, services.hid),
      current_(&fallback_),
      recording_sensor_(services.shared_areas, clock_),
      session_counter_(services.sessions),
      kodi_(services.sockets, services.windows, registry_, clock_),
      device_id_(registry_, "DeviceID", false, ""),
      user_events_{{registry_, "UserEvent0"}, {registry_, "UserEvent1"}, {registry_, "UserEvent2"}},
      version_(version) {
    if (version_.IsVistaOrLater()) RegisterPowerSettings(window);
    // The session change that registration sends reaches no engine: the window
    // gets hold of this one only once it is built. Extenders and remote
    // sessions already connected are shown from the counter's own count.
    session_counter_.RegisterSessionNotification(window);
    ShowSessionCounts();
    SetHiddenEventsShown(false);
    BindPowerInformation();
}

cLedEngine::~cLedEngine() = default;

void cLedEngine::RegisterPowerSettings(platform::WindowHandle window) {
    constexpr const char* kLibrary = platform::kUser32Library;
    const platform::Guid settings[] = {platform::kGuidSystemAwayMode, platform::kGuidMonitorPowerOn};
    switch (power_.RegisterPowerSettingNotifications(window, settings)) {
        case platform::DllBinding::Bound: break;
        case platform::DllBinding::LibraryMissing: message_boxes_.ShowError(kLibrary, "Cannot load dll"); break;
        case platform::DllBinding::EntryPointMissing:
            message_boxes_.ShowError(kLibrary, "GetProcAddress failed");
            break;
    }
}

void cLedEngine::BindPowerInformation() {
    constexpr const char* kLibrary = platform::kPowerLibrary;
    platform::DllBinding binding = platform::DllBinding::Bound;
    power_information_ = power_.LoadPowerInformation(binding);
    switch (binding) {
        case platform::DllBinding::Bound: last_input_ = power_.LastInputTime().value_or(0); break;
        case platform::DllBinding::LibraryMissing: message_boxes_.ShowError(kLibrary, "Cannot load dll."); break;
        case platform::DllBinding::EntryPointMissing:
            message_boxes_.ShowError(kLibrary, "GetProcAddress failed.");
            break;
    }
}

void cLedEngine::Tick() {
    // Kodi's notifications reach the frame of the tick that reads them.
    kodi_.Tick();
    const bool cycle_start = tick_counter_ == 0;
    if (cycle_start) Gather();
    else ShowRecordingsAndKodi();

    // "User input" lasts exactly the ticks in which the last-input time moved.
    const std::optional<uint32_t> last_input = power_.LastInputTime();
    const bool input_moved = last_input && *last_input != last_input_;
    if (input_moved) last_input_ = *last_input;
    SetEvent(event::UserInput, input_moved);

    Resolve(false, false);
    if (cycle_start) Resolve(true, false);
    current_->AdvancePhase();
    FallBackWhenFailed();
    tick_counter_ = (tick_counter_ + 1) % kTicksPerGathering;
}

void cLedEngine::FallBackWhenFailed() {
    if (!current_->HasFailed()) return;
    const std::string description = current_->Description();
    FallBack();
    // The fallback device shows its own relations, so that an edit is not stored
    // under its hardware ID with another device's list.
    LoadRelations();
    // Shown once: the failed device gets no more frames. "DeviceID" stays, so that
    // "Refresh devices" opens the device again once it is back.
    message_boxes_.ShowError(description, kWriteFailedText);
}

void cLedEngine::Gather() {
    events_ &= catalogue_.kept_mask;

    recording_sensor_.Poll();
    media_center_recordings_ = recording_sensor_.RecordingCount();
    ShowRecordingsAndKodi();

    const bool resumed_automatically = power_.IsSystemResumeAutomatic();
    if (resumed_automatically) events_ |= event::ResumedForAutoTask;
    if (!away_ && !resumed_automatically) events_ |= event::ResumedForUserTask;

    // Read anew every time: another instance of the program sets them from its command line.
    for (int i = 0; i < 3; ++i)
        if (user_events_[i].Get()) events_ |= event::UserEvent0 << i;

    if (recording_sensor_.Playing()) events_ |= event::McPlaying;
    if (recording_sensor_.Paused() && !recording_sensor_.Playing()) events_ |= event::McPaused;
    if (recording_sensor_.Muted()) events_ |= event::McMuted;
    if (recording_sensor_.Error()) events_ |= event::McError;

    uint32_t execution_state = 0;
    if (power_information_ &&
        power_information_->Call(platform::kSystemExecutionState, &execution_state, sizeof execution_state) == 0) {
        if (execution_state & platform::kEsSystemRequired) events_ |= event::SystemRequired;
        if (execution_state & platform::kEsDisplayRequired) events_ |= event::DisplayRequired;
    }

    if (windows_.ClassExists(kMediaCenterWindowClass)) events_ |= event::McIsRunning;
}

uint32_t cLedEngine::WinningEvent(int led) const {
    if (led < 0 || led >= kEngineLeds || override_state_[led] != led_state::Undefined) return 0;
    return resolver_.ShownEvent(led);
}

// A recording is a recording, whichever program makes it.
void cLedEngine::ShowRecordingsAndKodi() {
    const kodi_state& kodi = kodi_.State();
    uint32_t shown = RecordingEvent(std::max(media_center_recordings_, 0) + kodi.recordings);
    if (kodi.running) shown |= event::KodiIsRunning;
    if (kodi.playing) shown |= event::KodiPlaying;
    if (kodi.paused) shown |= event::KodiPaused;
    if (kodi.muted) shown |= event::KodiMuted;
    events_ = (events_ & ~(kRecordingEvents | kKodiEvents)) | shown;
}

void cLedEngine::Resolve(bool rotate, bool suspend_only) {
    const led_frame frame =
        resolver_.Resolve(relations_, events_, catalogue_, current_->LedCount(), rotate, suspend_only);
    const int leds = std::clamp(current_->LedCount(), 0, kEngineLeds);
    current_->BeginUpdate();
    for (int i = 0; i < leds; ++i) {
        if (override_state_[i] != led_state::Undefined)
            current_->SetLedState(i, override_state_[i], false);
        else if (frame[i].driven)
            current_->SetLedState(i, frame[i].state, frame[i].hold);
    }
    current_->EndUpdate(true);
    ExpireOverrides();
}

// The resolution that finds an override expired still shows it. Overrides
// of LEDs the device lacks expire too: left alone, the signed distance of an
// old one flips after 24.8 days and a device with more LEDs would show it.
void cLedEngine::ExpireOverrides() {
    const uint32_t now = clock_.TickCount();
    for (int i = 0; i < kEngineLeds; ++i)
        if (HasPassed(now, override_expiry_[i])) override_state_[i] = led_state::Undefined;
}

void cLedEngine::SetEvent(uint32_t events, bool on) { events_ = on ? events_ | events : events_ & ~events; }

void cLedEngine::OnPowerEvent(const platform::PowerEvent& power_event) {
    switch (power_event.kind) {
        case platform::kPbtApmSuspend:
            SetEvent(event::SystemSuspended, true);
            SetEvent(event::PowerOn, false);
            Resolve(false, true);
            current_->Suspend();
            break;
        case platform::kPbtApmResumeAutomatic:
            kodi_.Resume();
            current_->Resume();
            SetEvent(event::SystemSuspended, false);
            SetEvent(event::PowerOn, true);
            Resolve(false, false);
            break;
        case platform::kPbtPowerSettingChange:
            OnPowerSetting(power_event);
            break;
        default: break;  // PBT_APMRESUMESUSPEND follows an automatic resume: nothing more to do
    }
}

void cLedEngine::OnPowerSetting(const platform::PowerEvent& change) {
    // A record without data is no report.
    if (!change.value) return;
    const bool on = *change.value != 0;
    if (change.setting == platform::kGuidSystemAwayMode) {
        away_ = on;
        SetEvent(event::AwayMode, on);
    } else if (change.setting == platform::kGuidMonitorPowerOn) {
        SetEvent(event::MonitorOn, on);
    } else {
        return;
    }
    Resolve(false, false);
}

void cLedEngine::OnSessionChange(const platform::SessionChange& change) {
    session_counter_.Update(change.code, change.session_id);
    ShowSessionCounts();
    Resolve(false, false);
}

void cLedEngine::ShowSessionCounts() {
    SetEvent(event::ExtenderInUse, session_counter_.ExtenderCount() > 0);
    SetEvent(event::RemoteDesktopSession, session_counter_.RemoteSessionCount() > 0);
}

void cLedEngine::ShowOverride(int led, int8_t state, uint32_t duration_ms) {
    if (led < 0 || led >= kEngineLeds) return;
    override_state_[led] = state;
    override_expiry_[led] = clock_.TickCount() + duration_ms;
}

void cLedEngine::OpenDevice(const std::string& id) {
    cLedDevice* device = devices_.FindById(id);
    if (!device) return;
    current_->Deactivate();
    current_ = device;
    const bool opened = current_->Activate();
    // The box runs a message loop of its own: the new device's relations are in place before it.
    LoadRelations();
    if (!opened) message_boxes_.ShowError(current_->Description(), "Error: failed to open device");
}

void cLedEngine::FallBack() {
    current_->Deactivate();
    current_ = &fallback_;
}

void cLedEngine::SetHiddenEventsShown(bool shown) {
    uint8_t exclusions = 0;
    if (!shown) {
        exclusions = event_flag::Hidden;
        if (!version_.IsVistaOrLater()) exclusions |= event_flag::NeedsVista;
        if (!version_.IsMediaCenterEdition()) exclusions |= event_flag::NeedsMediaCenter;
    }
    catalogue_.RecomputeAvailability(exclusions);
}

void cLedEngine::EndSession() { current_->MarkSessionEnd(); }

bool cLedEngine::LoadRelations() { return relations_.Load(registry_, CurrentHardwareId(), catalogue_); }

bool cLedEngine::SaveRelations() { return relations_.Save(registry_, CurrentHardwareId()); }

void cLedEngine::LoadDefaultRelations(uint16_t hardware_id) { relations_.LoadDefaults(hardware_id, catalogue_); }

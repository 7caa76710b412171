#include "sensors/kodi_sensor.h"

namespace {

constexpr int32_t kDefaultPort = 9090;

}  // namespace

cKodiSensor::cKodiSensor(platform::StreamSockets& sockets, platform::WindowFinder& windows,
                         platform::Registry& registry, const platform::Clock& clock)
    : windows_(windows),
      clock_(clock),
      source_(registry, "KodiSource", false, true),
      port_(registry, "KodiPort", false, kDefaultPort),
      client_(sockets, clock, *this),
      following_(source_.Get()),
      status_(following_ ? kodi_status::Looking : kodi_status::Off) {}

void cKodiSensor::Tick() {
    if (!following_) return;
    client_.Poll();
    if (client_.Connected() && !recordings_pending_ &&
        clock_.TickCount() - last_recordings_request_ >= kRecordingsIntervalMs) {
        AskForRecordings();
    }
}

void cKodiSensor::SetFollowing(bool following) {
    source_.Set(following);
    if (following == following_) return;
    following_ = following;
    client_.Close();
    state_ = {};
    recordings_pending_ = false;
    status_ = following ? kodi_status::Looking : kodi_status::Off;
}

// A port out of range, as a hand-edited value may be, is Kodi's default one.
uint16_t cKodiSensor::Port() const {
    const int32_t port = port_.Get();
    return static_cast<uint16_t>(port > 0 && port <= 0xFFFF ? port : kDefaultPort);
}

void cKodiSensor::OnConnected() {
    state_ = {};
    state_.running = true;
    status_ = kodi_status::Connected;
    for (kodi::request request : {kodi::request::Version, kodi::request::ActivePlayers, kodi::request::Muted})
        client_.Send(kodi::RequestText(request));
    AskForRecordings();
}

void cKodiSensor::AskForRecordings() {
    recordings_pending_ = true;
    last_recordings_request_ = clock_.TickCount();
    client_.Send(kodi::RequestText(kodi::request::Timers));
}

void cKodiSensor::OnMessage(std::string_view message) {
    const kodi::reading read = kodi::ApplyMessage(message, state_);
    if (read.recordings_answered) recordings_pending_ = false;
    switch (read.then) {
        case kodi::reading::next::Nothing: break;
        case kodi::reading::next::AskPlayerSpeed:
            client_.Send(kodi::RequestText(kodi::request::PlayerSpeed, read.player));
            break;
        case kodi::reading::next::AskRecording: client_.Send(kodi::RequestText(kodi::request::Recording)); break;
        // Kodi closes the connection a moment later; it is gone for the user now.
        case kodi::reading::next::Quit: client_.Drop(); break;
    }
}

void cKodiSensor::OnDisconnected(bool refused) {
    state_ = {};
    recordings_pending_ = false;
    // A refusing port beside an open Kodi window is Kodi with remote control by applications off.
    status_ = refused && windows_.ClassExists(kWindowClass) ? kodi_status::Refused : kodi_status::NotRunning;
}

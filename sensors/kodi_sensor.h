#pragma once
// Kodi on this computer, followed through its JSON-RPC notifications: whether
// it runs (is connected), plays, pauses or is muted, and how many recordings
// its PVR back end makes. On connecting it reads the state that already holds;
// while connected it asks for the recordings once a second. A lost connection
// forgets everything at once. The user's choice to follow Kodi is stored per
// user as "KodiSource" (default on), the port as "KodiPort" (default 9090).

#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/stream_sockets.h"
#include "platform/window_finder.h"
#include "sensors/kodi_client.h"
#include "sensors/kodi_messages.h"
#include "settings/persistent_variables.h"

#include <cstdint>
#include <string>
#include <string_view>

// Where following Kodi stands, for the configuration window.
enum class kodi_status {
    Off,         // not followed
    Looking,     // the first try has no answer yet
    Connected,
    NotRunning,  // nobody listens on the port, and no Kodi window is open
    Refused,     // Kodi's window is open but its port refuses: remote control by applications is off
};

class cKodiSensor final : private cKodiClient::Listener {
public:
    // Kodi's main window class on Windows.
    static constexpr const char* kWindowClass = "Kodi";
    static constexpr uint32_t kRecordingsIntervalMs = 1000;

    cKodiSensor(platform::StreamSockets& sockets, platform::WindowFinder& windows, platform::Registry& registry,
                const platform::Clock& clock);

    // One tick of the program.
    void Tick();
    // Back from sleep: a connection that is not standing is tried at once.
    void Resume() { client_.RetrySoon(); }
    // Follows Kodi or stops, and stores the choice.
    void SetFollowing(bool following);
    bool Following() const { return following_; }

    const kodi_state& State() const { return state_; }
    kodi_status Status() const { return status_; }

private:
    uint16_t Port() const override;
    void OnConnected() override;
    void OnMessage(std::string_view message) override;
    void OnDisconnected(bool refused) override;
    void AskForRecordings();

    platform::WindowFinder& windows_;
    const platform::Clock& clock_;
    cPersistentBool source_;
    cPersistentInteger port_;
    cKodiClient client_;
    bool following_;
    kodi_status status_;
    kodi_state state_;
    uint32_t last_recordings_request_ = 0;
    bool recordings_pending_ = false;
};

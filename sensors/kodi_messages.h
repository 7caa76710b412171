#pragma once
// Kodi's JSON-RPC as the Kodi sensor speaks it: the requests it sends, each
// kind under its own id so that an answer finds its question, and what each
// answer and notification means for the state it follows. A message that is
// not JSON, or whose members have unexpected types, changes nothing.

#include <cstdint>
#include <string>
#include <string_view>

// What Kodi reported, all false and 0 while not connected.
struct kodi_state {
    bool running = false;  // connected
    bool playing = false;
    bool paused = false;
    bool muted = false;
    int32_t recordings = 0;
    std::string version;  // JSON-RPC version "major.minor.patch", once Kodi told it
};

namespace kodi {

enum class request : int {
    Version = 1,    // JSONRPC.Version
    ActivePlayers,  // Player.GetActivePlayers
    PlayerSpeed,    // Player.GetProperties speed, of one player
    Muted,          // Application.GetProperties muted
    Timers,         // PVR.GetTimers with their state
    Recording,      // PVR.GetProperties recording, where the timers cannot be had
};

// The text of a request; player is the player of PlayerSpeed.
std::string RequestText(request kind, int64_t player = 0);

// What a message asks of the sensor beyond the state it changed.
struct reading {
    enum class next { Nothing, AskPlayerSpeed, AskRecording, Quit };
    next then = next::Nothing;
    int64_t player = 0;              // for AskPlayerSpeed
    bool recordings_answered = false;  // the recordings asked for are known (or known to be none)
};

// Applies one message to state; what follows from it.
reading ApplyMessage(std::string_view text, kodi_state& state);

}  // namespace kodi

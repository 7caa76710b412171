#include "sensors/kodi_messages.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace kodi {

namespace {

using nlohmann::json;

// The member of an object, or null; nothing here throws on a wrong type.
const json* Member(const json* object, const char* key) {
    if (!object || !object->is_object()) return nullptr;
    const auto found = object->find(key);
    return found == object->end() ? nullptr : &*found;
}

std::optional<int64_t> Integer(const json* value) {
    if (!value || !value->is_number_integer()) return std::nullopt;
    return value->get<int64_t>();
}

std::optional<bool> Boolean(const json* value) {
    if (!value || !value->is_boolean()) return std::nullopt;
    return value->get<bool>();
}

void ShowSpeed(double speed, kodi_state& state) {
    state.playing = speed != 0;
    state.paused = speed == 0;
}

int32_t RecordingTimers(const json* timers) {
    int32_t count = 0;
    if (!timers || !timers->is_array()) return count;
    for (const json& timer : *timers) {
        const json* timer_state = Member(&timer, "state");
        if (timer_state && timer_state->is_string() && timer_state->get_ref<const std::string&>() == "recording")
            ++count;
    }
    return count;
}

reading ApplyAnswer(int64_t id, const json& message, kodi_state& state) {
    const json* result = Member(&message, "result");
    const bool failed = Member(&message, "error") != nullptr;
    reading read;
    switch (static_cast<request>(id)) {
        case request::Version: {
            const json* version = Member(result, "version");
            const auto major = Integer(Member(version, "major"));
            const auto minor = Integer(Member(version, "minor"));
            const auto patch = Integer(Member(version, "patch"));
            if (major && minor && patch)
                state.version = std::to_string(*major) + "." + std::to_string(*minor) + "." + std::to_string(*patch);
            break;
        }
        case request::ActivePlayers:
            if (!result || !result->is_array()) break;
            if (result->empty()) {
                state.playing = state.paused = false;
            } else if (const auto player = Integer(Member(&result->front(), "playerid"))) {
                read.then = reading::next::AskPlayerSpeed;
                read.player = *player;
            }
            break;
        case request::PlayerSpeed:
            if (const json* speed = Member(result, "speed"); speed && speed->is_number())
                ShowSpeed(speed->get<double>(), state);
            break;
        case request::Muted:
            if (const auto muted = Boolean(Member(result, "muted"))) state.muted = *muted;
            break;
        case request::Timers:
            read.recordings_answered = true;
            if (failed) {
                read.then = reading::next::AskRecording;
                read.recordings_answered = false;
            } else if (result && result->is_object()) {
                state.recordings = RecordingTimers(Member(result, "timers"));
            }
            break;
        case request::Recording:
            read.recordings_answered = true;
            state.recordings = Boolean(Member(result, "recording")).value_or(false) ? 1 : 0;
            break;
    }
    return read;
}

reading ApplyNotification(const std::string& method, const json& message, kodi_state& state) {
    const json* data = Member(Member(&message, "params"), "data");
    reading read;
    if (method == "Player.OnStop") {
        state.playing = state.paused = false;
    } else if (method == "Player.OnAVStart") {
        // Kodi reports speed 1 here even for a player paused before its first
        // frame (a pause while the file opens or a stream buffers): ask instead.
        if (const auto player = Integer(Member(Member(data, "player"), "playerid"))) {
            read.then = reading::next::AskPlayerSpeed;
            read.player = *player;
        }
    } else if (method == "Player.OnPlay" || method == "Player.OnResume" || method == "Player.OnPause" ||
               method == "Player.OnSpeedChanged") {
        // The player's speed says it where it is given; a pause is speed 0, anything else plays.
        const json* speed = Member(Member(data, "player"), "speed");
        ShowSpeed(speed && speed->is_number() ? speed->get<double>() : method == "Player.OnPause" ? 0 : 1, state);
    } else if (method == "Application.OnVolumeChanged") {
        if (const auto muted = Boolean(Member(data, "muted"))) state.muted = *muted;
    } else if (method == "System.OnQuit") {
        read.then = reading::next::Quit;
    }
    return read;
}

}  // namespace

std::string RequestText(request kind, int64_t player) {
    static constexpr const char* kMethods[] = {"",
                                               "JSONRPC.Version",
                                               "Player.GetActivePlayers",
                                               "Player.GetProperties",
                                               "Application.GetProperties",
                                               "PVR.GetTimers",
                                               "PVR.GetProperties"};
    json text = {{"jsonrpc", "2.0"}, {"id", static_cast<int>(kind)}, {"method", kMethods[static_cast<int>(kind)]}};
    switch (kind) {
        case request::PlayerSpeed: text["params"] = {{"playerid", player}, {"properties", {"speed"}}}; break;
        case request::Muted: text["params"] = {{"properties", {"muted"}}}; break;
        case request::Timers: text["params"] = {{"properties", {"state"}}}; break;
        case request::Recording: text["params"] = {{"properties", {"recording"}}}; break;
        default: break;
    }
    return text.dump();
}

reading ApplyMessage(std::string_view text, kodi_state& state) {
    const json message = json::parse(text.begin(), text.end(), nullptr, false);
    if (message.is_discarded() || !message.is_object()) return {};
    if (const json* method = Member(&message, "method"); method && method->is_string())
        return ApplyNotification(method->get_ref<const std::string&>(), message, state);
    if (const auto id = Integer(Member(&message, "id")); id && *id >= 1 && *id <= static_cast<int>(request::Recording))
        return ApplyAnswer(*id, message, state);
    return {};
}

}  // namespace kodi

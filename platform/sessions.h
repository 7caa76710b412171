#pragma once
// Terminal Services sessions as the program's logic sees them: the sessions
// of this machine with their connect state, who is connected to each over
// which protocol, and the notifications of their changes. Numbers are the
// system's own (WTS_CONNECTSTATE_CLASS, WTS_PROTOCOL_TYPE_*, the
// WM_WTSSESSION_CHANGE codes).

#include "platform/window_handle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// WTS_CONNECTSTATE_CLASS.
enum class SessionState : int32_t {
    Active = 0,
    Connected,
    ConnectQuery,
    Shadow,
    Disconnected,
    Idle,
    Listen,
    Reset,
    Down,
    Init,
};

// Client protocol types (WTSClientProtocolType answers).
inline constexpr uint16_t kWtsProtocolTypeConsole = 0;
inline constexpr uint16_t kWtsProtocolTypeRdp = 2;

// WM_WTSSESSION_CHANGE and the codes it carries in wParam.
inline constexpr uint32_t kWmWtsSessionChange = 0x2B1;
inline constexpr uint32_t kWtsConsoleConnect = 1;
inline constexpr uint32_t kWtsConsoleDisconnect = 2;
inline constexpr uint32_t kWtsRemoteConnect = 3;
inline constexpr uint32_t kWtsRemoteDisconnect = 4;
inline constexpr uint32_t kWtsSessionLogon = 5;
inline constexpr uint32_t kWtsSessionLogoff = 6;

// One WM_WTSSESSION_CHANGE, unpacked by the window that received it.
struct SessionChange {
    uint32_t code = 0;  // kWtsConsoleConnect ...
    uint32_t session_id = 0;
};

struct SessionEntry {
    uint32_t id = 0;
    SessionState state = SessionState::Active;
};

struct SessionClient {
    uint16_t protocol_type = kWtsProtocolTypeConsole;
    std::string user_name;
};

class Sessions {
public:
    virtual ~Sessions() = default;

    // The sessions of this machine in the system's order (WTSEnumerateSessionsA); nothing when that fails.
    virtual std::optional<std::vector<SessionEntry>> Enumerate() = 0;
    // The session's client protocol type and user name, asked after its client display and
    // address (four WTSQuerySessionInformationA queries, all freed); nothing when any query fails.
    virtual std::optional<SessionClient> QueryClient(uint32_t session_id) = 0;
    // WTSRegisterSessionNotification(window, NOTIFY_FOR_ALL_SESSIONS); true iff registered.
    virtual bool RegisterNotification(WindowHandle window) = 0;
    // Sends window WM_WTSSESSION_CHANGE with code and session id as the system would; returns once handled.
    virtual void SendSessionChange(WindowHandle window, uint32_t code, uint32_t session_id) = 0;
};

}  // namespace platform

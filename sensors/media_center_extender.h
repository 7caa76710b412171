#pragma once
// Counts the remote desktop sessions of this PC, telling Media Center
// Extenders (their user names contain "Mcx") from other remote desktop
// connections. Recounts at every session-change notification.

#include "platform/sessions.h"

#include <cstdint>

class cMediaCenterExtender {
public:
    // Counts the sessions at once.
    explicit cMediaCenterExtender(platform::Sessions& sessions);

    // Registers window for session-change notifications and, when that
    // succeeds, sends it one WM_WTSSESSION_CHANGE (code 0, session 0) so that
    // its handler counts at once. Returns whether registration succeeded.
    bool RegisterSessionNotification(platform::WindowHandle window);
    // A WM_WTSSESSION_CHANGE arrived: its wParam (code) and lParam (session id).
    void Update(uint32_t code, uint32_t session_id);
    // Counts from scratch. While a session is disconnecting or logging off
    // (code), the system still lists it as active: it is left out.
    void Recount(uint32_t code, uint32_t session_id);

    int32_t ExtenderCount() const { return extender_count_; }
    int32_t RemoteSessionCount() const { return remote_session_count_; }

private:
    platform::Sessions& sessions_;
    int32_t extender_count_ = 0;
    int32_t remote_session_count_ = 0;
};

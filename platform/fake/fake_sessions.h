#pragma once
// Sessions kept in memory: tests add sessions with their state, protocol and
// user name, make queries fail, and see which windows registered for
// notifications and which session-change messages were sent.

#include "platform/sessions.h"

#include <functional>
#include <vector>

namespace platform::fake {

class FakeSessions final : public Sessions {
public:
    struct Session {
        uint32_t id = 0;
        SessionState state = SessionState::Active;
        uint16_t protocol_type = kWtsProtocolTypeConsole;
        std::string user_name;
        bool queries_fail = false;
    };
    struct SentMessage {
        WindowHandle window = nullptr;
        uint32_t code = 0;
        uint32_t session_id = 0;
    };
    using WindowProcedure = std::function<void(const SentMessage&)>;

    std::optional<std::vector<SessionEntry>> Enumerate() override;
    std::optional<SessionClient> QueryClient(uint32_t session_id) override;
    bool RegisterNotification(WindowHandle window) override;
    void SendSessionChange(WindowHandle window, uint32_t code, uint32_t session_id) override;

    // Sessions are listed in the order they were added; Find returns null for an unknown id.
    Session& Add(Session session);
    Session* Find(uint32_t id);
    void Remove(uint32_t id);

    void FailEnumeration(bool fail) { enumeration_fails_ = fail; }
    void FailRegistration(bool fail) { registration_fails_ = fail; }
    // Receives every sent message, as the window's procedure would.
    void SetWindowProcedure(WindowProcedure procedure) { window_procedure_ = std::move(procedure); }

    const std::vector<WindowHandle>& RegisteredWindows() const { return registered_windows_; }
    const std::vector<SentMessage>& SentMessages() const { return sent_messages_; }

private:
    std::vector<Session> sessions_;
    bool enumeration_fails_ = false;
    bool registration_fails_ = false;
    WindowProcedure window_procedure_;
    std::vector<WindowHandle> registered_windows_;
    std::vector<SentMessage> sent_messages_;
};

}  // namespace platform::fake

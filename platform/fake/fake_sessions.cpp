#include "platform/fake/fake_sessions.h"

#include <algorithm>

namespace platform::fake {

std::optional<std::vector<SessionEntry>> FakeSessions::Enumerate() {
    if (enumeration_fails_) return std::nullopt;
    std::vector<SessionEntry> entries;
    for (const Session& session : sessions_) entries.push_back({session.id, session.state});
    return entries;
}

std::optional<SessionClient> FakeSessions::QueryClient(uint32_t session_id) {
    const Session* session = Find(session_id);
    if (!session || session->queries_fail) return std::nullopt;
    return SessionClient{session->protocol_type, session->user_name};
}

bool FakeSessions::RegisterNotification(WindowHandle window) {
    if (registration_fails_) return false;
    registered_windows_.push_back(window);
    return true;
}

void FakeSessions::SendSessionChange(WindowHandle window, uint32_t code, uint32_t session_id) {
    const SentMessage message{window, code, session_id};
    sent_messages_.push_back(message);
    if (window_procedure_) window_procedure_(message);
}

FakeSessions::Session& FakeSessions::Add(Session session) { return sessions_.emplace_back(std::move(session)); }

FakeSessions::Session* FakeSessions::Find(uint32_t id) {
    auto it = std::find_if(sessions_.begin(), sessions_.end(), [id](const Session& s) { return s.id == id; });
    return it == sessions_.end() ? nullptr : &*it;
}

void FakeSessions::Remove(uint32_t id) {
    std::erase_if(sessions_, [id](const Session& s) { return s.id == id; });
}

}  // namespace platform::fake

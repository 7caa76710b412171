#include "sensors/media_center_extender.h"

#include <string_view>

namespace {

// Construction counts as if notified with no code and no session.
constexpr uint32_t kNoNotification = 0xFFFFFFFF;
// An extender logs on to its remote desktop session under a user name with this in it.
constexpr std::string_view kExtenderUserMark = "Mcx";

bool IsEndingCode(uint32_t code) {
    return code == platform::kWtsConsoleDisconnect || code == platform::kWtsRemoteDisconnect ||
           code == platform::kWtsSessionLogoff;
}

}  // namespace

cMediaCenterExtender::cMediaCenterExtender(platform::Sessions& sessions) : sessions_(sessions) {
    Recount(kNoNotification, kNoNotification);
}

bool cMediaCenterExtender::RegisterSessionNotification(platform::WindowHandle window) {
    if (!sessions_.RegisterNotification(window)) return false;
    sessions_.SendSessionChange(window, 0, 0);
    return true;
}

void cMediaCenterExtender::Update(uint32_t code, uint32_t session_id) { Recount(code, session_id); }

void cMediaCenterExtender::Recount(uint32_t code, uint32_t session_id) {
    const bool ending = IsEndingCode(code);
    extender_count_ = 0;
    remote_session_count_ = 0;
    std::optional<std::vector<platform::SessionEntry>> sessions = sessions_.Enumerate();
    if (!sessions) return;
    for (const platform::SessionEntry& session : *sessions) {
        if (ending && session.id == session_id) continue;
        std::optional<platform::SessionClient> client = sessions_.QueryClient(session.id);
        if (!client || client->protocol_type != platform::kWtsProtocolTypeRdp ||
            session.state != platform::SessionState::Active)
            continue;
        if (client->user_name.find(kExtenderUserMark) != std::string::npos)
            ++extender_count_;
        else
            ++remote_session_count_;
    }
}

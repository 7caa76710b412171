#pragma once
// The real Terminal Services sessions through wtsapi32's ANSI calls.

#include "platform/sessions.h"

namespace platform::win32 {

class Win32Sessions final : public Sessions {
public:
    std::optional<std::vector<SessionEntry>> Enumerate() override;
    std::optional<SessionClient> QueryClient(uint32_t session_id) override;
    bool RegisterNotification(WindowHandle window) override;
    void SendSessionChange(WindowHandle window, uint32_t code, uint32_t session_id) override;
};

}  // namespace platform::win32

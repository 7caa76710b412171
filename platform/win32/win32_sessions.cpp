#include "platform/win32/win32_sessions.h"

#include <windows.h>
#include <wtsapi32.h>

#include <cstring>
#include <memory>

namespace platform::win32 {
namespace {

// Memory that the terminal services handed out, freed with WTSFreeMemory.
struct WtsFree {
    void operator()(void* memory) const { WTSFreeMemory(memory); }
};
using WtsMemory = std::unique_ptr<void, WtsFree>;

struct Answer {
    WtsMemory memory;
    DWORD size = 0;
};

std::optional<Answer> Query(DWORD session_id, WTS_INFO_CLASS info) {
    LPSTR buffer = nullptr;
    DWORD size = 0;
    if (!WTSQuerySessionInformationA(WTS_CURRENT_SERVER_HANDLE, session_id, info, &buffer, &size))
        return std::nullopt;
    return Answer{WtsMemory(buffer), size};
}

}  // namespace

std::optional<std::vector<SessionEntry>> Win32Sessions::Enumerate() {
    PWTS_SESSION_INFOA list = nullptr;
    DWORD count = 0;
    if (!WTSEnumerateSessionsA(WTS_CURRENT_SERVER_HANDLE, 0, 1, &list, &count)) return std::nullopt;
    WtsMemory owner(list);
    std::vector<SessionEntry> entries;
    entries.reserve(count);
    for (DWORD i = 0; i < count; ++i)
        entries.push_back({list[i].SessionId, static_cast<SessionState>(list[i].State)});
    return entries;
}

std::optional<SessionClient> Win32Sessions::QueryClient(uint32_t session_id) {
    // The display and address answers are not used; the session counts only
    // when the system can answer for its client in full.
    std::optional<Answer> display = Query(session_id, WTSClientDisplay);
    if (!display) return std::nullopt;
    std::optional<Answer> address = Query(session_id, WTSClientAddress);
    if (!address) return std::nullopt;
    std::optional<Answer> protocol = Query(session_id, WTSClientProtocolType);
    if (!protocol || protocol->size < sizeof(USHORT)) return std::nullopt;
    std::optional<Answer> user = Query(session_id, WTSUserName);
    if (!user) return std::nullopt;

    SessionClient client;
    std::memcpy(&client.protocol_type, protocol->memory.get(), sizeof(USHORT));
    const char* name = static_cast<const char*>(user->memory.get());
    client.user_name.assign(name, strnlen(name, user->size));
    return client;
}

bool Win32Sessions::RegisterNotification(WindowHandle window) {
    return WTSRegisterSessionNotification(static_cast<HWND>(window), NOTIFY_FOR_ALL_SESSIONS);
}

void Win32Sessions::SendSessionChange(WindowHandle window, uint32_t code, uint32_t session_id) {
    SendMessageA(static_cast<HWND>(window), WM_WTSSESSION_CHANGE, code, session_id);
}

}  // namespace platform::win32

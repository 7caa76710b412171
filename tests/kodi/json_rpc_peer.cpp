#include "tests/kodi/json_rpc_peer.h"

#include <windows.h>

#include <cstdlib>

namespace kodi_test {
namespace {

constexpr DWORD kPollMs = 5;

}  // namespace

uint16_t PortFromEnvironment(const char* name) {
    const char* text = std::getenv(name);
    const long port = text ? std::strtol(text, nullptr, 10) : 0;
    return port > 0 && port <= 65535 ? static_cast<uint16_t>(port) : 0;
}

platform::StreamConnection::Progress WaitWhileConnecting(platform::StreamConnection& connection, unsigned timeout_ms) {
    const DWORD start = GetTickCount();
    auto progress = connection.Poll();
    while (progress == platform::StreamConnection::Progress::Connecting && GetTickCount() - start < timeout_ms) {
        Sleep(kPollMs);
        progress = connection.Poll();
    }
    return progress;
}

JsonRpcPeer::JsonRpcPeer(platform::StreamSockets& sockets, uint16_t port) : connection_(sockets.ConnectToLocalPort(port)) {
    connected_ = connection_ &&
                 WaitWhileConnecting(*connection_, kPatienceMs) == platform::StreamConnection::Progress::Connected;
}

bool JsonRpcPeer::Send(std::string_view method, std::string_view params) {
    const std::string request = "{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(next_id_++) + ",\"method\":\"" +
                                std::string(method) + "\",\"params\":" + std::string(params) + "}";
    return connected_ && connection_->Send(request);
}

std::string JsonRpcPeer::Control(std::string_view method, std::string_view params) {
    std::string answer;
    if (!Send(method, params) || !ReceiveThrough("\n", &answer)) return {};
    answer.pop_back();
    return answer;
}

bool JsonRpcPeer::WaitForNotification(std::string_view method) {
    return ReceiveThrough("\"" + std::string(method) + "\"", nullptr);
}

bool JsonRpcPeer::ReceiveThrough(std::string_view wanted, std::string* taken) {
    const DWORD start = GetTickCount();
    char buffer[4096];
    for (;;) {
        if (const size_t found = received_.find(wanted); found != std::string::npos) {
            if (taken) *taken = received_.substr(0, found + wanted.size());
            received_.erase(0, found + wanted.size());
            return true;
        }
        if (!connected_) return false;
        const auto received = connection_->Receive(buffer);
        received_.append(buffer, received.bytes);
        if (received.ended || GetTickCount() - start >= kPatienceMs) return false;
        if (received.bytes == 0) Sleep(kPollMs);
    }
}

}  // namespace kodi_test

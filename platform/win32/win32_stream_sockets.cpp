#include "platform/win32/win32_stream_sockets.h"

#include <winsock2.h>

#include <algorithm>
#include <climits>

namespace platform::win32 {
namespace {

// Winsock is started once for the process and left to its end, so that no
// connection can outlive it.
bool WinsockStarted() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }

class Win32StreamConnection final : public StreamConnection {
public:
    Win32StreamConnection(SOCKET socket, Progress progress) : socket_(socket), progress_(progress) {}
    ~Win32StreamConnection() override { closesocket(socket_); }
    Win32StreamConnection(const Win32StreamConnection&) = delete;
    Win32StreamConnection& operator=(const Win32StreamConnection&) = delete;

    Progress Poll() override {
        if (progress_ == Progress::Connecting) progress_ = ConnectProgress();
        return progress_;
    }

    Received Receive(std::span<char> buffer) override {
        if (Poll() != Progress::Connected) return {0, progress_ == Progress::Failed};
        if (buffer.empty()) return {};
        const int wanted = static_cast<int>(std::min<size_t>(buffer.size(), INT_MAX));
        const int got = recv(socket_, buffer.data(), wanted, 0);
        if (got > 0) return {static_cast<size_t>(got), false};
        if (got == SOCKET_ERROR && WouldBlock()) return {};
        progress_ = Progress::Failed;  // closed by the peer (0) or broken
        return {0, true};
    }

    bool Send(std::string_view text) override {
        if (Poll() != Progress::Connected) return false;
        while (!text.empty()) {
            const int length = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
            const int sent = send(socket_, text.data(), length, 0);
            if (sent == SOCKET_ERROR) {
                if (!WouldBlock()) progress_ = Progress::Failed;
                return false;
            }
            text.remove_prefix(static_cast<size_t>(sent));
        }
        return true;
    }

private:
    // A non-blocking connect ends in the write set when it succeeds and in the
    // exception set when it fails (refused, unreachable).
    Progress ConnectProgress() {
        fd_set writable;
        fd_set failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(socket_, &writable);
        FD_SET(socket_, &failed);
        timeval now = {0, 0};
        if (select(0, nullptr, &writable, &failed, &now) == SOCKET_ERROR) return Progress::Failed;
        if (FD_ISSET(socket_, &failed)) return Progress::Failed;
        if (FD_ISSET(socket_, &writable)) return Progress::Connected;
        return Progress::Connecting;
    }

    SOCKET socket_;
    Progress progress_;
};

}  // namespace

std::unique_ptr<StreamConnection> Win32StreamSockets::ConnectToLocalPort(uint16_t port) {
    if (!WinsockStarted()) return nullptr;
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) return nullptr;
    u_long non_blocking = 1;
    if (ioctlsocket(socket, FIONBIO, &non_blocking) == SOCKET_ERROR) {
        closesocket(socket);
        return nullptr;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    using Progress = StreamConnection::Progress;
    Progress progress = Progress::Connected;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR)
        progress = WouldBlock() ? Progress::Connecting : Progress::Failed;
    return std::make_unique<Win32StreamConnection>(socket, progress);
}

}  // namespace platform::win32

#pragma once
// A test's own connection to Kodi or to the stand-in (kodi_stand_in.py) over
// the real Winsock: it sends requests, waits for Kodi's notifications, and
// for the stand-in's StandIn methods waits for the one-line answer.

#include "platform/stream_sockets.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kodi_test {

// How long a step may take before the test gives up on it.
inline constexpr unsigned kPatienceMs = 5000;

// The port in the environment variable (KODI_STAND_IN_PORT, KODI_PORT), or 0.
uint16_t PortFromEnvironment(const char* name);

// Polls the connection, a few milliseconds apart, until it is no longer
// connecting or the time is up.
platform::StreamConnection::Progress WaitWhileConnecting(platform::StreamConnection& connection, unsigned timeout_ms);

class JsonRpcPeer {
public:
    JsonRpcPeer(platform::StreamSockets& sockets, uint16_t port);

    bool Connected() const { return connected_; }
    // Sends {"jsonrpc":"2.0","id":n,"method":method,"params":params}.
    bool Send(std::string_view method, std::string_view params = "{}");
    // A StandIn method: its answer as the stand-in gives it (JSON on one
    // line, without the line's end), or empty when none came in time.
    std::string Control(std::string_view method, std::string_view params = "{}");
    // Waits for the next notification of this method (Kodi pushes each one to
    // every connection); false when none came in time.
    bool WaitForNotification(std::string_view method);

private:
    // Reads until the text received holds `wanted`, and takes it and what
    // came before it; false when the stream ended or the time was up.
    bool ReceiveThrough(std::string_view wanted, std::string* taken);

    std::unique_ptr<platform::StreamConnection> connection_;
    bool connected_ = false;
    int next_id_ = 1;
    std::string received_;
};

}  // namespace kodi_test

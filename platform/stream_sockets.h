#pragma once
// TCP streams to services on this computer (127.0.0.1), never blocking: the
// caller polls them on its own tick, so following a peer needs no thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace platform {

// One connection, begun by StreamSockets::ConnectToLocalPort. The socket is
// closed when this is destroyed.
class StreamConnection {
public:
    enum class Progress { Connecting, Connected, Failed };

    // What one Receive brought: the bytes copied into the buffer, and whether
    // the stream has ended (the peer closed it, or it failed).
    struct Received {
        size_t bytes = 0;
        bool ended = false;
    };

    virtual ~StreamConnection() = default;

    // Where the connection stands, without waiting. Failed covers a refused
    // connection as well as one that broke later.
    virtual Progress Poll() = 0;
    // Up to buffer.size() bytes of what has already arrived; none when nothing
    // has, without waiting.
    virtual Received Receive(std::span<char> buffer) = 0;
    // Hands the whole text to the stream; false when it could not take all of
    // it at once (the caller then drops the connection).
    virtual bool Send(std::string_view text) = 0;
};

class StreamSockets {
public:
    virtual ~StreamSockets() = default;

    // Begins a connection to 127.0.0.1:port; null when no socket could be made.
    virtual std::unique_ptr<StreamConnection> ConnectToLocalPort(uint16_t port) = 0;
};

}  // namespace platform

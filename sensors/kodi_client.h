#pragma once
// The connection to Kodi's JSON-RPC service on this computer: a stream of
// JSON messages over TCP to 127.0.0.1. Driven by the program's tick, it never
// waits: it connects when a try is due (every 5 s while not connected, at
// once when asked), reads what has arrived, and hands each message on. The
// stream is untrusted: a message beyond the splitter's bound, an end or an
// error drops the connection, which is then tried again.

#include "platform/clock.h"
#include "platform/stream_sockets.h"
#include "sensors/json_stream_splitter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

class cKodiClient {
public:
    static constexpr uint32_t kRetryIntervalMs = 5000;

    // What the client reports; each call happens inside Poll or Send.
    class Listener {
    public:
        // The port of the next try, asked only when one is due.
        virtual uint16_t Port() const = 0;
        virtual void OnConnected() = 0;
        // One message's text, valid during the call only.
        virtual void OnMessage(std::string_view message) = 0;
        // The connection ended or could not be made; refused is true when a try
        // found nobody listening (or could make no socket), false when a
        // connection that stood was lost.
        virtual void OnDisconnected(bool refused) = 0;

    protected:
        ~Listener() = default;
    };

    cKodiClient(platform::StreamSockets& sockets, const platform::Clock& clock, Listener& listener);

    // One tick: a try when due, the progress of a pending one, and the
    // messages that arrived.
    void Poll();
    // Sends one request; a stream that cannot take it is dropped.
    void Send(std::string_view text);
    // Ends the connection as lost, with the report; the next try comes after the interval.
    void Drop() { Drop(false); }
    // Ends the connection, if any, without a report; the next Poll tries again at once.
    void Close();
    // The next Poll tries at once (after a resume from sleep).
    void RetrySoon() { retry_now_ = true; }
    bool Connected() const { return connected_; }

private:
    void Connect();
    void ReadArrived();
    void Drop(bool refused);

    platform::StreamSockets& sockets_;
    const platform::Clock& clock_;
    Listener& listener_;
    std::unique_ptr<platform::StreamConnection> connection_;
    cJsonStreamSplitter splitter_;
    std::array<char, 4096> buffer_{};
    uint32_t last_try_ = 0;
    bool retry_now_ = true;
    bool connected_ = false;
};

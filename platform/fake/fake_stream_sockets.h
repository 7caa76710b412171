#pragma once
// Streams to local services in memory. The test plays each peer: whether a
// connection is accepted, refused or left pending, which bytes arrive in
// which chunks (one Receive never joins two chunks), when the peer closes or
// the stream breaks, and everything the program sent.

#include "platform/stream_sockets.h"

#include <deque>
#include <memory>
#include <string>

namespace platform::fake {

// The far end of one connection.
class FakeStreamPeer {
public:
    // A pending connection completes, or fails as a refused one does.
    void Accept() { progress_ = StreamConnection::Progress::Connected; }
    void Refuse() { progress_ = StreamConnection::Progress::Failed; }
    // Bytes that arrive together: one Receive hands out at most this chunk.
    void Deliver(std::string_view chunk) {
        if (!chunk.empty()) chunks_.emplace_back(chunk);
    }
    // The peer closes its end once the program has read what was delivered.
    void Close() { closed_ = true; }
    // The stream fails at once (a reset): Poll says Failed, Receive says ended.
    void Break() { progress_ = StreamConnection::Progress::Failed; }
    // Sends that the stream will not take, as a full send buffer refuses them.
    void RefuseSends(bool refuse) { sends_refused_ = refuse; }

    // Everything the program sent, in order.
    const std::string& Sent() const { return sent_; }
    // True while the program holds its end.
    bool Held() const { return held_; }
    uint16_t Port() const { return port_; }

private:
    friend class FakeStreamConnection;
    friend class FakeStreamSockets;

    StreamConnection::Progress progress_ = StreamConnection::Progress::Connecting;
    std::deque<std::string> chunks_;
    std::string sent_;
    uint16_t port_ = 0;
    bool closed_ = false;
    bool sends_refused_ = false;
    bool held_ = true;
};

class FakeStreamSockets final : public StreamSockets {
public:
    // How a new connection starts: accepted at once (a service listens), refused
    // at once (none does), pending until the test decides, or no socket at all.
    enum class Answer { Accept, Refuse, Pending, NoSocket };

    std::unique_ptr<StreamConnection> ConnectToLocalPort(uint16_t port) override;

    void AnswerConnects(Answer answer) { answer_ = answer; }
    int Attempts() const { return attempts_; }
    // The peer of the latest connection; null before the first one.
    FakeStreamPeer* LastPeer() const { return last_peer_.get(); }

private:
    Answer answer_ = Answer::Refuse;
    int attempts_ = 0;
    std::shared_ptr<FakeStreamPeer> last_peer_;
};

}  // namespace platform::fake

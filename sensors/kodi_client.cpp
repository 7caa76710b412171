#include "sensors/kodi_client.h"

namespace {

using Progress = platform::StreamConnection::Progress;

// A connection to this computer is refused or accepted at once; one that
// hangs this long has met something else on the port.
constexpr uint32_t kConnectTimeoutMs = 5000;
// At most this much is read in one tick, so that a flooding peer cannot hold
// up the tick; the rest waits for the next one.
constexpr int kReadsPerTick = 32;

}  // namespace

cKodiClient::cKodiClient(platform::StreamSockets& sockets, const platform::Clock& clock, Listener& listener)
    : sockets_(sockets), clock_(clock), listener_(listener) {}

void cKodiClient::Poll() {
    if (!connection_) {
        if (retry_now_ || clock_.TickCount() - last_try_ >= kRetryIntervalMs) Connect();
        if (!connection_) return;
    }
    switch (connection_->Poll()) {
        case Progress::Connecting:
            if (clock_.TickCount() - last_try_ >= kConnectTimeoutMs) Drop(true);
            return;
        case Progress::Failed: Drop(!connected_); return;
        case Progress::Connected:
            if (!connected_) {
                connected_ = true;
                listener_.OnConnected();
            }
            ReadArrived();
            return;
    }
}

void cKodiClient::Connect() {
    retry_now_ = false;
    last_try_ = clock_.TickCount();
    splitter_.Reset();
    connection_ = sockets_.ConnectToLocalPort(listener_.Port());
    if (!connection_) listener_.OnDisconnected(true);
}

void cKodiClient::ReadArrived() {
    // The listener may drop the connection from inside any report.
    const auto hand_on = [this](std::string_view message) {
        if (connection_) listener_.OnMessage(message);
    };
    for (int read = 0; read < kReadsPerTick && connection_; ++read) {
        const platform::StreamConnection::Received received = connection_->Receive(buffer_);
        if (!splitter_.Feed(std::span(buffer_.data(), received.bytes), hand_on) || received.ended) {
            if (connection_) Drop(false);
            return;
        }
        if (received.bytes == 0) return;
    }
}

void cKodiClient::Send(std::string_view text) {
    if (connection_ && !connection_->Send(text)) Drop(false);
}

void cKodiClient::Close() {
    connection_.reset();
    connected_ = false;
    retry_now_ = true;
}

void cKodiClient::Drop(bool refused) {
    connection_.reset();
    last_try_ = clock_.TickCount();
    connected_ = false;
    listener_.OnDisconnected(refused);
}

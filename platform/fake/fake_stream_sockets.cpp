#include "platform/fake/fake_stream_sockets.h"

#include <algorithm>

namespace platform::fake {

class FakeStreamConnection final : public StreamConnection {
public:
    explicit FakeStreamConnection(std::shared_ptr<FakeStreamPeer> peer) : peer_(std::move(peer)) {}
    ~FakeStreamConnection() override { peer_->held_ = false; }

    Progress Poll() override { return peer_->progress_; }

    Received Receive(std::span<char> buffer) override {
        if (peer_->progress_ == Progress::Failed) return {0, true};
        if (peer_->progress_ == Progress::Connecting) return {};
        auto& chunks = peer_->chunks_;
        if (chunks.empty()) return {0, peer_->closed_};
        std::string& chunk = chunks.front();
        const std::size_t bytes = std::min(buffer.size(), chunk.size());
        std::copy_n(chunk.begin(), bytes, buffer.begin());
        chunk.erase(0, bytes);
        if (chunk.empty()) chunks.pop_front();
        return {bytes, false};
    }

    bool Send(std::string_view text) override {
        if (peer_->progress_ != Progress::Connected || peer_->sends_refused_) return false;
        peer_->sent_ += text;
        return true;
    }

private:
    std::shared_ptr<FakeStreamPeer> peer_;
};

std::unique_ptr<StreamConnection> FakeStreamSockets::ConnectToLocalPort(uint16_t port) {
    ++attempts_;
    if (answer_ == Answer::NoSocket) return nullptr;
    last_peer_ = std::make_shared<FakeStreamPeer>();
    last_peer_->port_ = port;
    if (answer_ == Answer::Accept) last_peer_->Accept();
    if (answer_ == Answer::Refuse) last_peer_->Refuse();
    return std::make_unique<FakeStreamConnection>(last_peer_);
}

}  // namespace platform::fake

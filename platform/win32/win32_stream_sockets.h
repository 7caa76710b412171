#pragma once
// Streams to 127.0.0.1 through Winsock 2, as Windows XP SP3 has it: a
// non-blocking socket whose connection and data are read with select and recv
// without waiting.

#include "platform/stream_sockets.h"

namespace platform::win32 {

class Win32StreamSockets final : public StreamSockets {
public:
    std::unique_ptr<StreamConnection> ConnectToLocalPort(uint16_t port) override;
};

}  // namespace platform::win32

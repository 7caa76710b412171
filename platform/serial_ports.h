#pragma once
// Serial ports as the LED devices use them: opened exclusively, with the
// three output lines (DTR, RTS, TXD through the break condition) switched one
// by one and the modem inputs read back. Codes and bits are the system's own.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// Access rights for SerialPorts::Open.
inline constexpr uint32_t kGenericRead = 0x80000000;
inline constexpr uint32_t kGenericWrite = 0x40000000;

// EscapeCommFunction codes.
enum class CommFunction : uint32_t {
    SetRts = 3,
    ClrRts = 4,
    SetDtr = 5,
    ClrDtr = 6,
    SetBreak = 8,
    ClrBreak = 9,
};

// GetCommModemStatus bits.
inline constexpr uint32_t kMsCtsOn = 0x10;
inline constexpr uint32_t kMsDsrOn = 0x20;
inline constexpr uint32_t kMsRlsdOn = 0x80;

// GetLastError codes that a port which exists but cannot be used now gives.
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorGenFailure = 31;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorSemTimeout = 121;

// One open port. Destroying it closes the handle.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // GetCommState, then SetCommState with DTR and RTS control disabled, so that
    // only EscapeCommFunction moves those lines; false when either call failed.
    virtual bool DisableLineControl() = 0;
    // Switches one output line; true iff the call succeeded.
    virtual bool EscapeCommFunction(CommFunction function) = 0;
    // The modem input bits (kMsCtsOn ...); nothing when the call failed.
    virtual std::optional<uint32_t> GetCommModemStatus() = 0;
};

class SerialPorts {
public:
    struct OpenResult {
        std::unique_ptr<SerialPort> port;  // null when the open failed
        uint32_t error = 0;                // GetLastError of the failed open, else 0
    };

    virtual ~SerialPorts() = default;

    // Opens path ("\\.\COM1") with the given access, unshared, as an existing file.
    virtual OpenResult Open(const std::string& path, uint32_t access) = 0;
};

}  // namespace platform

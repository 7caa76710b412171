#include "platform/win32/win32_serial_ports.h"

#include <windows.h>

namespace platform::win32 {
namespace {

static_assert(kGenericRead == GENERIC_READ && kGenericWrite == GENERIC_WRITE);
static_assert(static_cast<DWORD>(CommFunction::SetRts) == SETRTS && static_cast<DWORD>(CommFunction::ClrRts) == CLRRTS);
static_assert(static_cast<DWORD>(CommFunction::SetDtr) == SETDTR && static_cast<DWORD>(CommFunction::ClrDtr) == CLRDTR);
static_assert(static_cast<DWORD>(CommFunction::SetBreak) == SETBREAK &&
              static_cast<DWORD>(CommFunction::ClrBreak) == CLRBREAK);
static_assert(kMsCtsOn == MS_CTS_ON && kMsDsrOn == MS_DSR_ON && kMsRlsdOn == MS_RLSD_ON);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND && kErrorAccessDenied == ERROR_ACCESS_DENIED &&
              kErrorGenFailure == ERROR_GEN_FAILURE && kErrorSharingViolation == ERROR_SHARING_VIOLATION &&
              kErrorSemTimeout == ERROR_SEM_TIMEOUT);

class Win32SerialPort final : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}
    ~Win32SerialPort() override { CloseHandle(handle_); }
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool DisableLineControl() override {
        DCB dcb = {};
        dcb.DCBlength = sizeof dcb;
        const bool got = GetCommState(handle_, &dcb);
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        return SetCommState(handle_, &dcb) && got;
    }

    bool EscapeCommFunction(CommFunction function) override {
        return ::EscapeCommFunction(handle_, static_cast<DWORD>(function));
    }

    std::optional<uint32_t> GetCommModemStatus() override {
        DWORD status = 0;
        if (!::GetCommModemStatus(handle_, &status)) return std::nullopt;
        return status;
    }

private:
    HANDLE handle_;
};

}  // namespace

SerialPorts::OpenResult Win32SerialPorts::Open(const std::string& path, uint32_t access) {
    HANDLE handle = CreateFileA(path.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {nullptr, GetLastError()};
    return {std::make_unique<Win32SerialPort>(handle), 0};
}

}  // namespace platform::win32

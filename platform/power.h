#pragma once
// Power management and user input as the program's logic sees them. The
// power information call and power-setting notifications are bound by name at
// run time, so that a system without them loses only the events they feed.

#include "platform/window_handle.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform {

struct Guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
    bool operator==(const Guid&) const = default;
};

inline constexpr Guid kGuidSystemAwayMode = {
    0x98A7F580, 0x01F7, 0x48AA, {0x9C, 0x0F, 0x44, 0x35, 0x2C, 0x29, 0xE5, 0xC0}};
inline constexpr Guid kGuidMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

// WM_POWERBROADCAST and the events its wParam carries.
inline constexpr uint32_t kWmPowerBroadcast = 0x218;
inline constexpr uintptr_t kPbtApmSuspend = 4;
inline constexpr uintptr_t kPbtApmResumeSuspend = 7;
inline constexpr uintptr_t kPbtApmResumeAutomatic = 18;
inline constexpr uintptr_t kPbtPowerSettingChange = 0x8013;

// One WM_POWERBROADCAST, unpacked by the window that received it.
struct PowerEvent {
    uintptr_t kind = 0;  // its wParam: kPbtApmSuspend, kPbtPowerSettingChange, ...
    // Of a power-setting change: the setting and its value, read from at most
    // four bytes of the record; no value for a missing record or one without data.
    Guid setting = {};
    std::optional<uint32_t> value = std::nullopt;
};

// CallNtPowerInformation's information level and the EXECUTION_STATE bits it answers.
inline constexpr int32_t kSystemExecutionState = 16;
inline constexpr uint32_t kEsSystemRequired = 0x1;
inline constexpr uint32_t kEsDisplayRequired = 0x2;

// The system libraries bound by name; a failure to bind is reported under the library's name.
inline constexpr const char* kPowerLibrary = "powrprof.dll";
inline constexpr const char* kUser32Library = "User32.dll";

// How binding an entry point of a system library by name ended.
enum class DllBinding { Bound, LibraryMissing, EntryPointMissing };

// CallNtPowerInformation of the loaded power library, which is freed when this is destroyed.
class PowerInformation {
public:
    virtual ~PowerInformation() = default;

    // CallNtPowerInformation(level, no input, output, output_length): its status, 0 on success.
    virtual int32_t Call(int32_t information_level, void* output, uint32_t output_length) = 0;
};

class Power {
public:
    virtual ~Power() = default;

    // Loads kPowerLibrary and binds CallNtPowerInformation; null when either fails, and binding says which.
    virtual std::unique_ptr<PowerInformation> LoadPowerInformation(DllBinding& binding) = 0;
    // Loads kUser32Library, binds RegisterPowerSettingNotification, registers window for each
    // setting in turn and frees the library; the registrations are not kept. Says how binding ended.
    virtual DllBinding RegisterPowerSettingNotifications(WindowHandle window, std::span<const Guid> settings) = 0;
    // IsSystemResumeAutomatic: true when the last wake-up was not caused by the user.
    virtual bool IsSystemResumeAutomatic() = 0;
    // GetLastInputInfo: the millisecond tick count of the last user input; nothing when the call fails.
    virtual std::optional<uint32_t> LastInputTime() = 0;
};

}  // namespace platform

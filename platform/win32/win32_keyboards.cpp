#include "platform/win32/win32_keyboards.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddkbd.h>

#include <cstddef>

namespace platform::win32 {
namespace {

static_assert(sizeof(KEYBOARD_ATTRIBUTES) == 28);
static_assert(sizeof(KEYBOARD_INDICATOR_PARAMETERS) == 4);

// The translation answer has room for a count and 24 entries.
constexpr DWORD kTranslationBytes = 100;
constexpr std::size_t kTranslationHeaderBytes = offsetof(KEYBOARD_INDICATOR_TRANSLATION, IndicatorList);

class Win32Connection final : public KeyboardConnection {
public:
    explicit Win32Connection(HANDLE device) : device_(device) {}
    ~Win32Connection() override { CloseHandle(device_); }
    Win32Connection(const Win32Connection&) = delete;
    Win32Connection& operator=(const Win32Connection&) = delete;

    std::optional<KeyboardAttributes> QueryAttributes() override {
        KEYBOARD_ATTRIBUTES a = {};
        if (!Control(IOCTL_KEYBOARD_QUERY_ATTRIBUTES, nullptr, 0, &a, sizeof a)) return std::nullopt;
        return KeyboardAttributes{a.KeyboardIdentifier.Type, a.KeyboardIdentifier.Subtype, a.KeyboardMode,
                                  a.NumberOfFunctionKeys, a.NumberOfIndicators, a.NumberOfKeysTotal};
    }

    std::optional<IndicatorTranslation> QueryIndicatorTranslation() override {
        alignas(KEYBOARD_INDICATOR_TRANSLATION) unsigned char answer[kTranslationBytes] = {};
        DWORD returned = Control(IOCTL_KEYBOARD_QUERY_INDICATOR_TRANSLATION, nullptr, 0, answer, sizeof answer);
        if (returned == 0) return std::nullopt;
        const auto* table = reinterpret_cast<const KEYBOARD_INDICATOR_TRANSLATION*>(answer);
        // Never read past what the driver returned, whatever count it claims.
        const std::size_t room = returned > kTranslationHeaderBytes
                                     ? (returned - kTranslationHeaderBytes) / sizeof(INDICATOR_LIST)
                                     : 0;
        const std::size_t count = table->NumberOfIndicatorKeys < room ? table->NumberOfIndicatorKeys : room;
        IndicatorTranslation translation{static_cast<uint16_t>(table->NumberOfIndicatorKeys), {}};
        for (std::size_t i = 0; i < count; ++i)
            translation.keys.push_back({table->IndicatorList[i].MakeCode, table->IndicatorList[i].IndicatorFlags});
        return translation;
    }

    std::optional<IndicatorParameters> QueryIndicators() override {
        KEYBOARD_INDICATOR_PARAMETERS p = {};
        if (!Control(IOCTL_KEYBOARD_QUERY_INDICATORS, nullptr, 0, &p, sizeof p)) return std::nullopt;
        return IndicatorParameters{p.UnitId, p.LedFlags};
    }

private:
    // The bytes returned (at least 1 on success, so a success without output counts), 0 on failure.
    DWORD Control(DWORD code, void* in, DWORD in_size, void* out, DWORD out_size) {
        DWORD returned = 0;
        if (!DeviceIoControl(device_, code, in, in_size, out, out_size, &returned, nullptr)) return 0;
        return returned == 0 ? 1 : returned;
    }

    HANDLE device_;
};

// Without access rights: the class driver lets anyone set and query indicators.
HANDLE OpenKeyboard(const std::string& path) {
    return CreateFileA(path.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

Keyboards::Opened Win32Keyboards::Open(const std::string& path) {
    HANDLE device = OpenKeyboard(path);
    if (device == INVALID_HANDLE_VALUE) return {nullptr, GetLastError()};
    return {std::make_unique<Win32Connection>(device), 0};
}

bool Win32Keyboards::SetIndicators(const std::string& path, uint16_t led_flags) {
    // On the stack: this runs for every frame that changes an indicator.
    HANDLE device = OpenKeyboard(path);
    if (device == INVALID_HANDLE_VALUE) return false;
    KEYBOARD_INDICATOR_PARAMETERS p = {};
    p.LedFlags = led_flags;
    DWORD returned = 0;
    DeviceIoControl(device, IOCTL_KEYBOARD_SET_INDICATORS, &p, sizeof p, nullptr, 0, &returned, nullptr);
    CloseHandle(device);
    return true;
}

int16_t Win32Keyboards::KeyState(int virtual_key) { return GetKeyState(virtual_key); }

}  // namespace platform::win32

#include "platform/win32/win32_power.h"

#include "platform/win32/system_libraries.h"

#include <cstring>

namespace platform::win32 {
namespace {

static_assert(sizeof(Guid) == sizeof(GUID));

using CallNtPowerInformationFunction = LONG WINAPI(int, void*, ULONG, void*, ULONG);
using RegisterPowerSettingNotificationFunction = HANDLE WINAPI(HANDLE, const GUID*, DWORD);

class Win32PowerInformation final : public PowerInformation {
public:
    Win32PowerInformation(std::unique_ptr<LoadedLibrary> library, CallNtPowerInformationFunction* call)
        : library_(std::move(library)), call_(call) {}

    int32_t Call(int32_t information_level, void* output, uint32_t output_length) override {
        return call_(information_level, nullptr, 0, output, output_length);
    }

private:
    std::unique_ptr<LoadedLibrary> library_;
    CallNtPowerInformationFunction* call_;
};

}  // namespace

std::unique_ptr<PowerInformation> Win32Power::LoadPowerInformation(DllBinding& binding) {
    auto library = std::make_unique<LoadedLibrary>(kPowerLibrary);
    if (!library->IsLoaded()) {
        binding = DllBinding::LibraryMissing;
        return nullptr;
    }
    auto* call = library->Bind<CallNtPowerInformationFunction>("CallNtPowerInformation");
    if (!call) {
        binding = DllBinding::EntryPointMissing;
        return nullptr;
    }
    binding = DllBinding::Bound;
    return std::make_unique<Win32PowerInformation>(std::move(library), call);
}

DllBinding Win32Power::RegisterPowerSettingNotifications(WindowHandle window, std::span<const Guid> settings) {
    LoadedLibrary library(kUser32Library);
    if (!library.IsLoaded()) return DllBinding::LibraryMissing;
    auto* register_notification =
        library.Bind<RegisterPowerSettingNotificationFunction>("RegisterPowerSettingNotification");
    if (!register_notification) return DllBinding::EntryPointMissing;
    for (const Guid& setting : settings) {
        GUID guid;
        std::memcpy(&guid, &setting, sizeof guid);
        register_notification(window, &guid, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    return DllBinding::Bound;
}

bool Win32Power::IsSystemResumeAutomatic() { return ::IsSystemResumeAutomatic() != FALSE; }

std::optional<uint32_t> Win32Power::LastInputTime() {
    LASTINPUTINFO info = {sizeof info, 0};
    if (!GetLastInputInfo(&info)) return std::nullopt;
    return info.dwTime;
}

bool Win32WindowFinder::ClassExists(const char* class_name) {
    return FindWindowA(class_name, nullptr) != nullptr;
}

}  // namespace platform::win32

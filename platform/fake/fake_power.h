#pragma once
// Power state and user input that tests set, with a power library and a
// User32.dll that can be missing or lack their entry points.

#include "platform/power.h"
#include "platform/window_finder.h"

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace platform::fake {

class FakePower final : public Power {
public:
    DllBinding power_library = DllBinding::Bound;  // how loading the power library ends
    DllBinding user32 = DllBinding::Bound;         // how binding RegisterPowerSettingNotification ends
    int32_t power_information_status = 0;          // what CallNtPowerInformation returns
    uint32_t execution_state = 0;                  // EXECUTION_STATE it answers on success
    bool resume_automatic = false;
    std::optional<uint32_t> last_input_time = 0u;

    // What RegisterPowerSettingNotifications registered, in order.
    std::vector<std::pair<WindowHandle, Guid>> registrations;
    // Power library handles handed out and not yet freed.
    int loaded_power_libraries = 0;

    std::unique_ptr<PowerInformation> LoadPowerInformation(DllBinding& binding) override;
    DllBinding RegisterPowerSettingNotifications(WindowHandle window, std::span<const Guid> settings) override;
    bool IsSystemResumeAutomatic() override { return resume_automatic; }
    std::optional<uint32_t> LastInputTime() override { return last_input_time; }
};

class FakeWindowFinder final : public WindowFinder {
public:
    std::set<std::string, std::less<>> classes;  // the classes of the windows that exist; looked up without copies

    bool ClassExists(const char* class_name) override { return classes.count(class_name) != 0; }
};

}  // namespace platform::fake

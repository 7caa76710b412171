#include "devices/keyboard_driver_led_device.h"

#include "devices/detection_log.h"
#include "devices/keyboard_indicators.h"
#include "settings/led_vocabulary.h"

#include <algorithm>

namespace {

using platform::RegistryRoot;

constexpr const char* kEnumKey = "\\SYSTEM\\CurrentControlSet\\Enum";
constexpr const char* kDriverClassKey = "\\SYSTEM\\CurrentControlSet\\Control\\Class";
// Remote desktop sessions register a keyboard of their own; it has no indicators to set.
constexpr std::string_view kRemoteDesktopKeyboard = "#RDP_KBD#";
// Interface key names carry "##?#" where the device path has "\\?\".
constexpr std::size_t kKeyNamePrefixLength = 4;
constexpr std::string_view kDevicePathPrefix = "\\\\.\\";
constexpr int16_t kKeyboardHardwareId = 0x2000;
constexpr int kUnqueriedIndicators = 3;
constexpr uint32_t kRewriteIntervalMs = 1000;

std::string ReadText(platform::Registry& registry, const std::string& path, const char* name) {
    auto key = registry.OpenReadOnly(RegistryRoot::LocalMachine, path);
    if (!key) return {};
    return key->ReadString(name).value_or(std::string());
}

// The driver description, from the interface's device instance through its driver key.
std::string LookUpDescription(platform::Registry& registry, const std::string& key_name) {
    const std::string instance = ReadText(registry, std::string(kKeyboardClassKey) + "\\" + key_name, "DeviceInstance");
    if (instance.empty()) return {};
    const std::string driver = ReadText(registry, std::string(kEnumKey) + "\\" + instance, "Driver");
    if (driver.empty()) return {};
    return ReadText(registry, std::string(kDriverClassKey) + "\\" + driver, "DriverDesc");
}

}  // namespace

cKeyboardDriverLedDevice::cKeyboardDriverLedDevice(const std::string& key_name, cDetectionLog* log,
                                                   platform::Registry& registry, platform::Keyboards& keyboards,
                                                   const platform::Clock& clock)
    : cLedDevice(kUnqueriedIndicators), keyboards_(keyboards), clock_(clock) {
    if (log) WriteDeviceHeader(*log, key_name);
    if (key_name.find(kRemoteDesktopKeyboard) != std::string::npos) {
        if (log) *log << "RDP keyboard ignored \n";
        present_ = false;
        return;
    }
    classification_ = classification::KeyboardByDriver;
    SetId(key_name);
    const std::string_view id = Id();
    SetPath(std::string(kDevicePathPrefix).append(id.substr(std::min(id.size(), kKeyNamePrefixLength))));

    platform::Keyboards::Opened opened = keyboards_.Open(Path());
    if (opened.keyboard) {
        SetDescription(LookUpDescription(registry, key_name));
        if (log) *log << "Description : " << Description() << "\n";
        QueryDriver(*opened.keyboard, log);
    } else {
        if (log) *log << "Failed to open, LastError=" << std::to_string(opened.error) << "\n";
        present_ = false;
    }
    hardware_id_ = static_cast<int16_t>(kKeyboardHardwareId | led_count_);
    SetUpLeds();
    ResetLevels();
}

void cKeyboardDriverLedDevice::QueryDriver(platform::KeyboardConnection& keyboard, cDetectionLog* log) {
    if (auto attributes = keyboard.QueryAttributes()) {
        led_count_ = std::min<int>(attributes->number_of_indicators, kMaxLeds);
        if (log) {
            *log << "KeyboardIdentifier.Type : " << std::to_string(attributes->type) << "\n";
            *log << "KeyboardIdentifier.Subtype : " << std::to_string(attributes->subtype) << "\n";
            *log << "KeyboardMode : " << std::to_string(attributes->keyboard_mode) << "\n";
            *log << "NumberOfFunctionKeys : " << std::to_string(attributes->number_of_function_keys) << "\n";
            *log << "NumberOfIndicators : " << std::to_string(attributes->number_of_indicators) << "\n";
            *log << "NumberOfKeysTotal : " << std::to_string(attributes->number_of_keys_total) << "\n";
        }
    }
    // The other two answers only feed the log.
    if (!log) return;
    if (auto translation = keyboard.QueryIndicatorTranslation()) {
        *log << "NumberOfIndicatorKeys : " << std::to_string(translation->number_of_indicator_keys) << "\n";
        std::string keys;
        for (const platform::IndicatorKey& key : translation->keys)
            keys += Hex(key.make_code) + "-" + Hex(key.indicator_flags, 4) + " ";
        *log << keys << "\n";
    }
    if (auto indicators = keyboard.QueryIndicators()) {
        *log << "UnitID : " << std::to_string(indicators->unit_id) << "\n";
        *log << "LedFlags : " << Hex(indicators->led_flags, 4) << "\n";
    }
}

void cKeyboardDriverLedDevice::SetUpLeds() {
    for (int i = 0; i < led_count_; ++i) {
        led_descriptor& led = leds_[i];
        const auto bit = static_cast<uint16_t>(1u << i);
        led.line_mask = bit;
        led.AddState(led_state::Off, 0);
        for (int8_t state : {led_state::On, led_state::BlinkSlow, led_state::Blink, led_state::BlinkFast,
                             led_state::Pulse})
            led.AddState(state, bit);
    }
}

std::string cKeyboardDriverLedDevice::GetLedName(int index) const {
    if (index >= 0 && index < led_count_) return kKeyboardIndicators[index].name;
    return cLedDevice::GetLedName(index);
}

bool cKeyboardDriverLedDevice::Open() {
    written_flags_.reset();  // another program may have set the indicators meanwhile
    return cLedDevice::Open();
}

void cKeyboardDriverLedDevice::Resume() {
    written_flags_.reset();  // the keyboard may have been reset while the system slept
    cLedDevice::Resume();
}

void cKeyboardDriverLedDevice::WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) {
    if (suspended_) return;
    const uint32_t on = OutputsOn(lit, driven, blank);
    uint16_t flags = 0;
    uint16_t locks = 0;  // the lock states, which Windows shows on every indicator after a toggle
    for (int i = 0; i < led_count_; ++i) {
        const keyboard_indicator& indicator = kKeyboardIndicators[i];
        const uint32_t bit = 1u << i;
        if (keyboards_.KeyState(indicator.virtual_key) != 0) locks |= indicator.flag;
        // An indicator that no relation drives shows the real lock state.
        const bool lit_now = (driven & bit) ? (on & bit) != 0 : (locks & indicator.flag) != 0;
        if (lit_now) flags |= indicator.flag;
    }
    // Each write opens the keyboard and goes through its driver: only a change, a lock key
    // toggled since (Windows then overwrote the driven indicators), or the second's repair.
    const uint32_t now = clock_.TickCount();
    const bool due = flags != written_flags_ || locks != written_locks_ || now - written_at_ >= kRewriteIntervalMs;
    if (due && keyboards_.SetIndicators(Path(), flags)) {
        written_flags_ = flags;
        written_locks_ = locks;
        written_at_ = now;
    }
    RecordOutputs(lit, driven);
}

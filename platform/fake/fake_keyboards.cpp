#include "platform/fake/fake_keyboards.h"

#include <algorithm>

namespace platform::fake {
namespace {

constexpr uint32_t kErrorFileNotFound = 2;
// The translation answer is 100 bytes: a 16-bit count and 4 bytes per entry.
constexpr std::size_t kMaxTranslationEntries = (100 - 2) / 4;

class FakeConnection final : public KeyboardConnection {
public:
    explicit FakeConnection(FakeKeyboards::Keyboard& keyboard) : keyboard_(keyboard) {
        ++keyboard_.opens;
        ++keyboard_.open_connections;
    }
    ~FakeConnection() override { --keyboard_.open_connections; }
    FakeConnection(const FakeConnection&) = delete;
    FakeConnection& operator=(const FakeConnection&) = delete;

    std::optional<KeyboardAttributes> QueryAttributes() override { return keyboard_.attributes; }
    std::optional<IndicatorTranslation> QueryIndicatorTranslation() override {
        if (!keyboard_.translation) return std::nullopt;
        const std::vector<IndicatorKey>& table = *keyboard_.translation;
        // The answer holds as many entries as fit; the count stays the driver's.
        const std::size_t arrived = std::min(table.size(), kMaxTranslationEntries);
        return IndicatorTranslation{static_cast<uint16_t>(table.size()), {table.begin(), table.begin() + arrived}};
    }
    std::optional<IndicatorParameters> QueryIndicators() override {
        if (keyboard_.query_indicators_fails) return std::nullopt;
        return IndicatorParameters{keyboard_.unit_id, keyboard_.led_flags};
    }
private:
    FakeKeyboards::Keyboard& keyboard_;
};

}  // namespace

Keyboards::Opened FakeKeyboards::Open(const std::string& path) {
    auto found = keyboards_.find(path);
    if (found == keyboards_.end()) return {nullptr, kErrorFileNotFound};
    if (found->second.open_error != 0) return {nullptr, found->second.open_error};
    return {std::make_unique<FakeConnection>(found->second), 0};
}

bool FakeKeyboards::SetIndicators(const std::string& path, uint16_t led_flags) {
    const Opened opened = Open(path);
    if (!opened.keyboard) return false;
    Keyboard& keyboard = keyboards_.at(path);
    keyboard.led_flags = led_flags;
    keyboard.flags_set.push_back(led_flags);
    return true;
}

int16_t FakeKeyboards::KeyState(int virtual_key) {
    auto found = key_states.find(virtual_key);
    return found == key_states.end() ? 0 : found->second;
}

FakeKeyboards::Keyboard& FakeKeyboards::Add(const std::string& path) {
    Keyboard& keyboard = keyboards_[path];
    // A common 101-key keyboard with three indicators.
    if (!keyboard.attributes) keyboard.attributes = KeyboardAttributes{4, 0, 1, 12, 3, 101};
    if (!keyboard.translation) keyboard.translation = std::vector<IndicatorKey>{};
    return keyboard;
}

}  // namespace platform::fake

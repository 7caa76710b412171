#include "platform/fake/fake_keyboards.h"

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
    std::optional<std::vector<IndicatorKey>> QueryIndicatorTranslation() override {
        // A table that does not fit the answer fails as the driver does (buffer too small).
        if (keyboard_.translation && keyboard_.translation->size() > kMaxTranslationEntries) return std::nullopt;
        return keyboard_.translation;
    }
    std::optional<IndicatorParameters> QueryIndicators() override {
        if (keyboard_.query_indicators_fails) return std::nullopt;
        return IndicatorParameters{keyboard_.unit_id, keyboard_.led_flags};
    }
    void SetIndicators(uint16_t led_flags) override {
        keyboard_.led_flags = led_flags;
        keyboard_.flags_set.push_back(led_flags);
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

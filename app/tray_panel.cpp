#include "app/tray_panel.h"

#include "app/main_window_model.h"
#include "settings/led_vocabulary.h"

#include <algorithm>
#include <vector>

namespace {

constexpr uint32_t kStripColour = 0x181818;
// Indexed by tray_light. A dark light stays visible against the strip.
constexpr uint32_t kLightColours[] = {0x585858, 0xFFC020, 0xFF3030, 0x30FF30, 0x4070FF,
                                      0x30FFFF, 0xFF40FF, 0xFFFF30, 0xFFFFFF};
static_assert(std::size(kLightColours) == static_cast<std::size_t>(tray_light::White) + 1);

constexpr int kSubsamples = 4;  // per pixel and axis, for round edges

// How the LED looks in a state while lit: a full-colour LED in the colour of the state, dark
// for a state it lacks, as the device shows it; every other LED in the one lit colour.
tray_light LitLight(const cLedDevice& device, int led, int8_t state) {
    if (state == led_state::Undefined || state == led_state::Off) return tray_light::Dark;
    const led_descriptor* descriptor = device.GetLed(led);
    if (!descriptor || !descriptor->per_state_levels) return tray_light::Lit;
    if (!descriptor->Lists(state) || state < led_state::Red || state > led_state::White) return tray_light::Dark;
    return static_cast<tray_light>(static_cast<int>(tray_light::Red) + state - led_state::Red);
}

uint32_t Mix(uint32_t under, uint32_t over, int coverage, int full) {
    uint32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        mixed |= ((a * (full - coverage) + b * coverage) / full) << shift;
    }
    return mixed;
}

}  // namespace

uint32_t LightColour(tray_light light) { return kLightColours[static_cast<int>(light)]; }

uint32_t tray_picture::Key() const {
    uint32_t key = static_cast<uint32_t>(count);
    for (tray_light light : lights) key = key << 4 | static_cast<uint32_t>(light);
    return key;
}

void DrawTrayLights(const tray_picture& picture, int size, std::span<uint32_t> pixels) {
    const int count = std::clamp(picture.count, 0, kTrayLights);
    if (count == 0 || size < kTrayLights * 2 || pixels.size() < static_cast<std::size_t>(size) * size) return;
    // Cells for at least three lights: no light grows wider than a third of the icon.
    const int cell = size / std::max(count, 3);
    const int gap = std::max(1, size / 16);
    const int diameter = cell - gap;
    const int strip_left = (size - count * cell) / 2, strip_top = size - cell;
    const int full = kSubsamples * kSubsamples;
    for (int y = strip_top; y < size; ++y) {
        for (int x = strip_left; x < strip_left + count * cell; ++x) {
            const int light = (x - strip_left) / cell;
            // The disc's box, in subsamples: its centre and radius squared, doubled to stay whole.
            const int box_left = (strip_left + light * cell + gap / 2) * kSubsamples;
            const int box_top = (strip_top + (cell - diameter) / 2) * kSubsamples;
            const int span = diameter * kSubsamples;
            int covered = 0;
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    const int dx = 2 * (x * kSubsamples + sx - box_left) + 1 - span;
                    const int dy = 2 * (y * kSubsamples + sy - box_top) + 1 - span;
                    if (dx * dx + dy * dy <= span * span) ++covered;
                }
            }
            const uint32_t colour = Mix(kStripColour, LightColour(picture.lights[light]), covered, full);
            pixels[static_cast<std::size_t>(y) * size + x] = 0xFF000000 | colour;
        }
    }
}

void cTrayPanel::ShowLights(bool shown) {
    shown_ = shown;
    reread_ = true;
}

bool cTrayPanel::Update() {
    const tray_picture picture = shown_ ? ReadPicture() : tray_picture{};
    const tip_content content = shown_ ? ReadTipContent() : tip_content{};
    bool changed = picture != picture_;
    if (reread_ || content != tip_content_) {
        std::string tip = shown_ ? BuildTip(content) : cMainWindowModel::kTrayTip;
        changed = changed || tip != tip_;
        tip_ = std::move(tip);
    }
    picture_ = picture;
    tip_content_ = content;
    reread_ = false;
    return changed;
}

tray_picture cTrayPanel::ReadPicture() const {
    const cLedDevice& device = engine_.CurrentDevice();
    tray_picture picture;
    picture.count = std::clamp(device.LedCount(), 0, kTrayLights);
    for (int i = 0; i < picture.count; ++i)
        if (device.FrameShowsLight(i)) picture.lights[i] = LitLight(device, i, device.FrameState(i));
    return picture;
}

cTrayPanel::tip_content cTrayPanel::ReadTipContent() const {
    const cLedDevice& device = engine_.CurrentDevice();
    tip_content content;
    content.device = &device;
    // Lit or blinking, whatever the phase.
    for (int i = 0; i < std::clamp(device.LedCount(), 0, kTrayLights); ++i)
        if (LitLight(device, i, device.FrameState(i)) != tray_light::Dark) content.events[i] = engine_.WinningEvent(i);
    return content;
}

std::string cTrayPanel::BuildTip(const tip_content& content) const {
    std::vector<tray_tip_line> lines;
    for (int i = 0; i < kTrayLights; ++i)
        if (content.events[i] != 0)
            lines.push_back({content.device->GetLedName(i), engine_.Catalogue().NameOf(content.events[i])});
    return TrayTip(lines);
}

std::string TrayTip(std::span<const tray_tip_line> lines) {
    if (lines.empty()) return kNoEventTrayTip;
    constexpr std::string_view kEllipsis = "...";
    std::string tip = cMainWindowModel::kTrayTip;
    for (const tray_tip_line& entry : lines) {
        const std::string line = "\n" + entry.led + ": " + entry.event;
        if (tip.size() + line.size() <= kMaxTrayTipLength) {
            tip += line;
            continue;
        }
        const std::size_t room = kMaxTrayTipLength - tip.size();
        if (room > kEllipsis.size() + 1) tip += line.substr(0, room - kEllipsis.size()) + std::string(kEllipsis);
        break;
    }
    return tip;
}

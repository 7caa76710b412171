#include "app/calibration_editor.h"

#include "app/main_timers.h"
#include "settings/led_vocabulary.h"

#include <algorithm>
#include <string>

namespace {

std::string Percent(int value) { return std::to_string(value) + "%"; }

bool IsItem(int index, std::size_t count) { return index >= 0 && static_cast<std::size_t>(index) < count; }

}  // namespace

void cCalibrationEditor::Fill() {
    const cLedDevice& device = engine_.CurrentDevice();
    if (calibration_led_ >= device.LedCount()) calibration_led_ = 0;
    view_.tab_shown = device.LevelControlEnabled();
    if (!view_.tab_shown) return;

    view_.leds = {};
    for (int i = 0; i < device.LedCount(); ++i) view_.leds.items.push_back(device.GetLedName(i));
    view_.leds.selected = IsItem(calibration_led_, view_.leds.items.size()) ? calibration_led_ : -1;

    view_.colours.items.clear();
    view_.colours.selected = -1;
    colour_codes_.clear();
    const led_descriptor* led = device.GetLed(calibration_led_);
    if (!led) return;
    if (led->per_state_levels) {
        view_.colours.enabled = view_.colour_label_enabled = true;
        for (int j = 0; j < led->state_count; ++j) {
            view_.colours.items.push_back(device.GetStateName(calibration_led_, led->states[j]));
            colour_codes_.push_back(led->states[j]);
        }
        const auto chosen = std::find(colour_codes_.begin(), colour_codes_.end(), calibration_colour_);
        if (chosen != colour_codes_.end()) view_.colours.selected = static_cast<int>(chosen - colour_codes_.begin());
        ShowCalibration(calibration_led_, calibration_colour_, false);
    } else {
        ShowCalibration(calibration_led_, led_state::On, false);
        view_.colours.enabled = view_.colour_label_enabled = false;
    }
}

void cCalibrationEditor::ShowCalibration(int led_index, int8_t colour, bool report_edits) {
    std::array<int, 3> before;
    for (std::size_t b = 0; b < view_.bars.size(); ++b) {
        before[b] = view_.bars[b].position;
        view_.bars[b].enabled = view_.bars[b].label_enabled = false;
    }
    const led_descriptor* led = engine_.CurrentDevice().GetLed(led_index);
    if (!led) return;
    if (!led->per_state_levels) {
        for (int b : {0, 2}) view_.bars[b].visible = view_.bars[b].label_visible = false;
        SetBar(1, led->level);
    } else {
        for (bar_view& bar : view_.bars) bar.visible = bar.label_visible = true;
        for (int j = 0; j < led->state_count; ++j) {
            if (led->states[j] != colour) continue;
            for (int b = 0; b < 3; ++b)
                if (const int bit = led->ChannelBit(b); bit >= 0) SetBar(b, led->levels[j][bit]);
        }
    }
    // A bar that the program moves reports the move as the user's would.
    if (report_edits)
        for (int b = 0; b < 3; ++b)
            if (view_.bars[b].position != before[b]) MoveBar(b, view_.bars[b].position);
}

void cCalibrationEditor::SetBar(int bar, int level) {
    bar_view& view = view_.bars[bar];
    view.position = std::clamp(level, bar_view::kMinimum, view.maximum);
    view.enabled = view.label_enabled = true;
    view.label = Percent(level);
}

void cCalibrationEditor::ChooseLed(int index) {
    if (!IsItem(index, view_.leds.items.size())) return;
    calibration_led_ = index;
    view_.leds.selected = index;
    engine_.ShowOverride(calibration_led_, calibration_colour_, kPreviewMs);
}

void cCalibrationEditor::ChooseColour(int index) {
    if (!IsItem(index, colour_codes_.size())) return;
    calibration_colour_ = colour_codes_[index];
    view_.colours.selected = index;
    ShowCalibration(calibration_led_, calibration_colour_, true);
}

void cCalibrationEditor::MoveBar(int bar, int position) {
    if (bar < 0 || bar >= 3) return;
    led_descriptor* led = engine_.CurrentDevice().GetLed(calibration_led_);
    if (!led) return;
    bar_view& view = view_.bars[bar];
    view.position = std::clamp(position, bar_view::kMinimum, view.maximum);
    if (bar == 1 && !led->per_state_levels) {
        led->level = view.position;
        view.label = Percent(view.position);
        PreviewCalibration();
        return;
    }
    // A bar is a colour channel: red, green or blue of this LED.
    const int bit = led->ChannelBit(bar);
    if (bit < 0) return;
    for (int j = 0; j < led->state_count; ++j) {
        if (led->states[j] != calibration_colour_) continue;
        led->levels[j][bit] = view.position;
        view.label = Percent(view.position);
        PreviewCalibration();
    }
}

void cCalibrationEditor::PreviewCalibration() {
    engine_.ShowOverride(calibration_led_, calibration_colour_, kPreviewMs);
    timers_.Kill(main_timer::Timer2);
    timers_.Set(main_timer::Timer2, main_timer::Timer2IntervalMs);
    save_pending_ = true;
}

void cCalibrationEditor::Timer2Timer() {
    engine_.CurrentDevice().SaveCalibration();
    timers_.Kill(main_timer::Timer2);
    save_pending_ = false;
}

void cCalibrationEditor::SavePending() {
    if (save_pending_) Timer2Timer();
}

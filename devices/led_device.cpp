#include "devices/led_device.h"

#include "settings/led_vocabulary.h"

#include <algorithm>
#include <iterator>

namespace {

// All patterns share one 16-tick cycle, lit in its first part.
bool PatternLit(int8_t state, int32_t phase) {
    const int p = phase / 2;
    switch (state) {
    case led_state::Pulse: return p == 0;
    case led_state::BlinkFast: return (p & 1) == 0;
    case led_state::Blink: return (p & 2) == 0;
    case led_state::BlinkSlow: return (p & 4) == 0;
    default: return true;
    }
}

}  // namespace

void led_descriptor::AddState(int8_t state, uint16_t lines) {
    if (state_count >= kMaxLedStates) return;
    states[state_count] = state;
    state_lines[state_count] = lines;
    ++state_count;
}

bool led_descriptor::Lists(int8_t state) const {
    for (int j = 0; j < state_count; ++j)
        if (states[j] == state) return true;
    return false;
}

int led_descriptor::ChannelBit(int channel) const {
    for (int k = 0; k < kOutputBits; ++k)
        if ((line_mask & (1u << k)) && channel-- == 0) return k;
    return -1;
}

cLedDevice::cLedDevice(int led_count) : led_count_(led_count) {}

bool cLedDevice::Open() { return true; }
void cLedDevice::Close() {}
std::string cLedDevice::GetLedName(int index) const { return GenericLedName(index, led_count_); }

void cLedDevice::Suspend() {
    saved_lit_bits_ = lit_bits_;
    // Written before suspended is set: WriteOutputs ignores a suspended device.
    WriteOutputs(lit_bits_ & hold_bits_, driven_bits_, 0);
    suspended_ = true;
}

void cLedDevice::Resume() {
    suspended_ = false;
    WriteOutputs(saved_lit_bits_, driven_bits_, 0);
}

void cLedDevice::StartLevelControl() {}
void cLedDevice::StopLevelControl() {}
bool cLedDevice::IsLevelControlRunning() const { return false; }
void cLedDevice::SaveCalibration() {}
void cLedDevice::LoadCalibration() {}
void cLedDevice::WriteOutputs(uint32_t, uint32_t, uint32_t) {}

bool cLedDevice::Activate() {
    LoadCalibration();
    inverted_bits_ = 0;
    for (int i = 0; i < led_count_; ++i)
        if (leds_[i].inverted) inverted_bits_ |= leds_[i].line_mask;
    failed_ = false;
    opened_ = Open();
    return opened_;
}

void cLedDevice::Deactivate() {
    if (!opened_) return;
    // Driving an LED with nothing lit leaves it dark, inverted ones included.
    WriteOutputs(0, dark_on_close_ ? driven_bits_ : 0, 0);
    Close();
    opened_ = false;
}

void cLedDevice::BeginUpdate() {
    pending_lit_bits_ = 0;
    pending_driven_bits_ = 0;
    for (int32_t& on_time : pending_on_times_) on_time = 0;
    std::fill(std::begin(pending_states_), std::end(pending_states_), led_state::Undefined);
    pending_held_leds_ = 0;
}

void cLedDevice::SetLedState(int led, int8_t state, bool hold) {
    if (led < 0 || led >= led_count_) return;
    const led_descriptor& d = leds_[led];
    pending_driven_bits_ |= d.line_mask;
    if (led < kMaxLeds) {
        pending_states_[led] = state;
        if (hold) pending_held_leds_ |= static_cast<uint8_t>(1u << led);
    }

    auto set_on_times = [&](const int32_t* level_of_bit) {
        for (int k = 0; k < kOutputBits; ++k)
            if (d.line_mask & (1u << k))
                pending_on_times_[k] = level_of_bit[k] * level_period_ / 100;
    };
    if (d.per_state_levels) {
        // A colour the LED does not list lights nothing.
        for (int j = 0; j < d.state_count; ++j) {
            if (d.states[j] != state) continue;
            pending_lit_bits_ |= d.state_lines[j];
            set_on_times(d.levels[j]);
        }
    } else if (state != led_state::Undefined && state != led_state::Off) {
        pending_lit_bits_ |= d.line_mask;
        int32_t level[kOutputBits];
        std::fill(std::begin(level), std::end(level), d.level);
        set_on_times(level);
    }

    auto assign = [&](uint32_t& bits, bool member) { bits = member ? bits | d.line_mask : bits & ~d.line_mask; };
    assign(hold_bits_, hold);
    assign(blink_bits_, state == led_state::Blink);
    assign(blink_slow_bits_, state == led_state::BlinkSlow);
    assign(blink_fast_bits_, state == led_state::BlinkFast);
    assign(pulse_bits_, state == led_state::Pulse);
}

void cLedDevice::EndUpdate(bool apply) {
    lit_bits_ = pending_lit_bits_;
    driven_bits_ = pending_driven_bits_;
    for (int k = 0; k < kOutputBits; ++k) on_times_[k].store(pending_on_times_[k], std::memory_order_relaxed);
    std::copy(std::begin(pending_states_), std::end(pending_states_), std::begin(frame_states_));
    frame_held_leds_ = pending_held_leds_;
    if (apply) ApplyOutputs();
}

void cLedDevice::AdvancePhase() {
    phase_counter_ = (phase_counter_ + 1) % 16;
    ApplyOutputs();
}

void cLedDevice::ApplyOutputs() {
    uint32_t blank = 0;
    if (!PatternLit(led_state::Pulse, phase_counter_)) blank |= pulse_bits_;
    if (!PatternLit(led_state::BlinkFast, phase_counter_)) blank |= blink_fast_bits_;
    if (!PatternLit(led_state::Blink, phase_counter_)) blank |= blink_bits_;
    if (!PatternLit(led_state::BlinkSlow, phase_counter_)) blank |= blink_slow_bits_;
    WriteOutputs(lit_bits_, driven_bits_, blank);
}

int8_t cLedDevice::FrameState(int led) const {
    return led >= 0 && led < kMaxLeds ? frame_states_[led] : led_state::Undefined;
}

bool cLedDevice::FrameShowsLight(int led) const {
    const int8_t state = FrameState(led);
    if (state == led_state::Undefined || state == led_state::Off) return false;
    if (suspended_ && (frame_held_leds_ & (1u << led)) == 0) return false;
    return PatternLit(state, phase_counter_);
}

void cLedDevice::SetLevelControl(bool on) {
    if (!level_control_supported_) return;
    if (on != level_control_enabled_) {
        level_control_enabled_ = on;
        if (on)
            StartLevelControl();
        else
            StopLevelControl();
    }
    SaveCalibration();
}

void cLedDevice::ResetLevels() {
    for (int i = 0; i < led_count_ && i < kMaxLeds; ++i) {
        led_descriptor& d = leds_[i];
        d.level = 100;
        for (int j = 0; j < d.state_count; ++j)
            for (int k = 0; k < kOutputBits; ++k)
                if (d.state_lines[j] & (1u << k)) d.levels[j][k] = 100;
    }
}

led_descriptor* cLedDevice::GetLed(int index) {
    return index >= 0 && index < led_count_ && index < kMaxLeds ? &leds_[index] : nullptr;
}

const led_descriptor* cLedDevice::GetLed(int index) const {
    return const_cast<cLedDevice*>(this)->GetLed(index);
}

std::string cLedDevice::GetStateName(int led, int8_t state) const {
    const led_descriptor* d = GetLed(led);
    if (!d || !d->Lists(state)) return kInvalidForThisDevice;
    return StateCodeName(state);
}

namespace {
// Registry texts can be longer than the device's fields hold: keep the start.
std::string Cut(std::string_view text) { return std::string(text.substr(0, cLedDevice::kMaxTextLength)); }
}  // namespace

void cLedDevice::SetId(std::string_view text) { id_ = Cut(text); }
void cLedDevice::SetDescription(std::string_view text) { description_ = Cut(text); }
void cLedDevice::SetPath(std::string_view text) { path_ = Cut(text); }
void cLedDevice::SetManufacturerDeviceId(std::string_view text) { manufacturer_device_id_ = Cut(text); }

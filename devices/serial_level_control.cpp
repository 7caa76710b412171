// Level control: at the start of every level period the timer switches on
// each line that has an on-time, and a one-shot timer per line switches it
// off again when its on-time is over. The callbacks run on the multimedia
// timer thread and share only single words (on-times, the latest frame,
// pulse-width bits, one-shot IDs) with the main thread.

#include "devices/serial_led_device.h"
#include "devices/serial_lines.h"

using platform::TimerKind;

namespace {
constexpr uint32_t kResolutionMs = 1;
}  // namespace

void cSerialLedDevice::StartLevelControl() {
    // One periodic timer at most: a resume can ask twice (reopening the port
    // starts it, and so does the restart of a timer that ran before the suspend).
    // Without a port there is nothing to drive; Open starts it.
    if (periodic_id_ != 0 || !port_) return;
    periodic_id_ = timers_.SetEvent(static_cast<uint32_t>(level_period_), kResolutionMs, periodic_tick_,
                                    TimerKind::Periodic);
    if (periodic_id_ == 0) message_boxes_.ShowError("Error", "timeSetEvent failed");
}

void cSerialLedDevice::StopLevelControl() {
    if (periodic_id_ != 0) {
        timers_.KillEvent(periodic_id_);
        periodic_id_ = 0;
    }
    for (auto& id : one_shot_ids_)
        if (uint32_t running = id.exchange(0)) timers_.KillEvent(running);
    // The latest frame at full level.
    WriteLines(last_lit_, last_driven_, last_blank_);
}

bool cSerialLedDevice::IsLevelControlRunning() const { return periodic_id_ != 0; }

void cSerialLedDevice::OnPeriod() {
    pulse_width_bits_ = 0;
    for (int i = 0; i < kSerialLineCount; ++i) {
        // A late period can start before the last one-shot ended. That one has
        // nothing left to do, and forgotten it would outlive StopLevelControl.
        if (uint32_t pending = one_shot_ids_[i].exchange(0)) timers_.KillEvent(pending);
        const int32_t on_time = OnTime(i);
        if (on_time <= 0) continue;
        pulse_width_bits_ |= kSerialLines[i].bit;
        // A line whose one-shot cannot be made stays on for the whole period.
        if (on_time < level_period_)
            one_shot_ids_[i] =
                timers_.SetEvent(static_cast<uint32_t>(on_time), kResolutionMs, one_shot_end_, TimerKind::OneShot);
    }
    SetLines(pulse_width_bits_, last_driven_, last_blank_);
}

void cSerialLedDevice::OnOnTimeEnd(uint32_t timer_id) {
    for (int i = 0; i < kSerialLineCount; ++i) {
        if (one_shot_ids_[i] != timer_id) continue;
        pulse_width_bits_ &= ~kSerialLines[i].bit;
        one_shot_ids_[i] = 0;
    }
    SetLines(pulse_width_bits_, last_driven_, last_blank_);
}

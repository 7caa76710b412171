// Level control: while the frame shows a dimmed line, one periodic timer ticks
// every millisecond. At the first tick of each level period every line with an
// on-time goes on, and each goes off again at the tick where its on-time ends.
// While no line is dimmed, the frames write the lines themselves and no timer
// runs: a millisecond timer held all day keeps an idle machine awake.
// One periodic timer and no one-shots, because a synchronous kill of a
// periodic timer waits for a tick under way and no tick follows it: once the
// timer is stopped, no callback touches the device, whatever the port's
// writes cost. A one-shot that has already fired is no longer a timer that a
// kill can wait for. The timer thread shares only single words (on-times, the
// latest frame, the lines last written) with the main thread; only one of the
// two writes lines at a time, the timer while it runs, the frames otherwise.

#include "devices/serial_led_device.h"
#include "devices/serial_lines.h"

namespace {
constexpr uint32_t kTickMs = 1;
}  // namespace

void cSerialLedDevice::StartLevelControl() {
    // A resume can ask twice (reopening the port starts it, and so does the
    // restart of level control that ran before the suspend). Without a port
    // there is nothing to drive; Open starts it.
    if (level_control_on_ || !port_) return;
    level_control_on_ = true;
    timer_failure_shown_ = false;
    ShowLevels();
}

void cSerialLedDevice::StopLevelControl() {
    level_control_on_ = false;
    StopTimer();
    // The latest frame at full level.
    WriteLines(last_lit_, last_driven_, last_blank_);
}

bool cSerialLedDevice::IsLevelControlRunning() const { return level_control_on_; }

uint32_t cSerialLedDevice::LinesOnAt(int32_t ms) const {
    uint32_t lines = 0;
    for (int i = 0; i < kSerialLineCount; ++i)
        if (OnTime(i) > ms) lines |= kSerialLines[i].bit;
    return lines;
}

void cSerialLedDevice::ShowLevels() {
    const uint32_t driven = last_driven_;
    const uint32_t blank = last_blank_;
    const uint32_t dimmed = LinesOnAt(0) & ~LinesOnAt(level_period_ - 1);
    if (dimmed & driven & ~blank) {
        if (StartTimer()) return;
    } else {
        StopTimer();
    }
    // Every line on through the period or off; a dimmed line whose timer could not be made stays on.
    SetLines(OutputsOn(LinesOnAt(0), driven, blank), AllLinesDue(true));
}

bool cSerialLedDevice::StartTimer() {
    if (periodic_id_ != 0) return true;
    tick_in_period_ = 0;
    pulse_width_bits_ = 0;
    periodic_id_ = timers_.SetEvent(kTickMs, kTickMs, level_tick_);
    // Once per start of level control: frames ask for the timer eight times a second.
    if (periodic_id_ == 0 && !timer_failure_shown_) {
        timer_failure_shown_ = true;
        message_boxes_.ShowError("Error", "timeSetEvent failed");
    }
    return periodic_id_ != 0;
}

void cSerialLedDevice::StopTimer() {
    if (periodic_id_ == 0) return;
    timers_.KillEvent(periodic_id_);
    periodic_id_ = 0;
}

void cSerialLedDevice::OnLevelTick() {
    const int32_t ms = tick_in_period_;
    tick_in_period_ = ms + 1 < level_period_ ? ms + 1 : 0;
    pulse_width_bits_ = LinesOnAt(ms);
    // A line is written where its level changes: at most at the period's start and where its on-time ends.
    SetLines(OutputsOn(pulse_width_bits_, last_driven_, last_blank_), AllLinesDue(ms == 0));
}

// Level control: one periodic timer ticks every millisecond. At the first tick
// of each level period every line with an on-time goes on, and each goes off
// again at the tick where its on-time ends; a line at 0 or 100 percent is not
// written at all (but for one period a second). One periodic timer and no
// one-shots, because a synchronous kill of a periodic timer waits for a tick
// under way and no tick follows it: once StopLevelControl returned, no
// callback touches the device, whatever the port's writes cost. A one-shot
// that has already fired is no longer a timer that a kill can wait for.
// The timer thread shares only single words (on-times, the latest frame, the
// lines last written) with the main thread.

#include "devices/serial_led_device.h"
#include "devices/serial_lines.h"

namespace {
constexpr uint32_t kTickMs = 1;
// One period a second writes every line, so that a write the driver lost is repaired.
constexpr int32_t kPeriodsBetweenAllLines = 50;
}  // namespace

void cSerialLedDevice::StartLevelControl() {
    // One periodic timer at most: a resume can ask twice (reopening the port
    // starts it, and so does the restart of a timer that ran before the suspend).
    // Without a port there is nothing to drive; Open starts it.
    if (periodic_id_ != 0 || !port_) return;
    tick_in_period_ = 0;
    periods_since_all_ = 0;
    pulse_width_bits_ = 0;
    periodic_id_ = timers_.SetEvent(kTickMs, kTickMs, level_tick_);
    if (periodic_id_ == 0) message_boxes_.ShowError("Error", "timeSetEvent failed");
}

void cSerialLedDevice::StopLevelControl() {
    if (periodic_id_ != 0) {
        timers_.KillEvent(periodic_id_);
        periodic_id_ = 0;
    }
    // The latest frame at full level.
    WriteLines(last_lit_, last_driven_, last_blank_);
}

bool cSerialLedDevice::IsLevelControlRunning() const { return periodic_id_ != 0; }

void cSerialLedDevice::OnLevelTick() {
    const int32_t ms = tick_in_period_;
    tick_in_period_ = ms + 1 < level_period_ ? ms + 1 : 0;
    pulse_width_bits_ = 0;
    for (int i = 0; i < kSerialLineCount; ++i)
        if (OnTime(i) > ms) pulse_width_bits_ |= kSerialLines[i].bit;
    bool all = write_all_lines_.exchange(false);
    if (ms == 0 && ++periods_since_all_ >= kPeriodsBetweenAllLines) all = true;
    if (all) periods_since_all_ = 0;
    // A line is written where its level changes: at most at the period's start and where its on-time ends.
    SetLines(OutputsOn(pulse_width_bits_, last_driven_, last_blank_), all);
}

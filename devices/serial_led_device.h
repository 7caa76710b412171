#pragma once
// LEDs on the three output lines of a serial port: DTR, RTS and TXD (held
// through the break condition). Construction probes which modem inputs
// answer each line and recognises one of four LED modules; other ports get
// one plain LED per line. On standard ports a millisecond multimedia timer can
// dim the lines in 20 ms periods ("level control"), with levels calibrated
// per module kind.

#include "devices/detection_log.h"
#include "devices/led_device.h"
#include "devices/serial_port_registry.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/multimedia_timers.h"
#include "platform/registry.h"
#include "platform/serial_ports.h"
#include "settings/persistent_variables.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// The platform services a serial device needs, all owned elsewhere.
struct serial_led_services {
    platform::SerialPorts& ports;
    platform::MultimediaTimers& timers;
    platform::Registry& registry;
    platform::Clock& clock;
    platform::MessageBoxes& message_boxes;
};

class cSerialLedDevice final : public cLedDevice {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 256;

    // Opens port number port (COM1 to COM256) once, looks it up in the registry,
    // probes it and closes it again; IsPresent() then tells whether the port exists.
    // With a log, a port that opens writes its detection-log block there.
    cSerialLedDevice(const serial_led_services& services, int port, cDetectionLog* log = nullptr);
    ~cSerialLedDevice() override;

    bool Open() override;
    void Close() override;
    void Suspend() override;
    void Resume() override;
    void StartLevelControl() override;
    void StopLevelControl() override;
    bool IsLevelControlRunning() const override;
    void SaveCalibration() override;
    void LoadCalibration() override;
    void WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) override;

    // Prolific PL-2303 adapters need closing and reopening after the system wakes.
    bool IsProlific() const;
    // The per-user "ProlificResumeFix" setting that the configuration window shows.
    cPersistentBool& ResumeFix() { return resume_fix_; }

    int PortNumber() const { return port_number_; }
    uint8_t PortType() const { return port_type_; }
    // "DeviceDesc" of the port's registry instance, or "-" when it has none.
    const std::string& DeviceDesc() const { return device_desc_; }
    // "PT_UNKNOWN" .. "PT_BLUETOOTH_COM" for 0 to 3, "Undefined" otherwise.
    static const char* PortTypeName(int type);

private:
    struct LevelTick final : platform::TimerCallback {
        explicit LevelTick(cSerialLedDevice& d) : device(d) {}
        void OnTimer(uint32_t) override { device.OnLevelTick(); }
        cSerialLedDevice& device;
    };

    platform::SerialPorts::OpenResult OpenPort() const;
    void LookUpPort();
    int16_t Probe(platform::SerialPort& port);
    uint32_t ReadModemInputs(platform::SerialPort& port);
    void WaitForAdapter();
    void SetUpLeds();
    void WriteLogLines(cDetectionLog& log) const;

    // Sets the lines for a frame and records the frame as the lines now show it.
    void WriteLines(uint32_t lit, uint32_t driven, uint32_t blank);
    // Switches the lines whose level differs from what was last written, or all
    // three; the timer thread uses this too.
    void SetLines(uint32_t on, bool all);
    // Whether the next write sets all three lines: after the port opened or the
    // system woke, and (where may_repair) once a second, so that a write the driver lost is repaired.
    bool AllLinesDue(bool may_repair);
    // The lines whose on-time lasts beyond ms into the level period.
    uint32_t LinesOnAt(int32_t ms) const;
    // Shows the latest frame under level control: through the timer while a
    // line it shows is dimmed, else written directly with no timer running.
    void ShowLevels();
    bool StartTimer();
    void StopTimer();
    void OnLevelTick();

    platform::SerialPorts& ports_;
    platform::MultimediaTimers& timers_;
    platform::Registry& registry_;
    platform::Clock& clock_;
    platform::MessageBoxes& message_boxes_;
    LevelTick level_tick_{*this};

    int port_number_;
    cPersistentBool resume_fix_;
    // The latest frame; the timer thread reads it, the main thread writes it.
    std::atomic<uint32_t> last_lit_ = 0;
    std::atomic<uint32_t> last_driven_ = 0;
    std::atomic<uint32_t> last_blank_ = 0;
    // Touched by the timer thread only while the timer runs.
    int32_t tick_in_period_ = 0;    // milliseconds since the level period began
    uint32_t pulse_width_bits_ = 0;  // the lines the timer holds on
    // The lines as last written, and whether the next write must set all three
    // (the port was opened or the system woke up); both threads write lines,
    // the timer only while it runs.
    std::atomic<uint32_t> lines_on_ = 0;
    std::atomic<bool> write_all_lines_ = false;
    uint32_t all_lines_written_at_ = 0;  // tick count of the latest write of all three lines
    bool level_control_on_ = false;     // started and not stopped; the timer runs only while a line is dimmed
    bool timer_failure_shown_ = false;  // since level control started
    bool timer_was_running_ = false;    // level control ran when the system went to sleep
    uint32_t periodic_id_ = 0;
    std::unique_ptr<platform::SerialPort> port_;  // null while closed
    uint8_t port_type_ = PT_UNKNOWN;
    cPersistentInteger probe_delay_;
    std::string device_desc_ = "-";
};

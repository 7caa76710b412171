#pragma once
// The base of everything that shows LED states. It turns the engine's frames
// of LED states into output bits, blanks them in the shared 16-tick blink and
// pulse rhythm, holds chosen LEDs lit through a suspend, and carries the
// identity the device list shows. A subclass adds the hardware: how output
// bits reach it, how it opens and closes, and optionally level control.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int kMaxLeds = 4;
inline constexpr int kMaxLedStates = 14;
// Room for every LED of a device to be a full-colour one, three output bits each.
inline constexpr int kColourChannels = 3;
inline constexpr int kOutputBits = kMaxLeds * kColourChannels;

struct led_descriptor {
    uint16_t line_mask = 0;    // the output bits of this LED
    uint16_t state_count = 0;  // how many entries of states are used
    int8_t states[kMaxLedStates] = {};
    uint16_t state_lines[kMaxLedStates] = {};  // per listed state: the output bits it lights
    int32_t levels[kMaxLedStates][kOutputBits] = {};  // percent, per listed state and output bit
    bool inverted = false;          // lit while its outputs rest, dark while driven
    bool per_state_levels = false;  // full-colour LEDs mix colours from per-state levels
    int32_t level = 0;              // percent, for LEDs without per-state levels

    // Appends a supported state that lights the given output bits.
    void AddState(int8_t state, uint16_t lines);
    bool Lists(int8_t state) const;
    // The output bit of the LED's channel-th bit (red, green, blue of a full-colour LED),
    // or -1 when its line mask has fewer bits.
    int ChannelBit(int channel) const;
};

// How sure the enumeration is that a device carries LEDs; higher is a better first choice.
namespace classification {
inline constexpr uint8_t NotClassified = 0;
inline constexpr uint8_t SerialAnswersSeveral = 1;
inline constexpr uint8_t SerialPlain = 2;
inline constexpr uint8_t KeyboardByDriver = 3;
inline constexpr uint8_t SerialModule = 4;
inline constexpr uint8_t UsbLight = 4;  // a known light, as sure a choice as a recognised module
}  // namespace classification

class cLedDevice {
public:
    explicit cLedDevice(int led_count);
    // Subclasses call Deactivate in their own destructor, while their overrides still exist.
    virtual ~cLedDevice() = default;
    cLedDevice(const cLedDevice&) = delete;
    cLedDevice& operator=(const cLedDevice&) = delete;

    // The hardware operations, overridden by the device kinds.
    virtual bool Open();
    virtual void Close();
    virtual std::string GetLedName(int index) const;
    virtual void Suspend();
    virtual void Resume();
    virtual void StartLevelControl();
    virtual void StopLevelControl();
    virtual bool IsLevelControlRunning() const;
    virtual void SaveCalibration();
    virtual void LoadCalibration();
    // Writes the outputs: a driven bit k is on when bit k of ((lit & ~blank) ^ inverted bits)
    // is set. Does nothing while suspended.
    virtual void WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank);

    // Makes the device ready to show frames; false when the hardware could not be opened.
    bool Activate();
    // Leaves the outputs at rest (or every driven LED dark after MarkSessionEnd) and closes.
    void Deactivate();

    // One frame: BeginUpdate, SetLedState per LED, EndUpdate.
    void BeginUpdate();
    void SetLedState(int led, int8_t state, bool hold);
    void EndUpdate(bool apply);
    // One tick of the blink and pulse rhythm.
    void AdvancePhase();
    void ApplyOutputs();

    void MarkSessionEnd() { dark_on_close_ = true; }
    void SetLevelControl(bool on);
    void ResetLevels();

    // The LED's description, or null when index is not an LED of this device.
    led_descriptor* GetLed(int index);
    const led_descriptor* GetLed(int index) const;
    std::string GetStateName(int led, int8_t state) const;

    int LedCount() const { return led_count_; }
    const std::string& Id() const { return id_; }
    const std::string& Description() const { return description_; }
    const std::string& Path() const { return path_; }
    const std::string& ManufacturerDeviceId() const { return manufacturer_device_id_; }
    int16_t HardwareId() const { return hardware_id_; }
    uint8_t Classification() const { return classification_; }
    bool IsPresent() const { return present_; }
    // A write to the hardware failed since the device was last activated (a USB light was unplugged).
    bool HasFailed() const { return failed_; }
    bool IsOpened() const { return opened_; }
    bool IsSuspended() const { return suspended_; }
    bool LevelControlSupported() const { return level_control_supported_; }
    bool LevelControlEnabled() const { return level_control_enabled_; }
    uint32_t LitBits() const { return lit_bits_; }
    uint32_t DrivenBits() const { return driven_bits_; }
    uint32_t HoldBits() const { return hold_bits_; }
    uint32_t InvertedBits() const { return inverted_bits_; }
    // The last frame as given, whatever the device makes of it: the LED's state (Undefined
    // when the frame left it out), and whether that state shows light now, in the blink and
    // pulse rhythm and through a suspend.
    int8_t FrameState(int led) const;
    bool FrameShowsLight(int led) const;
    int32_t OnTime(int output_bit) const { return on_times_[output_bit].load(std::memory_order_relaxed); }

    // Device texts are at most this long; longer ones are cut.
    static constexpr std::size_t kMaxTextLength = 199;

protected:
    void SetId(std::string_view text);
    void SetDescription(std::string_view text);
    void SetPath(std::string_view text);
    void SetManufacturerDeviceId(std::string_view text);
    void ReportFailure() { failed_ = true; }
    // What a writing implementation of WriteOutputs records of the frame it wrote.
    void RecordOutputs(uint32_t lit, uint32_t driven) {
        lit_bits_ = lit;
        driven_bits_ = driven;
    }
    // The output bits that WriteOutputs turns on.
    uint32_t OutputsOn(uint32_t lit, uint32_t driven, uint32_t blank) const {
        return ((lit & ~blank) ^ inverted_bits_) & driven;
    }

    led_descriptor leds_[kMaxLeds];
    int32_t level_period_ = 0;  // milliseconds; level control runs only where it is not 0
    bool suspended_ = false;
    int led_count_;
    bool present_ = true;
    int16_t hardware_id_ = 0;
    uint8_t classification_ = classification::NotClassified;
    bool level_control_supported_ = false;
    bool level_control_enabled_ = false;
    // Read by the level-control timer thread while the main thread writes frames.
    std::atomic<int32_t> on_times_[kOutputBits] = {};

private:
    uint32_t lit_bits_ = 0;
    uint32_t hold_bits_ = 0;
    uint32_t driven_bits_ = 0;
    uint32_t saved_lit_bits_ = 0;
    uint32_t inverted_bits_ = 0;
    bool opened_ = false;
    bool failed_ = false;
    std::string manufacturer_device_id_;
    std::string id_;
    std::string description_;
    std::string path_;
    bool dark_on_close_ = false;
    uint32_t pending_lit_bits_ = 0;
    int8_t pending_states_[kMaxLeds] = {};
    int8_t frame_states_[kMaxLeds] = {};
    uint8_t pending_held_leds_ = 0;  // bit i: LED i keeps its light through a suspend
    uint8_t frame_held_leds_ = 0;
    uint32_t pending_driven_bits_ = 0;
    // The frame's on-times, built aside so the timer never sees a half-built frame.
    int32_t pending_on_times_[kOutputBits] = {};
    int32_t phase_counter_ = 0;
    uint32_t blink_slow_bits_ = 0;
    uint32_t blink_bits_ = 0;
    uint32_t blink_fast_bits_ = 0;
    uint32_t pulse_bits_ = 0;
};

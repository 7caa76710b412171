#pragma once
// The Calibration tab: the levels of the current device's LEDs, edited on
// three bars (output bits 0, 1 and 2, or an LED's single level on the middle
// bar). Every edit changes the device at once and previews the colour on the
// LED for 5 s; the calibration reaches the registry 3 s after the last edit.

#include "app/control_views.h"
#include "engine/led_engine.h"
#include "platform/window_timers.h"

#include <array>
#include <cstdint>
#include <vector>

// What the Calibration tab shows.
struct calibration_view {
    bool tab_shown = false;
    combo_view leds;                    // ComboBox3: the LEDs of the device
    combo_view colours;                 // ComboBox2: the supported states of the chosen LED
    bool colour_label_enabled = true;   // Label15 ("Color")
    std::array<bar_view, 3> bars = {};  // TrackBar1/Label1, TrackBar2/Label2, TrackBar3/Label4
};

class cCalibrationEditor {
public:
    static constexpr uint32_t kPreviewMs = 5000;

    cCalibrationEditor(cLedEngine& engine, platform::WindowTimers& timers) : engine_(engine), timers_(timers) {}

    // Refills the tab from the current device (the tab shows only while its level control
    // is on). Changes the bars without reporting them as edits.
    void Fill();
    // Sets the bars to the levels of led in colour. With report_edits, every bar whose
    // position this changes counts as edited, as a bar moved by the user does.
    void ShowCalibration(int led, int8_t colour, bool report_edits);

    // The LED list's item index was chosen: the tab shows that LED, which shows the chosen
    // colour for 5 s; the save delay is not restarted.
    void ChooseLed(int index);
    // The colour list's item index was chosen: the bars show that colour's levels.
    void ChooseColour(int index);
    // Bar 0, 1 or 2 was moved to position: the level changes in the device at once, is
    // previewed and saved 3 s after the last edit.
    void MoveBar(int bar, int position);

    // Timer2: saves the current device's calibration once.
    void Timer2Timer();
    // Saves at once when an edit waits for its save (the window closes, the device changes).
    void SavePending();
    bool IsSavePending() const { return save_pending_; }

    int CalibrationLed() const { return calibration_led_; }
    int8_t CalibrationColour() const { return calibration_colour_; }
    const calibration_view& View() const { return view_; }

private:
    void PreviewCalibration();
    void SetBar(int bar, int position);

    cLedEngine& engine_;
    platform::WindowTimers& timers_;
    int calibration_led_ = 0;
    int8_t calibration_colour_ = 2;  // "On"
    bool save_pending_ = false;      // Timer2 runs
    std::vector<int8_t> colour_codes_;  // item data of the colour list
    calibration_view view_;
};

#pragma once
// The main window (fMain) without its window: start-up, the tick, the close
// rule and the configuration window's rules. It owns the Windows version
// probe, the LED engine, "EnableHiddenEvents", the event dialog's and the
// suspend notice's models. The form renders View() after every operation and
// turns each control notification into the operation of the same name;
// rendering never reports changes back (check boxes, bars and lists notify
// only the user's own changes).

#include "app/app_services.h"
#include "app/calibration_editor.h"
#include "app/control_views.h"
#include "app/event_dialog_model.h"
#include "app/suspend_notice.h"
#include "app/tray_panel.h"
#include "engine/led_engine.h"
#include "sensors/windows_version.h"
#include "settings/persistent_variables.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The configuration window's tabs, in their order.
enum class config_page { Leds, Device, Calibration, RnD, About };

// One row of the relation list.
struct relation_row {
    std::string event;     // the event's name
    std::string led;       // the device's name of the LED
    std::string state;     // the state's name, or "Invalid for this device"
    std::string priority;  // the priority's name
    bool marked = false;   // image 0 (the check mark) while the event is active, no image otherwise
};

// What every control of the main window shows (the Calibration tab apart:
// cCalibrationEditor::View). Counters tell the form what
// to apply once: rows when rows_generation moved, marks when marks_generation
// moved, the selection (and list focus) when selection_generation moved, the
// active tab when page_generation moved.
struct main_window_view {
    bool enabled = true;                  // false while the event dialog is open
    std::string font_name = "MS Sans Serif";  // of all three windows, the link labels and Label11

    // LEDs tab
    std::vector<relation_row> rows;
    uint32_t rows_generation = 0;
    uint32_t marks_generation = 0;
    int selected_row = -1;  // -1: no row
    uint32_t selection_generation = 0;

    // Device tab
    combo_view devices;         // ComboBox1
    bool refresh_devices_enabled = true;
    check_view prolific_fix;    // CheckBox2
    check_view level_control;   // CheckBox3
    check_view tray_lights;     // CheckBoxTrayLights
    check_view kodi_source;     // CheckBoxKodi
    std::string kodi_status;    // LabelKodiStatus: how following Kodi goes, up to two lines

    // R&D tab
    bool rnd_tab_shown = false;
    check_view hidden_events;   // CheckBox1
    std::string classification;          // StaticText4
    std::string hardware_id;             // StaticTextHardwareID
    std::string manufacturer_device_id;  // StaticText6
    bool suspend_enabled = true;      // ButtonSuspend
    bool resume_enabled = false;      // ButtonResume
    bool end_session_enabled = true;  // ButtonEndSession
    std::string build_stamp;          // Label9

    // About tab
    std::string version = "version";  // Label12
    std::string web_site_text;        // Label17
    std::string forum_text;           // Label16
    std::string mail_text;            // Label7

    // The tray icon: its picture and tip (cMainWindowModel::Tray) to send when tray_generation moved.
    uint32_t tray_generation = 0;

    config_page active_page = config_page::Leds;
    uint32_t page_generation = 0;
};

class cMainWindowModel final : private cEventDialogOwner {
public:
    static constexpr uint32_t kNotifyIconMessage = 0x87CD;
    // A later start of the program in this Windows session hands itself over
    // with this message; wParam is 1 when it was asked for the detection log.
    static constexpr uint32_t kSecondStartMessage = 0x87CE;
    static constexpr const char* kCaption = "Glimmerbox configuration";
    static constexpr const char* kTrayTip = "Glimmerbox";

    // Builds the Windows version probe, the engine (registered with windows.main),
    // "EnableHiddenEvents" and the dialogs' models. Nothing is shown or opened yet.
    // The services and the windows outlive the model.
    cMainWindowModel(const app_services& services, const app_windows& windows);
    // Stops both timers; then the engine leaves its devices at rest.
    ~cMainWindowModel();
    cMainWindowModel(const cMainWindowModel&) = delete;
    cMainWindowModel& operator=(const cMainWindowModel&) = delete;

    // The rest of the start-up: the command line (arguments[0] is the program's path),
    // which may end the program with the exit code returned, before any device is opened
    // or the user events are reset; then user events reset, relations, device detection,
    // the initial device, RefreshWindow, add_tray_icon, Timer1, the LEDs tab and the
    // event dialog's lists. Before the user events are reset, hand_over(log_detect)
    // may give the start to a program already running in this Windows session: true
    // when that one took it, and the start ends with exit_code::HandedOver.
    std::optional<int> Start(std::span<const std::string> arguments, const std::function<void()>& add_tray_icon,
                             const std::function<bool(bool log_detect)>& hand_over = {});

    // WM_TIMER of the main window: Timer1Timer or Timer2Timer by id.
    void WMTimer(uint32_t id);
    // The tick: the engine's Tick, then the activity marks, Kodi's status and the tray icon.
    void Timer1Timer();
    // Saves the calibration edits once they rested 3 s.
    void Timer2Timer();
    // Refills every control from the engine and the current device.
    void RefreshWindow();
    // Marks the rows whose event is active, when the event set changed since last drawn.
    void UpdateActivityMarks();

    // LEDs tab. selected_row is the list's selected row, -1 for none.
    void ButtonAddClick() { NewRelation(); }     // "Add"
    void NewRelation();                          // appends a relation and opens the dialog on it
    void ListView1DblClick(int selected_row);    // edits the row's relation in the dialog
    void ButtonDeleteClick(int selected_row);    // deletes the row's relation and saves
    void Button2Click();                         // "Default": asks, then loads and saves the defaults

    // Device tab.
    void ComboBox1Change(int index);             // opens the chosen device and stores its ID
    void ButtonRefreshDevicesClick();            // enumerates anew and reopens the stored device
    void CheckBox2Click(bool checked);           // the serial device's "ProlificResumeFix"
    void CheckBox3Click(bool checked);           // switches the device's level control
    void CheckBoxTrayLightsClick(bool checked);  // "TrayLights": the LEDs in the tray icon, or the plain icon
    void CheckBoxKodiClick(bool checked);        // follows Kodi or stops: "KodiSource"

    // Calibration tab.
    void ComboBox3Change(int index);             // LED chosen: previews its colour
    void ComboBox2Change(int index);             // colour chosen: shows its levels
    void TrackBar1Change(int position);          // level of output bit 0
    void TrackBar2Change(int position);          // level of output bit 1, or the LED's single level
    void TrackBar3Change(int position);          // level of output bit 2

    // R&D tab.
    void CheckBox1Click(bool checked);           // "Enable hidden events"
    void Panel1DblClick();                       // shows or hides the R&D tab
    void ButtonSuspendClick();                   // the engine as if the system suspended
    void ButtonResumeClick();                    // the engine as if the system resumed automatically
    void ButtonEndSessionClick();                // the engine as if the Windows session ended
    void Button1Click();                         // "CommConfig": the port dialog of COM256

    // About tab.
    void Label17Click();                         // the web site
    void Label16Click();                         // the forum
    void Label7Click();                          // a mail to the maker

    // Showing, hiding and closing.
    void ButtonOkClick();                        // hides the window
    void MenuConfigureClick();                   // shows the window (FormShow) and brings it to the front
    void PopupMenu1Popup();                      // brings the window to the front as the tray menu opens
    void MenuExitClick();                        // lets the next close through; the form then closes
    bool FormCloseQuery();                       // the close rule: false (window hidden) or true
    void FormClose();                            // the window closes for good: the program ends

    // Window messages. A session change that arrives while the model is being built
    // may be dropped: construction counts the sessions itself.
    // WM_ENDSESSION: when the session really ends (ending), the program ends with its LEDs
    // dark; a session end that was cancelled changes nothing.
    void WMEndSession(bool ending);
    void WMPowerBroadcast(const platform::PowerEvent& power_event);
    void WMSessionChange(const platform::SessionChange& change);
    // A later start handed over: the window shows as "Configure" shows it. With
    // LOGDETECT the devices are first enumerated anew into the detection log, as
    // every later "Refresh devices" then is; not while the event dialog is open.
    void WMSecondStart(bool log_detect);

    // Set once the program ends: what was pending is stored and the tick is stopped. Nothing is
    // freed then, as a handler that showed a box may still run below; the owner tears the model
    // down once its outermost message loop has returned.
    bool Ended() const { return ended_; }
    // Runs at once, before an operation that takes a while, to draw the view as it stands.
    void OnDrawNow(std::function<void()> draw) { draw_now_ = std::move(draw); }

    const main_window_view& View() const { return view_; }
    // The Calibration tab and its save delay.
    const cCalibrationEditor& Calibration() const { return calibration_; }
    const cTrayPanel& Tray() const { return tray_; }
    cLedEngine& Engine() { return engine_; }
    cEventDialogModel& EventDialog() { return event_dialog_; }
    cSuspendNotice& SuspendNotice() { return suspend_notice_; }
    bool LogDetect() const { return log_detect_; }
    int EditIndex() const { return edit_index_; }
    uint32_t ShownEventSet() const { return shown_event_set_; }

private:
    void EventDialogClosed() override;
    void End(bool session_ends);
    void FormShow();
    void DetectDevices();
    void FillDeviceList();
    void SelectCurrentDevice();
    void OpenInitialDevice();
    void OpenEditor(int row, const char* caption);
    void SelectRow(int row);
    void UpdateTray();
    void ShowKodiStatus();

    app_services services_;
    app_windows windows_;
    cWindowsVersion windows_version_;
    bool updating_ = false;
    bool exit_requested_ = false;
    bool ended_ = false;
    int edit_index_ = 0;
    bool log_detect_ = false;
    uint32_t shown_event_set_ = 0;
    std::optional<kodi_status> shown_kodi_status_;
    std::string shown_kodi_version_;
    cLedEngine engine_;
    cPersistentBool enable_hidden_events_;
    cPersistentBool tray_lights_;
    cTrayPanel tray_;
    cCalibrationEditor calibration_;
    cSuspendNotice suspend_notice_;
    cEventDialogModel event_dialog_;
    main_window_view view_;
    std::function<void()> draw_now_;
};

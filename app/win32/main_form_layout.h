#pragma once
// The configuration window as designed: every control with its caption and
// its place, the tabs in their order and the relation list's columns.

#include "app/win32/form.h"

#include <cstdint>

// The configuration window's controls by their designer names, in the table's order.
enum class MainControl : uint8_t {
    PageControl1, TabSheet1, TabSheet2, TabSheet3, TabSheet5, TabSheet4, ButtonOk, Panel1, ListView1, Button2,
    ButtonAdd, ButtonDelete, Label3, ComboBox1, ButtonRefreshDevices, CheckBox3, CheckBox2, Label10, ComboBox3,
    Label15, ComboBox2, TrackBar1, Label1, TrackBar2, Label2, TrackBar3, Label4, CheckBox1, Label5, StaticText4,
    Label8, StaticTextHardwareID, StaticText6, ButtonSuspend, ButtonResume, Button1, ButtonEndSession, Label9,
    Label11, Label12, Label18, Label19, Label20, Label17, Label16, Label7, CheckBoxTrayLights, CheckBoxKodi,
    LabelKodiStatus,
};

namespace main_layout {

// Page numbers of the tabs, in the order the tabs stand.
inline constexpr int kLedsPage = 0;
inline constexpr int kDevicePage = 1;
inline constexpr int kCalibrationPage = 2;
inline constexpr int kResearchPage = 3;
inline constexpr int kAboutPage = 4;

extern const form_table kForm;

struct list_column {
    const char* caption;
    int width;  // pixels at 96 dpi; 0 fills what the others leave, up to kMaxFillWidth
    int format;
};
inline constexpr int kMaxFillWidth = 150;
extern const list_column kColumns[4];

}  // namespace main_layout

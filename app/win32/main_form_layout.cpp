#include "app/win32/main_form_layout.h"

#include "app/links.h"
#include "app/main_window_model.h"

#include <commctrl.h>

namespace main_layout {

namespace {

using enum ControlKind;
constexpr int kLeds = kLedsPage, kDevice = kDevicePage, kCalibration = kCalibrationPage, kResearch = kResearchPage,
              kAbout = kAboutPage;
constexpr DWORD kDisabled = WS_DISABLED;

using enum MainControl;

constexpr control_row kControls[] = {
    {Tabs, PageControl1, "PageControl1", "", 8, 8, 337, 297},
    {Page, TabSheet1, "TabSheet1", "LEDs", 0, 0, 0, 0, kLeds},
    {Page, TabSheet2, "TabSheet2", "Device", 0, 0, 0, 0, kDevice},
    {Page, TabSheet3, "TabSheet3", "Calibration", 0, 0, 0, 0, kCalibration},
    {Page, TabSheet5, "TabSheet5", "R&&D", 0, 0, 0, 0, kResearch},
    {Page, TabSheet4, "TabSheet4", "About", 0, 0, 0, 0, kAbout},
    {Button, ButtonOk, "ButtonOk", "OK", 280, 312, 59, 25},
    {HotSpot, Panel1, "Panel1", "", 336, 327, 17, 17},

    {ReportList, ListView1, "ListView1", "", 16, 16, 297, 209, kLeds},
    {Button, Button2, "Button2", "Default", 16, 232, 65, 25, kLeds},
    {Button, ButtonAdd, "ButtonAdd", "Add", 176, 232, 65, 25, kLeds},
    {Button, ButtonDelete, "ButtonDelete", "Delete", 248, 232, 65, 25, kLeds},

    {Label, Label3, "Label3", "LED device", 16, 80, 0, 0, kDevice},
    {DropDownList, ComboBox1, "ComboBox1", "", 16, 96, 297, 21, kDevice},
    {Button, ButtonRefreshDevices, "ButtonRefreshDevices", "Refresh devices", 120, 144, 89, 25, kDevice},
    {CheckBox, CheckBox3, "CheckBox3", "Enable color/intensity control", 16, 216, 193, 17, kDevice},
    {CheckBox, CheckBox2, "CheckBox2", "Enable Prolific PL-2303 USB-to-serial resume fix.", 16, 232, 281, 17, kDevice},

    {Label, Label10, "Label10", "LED", 72, 24, 0, 0, kCalibration},
    {DropDownList, ComboBox3, "ComboBox3", "", 72, 40, 89, 21, kCalibration},
    {Label, Label15, "Label15", "Color", 168, 24, 0, 0, kCalibration},
    {DropDownList, ComboBox2, "ComboBox2", "", 168, 40, 89, 21, kCalibration},
    // The value labels end at 256, above the right end of their bars.
    {TrackBar, TrackBar1, "TrackBar1", "", 64, 96, 201, 33, kCalibration},
    {Label, Label1, "Label1", "-", 216, 80, 40, 0, kCalibration, SS_RIGHT},
    {TrackBar, TrackBar2, "TrackBar2", "", 64, 152, 201, 33, kCalibration},
    {Label, Label2, "Label2", "-", 216, 136, 40, 0, kCalibration, SS_RIGHT},
    {TrackBar, TrackBar3, "TrackBar3", "", 64, 208, 201, 33, kCalibration},
    {Label, Label4, "Label4", "-", 216, 192, 40, 0, kCalibration, SS_RIGHT},

    {CheckBox, CheckBox1, "CheckBox1", "Enable hidden events", 16, 22, 145, 17, kResearch},
    {Label, Label5, "Label5", "Classification :", 176, 24, 0, 0, kResearch},
    {FramedText, StaticText4, "StaticText4", "", 272, 24, 41, 17, kResearch},
    {Label, Label8, "Label8", "Hardware ID :", 178, 40, 0, 0, kResearch},
    {FramedText, StaticTextHardwareID, "StaticTextHardwareID", "", 272, 40, 41, 17, kResearch},
    {FramedText, StaticText6, "StaticText6", "", 200, 64, 113, 17, kResearch},
    {Button, ButtonSuspend, "ButtonSuspend", "Suspend", 7, 216, 75, 25, kResearch},
    {Button, ButtonResume, "ButtonResume", "Resume", 87, 216, 75, 25, kResearch, kDisabled},
    {Button, Button1, "Button1", "CommConfig", 168, 216, 75, 25, kResearch},
    {Button, ButtonEndSession, "ButtonEndSession", "End session", 248, 216, 75, 25, kResearch},
    {Label, Label9, "Label9", "", 0, 248, 329, 0, kResearch, SS_CENTER},

    {Label, Label11, "Label11", kApplicationTitle, 32, 16, 177, 33, kAbout, SS_RIGHT, TextFont::Title},
    {Label, Label12, "Label12", "version", 216, 31, 49, 0, kAbout},
    {Label, Label18, "Label18", "Web:", 64, 208, 41, 0, kAbout, SS_RIGHT},
    {Label, Label19, "Label19", "Forum:", 64, 224, 41, 0, kAbout, SS_RIGHT},
    {Label, Label20, "Label20", "E-Mail:", 64, 240, 41, 0, kAbout, SS_RIGHT},
    {Link, Label17, "Label17", links::kWebSiteText, 112, 208, 0, 0, kAbout, 0, TextFont::Link},
    {Link, Label16, "Label16", links::kForumText, 112, 224, 0, 0, kAbout, 0, TextFont::Link},
    {Link, Label7, "Label7", links::kMailAddress, 112, 240, 0, 0, kAbout, 0, TextFont::Link},

    {CheckBox, CheckBoxTrayLights, "CheckBoxTrayLights", "Show the LEDs in the tray icon", 16, 184, 193, 17, kDevice},
    {CheckBox, CheckBoxKodi, "CheckBoxKodi", "Follow Kodi on this computer", 16, 16, 193, 17, kDevice},
    // Two lines at most, above "LED device".
    {Label, LabelKodiStatus, "LabelKodiStatus", "", 32, 34, 289, 34, kDevice},
};
static_assert(IndexedById(kControls));

}  // namespace

const form_table kForm = {"TfMain", cMainWindowModel::kCaption, 353, 344, WS_EX_TOOLWINDOW, kControls};

const list_column kColumns[4] = {
    {"Event", 0, LVCFMT_LEFT},
    {"LED", 66, LVCFMT_CENTER},
    {"State", 65, LVCFMT_CENTER},
    {"Priority", 52, LVCFMT_CENTER},
};

}  // namespace main_layout

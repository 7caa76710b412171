#include "app/win32/main_form.h"

#include "app/main_timers.h"
#include "app/win32/dpi.h"
#include "app/win32/main_form_layout.h"
#include "app/win32/resources/resource_ids.h"
#include "app/win32/system_messages.h"

#include <iterator>
#include <wtsapi32.h>

namespace {

using Model = cMainWindowModel;
using namespace main_layout;
using enum MainControl;

// The tray icon's menu by its designer names.
enum class MenuItem : uint8_t { MenuConfigure, N1, MenuExit };
constexpr menu_item_row kMenuItems[] = {
    {MenuItem::MenuConfigure, "Configure"}, {MenuItem::N1, nullptr}, {MenuItem::MenuExit, "Exit"}};
static_assert(IndexedById(kMenuItems));

// Notifications that carry nothing the model needs.
struct plain_binding {
    MainControl control;
    UINT code;
    void (Model::*operation)();
};
constexpr plain_binding kPlainBindings[] = {
    {ButtonOk, BN_CLICKED, &Model::ButtonOkClick},
    {Panel1, STN_DBLCLK, &Model::Panel1DblClick},
    {ButtonAdd, BN_CLICKED, &Model::ButtonAddClick},
    {Button2, BN_CLICKED, &Model::Button2Click},
    {ButtonRefreshDevices, BN_CLICKED, &Model::ButtonRefreshDevicesClick},
    {ButtonSuspend, BN_CLICKED, &Model::ButtonSuspendClick},
    {ButtonResume, BN_CLICKED, &Model::ButtonResumeClick},
    {Button1, BN_CLICKED, &Model::Button1Click},
    {ButtonEndSession, BN_CLICKED, &Model::ButtonEndSessionClick},
    {Label17, STN_CLICKED, &Model::Label17Click},
    {Label16, STN_CLICKED, &Model::Label16Click},
    {Label7, STN_CLICKED, &Model::Label7Click},
};

// Choices in drop-down lists and moves of bars: the item index or the position.
struct index_binding {
    MainControl control;
    UINT code;
    void (Model::*operation)(int);
};
constexpr index_binding kIndexBindings[] = {
    {ComboBox1, CBN_SELCHANGE, &Model::ComboBox1Change},
    {ComboBox3, CBN_SELCHANGE, &Model::ComboBox3Change},
    {ComboBox2, CBN_SELCHANGE, &Model::ComboBox2Change},
    {TrackBar1, kTrackBarMoved, &Model::TrackBar1Change},
    {TrackBar2, kTrackBarMoved, &Model::TrackBar2Change},
    {TrackBar3, kTrackBarMoved, &Model::TrackBar3Change},
};

struct check_binding {
    MainControl control;
    void (Model::*operation)(bool);
};
constexpr check_binding kCheckBindings[] = {
    {CheckBox1, &Model::CheckBox1Click},
    {CheckBox2, &Model::CheckBox2Click},
    {CheckBox3, &Model::CheckBox3Click},
    {CheckBoxTrayLights, &Model::CheckBoxTrayLightsClick},
    {CheckBoxKodi, &Model::CheckBoxKodiClick},
};

// The calibration bars with their value labels, in output-bit order.
struct bar_controls {
    MainControl bar, label;
};
constexpr bar_controls kBars[] = {{TrackBar1, Label1}, {TrackBar2, Label2}, {TrackBar3, Label4}};

constexpr int kMarkSize = 16;
// Ticks between two tries to add an icon the shell refused: 2 s.
constexpr uint32_t kIconRetryTicks = 16;

}  // namespace

TfMain::TfMain() : Form(kForm), PopupMenu1(kMenuItems, MenuItem::MenuConfigure) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ImageList1.reset(ImageList_Create(kMarkSize, kMarkSize, ILC_COLOR32, 2, 0));
    // The list copies the strip, which is freed here.
    const owned_bitmap marks(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_RELATION_MARKS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ImageList_Add(ImageList1.get(), marks.get(), nullptr);
    icon_.reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_GLIMMERBOX), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    ShowPage(kResearchPage, false);
    BindNotifications();
}

// The tray icon goes first, then the window, while the icon and the image list
// they show still live; the members free those after.
TfMain::~TfMain() {
    NotifyIcon.reset();
    if (Handle()) DestroyWindow(Handle());
}

void TfMain::Attach(cMainWindowModel* model) { model_ = model; }

void TfMain::BindNotifications() {
    // The model exists only once all three windows do, so every handler looks it up when it runs.
    for (const plain_binding& binding : kPlainBindings) {
        Bind(binding.control, binding.code, [this, operation = binding.operation] {
            if (model_) (model_->*operation)();
        });
    }
    for (const index_binding& binding : kIndexBindings) {
        const bool bar = binding.code == kTrackBarMoved;
        Bind(binding.control, binding.code, [this, binding, bar] {
            if (model_) (model_->*binding.operation)(bar ? Position(binding.control) : Selection(binding.control));
        });
    }
    for (const check_binding& binding : kCheckBindings) {
        Bind(binding.control, BN_CLICKED, [this, binding] {
            if (model_) (model_->*binding.operation)(Checked(binding.control));
        });
    }
    Bind(ListView1, NM_DBLCLK, [this] {
        if (model_) model_->ListView1DblClick(SelectedRow());
    });
    Bind(ButtonDelete, BN_CLICKED, [this] {
        if (model_) model_->ButtonDeleteClick(SelectedRow());
    });
    PopupMenu1.OnPopup([this] {
        if (model_) model_->PopupMenu1Popup();
    });
    PopupMenu1.Bind(MenuItem::MenuConfigure, [this] {
        if (model_) model_->MenuConfigureClick();
    });
    PopupMenu1.Bind(MenuItem::MenuExit, [this] {
        if (!model_) return;
        model_->MenuExitClick();
        Close();
    });
}

void TfMain::AddNotifyIcon() {
    const std::string tip = model_ ? model_->Tray().Tip() : Model::kTrayTip;
    if (model_) tray_generation_ = model_->View().tray_generation;
    NotifyIcon = std::make_unique<cNotifyIcon>(tip, TrayIcon(), Handle(), NotifyIconMessage);
    NotifyIcon->SetPopupMenu(&PopupMenu1);
    NotifyIcon->SetDefaultItem([this] { PopupMenu1.Click(MenuItem::MenuConfigure); });
    NotifyIcon->Add();
}

void TfMain::Render() {
    if (!model_) return;
    const main_window_view& view = model_->View();
    EnableWindow(Handle(), view.enabled);
    SetFontName(view.font_name);
    RenderTray();
    if (!ControlsMade()) return;  // drawn in full when first shown
    RenderRelationList(view);

    ShowCombo(ComboBox1, view.devices);
    SetEnabled(ButtonRefreshDevices, view.refresh_devices_enabled);
    ShowCheck(CheckBox2, view.prolific_fix);
    ShowCheck(CheckBox3, view.level_control);
    ShowCheck(CheckBoxTrayLights, view.tray_lights);
    ShowCheck(CheckBoxKodi, view.kodi_source);
    SetText(LabelKodiStatus, view.kodi_status);
    RenderCalibration(model_->Calibration().View());

    ShowPage(kResearchPage, view.rnd_tab_shown);
    ShowCheck(CheckBox1, view.hidden_events);
    SetText(StaticText4, view.classification);
    SetText(StaticTextHardwareID, view.hardware_id);
    SetText(StaticText6, view.manufacturer_device_id);
    SetEnabled(ButtonSuspend, view.suspend_enabled);
    SetEnabled(ButtonResume, view.resume_enabled);
    SetEnabled(ButtonEndSession, view.end_session_enabled);
    SetText(Label9, view.build_stamp);

    SetText(Label12, view.version);
    SetText(Label17, view.web_site_text);
    SetText(Label16, view.forum_text);
    SetText(Label7, view.mail_text);

    if (page_generation_ != view.page_generation) {
        page_generation_ = view.page_generation;
        SelectPage(static_cast<int>(view.active_page));
    }
}

void TfMain::RenderCalibration(const calibration_view& view) {
    ShowPage(kCalibrationPage, view.tab_shown);
    ShowCombo(ComboBox3, view.leds);
    ShowCombo(ComboBox2, view.colours);
    SetEnabled(Label15, view.colour_label_enabled);
    for (std::size_t bar = 0; bar < std::size(kBars); ++bar) ShowBar(kBars[bar].bar, kBars[bar].label, view.bars[bar]);
}

HICON TfMain::TrayIcon() {
    HICON icon = model_ ? tray_icons_.Get(model_->Tray().Picture(), SmallIconSize(Handle())) : nullptr;
    return icon ? icon : icon_.get();
}

void TfMain::RenderTray() {
    if (!NotifyIcon || tray_generation_ == model_->View().tray_generation) return;
    tray_generation_ = model_->View().tray_generation;
    NotifyIcon->Modify(TrayIcon(), model_->Tray().Tip());
}

// The current picture, drawn for the icon size the shell asks for now.
void TfMain::RestoreTray() {
    NotifyIcon->Restore(TrayIcon(), model_->Tray().Tip());
}

void TfMain::OnCloseRequest() {
    if (!model_ || !model_->FormCloseQuery()) return;
    model_->FormClose();
    EndOnceModelEnded();
}

// The main form's end ends the outermost message loop. A box's loop that runs below this
// handler ends first and passes the quit on, so the handler that showed the box returns
// before anything is torn down.
void TfMain::EndOnceModelEnded() {
    if (model_->Ended()) PostQuitMessage(0);
}

// A tick changes no more than the activity marks and Kodi's status, which are all
// that is drawn then: the program idles in the tray at this pace.
void TfMain::OnTimer(UINT_PTR id) {
    if (!model_) return;
    model_->WMTimer(static_cast<uint32_t>(id));
    if (ControlsMade()) {
        RenderRelationList(model_->View());
        SetText(LabelKodiStatus, model_->View().kodi_status);
    }
    RenderTray();
    // A shell still busy at log-on refuses the icon without announcing itself later.
    if (id == main_timer::Timer1 && NotifyIcon && !NotifyIcon->Added() && ++ticks_without_icon_ % kIconRetryTicks == 0)
        NotifyIcon->Add();
}

std::optional<LRESULT> TfMain::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (!model_) return std::nullopt;
    switch (message) {
    case WM_QUERYENDSESSION: return model_->FormCloseQuery() ? TRUE : FALSE;
    case WM_ENDSESSION:
        // Everything the end must do before Windows ends the process happens in the model now.
        model_->WMEndSession(wparam != FALSE);
        EndOnceModelEnded();
        return 1;
    case WM_POWERBROADCAST:
        model_->WMPowerBroadcast(UnpackPowerBroadcast(wparam, lparam));
        // A shell may have dropped the icon while the system slept.
        if (NotifyIcon && (wparam == PBT_APMRESUMEAUTOMATIC || wparam == PBT_APMRESUMESUSPEND)) RestoreTray();
        return TRUE;
    case WM_WTSSESSION_CHANGE: model_->WMSessionChange(UnpackSessionChange(wparam, lparam)); return 0;
    case NotifyIconMessage: return NotifyIcon ? NotifyIcon->HandleMessage(wparam, lparam) : 0;
    case cMainWindowModel::kSecondStartMessage: model_->WMSecondStart(wparam != 0); return 0;
    default: break;
    }
    // Explorer started anew, with an empty notification area.
    if (message == cNotifyIcon::TaskbarCreatedMessage() && NotifyIcon) {
        RestoreTray();
        return 0;
    }
    return std::nullopt;
}

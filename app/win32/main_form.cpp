#include "app/win32/main_form.h"

#include "app/main_timers.h"
#include "app/win32/dpi.h"
#include "app/win32/main_form_layout.h"
#include "app/win32/resources/resource_ids.h"

#include <algorithm>
#include <array>
#include <wtsapi32.h>

namespace {

using Model = cMainWindowModel;
using namespace main_layout;

constexpr menu_item_row kMenuItems[] = {{"MenuConfigure", "Configure"}, {"N1", nullptr}, {"MenuExit", "Exit"}};

// Notifications that carry nothing the model needs.
struct plain_binding {
    const char* control;
    UINT code;
    void (Model::*operation)();
};
constexpr plain_binding kPlainBindings[] = {
    {"ButtonOk", BN_CLICKED, &Model::ButtonOkClick},
    {"Panel1", STN_DBLCLK, &Model::Panel1DblClick},
    {"ButtonAdd", BN_CLICKED, &Model::ButtonAddClick},
    {"Button2", BN_CLICKED, &Model::Button2Click},
    {"ButtonRefreshDevices", BN_CLICKED, &Model::ButtonRefreshDevicesClick},
    {"ButtonSuspend", BN_CLICKED, &Model::ButtonSuspendClick},
    {"ButtonResume", BN_CLICKED, &Model::ButtonResumeClick},
    {"Button1", BN_CLICKED, &Model::Button1Click},
    {"ButtonEndSession", BN_CLICKED, &Model::ButtonEndSessionClick},
    {"Label17", STN_CLICKED, &Model::Label17Click},
    {"Label16", STN_CLICKED, &Model::Label16Click},
    {"Label7", STN_CLICKED, &Model::Label7Click},
};

// Choices in drop-down lists and moves of bars: the item index or the position.
struct index_binding {
    const char* control;
    UINT code;
    void (Model::*operation)(int);
};
constexpr index_binding kIndexBindings[] = {
    {"ComboBox1", CBN_SELCHANGE, &Model::ComboBox1Change},
    {"ComboBox3", CBN_SELCHANGE, &Model::ComboBox3Change},
    {"ComboBox2", CBN_SELCHANGE, &Model::ComboBox2Change},
    {"TrackBar1", kTrackBarMoved, &Model::TrackBar1Change},
    {"TrackBar2", kTrackBarMoved, &Model::TrackBar2Change},
    {"TrackBar3", kTrackBarMoved, &Model::TrackBar3Change},
};

struct check_binding {
    const char* control;
    void (Model::*operation)(bool);
};
constexpr check_binding kCheckBindings[] = {
    {"CheckBox1", &Model::CheckBox1Click},
    {"CheckBox2", &Model::CheckBox2Click},
    {"CheckBox3", &Model::CheckBox3Click},
};

// The calibration bars with their value labels, in output-bit order.
constexpr std::array<std::array<const char*, 2>, 3> kBars = {{
    {"TrackBar1", "Label1"},
    {"TrackBar2", "Label2"},
    {"TrackBar3", "Label4"},
}};

constexpr int kMarkSize = 16;
// Ticks between two tries to add an icon the shell refused: 2 s.
constexpr uint32_t kIconRetryTicks = 16;

}  // namespace

TfMain::TfMain() : Form(kForm), PopupMenu1(kMenuItems, "MenuConfigure") {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ImageList1 = ImageList_Create(kMarkSize, kMarkSize, ILC_COLOR32, 2, 0);
    ImageList_Add(ImageList1,
                  static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_RELATION_MARKS), IMAGE_BITMAP, 0, 0,
                                                  LR_CREATEDIBSECTION)),
                  nullptr);
    icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_GLIMMERBOX), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    ShowPage(kResearchPage, false);
    BindNotifications();
}

TfMain::~TfMain() {
    NotifyIcon.reset();
    if (Handle()) DestroyWindow(Handle());
    if (ImageList1) ImageList_Destroy(ImageList1);
    if (icon_) DestroyIcon(icon_);
}

void TfMain::Attach(cMainWindowModel* model) { model_ = model; }

void TfMain::OnControlsMade() {
    HWND list = Control("ListView1");
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ImageList1));
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.fmt = kColumns[i].format;
        column.pszText = const_cast<char*>(kColumns[i].caption);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    OnLaidOut();
}

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
    Bind("ListView1", NM_DBLCLK, [this] {
        if (model_) model_->ListView1DblClick(SelectedRow());
    });
    Bind("ButtonDelete", BN_CLICKED, [this] {
        if (model_) model_->ButtonDeleteClick(SelectedRow());
    });
    PopupMenu1.OnPopup([this] {
        if (model_) model_->PopupMenu1Popup();
    });
    PopupMenu1.Bind("MenuConfigure", [this] {
        if (model_) model_->MenuConfigureClick();
    });
    PopupMenu1.Bind("MenuExit", [this] {
        if (!model_) return;
        model_->MenuExitClick();
        Close();
    });
}

void TfMain::AddNotifyIcon() {
    NotifyIcon = std::make_unique<cNotifyIcon>(Model::kTrayTip, icon_, Handle(), NotifyIconMessage);
    NotifyIcon->SetPopupMenu(&PopupMenu1);
    NotifyIcon->SetDefaultItem([this] { PopupMenu1.Click("MenuConfigure"); });
    NotifyIcon->Add();
}

int TfMain::SelectedRow() const {
    return static_cast<int>(SendMessageA(Control("ListView1"), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TfMain::OnLaidOut() {
    HWND list = Control("ListView1");
    if (!list) return;  // no controls yet
    for (int i = 1; i < static_cast<int>(std::size(kColumns)); ++i) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, ScaleForDpi(kColumns[i].width, Dpi()));
    }
    SizeEventColumn();
}

// The event column takes what the other columns leave of the list, up to its maximum.
void TfMain::SizeEventColumn() {
    HWND list = Control("ListView1");
    RECT client = {};
    GetClientRect(list, &client);
    int rest = client.right;
    for (int i = 1; i < static_cast<int>(std::size(kColumns)); ++i) {
        rest -= static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
    }
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, std::min(rest, ScaleForDpi(kMaxFillWidth, Dpi())));
}

void TfMain::Render() {
    if (!model_) return;
    const main_window_view& view = model_->View();
    EnableWindow(Handle(), view.enabled);
    SetFontName(view.font_name);
    if (!ControlsMade()) return;  // drawn in full when first shown
    RenderRelationList(view);

    ShowCombo("ComboBox1", view.devices);
    SetEnabled("ButtonRefreshDevices", view.refresh_devices_enabled);
    ShowCheck("CheckBox2", view.prolific_fix);
    ShowCheck("CheckBox3", view.level_control);
    RenderCalibration(model_->Calibration().View());

    ShowPage(kResearchPage, view.rnd_tab_shown);
    ShowCheck("CheckBox1", view.hidden_events);
    SetText("StaticText4", view.classification);
    SetText("StaticTextHardwareID", view.hardware_id);
    SetText("StaticText6", view.manufacturer_device_id);
    SetEnabled("ButtonSuspend", view.suspend_enabled);
    SetEnabled("ButtonResume", view.resume_enabled);
    SetEnabled("ButtonEndSession", view.end_session_enabled);
    SetText("Label9", view.build_stamp);

    SetText("Label12", view.version);
    SetText("Label17", view.web_site_text);
    SetText("Label16", view.forum_text);
    SetText("Label7", view.mail_text);

    if (page_generation_ != view.page_generation) {
        page_generation_ = view.page_generation;
        SelectPage(static_cast<int>(view.active_page));
    }
}

void TfMain::RenderRelationList(const main_window_view& view) {
    HWND list = Control("ListView1");
    if (rows_generation_ != view.rows_generation) {
        rows_generation_ = view.rows_generation;
        marks_generation_ = view.marks_generation;
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
        for (int row = 0; row < static_cast<int>(view.rows.size()); ++row) {
            const relation_row& relation = view.rows[row];
            LVITEMA item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = row;
            item.iImage = relation.marked ? 0 : -1;
            item.pszText = const_cast<char*>(relation.event.c_str());
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            const std::string* cells[] = {&relation.led, &relation.state, &relation.priority};
            for (int column = 1; column <= 3; ++column) {
                item.mask = LVIF_TEXT;
                item.iSubItem = column;
                item.pszText = const_cast<char*>(cells[column - 1]->c_str());
                SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            }
        }
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        SizeEventColumn();  // a scroll bar may have come or gone
        InvalidateRect(list, nullptr, TRUE);
    }
    if (marks_generation_ != view.marks_generation) {
        marks_generation_ = view.marks_generation;
        for (int row = 0; row < static_cast<int>(view.rows.size()); ++row) {
            LVITEMA item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            item.iImage = view.rows[row].marked ? 0 : -1;
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (selection_generation_ != view.selection_generation) {
        selection_generation_ = view.selection_generation;
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        if (view.selected_row >= 0) {
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(list, LVM_SETITEMSTATE, view.selected_row, reinterpret_cast<LPARAM>(&item));
            SendMessageA(list, LVM_ENSUREVISIBLE, view.selected_row, FALSE);
        }
        if (view.enabled) SetFocus(list);
    }
}

void TfMain::RenderCalibration(const calibration_view& view) {
    ShowPage(kCalibrationPage, view.tab_shown);
    ShowCombo("ComboBox3", view.leds);
    ShowCombo("ComboBox2", view.colours);
    SetEnabled("Label15", view.colour_label_enabled);
    for (std::size_t bar = 0; bar < kBars.size(); ++bar) ShowBar(kBars[bar][0], kBars[bar][1], view.bars[bar]);
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

// A tick changes no more than the activity marks, which are all that is drawn then:
// the program idles in the tray at this pace.
void TfMain::OnTimer(UINT_PTR id) {
    if (!model_) return;
    model_->WMTimer(static_cast<uint32_t>(id));
    if (ControlsMade()) RenderRelationList(model_->View());
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
    case WM_POWERBROADCAST: model_->WMPowerBroadcast(wparam, lparam); return TRUE;
    case WM_WTSSESSION_CHANGE: model_->WMSessionChange(wparam, lparam); return 0;
    case NotifyIconMessage: return NotifyIcon ? NotifyIcon->HandleMessage(wparam, lparam) : 0;
    case cMainWindowModel::kSecondStartMessage: model_->WMSecondStart(wparam != 0); return 0;
    default: break;
    }
    // Explorer started anew, with an empty notification area.
    if (message == cNotifyIcon::TaskbarCreatedMessage() && NotifyIcon) {
        NotifyIcon->Add();
        return 0;
    }
    return std::nullopt;
}

#include "tests/win/program_fixture.h"

#include "platform/serial_ports.h"

void ProgramOverFakeDevices::SetUp() {
    RegistryFixture::SetUp();
    metrics.Set(platform::kSmMediaCenter, 1);
    ports.AddPort(3, {.dtr = platform::kMsRlsdOn});  // a full-colour module, common cathode
    ports.AddPort(5);                                // answers nothing: three plain LEDs
    serial_ = std::make_unique<serial_led_services>(ports, multimedia_timers, registry(), clock, Boxes());
    engine_ = std::make_unique<led_engine_services>(*serial_, keyboards, hid, power, window_finder, sessions, areas,
                                                   sockets);
    program_ = std::make_unique<cProgram>(*engine_,
                                          desktop_services{version_info, metrics, files, windows, shell, comm_config,
                                                           english_boxes});
}

void ProgramOverFakeDevices::TearDown() {
    program_.reset();
    // An end of the program posts WM_QUIT, which would end the next test's message boxes at once.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    RegistryFixture::TearDown();
}

void ProgramOverFakeDevices::Start() {
    const std::vector<std::string> arguments = {"C:\\Program Files\\Glimmerbox\\Glimmerbox.exe"};
    ASSERT_EQ(program_->Start(arguments), std::nullopt);
}

void ProgramOverFakeDevices::OpenConfiguration() {
    SendMessageA(main_form().Handle(), TfMain::NotifyIconMessage, 0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(IsWindowVisible(main_form().Handle()));
}

void ProgramOverFakeDevices::Click(const Form& form, control_id control) {
    ASSERT_TRUE(form.Control(control)) << form.Table().controls[control.Row()].name;
    SendMessageA(form.Control(control), BM_CLICK, 0, 0);
}

// A list's choice as the user makes it: the list selects and tells its parent.
void ProgramOverFakeDevices::Choose(const Form& form, control_id control, int index) {
    HWND combo = form.Control(control);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void ProgramOverFakeDevices::DoubleClickRow(int row) {
    HWND list = main_form().Control(MainControl::ListView1);
    RECT item = {LVIR_LABEL, 0, 0, 0};
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)));
    const LPARAM point = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageA(list, WM_LBUTTONUP, 0, point);
}

// A bar moved by the user: its new position, then the scroll notification to its parent.
void ProgramOverFakeDevices::MoveBar(MainControl bar, int position) {
    HWND window = main_form().Control(bar);
    SendMessageA(window, TBM_SETPOS, TRUE, position);
    SendMessageA(GetParent(window), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(window));
}

std::vector<ProgramOverFakeDevices::shown_row> ProgramOverFakeDevices::ShownRows() const {
    HWND list = program_->fMain.Control(MainControl::ListView1);
    std::vector<shown_row> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        shown_row shown;
        for (int column = 0; column < 4; ++column) {
            char text[128] = {};
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            shown.texts.emplace_back(text);
        }
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        shown.marked = item.iImage == 0;
        rows.push_back(shown);
    }
    return rows;
}

std::vector<std::string> ProgramOverFakeDevices::ComboItems(const Form& form, control_id control) const {
    HWND combo = form.Control(control);
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

std::vector<std::string> ProgramOverFakeDevices::TabTexts() const {
    HWND tabs = program_->fMain.Control(MainControl::PageControl1);
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        TCITEMA tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = text;
        tab.cchTextMax = sizeof text;
        SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&tab));
        texts.emplace_back(text);
    }
    return texts;
}

std::vector<led_relation> ProgramOverFakeDevices::StoredRelations() {
    const auto hardware_id = static_cast<uint16_t>(model().Engine().CurrentDevice().HardwareId());
    // Without a stored list, loading yields the defaults: nothing is stored then.
    if (!registry().OpenReadOnly(platform::RegistryRoot::CurrentUser, RelationsKeyPath(hardware_id))) return {};
    cRelationList stored;
    stored.Load(registry(), hardware_id, model().Engine().Catalogue());
    std::vector<led_relation> relations;
    for (const auto& relation : stored) relations.push_back(*relation);
    return relations;
}

std::vector<led_relation> ProgramOverFakeDevices::EngineRelations() {
    std::vector<led_relation> relations;
    for (const auto& relation : model().Engine().Relations()) relations.push_back(*relation);
    return relations;
}

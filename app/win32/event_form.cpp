#include "app/win32/event_form.h"

namespace {

using enum ControlKind;
using Model = cEventDialogModel;

using enum EventControl;

constexpr control_row kControls[] = {
    {Label, Label1, "Label1", "Event", 16, 16, 0, 0},
    {DropDownList, ComboBox1, "ComboBox1", "", 16, 32, 169, 21},
    {Label, Label2, "Label2", "LED", 16, 64, 0, 0},
    {DropDownList, ComboBox2, "ComboBox2", "", 16, 80, 169, 21},
    {Label, Label3, "Label3", "State", 16, 112, 0, 0},
    {DropDownList, ComboBox3, "ComboBox3", "", 16, 128, 89, 21},
    {Label, Label4, "Label4", "Priority", 120, 112, 0, 0},
    {DropDownList, ComboBox4, "ComboBox4", "", 120, 128, 65, 21},
    {Button, Button1, "Button1", "OK", 128, 176, 59, 25},
};
static_assert(IndexedById(kControls));

struct choice_binding {
    EventControl control;
    void (Model::*operation)(int);
};
constexpr choice_binding kChoices[] = {
    {ComboBox1, &Model::ComboBox1Change},
    {ComboBox2, &Model::ComboBox2Change},
    {ComboBox3, &Model::ComboBox3Change},
    {ComboBox4, &Model::ComboBox4Change},
};

// The event list comes sorted by name from the model, so the list itself does not sort.
constexpr form_table kEventForm = {"TfEvent", "Event settings", 201, 214, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kControls};

}  // namespace

TfEvent::TfEvent() : Form(kEventForm) {
    for (const choice_binding& choice : kChoices) {
        Bind(choice.control, CBN_SELCHANGE, [this, choice] {
            if (model_) (model_->*choice.operation)(Selection(choice.control));
        });
    }
    Bind(Button1, BN_CLICKED, [this] {
        if (model_) model_->Button1Click();
    });
}

void TfEvent::OnCloseRequest() {
    Hide();
    if (model_) model_->FormClose();
}

void TfEvent::Render() {
    if (!model_) return;
    const event_dialog_view& view = model_->View();
    char caption[64] = {};
    GetWindowTextA(Handle(), caption, sizeof caption);
    if (view.caption != caption) SetWindowTextA(Handle(), view.caption.c_str());
    if (!ControlsMade()) return;  // drawn in full when first shown
    ShowCombo(ComboBox1, view.events);
    ShowCombo(ComboBox2, view.leds);
    ShowCombo(ComboBox3, view.states);
    ShowCombo(ComboBox4, view.priorities);
}

#include "app/win32/suspend_message_form.h"

namespace {

using enum SuspendMessageControl;

constexpr control_row kControls[] = {
    // OK first: it takes the focus when the notice opens.
    {ControlKind::Button, Button2, "Button2", "OK", 192, 80, 75, 25},
    {ControlKind::Label, Label1, "Label1",
     "Due to some technical limitations this event will not work on all configurations. More details can be found "
     "in the forum thread.",
     8, 8, 257, 57},
    {ControlKind::Button, Button1, "Button1", "Open thread", 112, 80, 75, 25},
};
static_assert(IndexedById(kControls));

constexpr form_table kSuspendMessageForm = {"TfSuspendMessage", "System suspend (S1/S3/S4)", 273, 113,
                                           WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kControls};

}  // namespace

TfSuspendMessage::TfSuspendMessage() : Form(kSuspendMessageForm) {
    Bind(SuspendMessageControl::Button1, BN_CLICKED, [this] { Button1Click(); });
    Bind(SuspendMessageControl::Button2, BN_CLICKED, [this] { Button2Click(); });
}

#include "app/win32/suspend_message_form.h"

namespace {

constexpr control_row kControls[] = {
    // OK first: it takes the focus when the notice opens.
    {ControlKind::Button, "Button2", "OK", 192, 80, 75, 25},
    {ControlKind::Label, "Label1",
     "Due to some technical limitations this event will not work on all configurations. More details can be found "
     "in the forum thread.",
     8, 8, 257, 57},
    {ControlKind::Button, "Button1", "Open thread", 112, 80, 75, 25},
};

constexpr form_table kSuspendMessageForm = {"TfSuspendMessage", "System suspend (S1/S3/S4)", 273, 113,
                                           WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kControls};

}  // namespace

TfSuspendMessage::TfSuspendMessage() : Form(kSuspendMessageForm) {
    Bind("Button1", BN_CLICKED, [this] { Button1Click(); });
    Bind("Button2", BN_CLICKED, [this] { Button2Click(); });
}

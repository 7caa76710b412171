#pragma once
// The notice that warns about the system-suspend event, shown when the user
// chooses that event in the event dialog. It changes no setting.

#include "app/win32/form.h"

#include <functional>

class TfSuspendMessage : public Form {
public:
    // open_thread opens the forum thread about the suspend event.
    explicit TfSuspendMessage(std::function<void()> open_thread);

    static const form_spec kForm;

private:
    void Button1Click() { open_thread_(); }
    void Button2Click() { Hide(); }

    std::function<void()> open_thread_;
};

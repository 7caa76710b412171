#pragma once
// The notice that warns about the system-suspend event (fSuspendMessage).
// It renders nothing of its own: its buttons run the notice's operations.

#include "app/suspend_notice.h"
#include "app/win32/form.h"

#include <cstdint>

// The notice's controls by their designer names, in the table's order.
enum class SuspendMessageControl : uint8_t { Button2, Label1, Button1 };

class TfSuspendMessage : public Form {
public:
    TfSuspendMessage();

    // The notice's operations, which exist once the main window's model does.
    void Attach(cSuspendNotice* notice) { notice_ = notice; }

private:
    void OnCloseRequest() override { Button2Click(); }
    void Button1Click() {
        if (notice_) notice_->Button1Click();
    }
    void Button2Click() {
        if (notice_) notice_->Button2Click();
    }

    cSuspendNotice* notice_ = nullptr;
};

#pragma once
// The event settings dialog (fEvent): renders the dialog's model and turns
// each choice into the model's operation of the same name.

#include "app/event_dialog_model.h"
#include "app/win32/form.h"

#include <cstdint>

// The dialog's controls by their designer names, in the table's order.
enum class EventControl : uint8_t {
    Label1, ComboBox1, Label2, ComboBox2, Label3, ComboBox3, Label4, ComboBox4, Button1,
};

class TfEvent : public Form {
public:
    TfEvent();

    // Binds the model, which exists once the three windows do; null detaches it.
    void Attach(cEventDialogModel* model) { model_ = model; }
    // Brings every control up to the model's view.
    void Render();

private:
    void OnCloseRequest() override;

    cEventDialogModel* model_ = nullptr;
};

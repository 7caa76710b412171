#pragma once
// The main window and configuration window (fMain). It renders the main
// window's model and turns each notification into the model's operation of
// the same name; the window messages the program handles itself reach the
// model here too. It owns the tray icon, the popup menu and the image list.

#include "app/main_window_model.h"
#include "app/win32/form.h"
#include "app/win32/notify_icon.h"
#include "app/win32/popup_menu.h"
#include "app/win32/tray_icons.h"

#include <commctrl.h>

#include <memory>

class TfMain : public Form {
public:
    TfMain();
    ~TfMain() override;

    // Binds the model, which exists once the three windows do; null detaches it.
    void Attach(cMainWindowModel* model);
    // Creates the tray icon with PopupMenu1 and adds it to the notification area.
    void AddNotifyIcon();
    // Removes the tray icon.
    void RemoveNotifyIcon() { NotifyIcon.reset(); }

    // Brings every control up to the model's view.
    void Render();

    // The tray icon, null before it is added and after the program ended.
    const cNotifyIcon* Icon() const { return NotifyIcon.get(); }

    static constexpr UINT NotifyIconMessage = cMainWindowModel::kNotifyIconMessage;

private:
    void OnCloseRequest() override;
    void OnTimer(UINT_PTR id) override;
    void OnLaidOut() override;
    void OnControlsMade() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    void BindNotifications();
    void RenderRelationList(const main_window_view& view);
    void RenderCalibration(const calibration_view& view);
    void SizeEventColumn();
    int SelectedRow() const;
    void EndOnceModelEnded();
    // Hands the tray picture and tip to the icon when they changed since last handed.
    void RenderTray();
    HICON TrayIcon();
    // Shows the current picture where the shell may have lost the icon.
    void RestoreTray();

    cMainWindowModel* model_ = nullptr;
    std::unique_ptr<cNotifyIcon> NotifyIcon;
    PopupMenu PopupMenu1;
    owned_image_list ImageList1;
    owned_icon icon_;
    cTrayIcons tray_icons_;
    // The view's counters as last applied.
    uint32_t rows_generation_ = 0;
    uint32_t marks_generation_ = 0;
    uint32_t selection_generation_ = 0;
    uint32_t page_generation_ = 0;
    uint32_t tray_generation_ = 0;
    uint32_t ticks_without_icon_ = 0;
};

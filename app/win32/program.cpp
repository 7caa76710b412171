#include "app/win32/program.h"

#include <cstdlib>

cProgram::cProgram(const led_engine_services& engine, const desktop_services& desktop)
    : timers_(fMain.Handle()),
      services_{engine,         desktop.version_info, desktop.metrics,     desktop.files,        timers_,
                desktop.windows, desktop.shell,       desktop.comm_config, desktop.english_boxes} {
    for (Form* form : {static_cast<Form*>(&fMain), static_cast<Form*>(&fEvent), static_cast<Form*>(&fSuspendMessage)}) {
        form->OnHandled([this] { RenderAll(); });
    }
}

cProgram::~cProgram() {
    fMain.RemoveNotifyIcon();
    fSuspendMessage.Attach(nullptr);
    fEvent.Attach(nullptr);
    fMain.Attach(nullptr);
    model_.reset();
}

std::optional<int> cProgram::Start(std::span<const std::string> arguments,
                                   const std::function<bool(bool log_detect)>& hand_over) {
    model_ = std::make_unique<cMainWindowModel>(
        services_, app_windows{fMain.Handle(), fEvent.Handle(), fSuspendMessage.Handle()});
    model_->OnDrawNow([this] { DrawNow(); });
    fMain.Attach(model_.get());
    fEvent.Attach(&model_->EventDialog());
    fSuspendMessage.Attach(&model_->SuspendNotice());
    if (std::optional<int> code = model_->Start(arguments, [this] { fMain.AddNotifyIcon(); }, hand_over)) return code;
    RenderAll();
    return std::nullopt;
}

int cProgram::Run() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Tab and arrow keys move between the controls of the window that has them.
        HWND form = GetAncestor(message.hwnd, GA_ROOT);
        if (form && (form == fMain.Handle() || form == fEvent.Handle() || form == fSuspendMessage.Handle()) &&
            IsDialogMessageA(form, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void cProgram::RenderAll() {
    if (!model_) return;
    fMain.Render();
    fEvent.Render();
    const std::string& font = model_->View().font_name;
    fEvent.SetFontName(font);
    fSuspendMessage.SetFontName(font);
}

void cProgram::DrawNow() {
    RenderAll();
    RedrawWindow(fMain.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::vector<std::string> ProgramArguments() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::vector<std::string> arguments{path};
    for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
    return arguments;
}

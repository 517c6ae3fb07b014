#include "gui/win32/Win32GuiSession.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "gui/win32/WizardSheet.h"

namespace tessaly::win32 {

Win32GuiSession::Win32GuiSession(const GuiContext& context)
    : context_(context),
      dialogs_(context.platform->files),
      prompter_(std::cerr, [this] { return dialogs_.Owner(); }) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
}

void Win32GuiSession::RunWizard(WizardModel& model, PageId startPage) {
    const WizardServices services{
        *context_.platform,          prompter_,        dialogs_, detector_,
        context_.registryConfigured, context_.packages};
    WizardSheet sheet(model, services, dialogs_, startPage);
    const char* probe = std::getenv("TESSALY_STARTUP_PROBE");
    const bool probing = context_.start && probe && *probe;
    if (probing) {
        sheet.CloseWhenShown();
    }
    sheet.Run();
    if (probing) {
        const auto elapsed = sheet.shownAt() - *context_.start;
        std::printf("first page shown after %.1f ms\n",
                    std::chrono::duration<double, std::milli>(elapsed).count());
        std::fflush(stdout);
    }
}

}  // namespace tessaly::win32

namespace tessaly {

GuiModuleEntry LinkedGuiModule() {
    return [](int version, const GuiContext& context) -> GuiSession* {
        if (version != kGuiModuleVersion) {
            return nullptr;
        }
        return new win32::Win32GuiSession(context);
    };
}

}  // namespace tessaly

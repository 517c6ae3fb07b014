#include "gui/qt/QtGuiSession.h"

#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "gui/qt/GatherIntrInfo.h"
#include "resources/StringTable.h"

namespace tessaly {

QtGuiSession::QtGuiSession(const GuiContext& context)
    : context_(context),
      app_(*context.argc, context.argv),
      shell_(context.platform->shell),
      platform_{context.platform->registry,    context.platform->files,
                context.platform->system,      shell_,
                context.platform->plugAndPlay, context.platform->ftp,
                context.platform->devices,     context.platform->driverStore},
      dialogs_(context.platform->files) {
    QApplication::setApplicationName(QString::fromLatin1(
        strings::kAppTitle.data(), static_cast<qsizetype>(strings::kAppTitle.size())));
    // Lets the desktop match the window to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSALY_APP_ID));
}

QtGuiSession::~QtGuiSession() = default;

void QtGuiSession::RunWizard(WizardModel& model, PageId startPage) {
    const WizardServices services{
        platform_, prompter_, dialogs_, detector_, context_.registryConfigured, context_.packages};
    CGatherIntrInfo sheet(model, services, startPage);
    const char* probe = std::getenv("TESSALY_STARTUP_PROBE");
    if (context_.start && probe && *probe) {
        QTimer::singleShot(0, &sheet, [this, &sheet] {
            const auto elapsed = std::chrono::steady_clock::now() - *context_.start;
            std::printf("first page shown after %.1f ms\n",
                        std::chrono::duration<double, std::milli>(elapsed).count());
            std::fflush(stdout);
            sheet.reject();
        });
    }
    sheet.exec();
}

}  // namespace tessaly

extern "C" Q_DECL_EXPORT tessaly::GuiSession* tessaly_create_gui_session(
    int version, const tessaly::GuiContext& context) {
    if (version != tessaly::kGuiModuleVersion) {
        return nullptr;
    }
    return new tessaly::QtGuiSession(context);
}

#include "gui/qt/QtShell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#include "gui/qt/WidgetSupport.h"

namespace tessaly {

bool QtShell::OpenFolder(const std::string& path) {
    if (!QCoreApplication::instance()) {
        return fallback_.OpenFolder(path);
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(path)));
}

}  // namespace tessaly

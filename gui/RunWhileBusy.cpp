#include "gui/RunWhileBusy.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <thread>

namespace tessaly {

void RunWhileBusy(QWidget* window, const std::function<void()>& job) {
    const QPointer<QWidget> focused = QApplication::focusWidget();
    window->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop lives on this thread's caller; posted before exec() it still counts.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    QApplication::restoreOverrideCursor();
    window->setEnabled(true);
    if (focused) {
        focused->setFocus(Qt::OtherFocusReason);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace tessaly

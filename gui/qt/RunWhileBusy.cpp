#include "gui/qt/RunWhileBusy.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <exception>
#include <utility>

namespace tessaly {
namespace {

// A plain QThread, not std::thread or QThread::create: both need the C++ thread library, which
// MinGW's win32 thread model lacks before GCC 13.
class JobThread final : public QThread {
public:
    explicit JobThread(std::function<void()> job) : job_(std::move(job)) {}

protected:
    void run() override { job_(); }

private:
    std::function<void()> job_;
};

}  // namespace

void RunWhileBusy(QWidget* window, const std::function<void()>& job) {
    const QPointer<QWidget> focused = QApplication::focusWidget();
    window->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    QEventLoop loop;
    std::exception_ptr failure;
    JobThread worker([&] {
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop lives on this thread's caller; posted before exec() it still counts.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    worker.start();
    loop.exec();
    worker.wait();

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

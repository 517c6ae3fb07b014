#pragma once

#include <QGuiApplication>

namespace tessaly {

// Shows the wait cursor over the whole application while it lives, also when the work it
// guards leaves early.
class WaitCursor final {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A message box that opens while a job holds the wait cursor waits for the user, not the job:
// it shows the arrow while it lives.
class ArrowWhileAsking final {
public:
    ArrowWhileAsking() : lifted_(QGuiApplication::overrideCursor() != nullptr) {
        if (lifted_) {
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~ArrowWhileAsking() {
        if (lifted_) {
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool lifted_;
};

}  // namespace tessaly

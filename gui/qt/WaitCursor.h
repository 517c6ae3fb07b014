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

}  // namespace tessaly

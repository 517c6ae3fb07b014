#pragma once

#include <functional>

class QWidget;

namespace tessaly {

// Runs `job` on a worker thread and returns once it has ended. Meanwhile `window` keeps painting,
// shows the wait cursor and takes no input (it is disabled, so clicks and keys are dropped, not
// replayed afterwards); the focus returns to where it was. An exception of the job is rethrown
// here.
void RunWhileBusy(QWidget* window, const std::function<void()>& job);

}  // namespace tessaly

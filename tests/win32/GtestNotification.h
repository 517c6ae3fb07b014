#pragma once

// GoogleTest's Notification is built on std::mutex, which mingw-w64's win32 thread model lacks
// before GCC 13. GoogleTest only uses it to start its own threads, which these tests never do;
// this one polls, with no lock. Force-included before GoogleTest's headers.
#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_ = true; }
    void WaitForNotification() {
        while (!notified_) {
            Sleep(1);
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace testing::internal

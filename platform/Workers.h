#pragma once

#include <cstddef>
#include <functional>

namespace tessaly {

// Runs independent tasks side by side. A batch of modules waits mostly on the disk (every file
// reaches it before it replaces its target), and waits that overlap share the disk's flushes.
class Workers {
public:
    virtual ~Workers() = default;

    // Calls task(0) ... task(count - 1), each once, at most `width` at a time, and returns when
    // every call has returned. Tasks must not throw, and must not change what another task uses.
    virtual void RunAll(std::size_t count, const std::function<void(std::size_t)>& task,
                        std::size_t width) = 0;
};

// One task after another on the calling thread: for a system without threads, and for tests.
class SequentialWorkers final : public Workers {
public:
    void RunAll(std::size_t count, const std::function<void(std::size_t)>& task,
                std::size_t) override {
        for (std::size_t i = 0; i < count; ++i) {
            task(i);
        }
    }
};

}  // namespace tessaly

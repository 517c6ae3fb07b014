#pragma once

#include "platform/Workers.h"

namespace tessaly {

// Tasks on threads of their own; the calling thread takes its share. When no thread can be
// started, the calling thread runs every task.
class ThreadWorkers final : public Workers {
public:
    void RunAll(std::size_t count, const std::function<void(std::size_t)>& task,
                std::size_t width) override;
};

}  // namespace tessaly

#include "system/posix/ThreadWorkers.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace tessaly {

void ThreadWorkers::RunAll(std::size_t count, const std::function<void(std::size_t)>& task,
                           std::size_t width) {
    std::atomic<std::size_t> next{0};
    const auto drain = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            task(i);
        }
    };
    std::vector<std::thread> threads;
    // The calling thread is one of the `width`.
    const std::size_t helpers = std::max<std::size_t>(std::min(width, count), 1) - 1;
    for (std::size_t k = 0; k < helpers; ++k) {
        try {
            threads.emplace_back(drain);
        } catch (const std::system_error&) {
            break;  // fewer at a time, all the same
        }
    }
    drain();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

}  // namespace tessaly

#pragma once

#include <cstddef>

namespace tessaly::testing {

// Measures what this program allocates through operator new (every std::string and container)
// while it lives, and can make allocation fail past a budget. Only the test programs built with
// AllocationMeter.cpp, which replaces the global operator new, have it. One at a time.
class AllocationMeter {
public:
    AllocationMeter();
    ~AllocationMeter();
    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;

    // The most bytes held at once since construction, beyond those held then.
    std::size_t Peak() const;

    // From now on, an allocation that would hold more than `bytes` beyond those held at
    // construction throws std::bad_alloc.
    void Limit(std::size_t bytes);
};

}  // namespace tessaly::testing

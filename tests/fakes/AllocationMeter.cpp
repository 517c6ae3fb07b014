#include "tests/fakes/AllocationMeter.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front of it, so that delete knows what it gives back.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> peak{0};
std::atomic<std::size_t> limit{SIZE_MAX};

void* Allocate(std::size_t size) noexcept {
    const std::size_t now = held.fetch_add(size) + size;
    if (now > limit.load()) {
        held.fetch_sub(size);
        return nullptr;
    }
    for (std::size_t high = peak.load(); now > high && !peak.compare_exchange_weak(high, now);) {
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) {
        held.fetch_sub(size);
        return nullptr;
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    return block + kHeader;
}

void Release(void* pointer) noexcept {
    if (pointer) {
        auto* block = static_cast<unsigned char*>(pointer) - kHeader;
        held.fetch_sub(*reinterpret_cast<std::size_t*>(block));
        std::free(block);
    }
}

std::size_t start = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (void* pointer = Allocate(size)) {
        return pointer;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* pointer) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}

namespace tessaly::testing {

AllocationMeter::AllocationMeter() {
    start = held.load();
    peak.store(start);
}

AllocationMeter::~AllocationMeter() {
    limit.store(SIZE_MAX);
}

std::size_t AllocationMeter::Peak() const {
    return peak.load() - start;
}

void AllocationMeter::Limit(std::size_t bytes) {
    limit.store(start + bytes);
}

}  // namespace tessaly::testing

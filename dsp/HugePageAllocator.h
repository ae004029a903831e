#pragma once

#include <cstddef>
#include <vector>

// An allocator for the measurement's large buffers (the response grid's
// bins: 16 to 64 MB for 100,000 taps). Blocks of 2 MiB or more are aligned
// to 2 MiB and asked of the kernel as transparent huge pages, so their
// first touch faults once per 2 MiB rather than once per 4 KiB page; where
// a fault is slow (a virtual machine: tens of microseconds each) the small
// pages' faults cost more than the FFT. Smaller blocks are operator new's.
// The advice is only advice: without huge pages the block is plain memory.
void* AllocateHugePages(std::size_t bytes);
void FreeHugePages(void* block, std::size_t bytes) noexcept;

template <class T>
class HugePageAllocator {
public:
    using value_type = T;

    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t n) { return static_cast<T*>(AllocateHugePages(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { FreeHugePages(block, n * sizeof(T)); }

    template <class U>
    bool operator==(const HugePageAllocator<U>&) const noexcept
    {
        return true;
    }
};

template <class T>
using HugePageVector = std::vector<T, HugePageAllocator<T>>;

#include "dsp/HugePageAllocator.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* AllocateHugePages(std::size_t bytes)
{
    if (bytes < kHugePage)
        return ::operator new(bytes);
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, rounded);
    if (!block)
        throw std::bad_alloc();
    // Advice only: refused (no huge pages configured), the pages stay small.
    madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

void FreeHugePages(void* block, std::size_t bytes) noexcept
{
    if (bytes < kHugePage)
        ::operator delete(block);
    else
        std::free(block);
}

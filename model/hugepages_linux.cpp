#include "hugepages.h"

#include <cstdint>
#include <sys/mman.h>

void preferHugePages(void *data, size_t bytes)
{
    constexpr uintptr_t hugePage = hugePageSize;
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + hugePage - 1) & ~(hugePage - 1);
    const uintptr_t last = (begin + bytes) & ~(hugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

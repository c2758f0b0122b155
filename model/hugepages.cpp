#include "hugepages.h"

#include <QtGlobal>

#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

void preferHugePages(void *data, size_t bytes)
{
#ifdef Q_OS_LINUX
    constexpr uintptr_t hugePage = uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t first = (begin + hugePage - 1) & ~(hugePage - 1);
    const uintptr_t last = (begin + bytes) & ~(hugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

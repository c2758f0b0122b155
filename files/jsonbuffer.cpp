#include "jsonbuffer.h"

#include "historydecoder.h"
#include "hugepages.h"

#include <cstdlib>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace {

#ifdef Q_OS_LINUX
constexpr size_t hugePage = size_t(2) << 20;

// Anonymous memory that the kernel may back with 2 MB pages; null on failure.
char *mapHugePages(size_t length)
{
    void *memory =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return nullptr;
    madvise(memory, length, MADV_HUGEPAGE); // a hint: without it the memory still works
    return static_cast<char *>(memory);
}
#endif

} // namespace

JsonBuffer::JsonBuffer(qsizetype capacity) : m_capacity(capacity)
{
    const size_t bytes = size_t(capacity) + size_t(jsonPadding);
#ifdef Q_OS_LINUX
    if (bytes >= hugePage) {
        const size_t length = (bytes + hugePage - 1) / hugePage * hugePage;
        m_data = mapHugePages(length);
        if (m_data) {
            m_mappedLength = length;
            return;
        }
    }
#endif
    m_data = static_cast<char *>(std::malloc(bytes));
}

JsonBuffer::~JsonBuffer()
{
#ifdef Q_OS_LINUX
    if (m_mappedLength) {
        munmap(m_data, m_mappedLength);
        return;
    }
#endif
    std::free(m_data);
}

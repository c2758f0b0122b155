#include "jsonbuffer.h"

#include "historydecoder.h"
#include "hugepages.h"

#include <cstdlib>

JsonBuffer::JsonBuffer(qsizetype capacity) : m_capacity(capacity)
{
    const size_t bytes = size_t(capacity) + size_t(jsonPadding);
    if (bytes < hugePageSize) {
        m_data = static_cast<char *>(std::malloc(bytes));
        return;
    }
    // Whole huge pages, as aligned_alloc wants a multiple of the alignment.
    const size_t length = (bytes + hugePageSize - 1) / hugePageSize * hugePageSize;
    m_data = static_cast<char *>(std::aligned_alloc(hugePageSize, length));
    if (m_data)
        preferHugePages(m_data, length);
}

JsonBuffer::~JsonBuffer()
{
    std::free(m_data);
}

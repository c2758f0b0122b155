#pragma once

#include <cstddef>

// The size of the large pages Linux backs memory with on request.
inline constexpr size_t hugePageSize = size_t(2) << 20;

// Asks the system to back this memory with 2 MB pages where it can (Linux,
// for the whole 2 MB blocks inside the range): filling a buffer of a hundred
// megabytes otherwise takes a page fault every four kilobytes, which costs
// more than what is written there. A hint only; elsewhere it does nothing.
void preferHugePages(void *data, size_t bytes);

#include "hugepages.h"

// Where the system takes no such hint (hugepages_linux.cpp gives it on
// Linux), memory is used as it comes.
void preferHugePages(void *, size_t) {}

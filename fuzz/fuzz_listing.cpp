// Feeds arbitrary bytes to the listing decoder: it must accept or reject
// without crashing, overflowing the stack or reading out of bounds.
#include "listingdecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const auto listing = decodeListing(bytes, &error);
    // A rejection always says why; an accepted listing never carries a
    // container whose volumes overflow.
    if (!listing && error.isEmpty())
        __builtin_trap();
    if (listing) {
        for (const APFSInfo &container : listing->Containers) {
            if (!container.totalInUse())
                __builtin_trap();
        }
    }
    return 0;
}

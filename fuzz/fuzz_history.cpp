// Feeds arbitrary bytes to the history file's decoder, both from a plain copy
// and in place from a buffer with exactly the padding it may read past the
// end, so AddressSanitizer catches any read beyond that.
#include "historydecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray plain(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const auto history = decodeHistory(plain, &error);
    if (!history && error.isEmpty())
        __builtin_trap(); // a rejection always says why

    // The padding holds what would make the document go on, so a decoder
    // that reads it as input would answer differently.
    const auto padded = std::make_unique<char[]>(size + jsonPadding);
    std::memcpy(padded.get(), data, size);
    std::memset(padded.get() + size, '1', jsonPadding);
    const auto inPlace = decodePaddedHistory(QByteArrayView(padded.get(), qsizetype(size)));
    if (inPlace != history)
        __builtin_trap();
    return 0;
}

// Feeds arbitrary bytes to the history file's decoder, both as a plain copy
// and with the padding that lets it decode in place.
#include "historydecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray plain(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const auto history = decodeHistory(plain, &error);
    if (!history && error.isEmpty())
        __builtin_trap();

    QByteArray padded;
    padded.reserve(qsizetype(size) + jsonPadding);
    padded.append(plain);
    // Both paths must agree on every input.
    if (decodeHistory(padded).has_value() != history.has_value())
        __builtin_trap();
    return 0;
}

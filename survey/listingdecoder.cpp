#include "listingdecoder.h"

std::optional<TopLevel> decodeListing(const QByteArray &bytes, QString *error)
{
    Q_UNUSED(bytes);
    if (error)
        *error = QStringLiteral("not implemented");
    return std::nullopt;
}

#include "ids.h"

#include <QRandomGenerator>

#include <cstring>
#include <random>

namespace
{

std::mt19937_64 &generator()
{
    thread_local std::mt19937_64 engine = [] {
        std::seed_seq seed{
            QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate(),
            QRandomGenerator::system()->generate(), QRandomGenerator::system()->generate()};
        return std::mt19937_64(seed);
    }();
    return engine;
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

template <typename Char>
std::optional<QUuid> parseDigits(const Char *text, qsizetype size)
{
    if (size != 36)
        return std::nullopt;
    quint8 bytes[16] = {};
    int nibble = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t wide = sizeof(Char) == 1
                                  ? static_cast<char16_t>(static_cast<unsigned char>(text[i]))
                                  : static_cast<char16_t>(text[i]);
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (wide != u'-')
                return std::nullopt;
            continue;
        }
        const int value = hexValue(wide);
        if (value < 0)
            return std::nullopt;
        bytes[nibble / 2] |= static_cast<quint8>(nibble % 2 ? value : value << 4);
        ++nibble;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes, 16));
}

} // namespace

QUuid newId()
{
    quint8 bytes[16];
    const quint64 high = generator()();
    const quint64 low = generator()();
    memcpy(bytes, &high, 8);
    memcpy(bytes + 8, &low, 8);
    bytes[6] = static_cast<quint8>((bytes[6] & 0x0f) | 0x40); // version 4
    bytes[8] = static_cast<quint8>((bytes[8] & 0x3f) | 0x80); // RFC 4122 variant
    return QUuid::fromRfc4122(QByteArrayView(bytes, 16));
}

QString uuidText(const QUuid &id)
{
    char text[uuidTextLength];
    writeUuidText(id, text);
    return QString::fromLatin1(text, uuidTextLength);
}

void writeUuidText(const QUuid &id, char *out)
{
    // Network byte order, as in the RFC 4122 form.
    const quint8 bytes[16] = {
        quint8(id.data1 >> 24), quint8(id.data1 >> 16), quint8(id.data1 >> 8), quint8(id.data1),
        quint8(id.data2 >> 8),  quint8(id.data2),       quint8(id.data3 >> 8), quint8(id.data3),
        id.data4[0],            id.data4[1],            id.data4[2],           id.data4[3],
        id.data4[4],            id.data4[5],            id.data4[6],           id.data4[7]};
    static constexpr char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            *out++ = '-';
        *out++ = digits[bytes[i] >> 4];
        *out++ = digits[bytes[i] & 0x0f];
    }
}

std::optional<QUuid> parseUuid(QStringView text)
{
    return parseDigits(text.utf16(), text.size());
}

std::optional<QUuid> parseUuid(QByteArrayView latin1)
{
    return parseDigits(latin1.data(), latin1.size());
}

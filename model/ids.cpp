#include "ids.h"

#include <QRandomGenerator>

namespace {

// xoshiro256**: ids need uniqueness, not secrecy, and a series of a quarter
// of a million points makes one id per point.
class IdGenerator
{
public:
    IdGenerator()
    {
        for (quint64 &word : m_state)
            word = QRandomGenerator::system()->generate64();
    }

    quint64 next()
    {
        const quint64 result = rotl(m_state[1] * 5, 7) * 9;
        const quint64 t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

private:
    static quint64 rotl(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }

    quint64 m_state[4];
};

IdGenerator &generator()
{
    thread_local IdGenerator instance;
    return instance;
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
    const quint64 high = generator().next();
    const quint64 low = generator().next();
    const auto byte = [low](int i) { return static_cast<uchar>(low >> (8 * i)); };
    return QUuid(static_cast<uint>(high >> 32), static_cast<ushort>(high >> 16),
                 static_cast<ushort>((high & 0x0fff) | 0x4000),        // version 4
                 static_cast<uchar>((byte(0) & 0x3f) | 0x80), byte(1), // RFC 4122 variant
                 byte(2), byte(3), byte(4), byte(5), byte(6), byte(7));
}

QString uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> parseUuid(QStringView text)
{
    return parseDigits(text.utf16(), text.size());
}

std::optional<QUuid> parseUuid(QByteArrayView latin1)
{
    return parseDigits(latin1.data(), latin1.size());
}

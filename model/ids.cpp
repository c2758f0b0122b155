#include "ids.h"

#include "hexdigits.h"

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

// Histories hold two ids per container of every reading, so this is a
// straight pass over fixed positions rather than a general parser.
template <typename Char>
std::optional<QUuid> parseDigits(const Char *text, qsizetype size)
{
    if (size != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    static constexpr int starts[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    quint8 bytes[16];
    int invalid = 0;
    for (int i = 0; i < 16; ++i) {
        const int high = hexDigitValue(text[starts[i]]);
        const int low = hexDigitValue(text[starts[i] + 1]);
        invalid |= high | low; // negative once any digit is not hexadecimal
        bytes[i] = static_cast<quint8>(high << 4 | low);
    }
    if (invalid < 0)
        return std::nullopt;
    const auto word = [&bytes](int i) { return ushort(bytes[i] << 8 | bytes[i + 1]); };
    return QUuid(uint(word(0)) << 16 | word(2), word(4), word(6), bytes[8], bytes[9], bytes[10],
                 bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
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

void writeUuidText(const QUuid &id, char *out)
{
    // Network byte order, as in the RFC 4122 form.
    const quint8 bytes[16] = {quint8(id.data1 >> 24),
                              quint8(id.data1 >> 16),
                              quint8(id.data1 >> 8),
                              quint8(id.data1),
                              quint8(id.data2 >> 8),
                              quint8(id.data2),
                              quint8(id.data3 >> 8),
                              quint8(id.data3),
                              id.data4[0],
                              id.data4[1],
                              id.data4[2],
                              id.data4[3],
                              id.data4[4],
                              id.data4[5],
                              id.data4[6],
                              id.data4[7]};
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

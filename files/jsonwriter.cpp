#include "jsonwriter.h"

#include "hugepages.h"
#include "ids.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// The longest UTF-8 or escape sequence one UTF-16 unit can need: \u001F.
constexpr qsizetype maxBytesPerUnit = 6;

char *escaped(char *out, char16_t c)
{
    static constexpr char hex[] = "0123456789abcdef";
    *out++ = '\\';
    switch (c) {
    case u'"':
        *out++ = '"';
        break;
    case u'\\':
        *out++ = '\\';
        break;
    case u'\b':
        *out++ = 'b';
        break;
    case u'\f':
        *out++ = 'f';
        break;
    case u'\n':
        *out++ = 'n';
        break;
    case u'\r':
        *out++ = 'r';
        break;
    case u'\t':
        *out++ = 't';
        break;
    default:
        std::memcpy(out, "u00", 3);
        out[3] = hex[c >> 4];
        out[4] = hex[c & 0x0f];
        out += 5;
    }
    return out;
}

char *utf8(char *out, char32_t c)
{
    if (c < 0x800) {
        *out++ = static_cast<char>(0xc0 | (c >> 6));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xe0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    } else {
        *out++ = static_cast<char>(0xf0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    }
    *out++ = static_cast<char>(0x80 | (c & 0x3f));
    return out;
}

// One code point from the UTF-16 units at p; a lone surrogate, which no
// valid text holds, becomes U+FFFD.
char32_t codePoint(const char16_t *&p, const char16_t *end)
{
    const char16_t c = *p++;
    if (c < 0xd800 || c > 0xdfff)
        return c;
    if (c < 0xdc00 && p != end && *p >= 0xdc00 && *p <= 0xdfff)
        return 0x10000 + ((char32_t(c) - 0xd800) << 10) + (*p++ - 0xdc00);
    return 0xfffd;
}

} // namespace

JsonWriter::JsonWriter(qsizetype expectedSize)
    : m_bytes(std::max<qsizetype>(expectedSize, 64), Qt::Uninitialized)
{
    preferHugePages(m_bytes.data(), size_t(m_bytes.size()));
}

void JsonWriter::grow(qsizetype count)
{
    m_bytes.resize(std::max(m_bytes.size() * 2, m_size + count));
    preferHugePages(m_bytes.data() + m_size, size_t(m_bytes.size() - m_size));
}

void JsonWriter::open(char bracket)
{
    separate();
    put(bracket);
    m_needsComma = false;
}

void JsonWriter::close(char bracket)
{
    put(bracket);
    m_needsComma = true;
}

void JsonWriter::key(std::string_view name)
{
    // Member names are this program's own ASCII constants: nothing to escape.
    separate();
    char *out = reserve(name.size() + 3);
    *out++ = '"';
    std::memcpy(out, name.data(), name.size());
    out += name.size();
    *out++ = '"';
    *out++ = ':';
    commit(out);
    m_needsComma = false;
}

void JsonWriter::value(QStringView text)
{
    separate();
    char *out = reserve(text.size() * maxBytesPerUnit + 2);
    *out++ = '"';
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p != end) {
        const char16_t c = *p;
        if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
            *out++ = static_cast<char>(c);
            ++p;
        } else if (c < 0x80) {
            out = escaped(out, c);
            ++p;
        } else {
            out = utf8(out, codePoint(p, end));
        }
    }
    *out++ = '"';
    commit(out);
}

void JsonWriter::value(qint64 number)
{
    separate();
    char *out = reserve(24);
    commit(std::to_chars(out, out + 24, number).ptr);
}

bool JsonWriter::value(double number)
{
    if (!std::isfinite(number))
        return false;
    separate();
    char *const out = reserve(32);
    char *end = std::to_chars(out, out + 30, number).ptr;
    if (std::find_if(out, end, [](char c) { return c == '.' || c == 'e'; }) == end) {
        std::memcpy(end, ".0", 2);
        end += 2;
    }
    commit(end);
    return true;
}

void JsonWriter::value(const QUuid &id)
{
    separate();
    char *out = reserve(uuidTextLength + 2);
    *out++ = '"';
    writeUuidText(id, out);
    out += uuidTextLength;
    *out++ = '"';
    commit(out);
}

void JsonWriter::null()
{
    separate();
    char *out = reserve(4);
    std::memcpy(out, "null", 4);
    commit(out + 4);
}

QByteArray JsonWriter::take()
{
    m_bytes.truncate(m_size);
    m_size = 0;
    m_needsComma = false;
    return std::exchange(m_bytes, QByteArray());
}

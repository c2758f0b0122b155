#include "mounttable.h"

#include <charconv>
#include <optional>

namespace {

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

bool isEscapeAt(QByteArrayView field, qsizetype i)
{
    // Three octal digits, the first at most 3 so that the value fits a byte.
    return field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
           isOctalDigit(field[i + 2]) && isOctalDigit(field[i + 3]);
}

template <typename Number>
std::optional<Number> parseNumber(QByteArrayView text)
{
    Number value{};
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.isEmpty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

bool parseDevice(QByteArrayView text, MountEntry &entry)
{
    const qsizetype colon = text.indexOf(':');
    if (colon < 0)
        return false;
    const auto major = parseNumber<quint32>(text.first(colon));
    const auto minor = parseNumber<quint32>(text.sliced(colon + 1));
    if (!major || !minor)
        return false;
    entry.major = *major;
    entry.minor = *minor;
    return true;
}

QList<QByteArrayView> splitFields(QByteArrayView line)
{
    QList<QByteArrayView> fields;
    qsizetype start = 0;
    while (start <= line.size()) {
        qsizetype end = line.indexOf(' ', start);
        if (end < 0)
            end = line.size();
        if (end > start)
            fields.append(line.sliced(start, end - start));
        start = end + 1;
    }
    return fields;
}

std::optional<MountEntry> parseLine(QByteArrayView line)
{
    const QList<QByteArrayView> fields = splitFields(line);
    const qsizetype separator = fields.indexOf(QByteArrayView("-"));
    if (separator < 6 || separator + 2 >= fields.size())
        return std::nullopt;
    MountEntry entry;
    const auto id = parseNumber<int>(fields[0]);
    const auto parent = parseNumber<int>(fields[1]);
    if (!id || !parent || !parseDevice(fields[2], entry))
        return std::nullopt;
    entry.mountId = *id;
    entry.parentId = *parent;
    entry.root = unescapeMountField(fields[3]);
    entry.mountPoint = unescapeMountField(fields[4]);
    entry.fsType = unescapeMountField(fields[separator + 1]);
    entry.source = unescapeMountField(fields[separator + 2]);
    return entry;
}

} // namespace

QByteArray unescapeMountField(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (isEscapeAt(field, i)) {
            out.append(
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return out;
}

QList<MountEntry> parseMountTable(QByteArrayView text)
{
    QList<MountEntry> entries;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        if (auto entry = parseLine(text.sliced(start, end - start)))
            entries.append(*entry);
        start = end + 1;
    }
    return entries;
}

#include "historydecoder.h"

#include "historykeys.h"
#include "ids.h"
#include "utf8textcache.h"

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

namespace {

namespace od = simdjson::ondemand;
namespace keys = historykeys;

static_assert(jsonPadding >= simdjson::SIMDJSON_PADDING);

// Deep enough for any member a later version might add, shallow enough for
// the recursive check of unknown members to stay far from the stack's end.
constexpr int maxDepth = 512;

// Depths of the values inside a reading's and a container's members.
constexpr int readingMemberDepth = 3;
constexpr int containerMemberDepth = 5;

// Which text field of a container a pooled text belongs to.
enum TextField { ConUUIDText, ConRefText, VolNamesText, FirstVolNameText, TextFields };

class HistoryReader
{
public:
    std::optional<QList<DataPoint>> read(const char *json, size_t size, size_t capacity);
    QString error() const { return m_error; }

private:
    template <typename Record, size_t N,
              bool (HistoryReader::*readMember)(int, od::value &, Record &)>
    bool readRecord(od::value value, Record &record, const std::string_view (&names)[N]);
    bool readReading(od::value value, DataPoint &point);
    bool readReadingMember(int member, od::value &value, DataPoint &point);
    bool readContainers(od::value &value, QList<ContainerInfo> &containers);
    bool readContainer(od::value value, ContainerInfo &container);
    bool readContainerMember(int member, od::value &value, ContainerInfo &container);
    bool readText(od::value &value, std::string_view name, std::string_view &text);
    bool readPooledText(od::value &value, std::string_view name, TextField field, QString &text);
    bool readId(od::value &value, QUuid &id);
    bool readInteger(od::value &value, std::string_view name, qint64 &number);
    bool readDate(od::value &value, double &date);
    bool keyOf(od::field &field, std::string_view &key);
    bool check(od::value value, int depth);
    bool checkArray(od::value &value, int depth);
    bool checkObject(od::value &value, int depth);
    bool checkScalar(od::value &value, od::json_type type);
    bool requireAll(unsigned seen, const std::string_view *names, int count);
    bool requireUnique(std::vector<std::string_view> &keys);

    bool fail(const QString &reason);
    bool malformed(simdjson::error_code code);

    od::parser m_parser;
    Utf8TextCache m_textCache;
    qsizetype m_containersBefore = 0;
    qsizetype m_reading = -1;
    qsizetype m_container = -1;
    QString m_error;
};

// The members of each record, in the order of these tables.
enum ReadingMember { ReadingId, ReadingDate, ReadingContainers };
constexpr std::string_view readingKeys[] = {keys::id, keys::date, keys::containers};

enum ContainerMember {
    ContainerId,
    ContainerConUUID,
    ContainerConRef,
    ContainerCapacity,
    ContainerFree,
    ContainerVolNames,
    ContainerFirstVolName,
    ContainerTotalUsed,
};
constexpr std::string_view containerKeys[] = {keys::id,           keys::conUUID,  keys::conRef,
                                              keys::capacity,     keys::free,     keys::volNames,
                                              keys::firstVolName, keys::totalUsed};

// Where key stands in names; -1 for a member the record does not have.
template <size_t N>
int memberIndex(const std::string_view (&names)[N], std::string_view key)
{
    for (size_t i = 0; i < N; ++i) {
        if (key == names[i])
            return int(i);
    }
    return -1;
}

QString notAnArray()
{
    return QStringLiteral("the top level is not an array");
}

QString quoted(std::string_view name)
{
    return u'"' + QString::fromUtf8(name.data(), qsizetype(name.size())) + u'"';
}

bool HistoryReader::fail(const QString &reason)
{
    QString where;
    if (m_reading >= 0)
        where = QStringLiteral("reading %1").arg(m_reading + 1);
    if (m_container >= 0)
        where += QStringLiteral(", container %1").arg(m_container + 1);
    m_error = where.isEmpty() ? reason : where + u": " + reason;
    return false;
}

bool HistoryReader::malformed(simdjson::error_code code)
{
    if (code == simdjson::MEMALLOC)
        throw std::bad_alloc();
    return fail(u"not valid JSON (" + QString::fromLatin1(simdjson::error_message(code)) + u')');
}

std::optional<QList<DataPoint>> HistoryReader::read(const char *json, size_t size, size_t capacity)
{
    od::document document;
    if (const auto code = m_parser.iterate(json, size, capacity).get(document)) {
        malformed(code);
        return std::nullopt;
    }
    od::array readings;
    if (const auto code = document.get_array().get(readings)) {
        code == simdjson::INCORRECT_TYPE ? fail(notAnArray()) : malformed(code);
        return std::nullopt;
    }
    QList<DataPoint> history;
    for (auto element : readings) {
        ++m_reading;
        od::value value;
        if (const auto code = element.get(value)) {
            malformed(code);
            return std::nullopt;
        }
        if (!readReading(value, history.emplaceBack()))
            return std::nullopt;
    }
    m_reading = -1;
    // At the end of the input there is no current location.
    if (!document.current_location().error()) {
        fail(QStringLiteral("text follows the closing bracket"));
        return std::nullopt;
    }
    return history;
}

// One object: each member that names a field of the record is read by
// readMember, any other is checked and ignored; every field is required and
// no name may come twice. Known names are counted in a bit set, the rare
// others listed.
template <typename Record, size_t N, bool (HistoryReader::*readMember)(int, od::value &, Record &)>
bool HistoryReader::readRecord(od::value value, Record &record, const std::string_view (&names)[N])
{
    od::object object;
    if (value.get_object().get(object))
        return fail(QStringLiteral("not an object"));
    unsigned seen = 0;
    std::vector<std::string_view> others;
    for (auto member : object) {
        od::field field;
        if (const auto code = std::move(member).get(field))
            return malformed(code);
        std::string_view key;
        if (!keyOf(field, key))
            return false;
        const int index = memberIndex(names, key);
        const unsigned bit = index < 0 ? 0u : 1u << index;
        if (seen & bit)
            return fail(u"duplicate key " + quoted(key));
        seen |= bit;
        if (index < 0)
            others.push_back(key);
        if (!(this->*readMember)(index, field.value(), record))
            return false;
    }
    return requireAll(seen, names, N) && (others.size() < 2 || requireUnique(others));
}

bool HistoryReader::readReading(od::value value, DataPoint &point)
{
    return readRecord<DataPoint, std::size(readingKeys), &HistoryReader::readReadingMember>(
        value, point, readingKeys);
}

bool HistoryReader::readReadingMember(int member, od::value &value, DataPoint &point)
{
    switch (member) {
    case ReadingId:
        return readId(value, point.id);
    case ReadingDate:
        return readDate(value, point.date);
    case ReadingContainers:
        return readContainers(value, point.containers);
    default:
        return check(value, readingMemberDepth);
    }
}

bool HistoryReader::readContainers(od::value &value, QList<ContainerInfo> &containers)
{
    od::array array;
    if (value.get_array().get(array))
        return fail(quoted(keys::containers) + u" is not an array");
    // Readings nearly always list as many containers as the one before; a
    // list grown step by step would waste memory in each of a long history's
    // readings.
    containers.reserve(m_containersBefore);
    for (auto element : array) {
        ++m_container;
        od::value container;
        if (const auto code = element.get(container))
            return malformed(code);
        if (!readContainer(container, containers.emplaceBack()))
            return false;
    }
    m_container = -1;
    m_containersBefore = containers.size();
    containers.squeeze();
    return true;
}

bool HistoryReader::readContainer(od::value value, ContainerInfo &container)
{
    return readRecord<ContainerInfo, std::size(containerKeys), &HistoryReader::readContainerMember>(
        value, container, containerKeys);
}

bool HistoryReader::readContainerMember(int member, od::value &value, ContainerInfo &c)
{
    const std::string_view key = member < 0 ? std::string_view() : containerKeys[member];
    switch (member) {
    case ContainerId:
        return readId(value, c.id);
    case ContainerConUUID:
        return readPooledText(value, key, ConUUIDText, c.conUUID);
    case ContainerConRef:
        return readPooledText(value, key, ConRefText, c.conRef);
    case ContainerCapacity:
        return readInteger(value, key, c.capacity);
    case ContainerFree:
        return readInteger(value, key, c.free);
    case ContainerVolNames:
        return readPooledText(value, key, VolNamesText, c.volNames);
    case ContainerFirstVolName:
        return readPooledText(value, key, FirstVolNameText, c.firstVolName);
    case ContainerTotalUsed:
        return readInteger(value, key, c.totalUsed);
    default:
        return check(value, containerMemberDepth);
    }
}

bool HistoryReader::requireAll(unsigned seen, const std::string_view *names, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!(seen & (1u << i)))
            return fail(quoted(names[i]) + u" is missing");
    }
    return true;
}

// Keys stay valid until the decoding ends (see keyOf).
bool HistoryReader::requireUnique(std::vector<std::string_view> &keys)
{
    std::sort(keys.begin(), keys.end());
    const auto twice = std::adjacent_find(keys.begin(), keys.end());
    return twice == keys.end() || fail(u"duplicate key " + quoted(*twice));
}

// A member name as text, valid until the decoding ends. Names are compared
// unescaped, so "\u0069d" is "id".
bool HistoryReader::keyOf(od::field &field, std::string_view &key)
{
    // The first quote is the closing one unless a backslash comes before it.
    const char *const raw = field.key().raw();
    const char *const close = std::strchr(raw, '"');
    if (!std::memchr(raw, '\\', size_t(close - raw))) {
        key = std::string_view(raw, size_t(close - raw));
        return true;
    }
    if (const auto code = field.unescaped_key().get(key))
        return malformed(code);
    return true;
}

// The characters of a string: the input's own bytes when the string holds no
// escape (nearly always, and no copy), else its unescaped form. Either stays
// valid until the decoding ends.
bool HistoryReader::readText(od::value &value, std::string_view name, std::string_view &text)
{
    const std::string_view token = value.raw_json_token();
    if (token.empty() || token.front() != '"')
        return fail(quoted(name) + u" is not a string");
    // The token runs up to the next one: the closing quote, maybe white space.
    const std::string_view raw = token.substr(1, token.find_last_of('"') - 1);
    if (raw.find('\\') == std::string_view::npos) {
        text = raw;
        return true;
    }
    if (const auto code = value.get_string().get(text))
        return code == simdjson::STRING_ERROR ? fail(quoted(name) + u" has a bad escape")
                                              : malformed(code);
    return true;
}

bool HistoryReader::readPooledText(od::value &value, std::string_view name, TextField field,
                                   QString &text)
{
    const int slot = int(field + TextFields * m_container);
    const std::string_view token = value.raw_json_token();
    if (const QString *same = m_textCache.recent(token, slot)) {
        text = *same;
        return true;
    }
    std::string_view bytes;
    if (!readText(value, name, bytes))
        return false;
    text = m_textCache.text(token, bytes, slot);
    return true;
}

bool HistoryReader::readId(od::value &value, QUuid &id)
{
    std::string_view text;
    if (!readText(value, keys::id, text))
        return false;
    const std::optional<QUuid> parsed =
        parseUuid(QByteArrayView(text.data(), qsizetype(text.size())));
    if (!parsed)
        return fail(quoted(keys::id) + u" is not a UUID");
    id = *parsed;
    return true;
}

bool HistoryReader::readInteger(od::value &value, std::string_view name, qint64 &number)
{
    int64_t parsed = 0;
    if (value.get_int64().get(parsed))
        return fail(quoted(name) + u" is not an integer within the signed 64-bit range");
    number = parsed;
    return true;
}

bool HistoryReader::readDate(od::value &value, double &date)
{
    // Numbers beyond the double range fail here, so every date is finite.
    if (value.get_double().get(date))
        return fail(quoted(keys::date) + u" is not a finite number");
    return true;
}

// Unknown members are ignored, but their values must be well-formed JSON too:
// the reader only skips over what it does not read, so check it here.
bool HistoryReader::check(od::value value, int depth)
{
    if (depth > maxDepth)
        return fail(QStringLiteral("nested deeper than %1 levels").arg(maxDepth));
    od::json_type type;
    if (const auto code = value.type().get(type))
        return malformed(code);
    switch (type) {
    case od::json_type::array:
        return checkArray(value, depth);
    case od::json_type::object:
        return checkObject(value, depth);
    default:
        return checkScalar(value, type);
    }
}

bool HistoryReader::checkArray(od::value &value, int depth)
{
    od::array array;
    if (const auto code = value.get_array().get(array))
        return malformed(code);
    for (auto element : array) {
        od::value item;
        if (const auto code = element.get(item))
            return malformed(code);
        if (!check(item, depth + 1))
            return false;
    }
    return true;
}

bool HistoryReader::checkObject(od::value &value, int depth)
{
    od::object object;
    if (const auto code = value.get_object().get(object))
        return malformed(code);
    std::vector<std::string_view> keys;
    for (auto member : object) {
        od::field field;
        if (const auto code = std::move(member).get(field))
            return malformed(code);
        std::string_view key;
        if (!keyOf(field, key) || !check(field.value(), depth + 1))
            return false;
        keys.push_back(key);
    }
    return requireUnique(keys);
}

bool HistoryReader::checkScalar(od::value &value, od::json_type type)
{
    simdjson::error_code code = simdjson::SUCCESS;
    switch (type) {
    case od::json_type::number:
        code = value.get_number().error();
        break;
    case od::json_type::string:
        code = value.get_string().error();
        break;
    case od::json_type::boolean:
        code = value.get_bool().error();
        break;
    default: {
        bool isNull = false;
        code = value.is_null().get(isNull);
        if (!code && !isNull)
            code = simdjson::N_ATOM_ERROR;
    }
    }
    return code ? malformed(code) : true;
}

} // namespace

QString whyNoHistoryStart(QByteArrayView start)
{
    for (const char c : start) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            return c == '[' ? QString() : notAnArray();
    }
    return {};
}

std::optional<QList<DataPoint>> decodePaddedHistory(QByteArrayView json, QString *error)
{
    HistoryReader reader;
    std::optional<QList<DataPoint>> history =
        reader.read(json.data(), size_t(json.size()), size_t(json.size() + jsonPadding));
    if (!history && error)
        *error = reader.error();
    return history;
}

std::optional<QList<DataPoint>> decodeHistory(const QByteArray &json, QString *error)
{
    if (json.capacity() - json.size() >= jsonPadding)
        return decodePaddedHistory(json, error);
    const simdjson::padded_string padded(json.constData(), size_t(json.size()));
    if (!padded.data())
        throw std::bad_alloc();
    return decodePaddedHistory(QByteArrayView(padded.data(), qsizetype(padded.size())), error);
}

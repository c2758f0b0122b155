#include "plistreader.h"

#include <QSet>
#include <QtNumeric>

using namespace Qt::StringLiterals;

namespace {

bool isTextElement(QStringView name)
{
    return name == u"string" || name == u"integer" || name == u"real" || name == u"date" ||
           name == u"data";
}

bool isEmptyElement(QStringView name)
{
    return name == u"true" || name == u"false";
}

// Accumulates negatively so that INT64_MIN, whose magnitude has no positive
// counterpart, parses too.
std::optional<qint64> parseDecimal(QStringView text)
{
    text = text.trimmed();
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (qMulOverflow(value, qint64(10), &value) ||
            qSubOverflow(value, qint64(c.unicode() - u'0'), &value))
            return std::nullopt;
    }
    if (!negative && qMulOverflow(value, qint64(-1), &value))
        return std::nullopt;
    return value;
}

} // namespace

QString PlistReader::quoted(const QString &text)
{
    constexpr qsizetype shown = 40;
    return u'"' + (text.size() > shown ? text.left(shown) + u"..."_s : text) + u'"';
}

PlistReader::PlistReader(const QByteArray &bytes) : m_xml(bytes)
{
    if (bytes.isEmpty())
        failMalformed(u"empty input"_s);
    else if (bytes.startsWith("bplist"))
        failMalformed(u"binary property lists are not supported"_s);
}

bool PlistReader::openDocument()
{
    if (hasFailed() || !advance())
        return false;
    if (!m_xml.isStartElement() || m_xml.name() != u"plist")
        return failMalformed(u"the root element is "_s + foundName() + u", not <plist>"_s);
    return advanceToValue();
}

bool PlistReader::closeDocument()
{
    if (!advance())
        return false;
    if (m_xml.isStartElement())
        return failMalformed(u"<plist> holds more than one value"_s);
    return advance() && (m_xml.isEndDocument() || failMalformed(u"content after </plist>"_s));
}

bool PlistReader::readDict(const EntryFunction &onEntry)
{
    if (!expectValue(u"dict") || !enter())
        return false;
    QSet<QString> keys;
    QString key;
    while (advance() && m_xml.isStartElement()) {
        if (!readKey(key) || !advanceToValue())
            return false;
        if (keys.contains(key))
            return fail(u"duplicate key "_s + quoted(key));
        keys.insert(key);
        if (!onEntry(key))
            return false;
    }
    return leave();
}

bool PlistReader::readArray(const ElementFunction &onElement)
{
    if (!expectValue(u"array") || !enter())
        return false;
    for (qsizetype index = 0; advance() && m_xml.isStartElement(); ++index) {
        if (!onElement(index))
            return false;
    }
    return leave();
}

bool PlistReader::readString(QString &out)
{
    return expectValue(u"string") && readText(out);
}

bool PlistReader::readInteger(qint64 &out)
{
    QString text;
    if (!expectValue(u"integer") || !readText(text))
        return false;
    const std::optional<qint64> value = parseDecimal(text);
    if (!value)
        return fail(u"not a signed 64-bit integer: "_s + quoted(text));
    out = *value;
    return true;
}

bool PlistReader::skipValue()
{
    const QStringView name = m_xml.name();
    QString ignored;
    if (name == u"dict")
        return readDict([this](const QString &) { return skipValue(); });
    if (name == u"array")
        return readArray([this](qsizetype) { return skipValue(); });
    if (isTextElement(name))
        return readText(ignored);
    if (isEmptyElement(name))
        return readEmpty();
    return failMalformed(u"unknown element "_s + foundName());
}

bool PlistReader::fail(const QString &reason)
{
    if (!hasFailed())
        m_error = reason;
    return false;
}

bool PlistReader::annotate(const QString &suffix, bool final)
{
    if (!m_malformed && !m_annotationsClosed)
        m_error += suffix;
    m_annotationsClosed = m_annotationsClosed || final;
    return false;
}

QString PlistReader::errorString() const
{
    return m_malformed ? u"not a property list: "_s + m_error : m_error;
}

bool PlistReader::failMalformed(const QString &reason)
{
    m_malformed = m_malformed || !hasFailed();
    return fail(reason);
}

bool PlistReader::failFromXml()
{
    QString reason = m_xml.errorString();
    if (reason.endsWith(u'.'))
        reason.chop(1);
    return failMalformed(
        reason + u" at line %1, column %2"_s.arg(m_xml.lineNumber()).arg(m_xml.columnNumber()));
}

// Reads the next token that carries content: passes over comments and
// processing instructions, and refuses entity references that the reader
// could not resolve, which would otherwise vanish from the text silently.
bool PlistReader::nextToken()
{
    if (hasFailed())
        return false;
    for (;;) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            break;
        case QXmlStreamReader::DTD:
            if (!handleDtd())
                return false;
            break;
        case QXmlStreamReader::EntityReference:
            return failMalformed(u"unknown entity &"_s + m_xml.name().toString() + u';');
        case QXmlStreamReader::Invalid:
            return failFromXml();
        default:
            return true;
        }
    }
}

// Moves to the next start tag, end tag or end of document.
bool PlistReader::advance()
{
    while (nextToken()) {
        if (!m_xml.isCharacters())
            return true;
        if (!m_xml.isWhitespace())
            return failMalformed(u"unexpected text "_s + quoted(m_xml.text().toString()));
    }
    return false;
}

bool PlistReader::advanceToValue()
{
    if (!advance())
        return false;
    return m_xml.isStartElement() || failMalformed(u"a value is missing before "_s + foundName());
}

// The document type may name the property-list DTD, but it may not declare
// entities: their expansion is how small documents turn into huge ones.
bool PlistReader::handleDtd()
{
    if (m_xml.entityDeclarations().isEmpty())
        return true;
    return failMalformed(u"entity declarations are not allowed"_s);
}

bool PlistReader::expectValue(QStringView name)
{
    if (hasFailed())
        return false;
    return m_xml.name() == name ||
           fail(u"expected <"_s + name.toString() + u"> but found "_s + foundName());
}

// Collects the text up to the current element's end tag.
bool PlistReader::readText(QString &out)
{
    out.clear();
    while (nextToken()) {
        if (m_xml.isEndElement())
            return true;
        if (!m_xml.isCharacters())
            return failMalformed(u"unexpected "_s + foundName() + u" inside a value"_s);
        out += m_xml.text();
    }
    return false;
}

bool PlistReader::readEmpty()
{
    const QString name = foundName();
    QString text;
    if (!readText(text))
        return false;
    return text.trimmed().isEmpty() || failMalformed(name + u" must be empty"_s);
}

bool PlistReader::readKey(QString &out)
{
    if (m_xml.name() != u"key")
        return failMalformed(u"expected <key> in <dict> but found "_s + foundName());
    return readText(out);
}

bool PlistReader::enter()
{
    if (++m_depth <= maxDepth)
        return true;
    return fail(u"values nested more than %1 levels deep"_s.arg(maxDepth));
}

bool PlistReader::leave()
{
    --m_depth;
    return !hasFailed();
}

QString PlistReader::foundName() const
{
    if (m_xml.isEndElement())
        return u"</"_s + m_xml.name().toString() + u'>';
    return u'<' + m_xml.name().toString() + u'>';
}

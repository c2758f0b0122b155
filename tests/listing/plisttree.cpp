#include "plisttree.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace
{

class TreeReader
{
public:
    explicit TreeReader(const QByteArray &xml) : m_xml(xml) {}

    std::optional<QVariant> document()
    {
        if (!m_xml.readNextStartElement() || m_xml.name() != "plist"_L1 ||
            !m_xml.readNextStartElement())
            return fail(u"no plist root"_s);
        auto value = this->value();
        while (value && !m_xml.atEnd())
            m_xml.readNext(); // the rest must be well formed too
        if (m_xml.hasError())
            return fail(m_xml.errorString());
        return value;
    }
    QString error() const { return m_error; }

private:
    std::optional<QVariant> value()
    {
        const auto name = m_xml.name();
        if (name == "dict"_L1)
            return dict();
        if (name == "array"_L1)
            return array();
        if (name == "string"_L1)
            return QVariant(m_xml.readElementText());
        if (name == "integer"_L1)
            return integer();
        return fail(u"unexpected element "_s + name.toString());
    }

    std::optional<QVariant> dict()
    {
        QVariantMap map;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() != "key"_L1)
                return fail(u"dict entry without key"_s);
            const QString key = m_xml.readElementText();
            if (!m_xml.readNextStartElement())
                return fail(u"key without value: "_s + key);
            const auto item = value();
            if (!item)
                return std::nullopt;
            map.insert(key, *item);
        }
        return m_xml.hasError() ? fail(m_xml.errorString()) : QVariant(map);
    }

    std::optional<QVariant> array()
    {
        QVariantList list;
        while (m_xml.readNextStartElement()) {
            const auto item = value();
            if (!item)
                return std::nullopt;
            list.append(*item);
        }
        return m_xml.hasError() ? fail(m_xml.errorString()) : QVariant(list);
    }

    std::optional<QVariant> integer()
    {
        bool ok = false;
        const qint64 number = m_xml.readElementText().toLongLong(&ok);
        return ok ? std::optional(QVariant(number)) : fail(u"bad integer"_s);
    }

    std::optional<QVariant> fail(const QString &why)
    {
        if (m_error.isEmpty())
            m_error = m_xml.hasError() ? m_xml.errorString() : why;
        return std::nullopt;
    }

    QXmlStreamReader m_xml;
    QString m_error;
};

} // namespace

std::optional<QVariant> readPlistTree(const QByteArray &xml, QString *error)
{
    TreeReader reader(xml);
    auto result = reader.document();
    if (!result && error)
        *error = reader.error();
    return result;
}

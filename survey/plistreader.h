#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <functional>

// A strict, pull-style reader of one XML property list. Each read* call
// starts on a value's start tag and consumes that value whole. The first
// failure sticks: every later call returns false and errorString() keeps
// the first reason, which callers may annotate with where it happened.
//
// Dictionaries and arrays nest at most maxDepth levels, so a hostile
// document cannot exhaust the stack. Entity declarations are refused, so
// nothing is ever expanded beyond the five predefined XML entities. A key
// repeated within one dictionary rejects the document: the listing would
// be ambiguous, and silently taking either value could record a wrong size.
// Ignored values are checked for structure only: their scalar text (an
// integer beyond int64, say) is not examined.
class PlistReader
{
public:
    using EntryFunction = std::function<bool(const QString &key)>;
    using ElementFunction = std::function<bool(qsizetype index)>;

    static constexpr int maxDepth = 64;

    explicit PlistReader(const QByteArray &bytes);

    // Moves past the prolog and <plist> onto the start of the root value.
    bool openDocument();
    // Requires </plist> and the end of the document after the root value.
    bool closeDocument();

    // Calls onEntry(key) once per entry, on the start of the entry's value,
    // which onEntry must consume (by reading or skipping it).
    bool readDict(const EntryFunction &onEntry);
    // Calls onElement(index) once per element, on the element's start.
    bool readArray(const ElementFunction &onElement);
    bool readString(QString &out);
    // Optional '-' and decimal digits only, fitting int64; surrounding
    // whitespace is allowed.
    bool readInteger(qint64 &out);
    // Checks the value's structure without keeping it.
    bool skipValue();

    // Records a failure (the first one only) and returns false.
    bool fail(const QString &reason);
    // Appends suffix to the failure reason unless a final annotation was
    // already made; returns false so callers can chain it after a read.
    bool annotate(const QString &suffix, bool final);

    bool hasFailed() const { return !m_error.isEmpty(); }
    QString errorString() const;

    // text in double quotes, shortened when long, for failure reasons.
    static QString quoted(const QString &text);

private:
    bool failMalformed(const QString &reason);
    bool failFromXml();
    bool nextToken();
    bool advance();
    bool advanceToValue();
    bool handleDtd();
    bool expectValue(QStringView name);
    bool readText(QString &out);
    bool readEmpty();
    bool readKey(QString &out);
    bool enter();
    bool leave();
    QString foundName() const;

    QXmlStreamReader m_xml;
    QString m_error;
    int m_depth = 0;
    bool m_malformed = false;
    bool m_annotationsClosed = false;
};

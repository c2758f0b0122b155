#pragma once

#include <QByteArray>
#include <QStringView>
#include <QUuid>
#include <string_view>

// Compact JSON (RFC 8259) written token by token into one growing buffer: no
// blanks, no line breaks, commas placed by the writer. Fast enough for a
// history of a hundred thousand readings, which a generic document model is
// not.
class JsonWriter
{
public:
    explicit JsonWriter(qsizetype expectedSize = 0);

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    // A member name; the value written next belongs to it.
    void key(std::string_view name);

    void value(QStringView text);
    void value(qint64 number);
    // The shortest text that reads back to the same double, with ".0" added
    // to whole numbers so they read back as doubles. False (and nothing
    // written) for NaN and infinities, which JSON cannot express.
    [[nodiscard]] bool value(double number);
    // Upper-case 8-4-4-4-12 text.
    void value(const QUuid &id);
    void null();

    // The document written so far; the writer is empty afterwards.
    QByteArray take();

private:
    // Room for count more bytes at the end; the returned pointer is where
    // they go, and commit() says where they ended.
    char *reserve(qsizetype count)
    {
        if (m_size + count > m_bytes.size())
            grow(count);
        return m_bytes.data() + m_size;
    }
    void grow(qsizetype count);
    void open(char bracket);
    void close(char bracket);
    void commit(char *end) { m_size = end - m_bytes.data(); }
    void separate()
    {
        if (m_needsComma)
            put(',');
        m_needsComma = true;
    }
    void put(char c)
    {
        *reserve(1) = c;
        ++m_size;
    }

    QByteArray m_bytes;
    qsizetype m_size = 0;
    bool m_needsComma = false;
};

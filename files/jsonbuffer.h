#pragma once

#include <QtGlobal>

// Memory for a whole JSON document with the padding the decoder may read
// past its end. A large buffer is aligned to huge pages and backed by them
// where the system offers them: filling a hundred megabytes page by page
// would cost more than decoding them.
class JsonBuffer
{
public:
    explicit JsonBuffer(qsizetype capacity);
    ~JsonBuffer();
    JsonBuffer(const JsonBuffer &) = delete;
    JsonBuffer &operator=(const JsonBuffer &) = delete;

    bool isValid() const { return m_data != nullptr; }
    char *data() const { return m_data; }
    qsizetype capacity() const { return m_capacity; }

private:
    char *m_data = nullptr;
    qsizetype m_capacity = 0;
};

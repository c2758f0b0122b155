#include "utf8textcache.h"

#include <QByteArrayView>

QString Utf8TextCache::text(std::string_view token, std::string_view bytes, int slot)
{
    QString text;
    if (const auto it = m_shared.find(bytes); it != m_shared.end()) {
        text = it->second;
    } else {
        text = QString::fromUtf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        if (m_shared.size() < maxShared)
            m_shared.emplace(bytes, text);
    }
    m_recent[static_cast<size_t>(slot) % recentCount] = {token, text};
    return text;
}

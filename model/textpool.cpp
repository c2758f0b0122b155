#include "textpool.h"

QString TextPool::shared(const QString &text)
{
    const auto it = m_texts.constFind(text);
    if (it != m_texts.cend())
        return *it;
    m_texts.insert(text);
    return text;
}

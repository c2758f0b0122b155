#include "text.h"

#include <QHash>

namespace
{

// Every string made only of code points below U+0300 is already in NFC: no
// combining mark, no composition exclusion and no Hangul lies below it.
bool isTriviallyNormalized(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x300)
            return false;
    }
    return true;
}

QString normalized(QStringView text)
{
    return isTriviallyNormalized(text) ? text.toString()
                                       : text.toString().normalized(QString::NormalizationForm_C);
}

} // namespace

bool sameText(QStringView a, QStringView b)
{
    if (a == b)
        return true;
    if (isTriviallyNormalized(a) && isTriviallyNormalized(b))
        return false;
    return normalized(a) == normalized(b);
}

size_t textHash(const QString &text, size_t seed)
{
    if (isTriviallyNormalized(text))
        return qHash(text, seed);
    return qHash(text.normalized(QString::NormalizationForm_C), seed);
}

TextMatcher::TextMatcher(const QString &text) : m_text(text), m_normalized(normalized(text)) {}

bool TextMatcher::operator()(const QString &candidate) const
{
    if (candidate == m_text)
        return true;
    if (isTriviallyNormalized(candidate))
        return candidate == m_normalized;
    return candidate.normalized(QString::NormalizationForm_C) == m_normalized;
}

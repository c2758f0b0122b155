#include "text.h"

#include <QHash>

namespace {

// Every string made only of code points below U+0300 is already in NFC: no
// combining mark, no composition exclusion and no Hangul lies below it.
bool isTriviallyNormalized(QStringView text)
{
    // The common case first, in one branch-free pass the compiler vectorises:
    // all bits of every code unit below U+0200.
    const char16_t *units = text.utf16();
    char16_t bits = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        bits |= units[i];
    if (bits < 0x200)
        return true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x300)
            return false;
    }
    return true;
}

} // namespace

QString canonicalText(QStringView text)
{
    return isTriviallyNormalized(text) ? text.toString()
                                       : text.toString().normalized(QString::NormalizationForm_C);
}

bool sameText(QStringView a, QStringView b)
{
    if (a == b)
        return true;
    if (isTriviallyNormalized(a) && isTriviallyNormalized(b))
        return false;
    return canonicalText(a) == canonicalText(b);
}

size_t textHash(const QString &text, size_t seed)
{
    if (isTriviallyNormalized(text))
        return qHash(text, seed);
    return qHash(text.normalized(QString::NormalizationForm_C), seed);
}

TextMatcher::TextMatcher(const QString &text)
    : m_text(text), m_normalized(canonicalText(text)), m_textIsNormalized(m_normalized == m_text)
{}

bool TextMatcher::operator()(QStringView candidate) const
{
    // The matcher lives for one walk over texts that do not change meanwhile,
    // so equal addresses and sizes mean equal texts.
    const QChar *data = candidate.data();
    for (const Verdict &seen : m_seen) {
        if (seen.data == data && seen.size == candidate.size())
            return seen.matches;
    }
    // A container has one shared text, so a handful of slots covers a walk;
    // the oldest verdict makes room.
    Verdict &slot = m_seen[m_nextSlot++ % m_seen.size()];
    slot = {data, candidate.size(), compare(candidate)};
    return slot.matches;
}

bool TextMatcher::compare(QStringView candidate) const
{
    if (candidate == m_text)
        return true;
    if (isTriviallyNormalized(candidate))
        return !m_textIsNormalized && candidate == m_normalized;
    return candidate.toString().normalized(QString::NormalizationForm_C) == m_normalized;
}

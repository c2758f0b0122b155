#pragma once

#include <QString>

#include <array>

// Texts are equal when they are canonically equivalent: "é" precomposed and
// "e" followed by a combining acute accent are the same name.
bool sameText(QStringView a, QStringView b);

// A hash that agrees with sameText().
size_t textHash(const QString &text, size_t seed = 0);

// The text in Unicode's composed form (NFC): equal for canonically equivalent texts.
QString canonicalText(QStringView text);

// Matches many texts against one, normalising the one only once. Texts that
// share their character data (the store keeps one copy of each container's
// UUID) are decided once by address, without reading the characters again.
class TextMatcher
{
public:
    explicit TextMatcher(const QString &text);
    bool operator()(QStringView candidate) const;

private:
    bool compare(QStringView candidate) const;

    struct Verdict {
        const QChar *data = nullptr;
        qsizetype size = -1;
        bool matches = false;
    };

    QString m_text;
    QString m_normalized;
    bool m_textIsNormalized;
    mutable std::array<Verdict, 8> m_seen{};
    mutable size_t m_nextSlot = 0;
};

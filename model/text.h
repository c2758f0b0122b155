#pragma once

#include <QString>

// Texts are equal when they are canonically equivalent: "é" precomposed and
// "e" followed by a combining acute accent are the same name.
bool sameText(QStringView a, QStringView b);

// A hash that agrees with sameText().
size_t textHash(const QString &text, size_t seed = 0);

// Matches many texts against one, normalising the one only once.
class TextMatcher
{
public:
    explicit TextMatcher(const QString &text);
    bool operator()(const QString &candidate) const;

private:
    QString m_text;
    QString m_normalized;
};

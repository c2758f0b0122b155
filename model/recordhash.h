#pragma once

#include "text.h"

#include <QHash>

// Hashes a record's fields so that equal records hash alike: texts by their
// canonical form, everything else by value.
inline size_t fieldHash(const QString &text)
{
    return textHash(text);
}

template <typename T>
size_t fieldHash(const T &value)
{
    return qHash(value);
}

template <typename... Fields>
size_t hashFields(size_t seed, const Fields &...fields)
{
    QtPrivate::QHashCombine combine;
    ((seed = combine(seed, fieldHash(fields))), ...);
    return seed;
}

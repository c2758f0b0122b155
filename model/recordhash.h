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

// Mixes one field's hash into the seed, as boost::hash_combine does: equal
// fields in another order give another hash.
inline size_t combineHash(size_t seed, size_t hash)
{
    return seed ^ (hash + 0x9e3779b9 + (seed << 6) + (seed >> 2));
}

template <typename... Fields>
size_t hashFields(size_t seed, const Fields &...fields)
{
    ((seed = combineHash(seed, fieldHash(fields))), ...);
    return seed;
}

#pragma once

#include <QtGlobal>

#include <array>
#include <type_traits>

// The value of each hexadecimal digit, in either case; -1 for every other byte.
inline constexpr std::array<qint8, 256> hexDigitValues = [] {
    std::array<qint8, 256> table{};
    table.fill(-1);
    for (int c = 0; c < 10; ++c)
        table['0' + c] = qint8(c);
    for (int c = 0; c < 6; ++c) {
        table['a' + c] = qint8(10 + c);
        table['A' + c] = qint8(10 + c);
    }
    return table;
}();

// The value of a hexadecimal digit (char or UTF-16 code unit); -1 for any
// other character. A table, as ids are parsed two per container of every
// reading.
template <typename Char>
int hexDigitValue(Char c)
{
    const auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code < hexDigitValues.size() ? hexDigitValues[code] : -1;
}

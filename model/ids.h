#pragma once

#include <QString>
#include <QUuid>

#include <optional>

// A fresh random (version 4) UUID. Readings make one per record, so this
// draws from a fast generator seeded once from the system, not a syscall each.
QUuid newId();

// The canonical 36-character form with upper-case hexadecimal digits, written
// to out without allocating: a saved history holds two ids per container of
// every reading.
inline constexpr int uuidTextLength = 36;
void writeUuidText(const QUuid &id, char *out);

// Parses exactly 8-4-4-4-12 hexadecimal digits in either case; no braces.
std::optional<QUuid> parseUuid(QStringView text);
std::optional<QUuid> parseUuid(QByteArrayView latin1);

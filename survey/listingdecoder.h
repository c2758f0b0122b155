#pragma once

#include "listingrecords.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Decodes the listing tool's XML property list into a TopLevel, all or
// nothing: every required key at every level (case-sensitive, right type),
// integers that fit int64, unknown keys of any plist type ignored, nesting
// depth bounded. A container whose volumes' CapacityInUse add up beyond int64
// also fails the decode. On failure, *error (when given) says why in one line.
std::optional<TopLevel> decodeListing(const QByteArray &bytes, QString *error = nullptr);

#pragma once

#include "listingrecords.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// The listing as an XML property list in UTF-8, laid out as the disk utility
// lays out its own: root dictionary, "Containers", the required keys.
QByteArray writePlist(const TopLevel &top);

// Text safe for XML 1.0 character data: &, <, > and " escaped; characters
// XML cannot carry at all (control characters, lone surrogates, U+FFFE,
// U+FFFF) replaced by U+FFFD; carriage returns kept as a character reference
// so that parsers do not turn them into line feeds.
QString xmlEscaped(QStringView text);

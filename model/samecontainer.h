#pragma once

#include "text.h"

// The one rule for which readings belong to a container, used by the
// selection, the CSV export and every report: those whose conUUID is
// canonically equivalent to the container's. Canonical, not exact, because
// every text of the records compares that way, and a UUID that passed through
// a tool which normalises Unicode must still find its earlier readings.
// Histories already saved match as before: the listing's UUIDs are ASCII,
// where both rules agree.
using ContainerMatcher = TextMatcher;

// Equal for two conUUIDs exactly when they name the same container.
inline QString containerKey(QStringView conUUID)
{
    return canonicalText(conUUID);
}

#pragma once

#include <QtGlobal>

// The units every number of the system is counted in, in one place.

// GB means 10^9 bytes.
inline constexpr qint64 bytesPerGB = 1000000000;
inline constexpr double secondsPerDay = 86400.0;
inline constexpr double secondsPerWeek = 604800.0;
// Bytes per second to GB per week: 604800 s per week over 10^9 bytes per GB.
inline constexpr double gbPerWeekPerBytePerSecond = 0.0006048;

#pragma once

#include "recenttrend.h"

#include <optional>
#include <span>

// A reading is low when its totalUsed lies at least max(1 GB, 1% of its
// capacity) below the highest totalUsed of the readings earlier in the
// history dated in the cleanupLookBack before it (and of the previous
// reading, however old, so that a fall between two distant readings still
// counts). The latest run of consecutive low readings is the latest cleanup,
// spread over as many readings as it took.
//
// Returns the index where the trend's window starts after that cleanup: the
// run's lowest reading (the earliest of equally low ones), or, while the
// lowest is the last reading and the fall still goes on, the run's first.
// Nothing without a low reading. Linear for readings in date order, n log n
// otherwise.
std::optional<size_t> cleanupStart(std::span<const TrendReading> readings);

#pragma once

#include <QtGlobal>

#include <optional>
#include <span>

struct SlopePoint {
    double x;
    qint64 y;
};

// The median of the slopes between every two points with different x (the
// mean of the two middle ones for an even count), and Sen's 90% range: the
// slopes at ranks floor((N - C) / 2) - 1 and ceil((N + C) / 2) of the N sorted
// slopes, 0-based and kept in range, where C = 1.6449 sqrt(m (m - 1) (2m + 5)
// / 18) for m points.
struct SenSlopes {
    double median = 0.0;
    double low = 0.0;
    double high = 0.0;
};

// Nothing without two points at different x. A thousand points take a few
// milliseconds: the half million slopes are selected among, never sorted.
std::optional<SenSlopes> senSlopes(std::span<const SlopePoint> points);

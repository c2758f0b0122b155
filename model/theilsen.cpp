#include "theilsen.h"

#include "seriesaccumulator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The two-sided 90% point of the normal distribution.
constexpr double z90 = 1.6449;
// Many slopes are not all kept: a spread-out sample of about this many says
// which of them lie near the wanted ranks, and only those are kept and
// selected among. Fewer slopes than sampleFrom are all kept.
constexpr size_t sampleSize = 4096;
constexpr size_t sampleFrom = 16 * sampleSize;
// Four standard deviations of a sample's middle quantiles in sample ranks,
// 4 sqrt(sampleSize / 4): for slopes in random order the bracket misses the
// wanted ranks about once in 16,000 times, and then every slope is kept.
constexpr double sampleMargin = 128.0;
constexpr double infinity = std::numeric_limits<double>::infinity();

double slope(const SlopePoint &a, const SlopePoint &b)
{
    return difference(b.y, a.y) / (b.x - a.x);
}

template <typename Visit>
void forEachPair(std::span<const SlopePoint> points, Visit visit)
{
    for (auto i = points.begin(); i != points.end(); ++i) {
        for (auto j = i + 1; j != points.end(); ++j) {
            if (i->x != j->x)
                visit(*i, *j);
        }
    }
}

// How many slopes there are, and every stride-th of them.
struct Survey {
    size_t count = 0;
    std::vector<double> sample;
};

Survey survey(std::span<const SlopePoint> points)
{
    const size_t pairs = points.size() * (points.size() - 1) / 2;
    const size_t stride = pairs < sampleFrom ? 1 : pairs / sampleSize;
    Survey s;
    s.sample.reserve(pairs / stride + 1);
    size_t skip = 0; // a countdown rather than a division per pair
    forEachPair(points, [&](const SlopePoint &a, const SlopePoint &b) {
        ++s.count;
        if (skip-- == 0) {
            s.sample.push_back(slope(a, b));
            skip = stride - 1;
        }
    });
    return s;
}

std::pair<size_t, size_t> senRanks(size_t slopes, size_t points)
{
    const auto n = static_cast<double>(slopes);
    const auto m = static_cast<double>(points);
    const double c = z90 * std::sqrt(m * (m - 1) * (2 * m + 5) / 18);
    const auto rank = [n](double i) { return static_cast<size_t>(std::clamp(i, 0.0, n - 1)); };
    return {rank(std::floor((n - c) / 2) - 1), rank(std::ceil((n + c) / 2))};
}

// The slopes among which the wanted ranks lie, and how many lie below them.
struct Pool {
    std::unique_ptr<double[]> storage;
    std::span<double> values;
    size_t below = 0;
};

double sampleAt(std::vector<double> &sample, double rank, double beyond)
{
    if (!(rank >= 0.0 && rank < static_cast<double>(sample.size())))
        return beyond;
    const auto k = sample.begin() + static_cast<std::ptrdiff_t>(rank);
    std::nth_element(sample.begin(), k, sample.end());
    return *k;
}

// Two slopes that very likely enclose ranks [low, high].
std::pair<double, double> bracket(Survey &s, size_t low, size_t high)
{
    const double scale = static_cast<double>(s.sample.size()) / static_cast<double>(s.count);
    const double from = std::floor(static_cast<double>(low) * scale - sampleMargin);
    const double to = std::ceil(static_cast<double>(high) * scale + sampleMargin);
    return {sampleAt(s.sample, from, -infinity), sampleAt(s.sample, to, infinity)};
}

// Room for every slope is taken but only the kept ones are written, and
// without branches: whether a slope is kept is as good as random.
Pool gather(std::span<const SlopePoint> points, std::pair<double, double> range, size_t count)
{
    Pool pool;
    pool.storage = std::make_unique_for_overwrite<double[]>(count + 1);
    double *const out = pool.storage.get();
    size_t kept = 0;
    forEachPair(points, [&](const SlopePoint &a, const SlopePoint &b) {
        const double v = slope(a, b);
        out[kept] = v;
        kept += (v >= range.first) & (v <= range.second);
        pool.below += v < range.first;
    });
    pool.values = {out, kept};
    return pool;
}

Pool poolFor(std::span<const SlopePoint> points, Survey s, size_t low, size_t high)
{
    constexpr std::pair<double, double> all{-infinity, infinity};
    if (s.sample.size() == s.count)
        return gather(points, all, s.count);
    Pool near = gather(points, bracket(s, low, high), s.count);
    if (near.below <= low && near.below + near.values.size() > high)
        return near;
    return gather(points, all, s.count);
}

// Once the upper middle is in place the lower middle is the largest slope
// before it, the low rank lies before it and the high rank after it.
SenSlopes select(Pool &pool, size_t count, size_t low, size_t high)
{
    const auto begin = pool.values.begin();
    const auto at = [&](size_t rank) {
        return begin + static_cast<std::ptrdiff_t>(rank - pool.below);
    };
    const size_t mid = count / 2;
    std::nth_element(begin, at(mid), pool.values.end());
    const double upper = *at(mid);
    const double median = count % 2 ? upper : (*std::max_element(begin, at(mid)) + upper) / 2;
    std::nth_element(begin, at(low), at(mid));
    std::nth_element(at(mid), at(high), pool.values.end());
    return {median, *at(low), *at(high)};
}

} // namespace

std::optional<SenSlopes> senSlopes(std::span<const SlopePoint> points)
{
    if (points.size() < 2)
        return std::nullopt;
    Survey s = survey(points);
    if (s.count == 0)
        return std::nullopt;
    const size_t count = s.count;
    const auto [low, high] = senRanks(count, points.size());
    Pool pool = poolFor(points, std::move(s), low, high);
    return select(pool, count, low, high);
}

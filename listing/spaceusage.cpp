#include "spaceusage.h"

#include <QtNumeric>

#include <limits>

namespace {

std::optional<qint64> bytes(quint64 count, quint64 unit)
{
    quint64 product = 0;
    if (qMulOverflow(count, unit, &product) ||
        product > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return qint64(product);
}

} // namespace

std::optional<ByteSizes> byteSizes(const SpaceUsage &usage)
{
    if (usage.freeBlocks > usage.blocks || usage.availableBlocks > usage.blocks)
        return std::nullopt;
    const auto capacity = bytes(usage.blocks, usage.fragmentSize);
    const auto available = bytes(usage.availableBlocks, usage.fragmentSize);
    const auto inUse = bytes(usage.blocks - usage.freeBlocks, usage.fragmentSize);
    if (!capacity || !available || !inUse)
        return std::nullopt;
    return ByteSizes{*capacity, *available, *inUse};
}

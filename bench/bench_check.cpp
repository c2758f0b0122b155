// Check All at scale: one reading of 200,000 containers (QUILLBANK_CONTAINERS
// sets another count) decoded and recorded by the store, then one container
// selected. Prints the times; checks only that the reading arrived whole.
#include "DiskInfo.h"
#include "clock.h"
#include "listingsurvey.h"
#include "listingxml.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

// Stands in for the tool with a listing made in memory; decodes for real.
class MemoryListing : public ListingSurvey
{
public:
    explicit MemoryListing(QByteArray listing) : m_listing(std::move(listing)) {}
    std::optional<QByteArray> runDiskutil(std::stop_token = {}) override { return m_listing; }

private:
    QByteArray m_listing;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = qEnvironmentVariableIsSet("QUILLBANK_CONTAINERS")
                          ? qEnvironmentVariableIntValue("QUILLBANK_CONTAINERS")
                          : 200000;
    QList<ListedContainer> containers;
    for (int i = 0; i < count; ++i)
        containers.append({"C-" + QByteArray::number(i), "d", 1000000, i, {{"v", count - i}}});
    DiskInfo store(std::make_unique<SystemClock>(),
                   std::make_unique<MemoryListing>(listingXml(containers)), nullptr);
    QElapsedTimer timer;
    timer.start();
    store.checkContainers();
    const qint64 checked = timer.restart();
    store.selectContainer(QStringLiteral("C-%1").arg(count / 2));
    const qint64 selected = timer.elapsed();
    std::printf("Check All of %d containers: %lld ms; selecting one: %lld ms\n", count,
                static_cast<long long>(checked), static_cast<long long>(selected));
    return store.containerData().size() == count && store.ratesPoints().size() == 1 ? 0 : 1;
}

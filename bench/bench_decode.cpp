// Times decodeListing on a real listing of about 20 KB and prints the median.

#include "listingdecoder.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int runs = 2000;

QByteArray volumeXml(int index)
{
    const QByteArray n = QByteArray::number(index);
    return "\t\t\t\t<dict>\n\t\t\t\t\t<key>APFSVolumeUUID</"
           "key>\n\t\t\t\t\t<string>851469E3-C3AD-4158-"
           "9B1F-2ADB47C0" +
           n.rightJustified(4, '0') +
           "</string>\n\t\t\t\t\t<key>CapacityInUse</key>\n\t\t\t\t\t<integer>" + n +
           "7352320</integer>\n\t\t\t\t\t<key>CapacityQuota</key>\n\t\t\t\t\t<integer>0</integer>\n"
           "\t\t\t\t\t<key>CapacityReserve</key>\n\t\t\t\t\t<integer>0</integer>\n"
           "\t\t\t\t\t<key>CryptoMigrationOn</key>\n\t\t\t\t\t<false/>\n"
           "\t\t\t\t\t<key>DeviceIdentifier</key>\n\t\t\t\t\t<string>disk3s" +
           n +
           "</string>\n\t\t\t\t\t<key>Encryption</key>\n\t\t\t\t\t<true/>\n"
           "\t\t\t\t\t<key>FileVault</key>\n\t\t\t\t\t<false/>\n"
           "\t\t\t\t\t<key>Locked</key>\n\t\t\t\t\t<false/>\n"
           "\t\t\t\t\t<key>Name</key>\n\t\t\t\t\t<string>Volume " +
           n +
           "</string>\n\t\t\t\t\t<key>Roles</key>\n\t\t\t\t\t<array>\n"
           "\t\t\t\t\t\t<string>Data</string>\n\t\t\t\t\t</array>\n\t\t\t\t</dict>\n";
}

QByteArray containerXml(int index)
{
    QByteArray volumes;
    for (int i = 0; i < 6; ++i)
        volumes += volumeXml(index * 10 + i);
    return "\t\t<dict>\n\t\t\t<key>APFSContainerUUID</key>\n\t\t\t<string>36CF3DCA-CFC3-4D92-BC91-"
           "76E00A10471" +
           QByteArray::number(index) +
           "</string>\n\t\t\t<key>CapacityCeiling</key>\n\t\t\t<integer>994662584320</integer>\n"
           "\t\t\t<key>CapacityFree</key>\n\t\t\t<integer>643200086016</integer>\n"
           "\t\t\t<key>ContainerReference</key>\n\t\t\t<string>disk3</string>\n"
           "\t\t\t<key>Fusion</key>\n\t\t\t<false/>\n\t\t\t<key>Volumes</key>\n\t\t\t<array>\n" +
           volumes + "\t\t\t</array>\n\t\t</dict>\n";
}

// Four containers of six volumes each, laid out as the listing tool does.
QByteArray generatedListing()
{
    QByteArray containers;
    for (int i = 0; i < 4; ++i)
        containers += containerXml(i);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
           "\t<key>Containers</key>\n\t<array>\n" +
           containers + "\t</array>\n</dict>\n</plist>\n";
}

QByteArray sampleListing(const char **source)
{
    QFile file(
        QStringLiteral(QUILLBANK_SHARED_FIXTURES "/03-nimble-11.1-applesilicon-timemachine.plist"));
    if (file.open(QIODevice::ReadOnly)) {
        *source = "03-nimble-11.1-applesilicon-timemachine.plist";
        return file.readAll();
    }
    *source = "generated listing";
    return generatedListing();
}

} // namespace

int main()
{
    const char *source = nullptr;
    const QByteArray bytes = sampleListing(&source);
    if (!decodeListing(bytes)) {
        std::fprintf(stderr, "bench_decode: the sample listing does not decode\n");
        return 1;
    }
    std::vector<qint64> nanoseconds;
    nanoseconds.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::optional<TopLevel> top = decodeListing(bytes);
        nanoseconds.push_back(timer.nsecsElapsed());
        if (!top)
            return 1;
    }
    std::nth_element(nanoseconds.begin(), nanoseconds.begin() + runs / 2, nanoseconds.end());
    std::printf("decodeListing, %s (%lld bytes), %d runs: median %.3f ms\n", source,
                static_cast<long long>(bytes.size()), runs, nanoseconds[runs / 2] / 1e6);
    return 0;
}

// quillbank-listing: this machine's local filesystems as the disk listing
// that Quillbank reads, for systems without the disk utility.
//
//   quillbank-listing apfs list -plist
//
// QUILLBANK_MOUNTINFO names another mount table to read in place of
// /proc/self/mountinfo; it exists for tests and benchmarks only.

#include "listingbuilder.h"
#include "mounttable.h"
#include "plistwriter.h"
#include "systemfilesystemlookup.h"

#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

bool isListCommand(int argc, char *argv[])
{
    return argc == 4 && std::strcmp(argv[1], "apfs") == 0 && std::strcmp(argv[2], "list") == 0 &&
           std::strcmp(argv[3], "-plist") == 0;
}

QString mountTablePath()
{
    const QString path = qEnvironmentVariable("QUILLBANK_MOUNTINFO");
    return path.isEmpty() ? QStringLiteral("/proc/self/mountinfo") : path;
}

void warn(const QString &message)
{
    std::fprintf(stderr, "quillbank-listing: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    if (!isListCommand(argc, argv)) {
        std::fprintf(stderr, "usage: quillbank-listing apfs list -plist\n");
        return 2;
    }
    QFile table(mountTablePath());
    if (!table.open(QIODevice::ReadOnly)) {
        warn(QStringLiteral("cannot read the mount table ") + table.fileName() + u": " +
             table.errorString());
        return 1;
    }
    SystemFileSystemLookup lookup;
    ListingBuilder builder(lookup);
    const QByteArray plist = writePlist(builder.build(parseMountTable(table.readAll())));
    for (const QString &warning : builder.warnings())
        warn(warning);
    if (std::fwrite(plist.constData(), 1, size_t(plist.size()), stdout) != size_t(plist.size()) ||
        std::fflush(stdout) != 0) {
        warn(QStringLiteral("cannot write the listing"));
        return 1;
    }
    return 0;
}

#pragma once

// Stand-in listing programs for Check All, written into a temporary folder.
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A shell script that prints `output` and exits with `status`.
inline QString writeListingScript(const QTemporaryDir &dir, const QString &name,
                                  const QByteArray &output, int status)
{
    const QString path = dir.filePath(name);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/bin/sh\ncat <<'PLIST'\n" + output + "\nPLIST\nexit " +
                 QByteArray::number(status) + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// One container, disk3, with volumes Data (370 bytes in use) and VM (30).
inline QByteArray oneContainerListing()
{
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>Containers</key><array><dict>
<key>APFSContainerUUID</key><string>11111111-2222-3333-4444-555555555555</string>
<key>CapacityCeiling</key><integer>994662584320</integer>
<key>CapacityFree</key><integer>120</integer>
<key>ContainerReference</key><string>disk3</string>
<key>Volumes</key><array>
<dict><key>APFSVolumeUUID</key><string>AAAAAAAA-2222-3333-4444-555555555555</string>
<key>Name</key><string>Data</string><key>Roles</key><array><string>Data</string></array>
<key>CapacityInUse</key><integer>370</integer></dict>
<dict><key>APFSVolumeUUID</key><string>BBBBBBBB-2222-3333-4444-555555555555</string>
<key>Name</key><string>VM</string><key>Roles</key><array/>
<key>CapacityInUse</key><integer>30</integer></dict>
</array></dict></array></dict></plist>)";
}

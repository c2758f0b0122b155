#pragma once

// Listings in the tool's XML property-list form.
#include <QByteArray>
#include <QList>

struct ListedVolume {
    QByteArray name;
    qint64 inUse = 0;
};

struct ListedContainer {
    QByteArray uuid;
    QByteArray ref = "disk3";
    qint64 capacity = 1000;
    qint64 free = 300;
    QList<ListedVolume> volumes;
};

inline QByteArray listingXml(const QList<ListedContainer> &containers)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                     "<key>Containers</key><array>";
    for (const ListedContainer &c : containers) {
        xml += "<dict><key>APFSContainerUUID</key><string>" + c.uuid +
               "</string><key>CapacityCeiling</key><integer>" + QByteArray::number(c.capacity) +
               "</integer><key>CapacityFree</key><integer>" + QByteArray::number(c.free) +
               "</integer><key>ContainerReference</key><string>" + c.ref +
               "</string><key>Fusion</key><false/><key>Volumes</key><array>";
        for (const ListedVolume &v : c.volumes)
            xml += "<dict><key>APFSVolumeUUID</key><string>V</string><key>Name</key><string>" +
                   v.name + "</string><key>Roles</key><array/><key>CapacityInUse</key><integer>" +
                   QByteArray::number(v.inUse) + "</integer></dict>";
        xml += "</array></dict>";
    }
    return xml + "</array></dict></plist>";
}

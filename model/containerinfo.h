#pragma once

#include <QMetaType>
#include <QString>
#include <QUuid>

// One container as seen by one reading.
struct ContainerInfo {
    QUuid id;
    QString conUUID;
    QString conRef;
    qint64 capacity = 0;
    qint64 free = 0;
    QString volNames;
    QString firstVolName;
    qint64 totalUsed = 0;

    // conRef,firstVolName,capacity,free,totalUsed,conUUID, the texts as CSV
    // fields: what Copy puts on the clipboard and what the command-line tool
    // lists.
    QString copyText() const;

    friend bool operator==(const ContainerInfo &a, const ContainerInfo &b);
};

size_t qHash(const ContainerInfo &info, size_t seed = 0);

Q_DECLARE_METATYPE(ContainerInfo)

#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// The names of the symlinks in one of udev's /dev/disk/by-* folders, by the
// number of the block device each one leads to. The folder is read once, on
// the first question; a missing folder answers nothing.
class DeviceLinks
{
public:
    explicit DeviceLinks(const QByteArray &folder) : m_folder(folder) {}

    std::optional<QString> nameOf(quint64 device);

    // udev writes bytes it does not allow in a link name as \xNN; valid UTF-8
    // stays as it is. Decoded leniently: invalid UTF-8 becomes U+FFFD.
    static QString decodeLinkName(QByteArrayView name);

private:
    void read();

    QByteArray m_folder;
    std::optional<QHash<quint64, QString>> m_names;
};

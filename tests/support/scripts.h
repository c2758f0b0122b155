#pragma once

// Stand-in programs, written as shell scripts into a scratch folder that every user can reach.
#include <QFile>
#include <QTemporaryDir>

inline QString writeScript(const QTemporaryDir &dir, const QString &name, const QByteArray &body,
                           bool executable = true)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write("#!/bin/sh\n" + body + '\n');
    file.setPermissions(executable ? QFile::permissions(path) | QFile::ExeOwner | QFile::ExeOther |
                                         QFile::ReadOther
                                   : QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

// A listing tool that prints `output` and exits with `status`.
inline QString writeListingTool(const QTemporaryDir &dir, const QString &name,
                                const QByteArray &output, int status = 0)
{
    QFile data(dir.filePath(name + u".out"));
    if (!data.open(QIODevice::WriteOnly))
        return {};
    data.write(output);
    data.setPermissions(data.permissions() | QFile::ReadOther);
    return writeScript(
        dir, name, "cat '" + data.fileName().toUtf8() + "'\nexit " + QByteArray::number(status));
}

inline QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

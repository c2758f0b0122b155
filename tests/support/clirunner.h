#pragma once

#include "cli.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

// A stand-in listing tool in dir: a script that prints output and exits with
// status.
inline QString writeProbe(const QTemporaryDir &dir, const QByteArray &output, int status = 0)
{
    static int count = 0;
    const QString data = dir.filePath(QStringLiteral("out%1").arg(count));
    const QString path = dir.filePath(QStringLiteral("probe%1").arg(count++));
    QFile out(data);
    out.open(QIODevice::WriteOnly);
    out.write(output);
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\ncat '" + data.toUtf8() + "'\nexit " + QByteArray::number(status) +
                 "\n");
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

// Runs quillbank-cli in-process; out and err (when given) receive what it
// prints.
inline int runCliCapturing(const QStringList &args, QString *out = nullptr, QString *err = nullptr)
{
    QString ignored;
    QTextStream o(out ? out : &ignored);
    QTextStream e(err ? err : &ignored);
    const int status = runCli(QStringList{QStringLiteral("quillbank-cli")} + args, o, e);
    o.flush();
    e.flush();
    return status;
}

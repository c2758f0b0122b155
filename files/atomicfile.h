#pragma once

#include <QByteArrayView>
#include <QString>

// Writes bytes through a temporary file in the same folder that then replaces
// path: a full disk or a crash mid-write leaves the old file as it was. On
// failure *error (when given) says why.
bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error = nullptr);

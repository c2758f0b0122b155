#include "recorderschedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString recorderProgram()
{
    const QDir here(QCoreApplication::applicationDirPath());
    // Beside the window, in the build tree and once installed; on macOS also
    // beside the application bundle.
    QStringList candidates{here.filePath(QStringLiteral("quillbank-cli"))};
#ifdef Q_OS_MACOS
    candidates.append(here.filePath(QStringLiteral("../../../quillbank-cli")));
#endif
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    const QString found = QStandardPaths::findExecutable(QStringLiteral("quillbank-cli"));
    return found.isEmpty() ? candidates.constFirst() : found;
}

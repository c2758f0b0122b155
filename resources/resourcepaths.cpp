#include "resourcepaths.h"

QString helpPdfPath()
{
    return QStringLiteral(":/QuillbankHelp.pdf");
}

QString fallbackIconPath(const QString &toolName)
{
    return u":/icons/" + toolName + u".png";
}

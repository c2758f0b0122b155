#pragma once

#include <QString>

// Where the embedded help PDF and toolbar icons live in the app's resources.
QString helpPdfPath();
QString fallbackIconPath(const QString &toolName);

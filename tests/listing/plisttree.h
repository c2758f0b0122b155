#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// A small, strict reader of XML property lists for checking the listing
// without the survey's decoder: dict → QVariantMap, array → QVariantList,
// string → QString, integer → qint64. Nothing, with the reason in *error,
// when the XML is not well formed or holds anything else.
std::optional<QVariant> readPlistTree(const QByteArray &xml, QString *error);

#pragma once

#include "datapoint.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The history file's document: a compact JSON array of readings, each an
// object with "id", "date" and "containers", each container an object with
// its eight fields by name. Fails only for a date that is NaN or infinite,
// which JSON cannot hold; *error (when given) then says which reading.
std::optional<QByteArray> encodeHistory(const QList<DataPoint> &history, QString *error = nullptr);

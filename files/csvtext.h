#pragma once

#include "containerexport.h"

#include <QByteArray>

#include <optional>

// The CSV export's file: the header "date,size,sizeTotal,rate", a row per
// reading with the date in local time as dd/MM/yyyy HH:mm:ss, two empty
// lines, the volume names and "Capacity: " with the capacity, in UTF-8 with
// line feeds and no final line end. Nothing when the export is not exact or a
// date cannot be placed in the calendar.
std::optional<QByteArray> csvText(const ContainerExport &rows);

#pragma once

#include <QStringList>
#include <QTextStream>

// report HISTORY [--container CONUUID] [--json] [--series]: for every
// container of the history, in order of first appearance, or for one, the
// series and summary numbers that selecting it in the window shows.
int reportCommand(const QStringList &words, QTextStream &out, QTextStream &err);

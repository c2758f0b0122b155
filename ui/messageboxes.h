#pragma once

#include "DiskInfo.h"

#include <QMessageBox>

// The main window's messages: why an operation failed, and what to do with
// readings that were not saved.

// Shows, over parent and without waiting, what failed, naming the file when
// there is one, and the reason beneath, wide enough that a path in it does
// not break.
void showFailure(QWidget *parent, DiskInfo::Failure failure, const QString &reason,
                 const QString &path = QString());

// Asks whether to save the readings that were not saved before they are
// lost: Save, Discard or Cancel.
QMessageBox::StandardButton askToSaveReadings(QWidget *parent, const QString &file);

// Asks, before a save, what to do with the readings the file holds that this
// window's history lacks (another process, a scheduled record say, added
// them): merge them in (the default), replace the file, or cancel.
HistorySaver::Choice askToMergeReadings(QWidget *parent, qsizetype readingsOnlyInFile);

// Asks, before a save, whether to write over the file at path, which cannot
// be read for reason; Cancel is the default.
bool askToReplaceUnreadable(QWidget *parent, const QString &path, const QString &reason);

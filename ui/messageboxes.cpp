#include "messageboxes.h"

#include <QGuiApplication>
#include <QPushButton>

namespace {

QString failureText(DiskInfo::Failure failure)
{
    switch (failure) {
    case DiskInfo::Failure::ToolFailed:
        return QMessageBox::tr("Check All took no reading: the listing tool failed.");
    case DiskInfo::Failure::Undecodable:
        return QMessageBox::tr("Check All took no reading: the listing tool's output could not "
                               "be read.");
    case DiskInfo::Failure::CannotRead:
        return QMessageBox::tr("The history was not read.");
    case DiskInfo::Failure::CannotWrite:
    case DiskInfo::Failure::Locked:
        return QMessageBox::tr("The file was not saved.");
    case DiskInfo::Failure::OutOfRange:
        return QMessageBox::tr("The selection was not exported.");
    }
    return {};
}

} // namespace

void showFailure(QWidget *parent, DiskInfo::Failure failure, const QString &reason)
{
    auto *box = new QMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                                failureText(failure), QMessageBox::Ok, parent);
    box->setInformativeText(reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QMessageBox::StandardButton askToSaveReadings(QWidget *parent)
{
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                    QMessageBox::tr("Save the readings that have not been saved?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QMessageBox::tr("Without saving, they are lost."));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

HistorySaver::Choice askToMergeReadings(QWidget *parent, qsizetype readingsOnlyInFile)
{
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                    QMessageBox::tr("The file holds %n reading(s) that this window has not seen.",
                                    nullptr, int(readingsOnlyInFile)),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(QMessageBox::tr("Merge keeps them beside this window's readings, in "
                                           "date order; Replace writes over them."));
    QPushButton *merge = box.addButton(QMessageBox::tr("Merge"), QMessageBox::AcceptRole);
    QPushButton *replace = box.addButton(QMessageBox::tr("Replace"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(merge);
    box.exec();
    if (box.clickedButton() == merge)
        return HistorySaver::Choice::Merge;
    return box.clickedButton() == replace ? HistorySaver::Choice::Replace
                                          : HistorySaver::Choice::Cancel;
}

bool askToReplaceUnreadable(QWidget *parent, const QString &path, const QString &reason)
{
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    QMessageBox::tr("%1 cannot be read. Replace it?").arg(path),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(reason);
    QPushButton *replace = box.addButton(QMessageBox::tr("Replace"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == replace;
}

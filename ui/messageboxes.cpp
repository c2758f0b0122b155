#include "messageboxes.h"

#include <QGuiApplication>

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

#include "messageboxes.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace {

// With a file: named in the text, the full path being in the reason.
QString failureText(DiskInfo::Failure failure, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!name.isEmpty() && failure == DiskInfo::Failure::CannotRead)
        return QMessageBox::tr("The history “%1” was not read.").arg(name);
    if (!name.isEmpty() && failure == DiskInfo::Failure::CannotWrite)
        return QMessageBox::tr("The file “%1” was not saved.").arg(name);
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

// Room in the box for the widest word of text, a path say, so that it is not
// broken, within most of the screen.
void widenFor(QMessageBox *box, const QString &text)
{
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    if (!grid)
        return;
    const QFontMetrics metrics(box->font());
    int widest = 0;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    // Beside the text stand the icon and the margins.
    const int besides = box->iconPixmap().width() + 4 * metrics.averageCharWidth() +
                        grid->contentsMargins().left() + grid->contentsMargins().right();
    const int most = box->screen()->availableGeometry().width() * 4 / 5;
    grid->addItem(new QSpacerItem(std::min(widest + besides, most), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

void showFailure(QWidget *parent, DiskInfo::Failure failure, const QString &reason,
                 const QString &path)
{
    auto *box = new QMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                                failureText(failure, path), QMessageBox::Ok, parent);
    box->setInformativeText(reason);
    widenFor(box, reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QMessageBox::StandardButton askToSaveReadings(QWidget *parent, const QString &file)
{
    const QString text =
        file.isEmpty()
            ? QMessageBox::tr("Save the readings that have not been saved?")
            : QMessageBox::tr("Save the readings that have not been saved to %1?").arg(file);
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    widenFor(&box, text);
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
    widenFor(&box, path + u' ' + reason);
    QPushButton *replace = box.addButton(QMessageBox::tr("Replace"), QMessageBox::DestructiveRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    return box.clickedButton() == replace;
}

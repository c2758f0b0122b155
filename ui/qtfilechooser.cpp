#include "qtfilechooser.h"

#include <QFileDialog>

namespace {

QString nameFilter(FileChooser::ContentType type)
{
    return type == FileChooser::ContentType::Json ? QFileDialog::tr("JSON files (*.json)")
                                                  : QFileDialog::tr("CSV files (*.csv)");
}

QString suffix(FileChooser::ContentType type)
{
    return type == FileChooser::ContentType::Json ? QStringLiteral("json") : QStringLiteral("csv");
}

void setUpForOpening(QFileDialog *dialog)
{
    // One existing file; folders cannot be chosen.
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setLabelText(QFileDialog::Accept, QFileDialog::tr("Open"));
}

void setUpForSaving(QFileDialog *dialog, FileChooser::ContentType type)
{
    // Replacing a file is confirmed by the dialog (QFileDialog's default).
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(suffix(type));
}

} // namespace

QtFileChooser::QtFileChooser(QWidget *window) : m_window(window) {}

void QtFileChooser::choose(Mode mode, ContentType type, Completion completion)
{
    auto *dialog = new QFileDialog(m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setNameFilter(nameFilter(type));
    if (mode == Mode::Open)
        setUpForOpening(dialog);
    else
        setUpForSaving(dialog, type);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [dialog, completion = std::move(completion)](int result) {
                         const QList<QUrl> urls = dialog->selectedUrls();
                         if (result != QDialog::Accepted || urls.isEmpty())
                             completion(Response::Cancel, {});
                         else
                             completion(Response::Ok, urls.constFirst());
                     });
    dialog->open();
}

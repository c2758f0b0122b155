#include "qtfilechooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

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

bool QtFileChooser::isOfType(const QString &path, ContentType type)
{
    return QFileInfo(path).suffix().compare(suffix(type), Qt::CaseInsensitive) == 0;
}

void QtFileChooser::choose(Mode mode, ContentType type, Completion completion)
{
    ask(mode, type, QString(), std::move(completion));
}

void QtFileChooser::ask(Mode mode, ContentType type, const QString &folder, Completion completion)
{
    auto *dialog = new QFileDialog(m_window, QString(), folder);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setNameFilter(nameFilter(type));
    if (mode == Mode::Open)
        setUpForOpening(dialog);
    else
        setUpForSaving(dialog, type);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [this, dialog, mode, type, completion = std::move(completion)](int result) {
                         const QList<QUrl> urls = dialog->selectedUrls();
                         const bool chosen = result == QDialog::Accepted && !urls.isEmpty();
                         answer(mode, type, chosen ? urls.constFirst() : QUrl(), completion);
                     });
    // Modeless: the window stays usable while the dialog is open.
    dialog->setWindowModality(Qt::NonModal);
    dialog->show();
}

// An empty location is a cancel.
void QtFileChooser::answer(Mode mode, ContentType type, const QUrl &location,
                           const Completion &completion)
{
    if (location.isEmpty())
        completion(Response::Cancel, {});
    else if (mode == Mode::Open && !isOfType(location.toLocalFile(), type))
        refuse(location, type, completion);
    else
        completion(Response::Ok, location);
}

void QtFileChooser::refuse(const QUrl &location, ContentType type, Completion completion)
{
    const QFileInfo file(location.toLocalFile());
    auto *box = new QMessageBox(
        QMessageBox::Warning, QFileDialog::tr("Not a %1 file").arg(suffix(type).toUpper()),
        QFileDialog::tr("%1 is not a .%2 file. Choose a file whose name ends in .%2.")
            .arg(file.fileName(), suffix(type)),
        QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(
        box, &QDialog::finished, box,
        [this, type, folder = file.absolutePath(), completion = std::move(completion)] {
            ask(Mode::Open, type, folder, completion);
        });
    box->open();
}

#include "qtfilechooser.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Answer {
    int calls = 0;
    FileChooser::Response response = FileChooser::Response::Cancel;
    QUrl location;
};

QFileDialog *openDialog(QtFileChooser &chooser, QWidget &window, FileChooser::Mode mode,
                        FileChooser::ContentType type, Answer &answer)
{
    chooser.choose(mode, type, [&answer](FileChooser::Response response, const QUrl &location) {
        ++answer.calls;
        answer.response = response;
        answer.location = location;
    });
    return window.findChild<QFileDialog *>();
}

} // namespace

class TestQtFileChooser : public QObject
{
    Q_OBJECT
private slots:
    void openingOffersJsonFilesOnly();
    void savingOffersTheTypeWithItsSuffix_data();
    void savingOffersTheTypeWithItsSuffix();
    void cancelAnswersCancel();
};

void TestQtFileChooser::openingOffersJsonFilesOnly()
{
    QWidget window;
    QtFileChooser chooser(&window);
    Answer answer;
    QFileDialog *dialog = openDialog(chooser, window, FileChooser::Mode::Open,
                                     FileChooser::ContentType::Json, answer);
    QVERIFY(dialog);
    QCOMPARE(answer.calls, 0); // it does not block
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
    QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
    QCOMPARE(dialog->nameFilters(), QStringList({QStringLiteral("JSON files (*.json)")}));
    QCOMPARE(dialog->labelText(QFileDialog::Accept), QStringLiteral("Open"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    dialog->selectFile(path);
    static_cast<QDialog *>(dialog)->accept(); // as the Open or Save button does
    QCOMPARE(answer.calls, 1);
    QCOMPARE(answer.response, FileChooser::Response::Ok);
    QCOMPARE(answer.location, QUrl::fromLocalFile(path));
}

void TestQtFileChooser::savingOffersTheTypeWithItsSuffix_data()
{
    QTest::addColumn<FileChooser::ContentType>("type");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("JSON") << FileChooser::ContentType::Json << QStringLiteral("JSON files (*.json)")
                          << QStringLiteral("json");
    QTest::newRow("CSV") << FileChooser::ContentType::Csv << QStringLiteral("CSV files (*.csv)")
                         << QStringLiteral("csv");
}

void TestQtFileChooser::savingOffersTheTypeWithItsSuffix()
{
    QFETCH(FileChooser::ContentType, type);
    QFETCH(QString, filter);
    QFETCH(QString, suffix);
    QWidget window;
    QtFileChooser chooser(&window);
    Answer answer;
    QFileDialog *dialog = openDialog(chooser, window, FileChooser::Mode::Save, type, answer);
    QVERIFY(dialog);
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->nameFilters(), QStringList({filter}));
    QCOMPARE(dialog->defaultSuffix(), suffix);
    QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));

    QTemporaryDir dir;
    dialog->setDirectory(dir.path());
    dialog->selectFile(QStringLiteral("export"));
    static_cast<QDialog *>(dialog)->accept(); // as the Open or Save button does
    QCOMPARE(answer.calls, 1);
    QCOMPARE(answer.response, FileChooser::Response::Ok);
    QCOMPARE(answer.location.fileName(), QStringLiteral("export.") + suffix);
}

void TestQtFileChooser::cancelAnswersCancel()
{
    QWidget window;
    QtFileChooser chooser(&window);
    Answer answer;
    QPointer<QFileDialog> dialog =
        openDialog(chooser, window, FileChooser::Mode::Save, FileChooser::ContentType::Csv, answer);
    QVERIFY(dialog);
    dialog->reject();
    QCOMPARE(answer.calls, 1);
    QCOMPARE(answer.response, FileChooser::Response::Cancel);
    QVERIFY(answer.location.isEmpty());
    QTRY_VERIFY(!dialog); // closed dialogs go away
}

QTEST_MAIN(TestQtFileChooser)
#include "tst_qtfilechooser.moc"

#include "dates.h"
#include "ids.h"
#include "standins.h"

#include <QSignalSpy>
#include <QTest>

using Outcome = StandInListing::Outcome;
using Failure = DiskInfo::Failure;
using Choice = HistorySaver::Choice;

namespace {

ContainerInfo container(const QString &conUUID, qint64 totalUsed = 50)
{
    return {newId(), conUUID, u"disk1"_qs, 100, 40, u"A, B"_qs, u"A"_qs, totalUsed};
}

QList<DataPoint> history(int readings, int containers)
{
    QList<DataPoint> points;
    for (int r = 0; r < readings; ++r) {
        DataPoint point{newId(), 1000.0 * r, {}};
        for (int c = 0; c < containers; ++c)
            point.containers.append(container(u"C"_qs + QString::number(c), 10 * r + c));
        points.append(point);
    }
    return points;
}

// 0 Read JSON, 1 Save As JSON, 2 Save Selection As CSV.
void startFileOperation(DiskInfo &store, int operation)
{
    operation == 0 ? store.readData() : operation == 1 ? store.saveJSON() : store.saveCSV(u"C1"_qs);
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void checkAll_data()
    {
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("listed");
        QTest::addColumn<double>("today");
        QTest::addColumn<int>("readings");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("failure"); // -1: none
        QTest::newRow("two containers") << Outcome::Lists << 2 << 20.0 << 2 << 3 << -1;
        QTest::newRow("no containers") << Outcome::Lists << 0 << 20.0 << 2 << 1 << -1;
        QTest::newRow("tool fails")
            << Outcome::ToolFails << 2 << 10.0 << 1 << 1 << int(Failure::ToolFailed);
        QTest::newRow("undecodable")
            << Outcome::Undecodable << 2 << 20.0 << 1 << 1 << int(Failure::Undecodable);
    }
    void checkAll()
    {
        QFETCH(Outcome, outcome);
        QFETCH(int, listed);
        StandInStore s;
        s.listing->containers = {container(u"C1"_qs)};
        s.clock->time = 10;
        s.store.checkContainers();
        s.listing->outcome = outcome;
        s.listing->containers = QList{container(u"C1"_qs), container(u"C2"_qs)}.mid(0, listed);
        s.clock->time = 20;
        QSignalSpy failed(&s.store, &DiskInfo::failed);
        const QList<ContainerInfo> list = s.store.containerList();
        Announcements views(s.store);
        s.store.checkContainers();

        QCOMPARE(s.store.containerList().size(), outcome == Outcome::Lists ? listed : 0);
        QTEST(s.store.today(), "today");
        QTEST(int(s.store.globalConData().size()), "readings");
        QTEST(int(s.store.containerData().size()), "entries");
        // The views hear of every change, and only of changes.
        using P = DiskInfo::Property;
        QCOMPARE(views.properties(),
                 Announcements::bit(P::ContainerList) * (s.store.containerList() != list) |
                     Announcements::bit(P::Today) * (s.store.today() != 10.0) |
                     Announcements::bit(P::GlobalConData) * (s.store.globalConData().size() > 1) |
                     Announcements::bit(P::ContainerData) * (s.store.containerData().size() > 1));
        QFETCH(int, failure);
        QCOMPARE(failed.size(), failure < 0 ? 0 : 1);
        if (failure >= 0)
            QCOMPARE(failed.at(0).at(0).value<Failure>(), Failure(failure));
    }

    void readingCopiesTheListing()
    {
        StandInStore s;
        s.listing->containers = {container(u"C1"_qs, 7), container(u"C1"_qs, 9)};
        s.clock->time = 1000.5;
        s.store.checkContainers();
        const QList<ContainerInfo> &list = s.store.containerList();
        QCOMPARE(list, s.listing->containers);
        const DataPoint &reading = s.store.globalConData().constLast();
        QCOMPARE(reading.date, 1000.5);
        QCOMPARE(reading.containers, list);
        const QList<DataContainerInfo> &entries = s.store.containerData();
        for (int i = 0; i < 2; ++i) {
            QVERIFY(entries[i].id != list[i].id);
            QCOMPARE(entries[i].totalUsed, list[i].totalUsed);
            QCOMPARE(entries[i].date, 1000.5);
            QCOMPARE(entries[i].dateStr, formatDateStr(1000.5));
        }
    }

    void readReplacesTheHistory()
    {
        StandInStore s;
        StandInChooser chooser;
        s.store.setFileChooser(&chooser);
        s.store.setContainerList({container(u"kept"_qs)});
        s.files->histories.insert(u"/h.json"_qs, history(2, 3));
        chooser.path = u"/h.json"_qs;
        s.store.readData();
        QTRY_COMPARE(chooser.answered, 1);
        QCOMPARE(s.store.globalConData(), s.files->histories.value(u"/h.json"_qs));
        const QList<DataContainerInfo> &entries = s.store.containerData();
        QCOMPARE(entries.size(), 6);
        for (int i = 0; i < 6; ++i) {
            const DataPoint &point = s.store.globalConData().at(i / 3);
            QCOMPARE(entries[i].conUUID, point.containers[i % 3].conUUID);
            QCOMPARE(entries[i].date, point.date);
            QVERIFY(entries[i].id != point.containers[i % 3].id);
        }
        // The last reading's containers, as Check All would list them.
        QCOMPARE(s.store.containerList(), s.store.globalConData().constLast().containers);
    }

    // A failed or cancelled operation leaves the store as it was; only a
    // failure is reported, naming the file.
    void fileFailures_data()
    {
        QTest::addColumn<int>("operation"); // 0 read, 1 save, 2 CSV
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("failure"); // -1: none
        QTest::newRow("read fails") << 0 << u"/bad.json"_qs << int(Failure::CannotRead);
        QTest::newRow("read cancelled") << 0 << QString() << -1;
        QTest::newRow("save fails") << 1 << u"/bad.json"_qs << int(Failure::CannotWrite);
        QTest::newRow("save cancelled") << 1 << QString() << -1;
        QTest::newRow("CSV fails") << 2 << u"/bad.csv"_qs << int(Failure::CannotWrite);
    }
    void fileFailures()
    {
        QFETCH(int, operation);
        QFETCH(QString, path);
        QFETCH(int, failure);
        StandInStore s;
        StandInChooser chooser;
        s.store.setFileChooser(&chooser);
        s.files->failing = {path};
        s.store.replaceHistory(history(2, 2));
        const QList<DataPoint> before = s.store.globalConData();
        const QList<DataContainerInfo> entries = s.store.containerData();
        QSignalSpy failed(&s.store, &DiskInfo::failed);
        QSignalSpy cancelled(&s.store, &DiskInfo::saveCancelled);
        chooser.path = path;
        startFileOperation(s.store, operation);
        QTRY_COMPARE(chooser.answered, 1);
        QCOMPARE(s.store.globalConData(), before);
        QCOMPARE(s.store.containerData(), entries);
        QCOMPARE(failed.size(), failure < 0 ? 0 : 1);
        if (failure >= 0) {
            QCOMPARE(failed.at(0).at(0).value<Failure>(), Failure(failure));
            QVERIFY(failed.at(0).at(1).toString().contains(path));
        }
        // Quit waits on a save; it must hear that none is coming.
        QCOMPARE(cancelled.size(), int(operation == 1 && path.isEmpty()));
    }

    // A dialog answered after its window closed touches nothing.
    void answeredAfterTheStoreIsGone_data() { fileFailures_data(); }
    void answeredAfterTheStoreIsGone()
    {
        QFETCH(int, operation);
        QFETCH(QString, path);
        StandInChooser chooser;
        auto *s = new StandInStore;
        s->store.setFileChooser(&chooser);
        s->store.replaceHistory(history(2, 2));
        chooser.path = path;
        startFileOperation(s->store, operation);
        delete s;
        QTRY_COMPARE(chooser.answered, 1);
    }

    void saveWritesTheHistoryAtConfirmation()
    {
        StandInStore s;
        StandInChooser chooser;
        s.store.setFileChooser(&chooser);
        s.store.saveJSON(); // nothing to save: no dialog
        QVERIFY(chooser.asked.isEmpty());
        s.store.replaceHistory(history(1, 1));
        chooser.path = u"/saved.json"_qs;
        s.store.saveJSON();
        s.store.appendGlobalConData(DataPoint{newId(), 5.0, {}});
        QTRY_COMPARE(chooser.answered, 1);
        QCOMPARE(s.files->histories.value(u"/saved.json"_qs), s.store.globalConData());
    }

    // A save never drops readings another process added to the file unless the user says so, never
    // writes over a file it cannot read without asking, and keeps what arrived while the question
    // was open. Without questions (the command line) what the file gained is merged in, and a file
    // it cannot read is left as it is.
    void saveKeepsWhatTheFileHolds_data()
    {
        QTest::addColumn<int>("fileKind"); // 0 unchanged, 1 grew, 2 another, 3 unreadable
        QTest::addColumn<Choice>("choice");
        QTest::addColumn<int>("meanwhile"); // 1 a record, 2 the file breaks
        QTest::addColumn<int>("asked");     // -2: no questions set
        QTest::addColumn<int>("saved");     // readings in the file afterwards; -1 left unreadable
        QTest::newRow("unchanged") << 0 << Choice::Replace << 0 << 0 << 2;
        QTest::newRow("grew, merge") << 1 << Choice::Merge << 0 << 1 << 3;
        QTest::newRow("grew, replace") << 1 << Choice::Replace << 0 << 1 << 2;
        QTest::newRow("another, merge") << 2 << Choice::Merge << 0 << 2 << 4;
        QTest::newRow("another, cancel") << 2 << Choice::Cancel << 0 << 2 << 2;
        QTest::newRow("grew, replace, record meanwhile") << 1 << Choice::Replace << 1 << 1 << 3;
        QTest::newRow("grew, cancel, record meanwhile") << 1 << Choice::Cancel << 1 << 1 << 4;
        QTest::newRow("grew, replace, breaks meanwhile") << 1 << Choice::Replace << 2 << 2 << 2;
        QTest::newRow("unreadable, cancel") << 3 << Choice::Cancel << 0 << 1 << -1;
        QTest::newRow("unreadable, replace") << 3 << Choice::Replace << 0 << 1 << 2;
        // Choice::Cancel: not saved, and asked nothing.
        QTest::newRow("no questions, grew") << 1 << Choice::Merge << 0 << -2 << 3;
        QTest::newRow("no questions, unreadable") << 3 << Choice::Cancel << 0 << -2 << -1;
    }
    void saveKeepsWhatTheFileHolds()
    {
        QFETCH(int, fileKind);
        QFETCH(Choice, choice);
        QFETCH(int, meanwhile);
        const QString path = u"/h.json"_qs;
        StandInStore s;
        s.store.replaceHistory(history(2, 1));
        QList<DataPoint> file = s.store.globalConData();
        if (fileKind == 1)
            file.append(DataPoint{newId(), 500.0, {}});
        if (fileKind == 2)
            file = history(2, 1);
        s.files->histories.insert(path, file);
        if (fileKind == 3)
            s.files->unreadable = {path};
        QFETCH(int, asked);
        const bool questions = asked != -2;
        asked = questions ? 0 : -2;
        bool locked = false;
        int askedWhileLocked = 0, lockedSaves = 0;
        if (questions)
            s.store.setSaveQuestions(
                {[&](qsizetype onlyInFile) {
                     askedWhileLocked += locked;
                     if (meanwhile == 1)
                         s.files->histories[path].append(DataPoint{newId(), 9000.0, {}});
                     if (meanwhile == 2)
                         s.files->unreadable = {path};
                     return asked += int(onlyInFile), choice;
                 },
                 [&](const QString &named, const QString &reason) {
                     askedWhileLocked += locked;
                     asked += named == path && !reason.isEmpty();
                     return choice == Choice::Replace;
                 },
                 [&](bool working) {
                     locked = working;
                     lockedSaves += working;
                 }});
        QSignalSpy savedSignal(&s.store, &DiskInfo::historySaved);
        QSignalSpy failed(&s.store, &DiskInfo::failed);
        s.store.saveJSONTo(path);
        QTEST(asked, "asked");
        QCOMPARE(askedWhileLocked, 0);
        QVERIFY(!locked);
        QCOMPARE(lockedSaves > 0, questions && choice != Choice::Cancel); // the busy cursor
        QFETCH(int, saved);
        QCOMPARE(s.files->unreadable.contains(path), saved < 0);
        QCOMPARE(failed.size(), int(!questions && saved < 0));
        if (saved >= 0)
            QCOMPARE(int(s.files->histories.value(path).size()), saved);
        QCOMPARE(savedSignal.size(), int(choice != Choice::Cancel));
        if (choice == Choice::Cancel)
            return;
        QCOMPARE(s.files->histories.value(path), s.store.globalConData());
        const QList<DataPoint> &written = s.files->histories.value(path);
        QVERIFY(std::is_sorted(written.begin(), written.end(),
                               [](const auto &a, const auto &b) { return a.date < b.date; }));
    }

    // What a recorder added to the file joins the history, by id and in date
    // order; the count is what the status bar tells.
    void takeNewReadings_data()
    {
        QTest::addColumn<int>("added"); // -1: the file does not read
        QTest::newRow("two new") << 2;
        QTest::newRow("nothing new") << 0;
        QTest::newRow("unreadable") << -1;
    }
    void takeNewReadings()
    {
        QFETCH(int, added);
        const QString path = u"/h.json"_qs;
        StandInStore s;
        s.store.replaceHistory(history(2, 1));
        QList<DataPoint> file = s.store.globalConData();
        for (int k = 0; k < added; ++k)
            file.prepend(DataPoint{newId(), 500.0 - k, {container(u"C9"_qs)}});
        s.files->histories.insert(path, file);
        if (added < 0)
            s.files->unreadable = {path};
        QSignalSpy taken(&s.store, &DiskInfo::newReadingsTaken);
        QSignalSpy failed(&s.store, &DiskInfo::newReadingsFailed);
        s.store.takeNewReadings(path);
        QTRY_COMPARE(taken.size() + failed.size(), 1);
        QCOMPARE(failed.size(), int(added < 0));
        if (added >= 0) // else the history is left as it was
            QCOMPARE(taken.at(0).at(1).value<qsizetype>(), qsizetype(added));
        std::sort(file.begin(), file.end(), [](auto &a, auto &b) { return a.date < b.date; });
        QCOMPARE(s.store.globalConData(), file);
        QCOMPARE(s.store.containerData().size(), file.size());
    }

    void csvRowsAreThoseOfTheCommand()
    {
        StandInStore s;
        StandInChooser chooser;
        s.store.setFileChooser(&chooser);
        s.store.replaceHistory(history(2, 2));
        chooser.path = u"/c.csv"_qs;
        s.store.saveCSV(u"C1"_qs);
        s.store.saveCSV(u"none"_qs); // no reading: no dialog
        s.store.replaceHistory(history(3, 2));
        QTRY_COMPARE(chooser.answered, 1);
        QCOMPARE(s.files->exports.value(u"/c.csv"_qs).rows().size(), 2);
    }

    void csvOutOfRangeAsksNothing()
    {
        StandInStore s;
        StandInChooser chooser;
        s.store.setFileChooser(&chooser);
        QList<DataPoint> points = history(1, 1);
        points[0].containers[0].capacity = std::numeric_limits<qint64>::max();
        points[0].containers[0].free = -1;
        s.store.replaceHistory(points);
        QSignalSpy failed(&s.store, &DiskInfo::failed);
        s.store.saveCSV(u"C0"_qs);
        QVERIFY(chooser.asked.isEmpty());
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.at(0).at(0).value<Failure>(), Failure::OutOfRange);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"

#pragma once

#include "containerexport.h"
#include "datacontainerinfo.h"
#include "datapoint.h"
#include "fileaccess.h"
#include "historysaver.h"
#include "listingsource.h"
#include "ratestats.h"
#include "recenttrend.h"
#include "textpool.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <stop_token>
#include <vector>

class Clock;
class FileChooser;

// The observable store: the history of readings, its flattened form, the
// containers of the latest reading, the selected container's series and its
// summary numbers. Views read it and call its operations; every change
// of a property is announced as aboutToChange/changed naming the property.
// A setter announces nothing when the new value equals the old one (lists
// element by element; a NaN is never equal); ratesPoints announces on every
// write; each in-place append announces exactly one change.
//
// The store knows no tool and no file format: the listing tool and its
// decoding, the files and the dialogs are handed to it by the front that
// makes it (the app, the command-line tool or a test).
class DiskInfo : public QObject
{
    Q_OBJECT
public:
    enum class Property {
        GlobalConData,
        ContainerData,
        ContainerList,
        RatesPoints,
        MaxSizeTotal,
        OverallRate,
        TimeToRun,
        MinFree,
        Today,
        RecentTrend,
    };
    Q_ENUM(Property)

    // Why an operation stopped short.
    enum class Failure {
        ToolFailed,  // the listing tool could not run, crashed or failed
        Undecodable, // its listing does not decode
        CannotRead,  // the chosen history cannot be read or is not a valid history
        CannotWrite, // the chosen file cannot be written
        Locked,      // another writer kept the history's lock for the whole wait
        OutOfRange,  // the CSV export would hold a number or date it cannot write truthfully
    };
    Q_ENUM(Failure)

    DiskInfo(std::unique_ptr<Clock> clock, std::unique_ptr<ListingSource> listing,
             std::unique_ptr<FileAccess> files, QObject *parent = nullptr);
    ~DiskInfo() override;

    const QList<DataPoint> &globalConData() const { return m_globalConData; }
    void setGlobalConData(const QList<DataPoint> &value);
    void appendGlobalConData(const DataPoint &value);

    const QList<DataContainerInfo> &containerData() const { return m_containerData; }
    void setContainerData(const QList<DataContainerInfo> &value);
    void appendContainerData(const DataContainerInfo &value);
    void appendContainerData(DataContainerInfo &&value);

    const QList<ContainerInfo> &containerList() const { return m_containerList; }
    void setContainerList(const QList<ContainerInfo> &value);
    void appendContainerList(const ContainerInfo &value);

    const QList<RateStats> &ratesPoints() const { return m_ratesPoints; }
    void setRatesPoints(const QList<RateStats> &value);
    void appendRatesPoints(const RateStats &value);

    qint64 maxSizeTotal() const { return m_maxSizeTotal; }
    void setMaxSizeTotal(qint64 value);

    double overallRate() const { return m_overallRate; }
    void setOverallRate(double value);

    qint64 timeToRun() const { return m_timeToRun; }
    void setTimeToRun(qint64 value);

    double minFree() const { return m_minFree; }
    void setMinFree(double value);

    double today() const { return m_today; }
    void setToday(double value);

    // The selected container's recent trend, beside the overall rate; built
    // by selectContainer. Trends have no equality: every write announces.
    const ::RecentTrend &recentTrend() const { return m_recentTrend; }
    void setRecentTrend(const ::RecentTrend &value);
    // The selected container's readings, in history order, as the trend
    // takes them; not a property, never announced.
    std::span<const TrendReading> trendReadings() const { return m_trendReadings; }

    // The dialogs of the three file operations; without one they do nothing.
    void setFileChooser(FileChooser *chooser) { m_fileChooser = chooser; }

    // Where the store does its slow work, running the listing tool and
    // decoding a history file: `work` runs away from the store's thread and
    // touches only the listing source or the files, then `done` runs on the
    // store's thread; the jobs end in the order given, and no `done` runs
    // once the store is gone. The window sets one; without one (the command
    // line) `work` and `done` run at once, one after the other.
    using Worker = std::function<void(std::function<void()> work, std::function<void()> done)>;
    void setWorker(Worker worker) { m_worker = std::move(worker); }

    // Takes one reading of every container and appends it to the history.
    // With a worker it returns at once; a Check All under way makes it do
    // nothing.
    void checkContainers();
    // From the start of a Check All until its reading is recorded.
    bool isChecking() const { return m_checking; }
    // Ends the listing tool of the Check All under way, which then changes
    // nothing and reports nothing.
    void stopChecking() { m_stop.request_stop(); }
    // Replaces the history with a JSON file the user chooses.
    void readData();
    // Saves the history to a JSON file the user chooses.
    void saveJSON();
    // What Read JSON and Save As JSON do once the user has chosen path; also
    // for a file named on the command line, a dropped file and File ▸ Save.
    // Reading decodes the file on the worker. A history read lists the
    // containers of its last reading, as Check All would have, without
    // taking one.
    void readJSONFrom(const QString &path);
    // Saves through HistorySaver. With questions set (the window), a file
    // that holds readings this history lacks (by id), or that cannot be read,
    // is dealt with as the person answers; without them (the command line)
    // readings only in the file are merged in and an unreadable file is kept.
    // Readings merged in become part of this history.
    void saveJSONTo(const QString &path);
    void setSaveQuestions(HistorySaver::Questions questions)
    {
        m_saveQuestions = std::move(questions);
    }
    // Takes in the readings another writer (a scheduled record, say) added to
    // the history file at path: those this history lacks, by id, in date
    // order, beside its own. When any arrived, the last reading is listed.
    // Decodes on the worker; ends with newReadingsTaken, or, when the file
    // does not read as a history, newReadingsFailed and no other change.
    void takeNewReadings(const QString &path);
    // True while readings taken from the file change the history: nothing
    // new to save.
    bool takingNewReadings() const { return m_takingNewReadings; }
    // Whether the history holds every reading of the file at path as it was
    // when its content had this stamp (it was read, saved or taken in then).
    bool holdsAllOf(const QString &path, const QByteArray &stamp) const
    {
        return path == m_knownFile && !stamp.isEmpty() && stamp == m_knownStamp;
    }
    // Identifies the history file's present content cheaply; see FileAccess.
    std::optional<QByteArray> historyStamp(const QString &path) const
    {
        return m_files->historyStamp(path);
    }
    // Builds the series and summary numbers of one container.
    void selectContainer(const QString &conUUID);
    // Exports one container's readings to a CSV file the user chooses.
    void saveCSV(const QString &conUUID);
    // What Save Selection As CSV does once the user has chosen path.
    void saveCSVTo(const QString &conUUID, const QString &path);

    // What Read JSON does once a file has decoded: the history becomes the
    // given one and containerData is rebuilt from it, one announced append
    // per container per reading. Nothing else changes.
    void replaceHistory(const QList<DataPoint> &history);

signals:
    void aboutToChange(DiskInfo::Property property);
    void changed(DiskInfo::Property property);
    // An operation stopped short; reason says why in one line, naming the
    // tool or the file; path is the file's, when there is one. A cancelled
    // dialog is no failure.
    void failed(DiskInfo::Failure failure, const QString &reason, const QString &path = QString());
    // The history was replaced by the one in path, or written whole to path.
    void historyRead(const QString &path);
    void historySaved(const QString &path);
    // The user cancelled Save As JSON's dialog.
    void saveCancelled();
    // What takeNewReadings found in the file at path.
    void newReadingsTaken(const QString &path, qsizetype added);
    void newReadingsFailed(const QString &path, const QString &reason);
    // A Check All started, or ended whatever its outcome.
    void checkingChanged(bool checking);

private:
    // What one run of the listing tool gave.
    struct ListingRun {
        enum class Outcome { Listed, ToolFailed, Undecodable, Stopped } outcome{};
        QList<ContainerInfo> containers;
        QString reason;
    };
    // A history file as decoded, or why it does not decode.
    struct HistoryFile {
        QByteArray stamp;
        std::optional<QList<DataPoint>> history;
        QString error;
    };

    // The halves of Check All: the first, on the worker, uses only the
    // source; the second records the run on the store's thread.
    static ListingRun readListing(ListingSource &source, const std::stop_token &stop);
    void recordListing(const ListingRun &run);
    static void loadHistoryFile(FileAccess &files, const QString &path, HistoryFile &file);
    void applyHistoryFile(const QString &path, const HistoryFile &file);
    void mergeHistoryFile(const QString &path, const HistoryFile &file);
    void inWorker(std::function<void()> work, std::function<void()> done);
    void setChecking(bool checking);

    template <typename T>
    void write(Property property, T &member, const T &value);
    template <typename T>
    void append(Property property, QList<T> &list, const T &value);
    template <typename T>
    void append(Property property, QList<T> &list, T &&value);
    void walkSeries(const QString &conUUID);
    void listLastReading();
    void reportSaveFailure(HistorySaver::Outcome outcome, const QString &reason,
                           const QString &path);
    ContainerInfo pooled(ContainerInfo container);
    std::optional<ContainerExport> exportRows(const QString &conUUID);
    void writeCsvTo(const QString &path, const ContainerExport &rows);

    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<ListingSource> m_listing;
    std::unique_ptr<FileAccess> m_files;
    HistorySaver::Questions m_saveQuestions;
    // The file whose every reading the history holds, as it was then: a save
    // to it need not read it again while it is unchanged.
    QString m_knownFile;
    QByteArray m_knownStamp;
    FileChooser *m_fileChooser = nullptr;
    Worker m_worker;
    bool m_takingNewReadings = false;
    std::stop_source m_stop;
    bool m_checking = false;
    TextPool m_texts;

    QList<DataPoint> m_globalConData;
    QList<DataContainerInfo> m_containerData;
    QList<ContainerInfo> m_containerList;
    QList<RateStats> m_ratesPoints;
    qint64 m_maxSizeTotal = 0;
    double m_overallRate = 0.0;
    qint64 m_timeToRun = 0;
    double m_minFree = 0.0;
    double m_today = 0.0;
    ::RecentTrend m_recentTrend;
    std::vector<TrendReading> m_trendReadings; // kept between selections for its memory
};

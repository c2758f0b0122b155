#include "DiskInfo.h"

#include "clock.h"
#include "dates.h"
#include "fileaccess.h"
#include "filechooser.h"
#include "hugepages.h"
#include "ids.h"
#include "listingsource.h"
#include "samecontainer.h"
#include "seriesaccumulator.h"

#include <QPointer>

#include <algorithm>

DiskInfo::DiskInfo(std::unique_ptr<Clock> clock, std::unique_ptr<ListingSource> listing,
                   std::unique_ptr<FileAccess> files, QObject *parent)
    : QObject(parent), m_clock(std::move(clock)), m_listing(std::move(listing)),
      m_files(std::move(files)), m_today(m_clock->now())
{}

DiskInfo::~DiskInfo() = default;

template <typename T>
void DiskInfo::write(Property property, T &member, const T &value)
{
    // operator== is record equality for lists and numeric equality (NaN
    // unequal) for numbers; equal values are still stored.
    if (member == value) {
        member = value;
        return;
    }
    emit aboutToChange(property);
    member = value;
    emit changed(property);
}

template <typename T>
void DiskInfo::append(Property property, QList<T> &list, const T &value)
{
    emit aboutToChange(property);
    list.append(value);
    emit changed(property);
}

template <typename T>
void DiskInfo::append(Property property, QList<T> &list, T &&value)
{
    emit aboutToChange(property);
    list.append(std::move(value));
    emit changed(property);
}

void DiskInfo::setGlobalConData(const QList<DataPoint> &value)
{
    write(Property::GlobalConData, m_globalConData, value);
}

void DiskInfo::appendGlobalConData(const DataPoint &value)
{
    append(Property::GlobalConData, m_globalConData, value);
}

void DiskInfo::setContainerData(const QList<DataContainerInfo> &value)
{
    write(Property::ContainerData, m_containerData, value);
}

void DiskInfo::appendContainerData(const DataContainerInfo &value)
{
    append(Property::ContainerData, m_containerData, value);
}

void DiskInfo::appendContainerData(DataContainerInfo &&value)
{
    // Reading a long history appends hundreds of thousands of entries: moved,
    // not copied.
    append(Property::ContainerData, m_containerData, std::move(value));
}

void DiskInfo::setContainerList(const QList<ContainerInfo> &value)
{
    write(Property::ContainerList, m_containerList, value);
}

void DiskInfo::appendContainerList(const ContainerInfo &value)
{
    append(Property::ContainerList, m_containerList, value);
}

void DiskInfo::setRatesPoints(const QList<RateStats> &value)
{
    // Series points have no equality: every write is a change.
    emit aboutToChange(Property::RatesPoints);
    // Emptying keeps the memory, so that rebuilding a long series does not
    // fault in fresh pages point by point.
    if (value.isEmpty())
        m_ratesPoints.clear();
    else
        m_ratesPoints = value;
    emit changed(Property::RatesPoints);
}

void DiskInfo::appendRatesPoints(const RateStats &value)
{
    append(Property::RatesPoints, m_ratesPoints, value);
}

void DiskInfo::setMaxSizeTotal(qint64 value)
{
    write(Property::MaxSizeTotal, m_maxSizeTotal, value);
}

void DiskInfo::setOverallRate(double value)
{
    write(Property::OverallRate, m_overallRate, value);
}

void DiskInfo::setTimeToRun(qint64 value)
{
    write(Property::TimeToRun, m_timeToRun, value);
}

void DiskInfo::setMinFree(double value)
{
    write(Property::MinFree, m_minFree, value);
}

void DiskInfo::setToday(double value)
{
    write(Property::Today, m_today, value);
}

void DiskInfo::setRecentTrend(const ::RecentTrend &value)
{
    emit aboutToChange(Property::RecentTrend);
    m_recentTrend = value;
    emit changed(Property::RecentTrend);
}

ContainerInfo DiskInfo::pooled(ContainerInfo container)
{
    // Each container's readings share one copy of each text.
    container.conUUID = m_texts.shared(container.conUUID);
    container.conRef = m_texts.shared(container.conRef);
    container.volNames = m_texts.shared(container.volNames);
    container.firstVolName = m_texts.shared(container.firstVolName);
    return container;
}

void DiskInfo::inWorker(std::function<void()> work, std::function<void()> done)
{
    if (m_worker) {
        m_worker(std::move(work), std::move(done));
        return;
    }
    work();
    done();
}

void DiskInfo::setChecking(bool checking)
{
    m_checking = checking;
    emit checkingChanged(checking);
}

void DiskInfo::checkContainers()
{
    if (m_checking)
        return;
    setChecking(true);
    m_stop = std::stop_source();
    auto run = std::make_shared<ListingRun>();
    inWorker([source = m_listing.get(), stop = m_stop.get_token(),
              run] { *run = readListing(*source, stop); },
             [this, run] {
                 recordListing(*run);
                 setChecking(false);
             });
}

DiskInfo::ListingRun DiskInfo::readListing(ListingSource &source, const std::stop_token &stop)
{
    using Outcome = ListingRun::Outcome;
    const std::optional<QByteArray> listing = source.runDiskutil(stop);
    if (!listing)
        return {stop.stop_requested() ? Outcome::Stopped : Outcome::ToolFailed,
                {},
                source.errorString()};
    std::optional<QList<ContainerInfo>> containers = source.decode(*listing);
    if (!containers)
        return {Outcome::Undecodable, {}, source.errorString()};
    return {Outcome::Listed, std::move(*containers), {}};
}

// In the order and with the announcements of a reading taken on this thread.
void DiskInfo::recordListing(const ListingRun &run)
{
    using Outcome = ListingRun::Outcome;
    if (run.outcome == Outcome::Stopped)
        return;
    setContainerList({});
    if (run.outcome == Outcome::ToolFailed) {
        emit failed(Failure::ToolFailed, run.reason);
        return;
    }
    setToday(m_clock->now());
    const QString dateStr = formatDateStr(m_today);
    if (run.outcome == Outcome::Undecodable) {
        emit failed(Failure::Undecodable, run.reason);
        return;
    }
    for (const ContainerInfo &listed : run.containers) {
        const ContainerInfo container = pooled(listed);
        appendContainerList(container);
        appendContainerData(DataContainerInfo::fromContainer(container, m_today, dateStr));
    }
    appendGlobalConData(DataPoint{newId(), m_today, m_containerList});
}

void DiskInfo::selectContainer(const QString &conUUID)
{
    setRatesPoints({});
    setMaxSizeTotal(0);
    setOverallRate(0.0);
    // Cleared too, so that a container without a forecast is never shown
    // beside the previous container's forecast and free space.
    setTimeToRun(0);
    setMinFree(0.0);
    m_trendReadings.clear();
    if (!conUUID.isEmpty())
        walkSeries(conUUID);
    setRecentTrend(::recentTrend(m_trendReadings));
}

void DiskInfo::walkSeries(const QString &conUUID)
{
    SeriesAccumulator series;
    const ContainerMatcher matches(conUUID);
    for (const DataContainerInfo &entry : std::as_const(m_containerData)) {
        if (!matches(entry.conUUID))
            continue;
        const SeriesAccumulator::Step step = series.add(entry);
        if (step.raisesMaximum) {
            setMaxSizeTotal(entry.totalUsed);
            setMinFree(static_cast<double>(entry.free));
        }
        appendRatesPoints(step.point);
        m_trendReadings.push_back({entry.date, entry.totalUsed, entry.free, entry.capacity});
    }
    const std::optional<SeriesAccumulator::Summary> summary = series.summary();
    if (!summary)
        return;
    setOverallRate(summary->overallRate);
    setTimeToRun(summary->timeToRun);
}

namespace {

// The chosen file's path, or nothing when the user cancelled or the location
// is not a local file.
std::optional<QString> chosenPath(FileChooser::Response response, const QUrl &location)
{
    if (response != FileChooser::Response::Ok || !location.isLocalFile())
        return std::nullopt;
    const QString path = location.toLocalFile();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

void DiskInfo::readData()
{
    if (!m_fileChooser)
        return;
    m_fileChooser->choose(FileChooser::Mode::Open, FileChooser::ContentType::Json,
                          [store = QPointer(this)](auto response, const QUrl &location) {
                              const auto path = chosenPath(response, location);
                              if (store && path)
                                  store->readJSONFrom(*path);
                          });
}

void DiskInfo::readJSONFrom(const QString &path)
{
    auto file = std::make_shared<HistoryFile>();
    inWorker([files = m_files.get(), path, file] { loadHistoryFile(*files, path, *file); },
             [this, path, file] { applyHistoryFile(path, *file); });
}

void DiskInfo::loadHistoryFile(FileAccess &files, const QString &path, HistoryFile &file)
{
    // Taken first: a file changed while it is read never passes as known.
    file.stamp = files.historyStamp(path).value_or(QByteArray());
    file.history = files.readHistory(path, &file.error);
}

void DiskInfo::applyHistoryFile(const QString &path, const HistoryFile &file)
{
    if (!file.history) {
        emit failed(Failure::CannotRead, unreadableHistory(path, file.error), path);
        return;
    }
    replaceHistory(*file.history);
    listLastReading();
    m_knownFile = path;
    m_knownStamp = file.stamp;
    emit historyRead(path);
}

void DiskInfo::takeNewReadings(const QString &path)
{
    auto file = std::make_shared<HistoryFile>();
    inWorker([files = m_files.get(), path, file] { loadHistoryFile(*files, path, *file); },
             [this, path, file] { mergeHistoryFile(path, *file); });
}

void DiskInfo::mergeHistoryFile(const QString &path, const HistoryFile &file)
{
    if (!file.history) {
        emit newReadingsFailed(path, file.error);
        return;
    }
    QList<DataPoint> merged = m_globalConData;
    const qsizetype added = mergeReadings(merged, *file.history);
    if (added > 0) {
        m_takingNewReadings = true;
        replaceHistory(merged);
        m_takingNewReadings = false;
        listLastReading();
    }
    // The history now holds every reading of the file as it was read.
    m_knownFile = path;
    m_knownStamp = file.stamp;
    emit newReadingsTaken(path, added);
}

void DiskInfo::listLastReading()
{
    setContainerList(m_globalConData.isEmpty() ? QList<ContainerInfo>{}
                                               : m_globalConData.constLast().containers);
}

void DiskInfo::replaceHistory(const QList<DataPoint> &history)
{
    m_knownStamp.clear();
    setGlobalConData(history);
    setContainerData({});
    qsizetype entries = 0;
    for (const DataPoint &point : history)
        entries += point.containers.size();
    m_containerData.reserve(entries);
    preferHugePages(m_containerData.data(), size_t(entries) * sizeof(DataContainerInfo));
    for (const DataPoint &point : history) {
        // One text per reading, shared by its containers' entries.
        const QString dateStr = formatDateStr(point.date);
        for (const ContainerInfo &container : point.containers)
            appendContainerData(DataContainerInfo::fromContainer(container, point.date, dateStr));
    }
}

void DiskInfo::saveJSON()
{
    if (m_globalConData.isEmpty() || !m_fileChooser)
        return;
    // The history is read when the user confirms, not now.
    m_fileChooser->choose(FileChooser::Mode::Save, FileChooser::ContentType::Json,
                          [store = QPointer(this)](auto response, const QUrl &location) {
                              const auto path = chosenPath(response, location);
                              if (!store)
                                  return;
                              if (path)
                                  store->saveJSONTo(*path);
                              else
                                  emit store->saveCancelled();
                          });
}

// Every save of the history goes through here.
void DiskInfo::saveJSONTo(const QString &path)
{
    QList<DataPoint> saved = m_globalConData;
    HistorySaver saver(*m_files, m_saveQuestions);
    const HistorySaver::Outcome outcome =
        saver.save(path, saved, path == m_knownFile ? m_knownStamp : QByteArray());
    if (outcome == HistorySaver::Outcome::Cancelled) {
        emit saveCancelled();
        return;
    }
    if (outcome != HistorySaver::Outcome::Saved) {
        reportSaveFailure(outcome, saver.errorString(), path);
        return;
    }
    if (saved.size() != m_globalConData.size())
        replaceHistory(saved);
    m_knownFile = path;
    m_knownStamp = saver.savedStamp();
    emit historySaved(path);
}

void DiskInfo::reportSaveFailure(HistorySaver::Outcome outcome, const QString &reason,
                                 const QString &path)
{
    switch (outcome) {
    case HistorySaver::Outcome::Locked:
        emit failed(Failure::Locked, reason, path);
        return;
    case HistorySaver::Outcome::CannotRead:
        emit failed(Failure::CannotRead, reason, path);
        return;
    default:
        emit failed(Failure::CannotWrite, reason, path);
    }
}

// Nothing when the container has no reading, or (announced as a failure)
// when its rows hold a number or date the export cannot write truthfully.
std::optional<ContainerExport> DiskInfo::exportRows(const QString &conUUID)
{
    if (conUUID.isEmpty() || m_containerData.isEmpty())
        return std::nullopt;
    std::optional<ContainerExport> rows = ContainerExport::fromEntries(m_containerData, conUUID);
    if (rows && !rows->isExact()) {
        emit failed(Failure::OutOfRange, rows->whyInexact());
        return std::nullopt;
    }
    return rows;
}

void DiskInfo::saveCSV(const QString &conUUID)
{
    if (!m_fileChooser)
        return;
    std::optional<ContainerExport> rows = exportRows(conUUID);
    if (!rows)
        return;
    // The rows are those of now; the file is written when the user confirms.
    m_fileChooser->choose(
        FileChooser::Mode::Save, FileChooser::ContentType::Csv,
        [store = QPointer(this), rows = std::move(*rows)](auto response, const QUrl &location) {
            const auto path = chosenPath(response, location);
            if (store && path)
                store->writeCsvTo(*path, rows);
        });
}

void DiskInfo::saveCSVTo(const QString &conUUID, const QString &path)
{
    if (const std::optional<ContainerExport> rows = exportRows(conUUID))
        writeCsvTo(path, *rows);
}

void DiskInfo::writeCsvTo(const QString &path, const ContainerExport &rows)
{
    QString error;
    if (!m_files->writeCsv(path, rows, &error))
        emit failed(Failure::CannotWrite, u"cannot write " + path + u": " + error, path);
}

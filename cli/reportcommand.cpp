#include "clistore.h"
#include "commands.h"
#include "dates.h"
#include "exitcodes.h"
#include "jsonwriter.h"
#include "samecontainer.h"
#include "statuslines.h"
#include "trendline.h"

#include <QHash>

namespace {

// What selecting one container leaves in the store, with the names of the
// container's latest reading.
struct ContainerReport {
    DataContainerInfo latest;
    QList<RateStats> series;
    qint64 maxSizeTotal = 0;
    double minFree = 0.0;
    double overallRate = 0.0;
    qint64 timeToRun = 0;
    RecentTrend trend;
};

// Each container's latest entry, in order of the container's first entry.
QList<DataContainerInfo> latestEntries(const QList<DataContainerInfo> &entries)
{
    QList<DataContainerInfo> latest;
    QHash<QString, qsizetype> positions;
    for (const DataContainerInfo &entry : entries) {
        const QString key = containerKey(entry.conUUID);
        const auto it = positions.constFind(key);
        if (it != positions.cend()) {
            latest[*it] = entry;
            continue;
        }
        positions.insert(key, latest.size());
        latest.append(entry);
    }
    return latest;
}

ContainerReport reportOn(DiskInfo &store, const DataContainerInfo &latest)
{
    store.selectContainer(latest.conUUID);
    return {latest,
            store.ratesPoints(),
            store.maxSizeTotal(),
            store.minFree(),
            store.overallRate(),
            store.timeToRun(),
            store.recentTrend()};
}

void printText(QTextStream &out, const QList<ContainerReport> &reports, bool withSeries)
{
    for (const ContainerReport &r : reports) {
        if (&r != &reports.first())
            out << '\n';
        out << r.latest.conRef << " (" << r.latest.volNames << "), " << r.series.size()
            << " readings\n"
            << summaryLine(r.maxSizeTotal, r.minFree) << '\n'
            << rateLine(r.overallRate) << '\n'
            << forecastLine(r.timeToRun, r.series, r.overallRate) << '\n'
            << trendLine(r.trend) << '\n';
        if (!withSeries)
            continue;
        for (const RateStats &p : r.series)
            out << "  " << formatExportDate(p.date) << " rate " << p.rate << " size " << p.size
                << " rateTotal " << p.rateTotal << " sizeTotal " << p.sizeTotal << '\n';
    }
}

// Doubles read back bit for bit; one that JSON cannot hold is null.
void writeDouble(JsonWriter &json, std::string_view key, double value)
{
    json.key(key);
    if (!json.value(value))
        json.null();
}

void writeOptional(JsonWriter &json, std::string_view key, const std::optional<double> &value)
{
    if (value)
        return writeDouble(json, key, *value);
    json.key(key);
    json.null();
}

// Null without a trend; dates in seconds since 2001, rates in GB per week.
void writeTrend(JsonWriter &json, const RecentTrend &trend)
{
    json.key("trend");
    if (!trend.fit)
        return json.null();
    json.beginObject();
    writeDouble(json, "from", trend.from);
    json.key("readings");
    json.value(qint64(trend.readings));
    writeOptional(json, "cleanup", trend.cleanup);
    writeDouble(json, "rate", trend.fit->rate);
    writeDouble(json, "rateLow", trend.fit->rateLow);
    writeDouble(json, "rateHigh", trend.fit->rateHigh);
    writeOptional(json, "weeks", trend.fit->weeks);
    writeOptional(json, "full", trend.fit->full);
    writeOptional(json, "fullEarliest", trend.fit->fullEarliest);
    writeOptional(json, "fullLatest", trend.fit->fullLatest);
    json.endObject();
}

void writeSeries(JsonWriter &json, const QList<RateStats> &series)
{
    json.key("series");
    json.beginArray();
    for (const RateStats &p : series) {
        json.beginObject();
        writeDouble(json, "date", p.date);
        json.key("rate");
        json.value(p.rate);
        json.key("size");
        json.value(p.size);
        json.key("rateTotal");
        json.value(p.rateTotal);
        json.key("sizeTotal");
        json.value(p.sizeTotal);
        json.endObject();
    }
    json.endArray();
}

void writeContainer(JsonWriter &json, const ContainerReport &r, bool withSeries)
{
    json.beginObject();
    json.key("conUUID");
    json.value(r.latest.conUUID);
    json.key("conRef");
    json.value(r.latest.conRef);
    json.key("volNames");
    json.value(r.latest.volNames);
    json.key("firstVolName");
    json.value(r.latest.firstVolName);
    json.key("readings");
    json.value(qint64(r.series.size()));
    json.key("maxSizeTotal");
    json.value(r.maxSizeTotal);
    writeDouble(json, "minFree", r.minFree);
    writeDouble(json, "overallRate", r.overallRate);
    json.key("timeToRun");
    json.value(r.timeToRun);
    writeTrend(json, r.trend);
    if (withSeries)
        writeSeries(json, r.series);
    json.endObject();
}

QByteArray reportJson(const QList<ContainerReport> &reports, bool withSeries)
{
    JsonWriter json;
    json.beginObject();
    json.key("containers");
    json.beginArray();
    for (const ContainerReport &r : reports)
        writeContainer(json, r, withSeries);
    json.endArray();
    json.endObject();
    return json.take();
}

int report(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    CliStore history;
    if (const int status = readHistoryOrFail(history, historyArgument(line), err); status != ExitOk)
        return status;
    const bool filtered = line.isSet(QStringLiteral("container"));
    const ContainerMatcher wanted(line.value(QStringLiteral("container")));
    QList<ContainerReport> reports;
    for (const DataContainerInfo &latest : latestEntries(history.store().containerData())) {
        if (!filtered || wanted(latest.conUUID))
            reports.append(reportOn(history.store(), latest));
    }
    if (filtered && reports.isEmpty())
        return fail(err, noSuchContainer(line.value(QStringLiteral("container"))),
                    ExitNoSuchContainer);
    const bool withSeries = line.isSet(QStringLiteral("series"));
    if (line.isSet(QStringLiteral("json")))
        out << QString::fromUtf8(reportJson(reports, withSeries)) << '\n';
    else
        printText(out, reports, withSeries);
    return ExitOk;
}

} // namespace

Command reportCommand()
{
    return {QStringLiteral("report"),
            QStringLiteral("[HISTORY] [--container CONUUID] [--json] [--series]"),
            QStringLiteral("For every container of the history (or one), the numbers the window "
                           "shows when it is\nselected: readings, maximum used, minimum free, "
                           "overall rate and forecast."),
            {{QStringLiteral("container"), QStringLiteral("Report on this container only."),
              QStringLiteral("CONUUID")},
             {QStringLiteral("json"), QStringLiteral("Print one JSON object.")},
             {QStringLiteral("series"),
              QStringLiteral("Add every point of each container's growth series.")}},
            0,
            1,
            report};
}

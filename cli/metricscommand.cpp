#include "atomicfile.h"
#include "clistore.h"
#include "commands.h"
#include "dates.h"
#include "lastreading.h"

#include <cmath>
#include <functional>

namespace {

// One metric of the exposition: its name, its help line and its value for a
// container, when it has one.
struct Metric {
    const char *name;
    const char *help;
    std::function<std::optional<double>(const ContainerTrend &, double lastDate)> value;
};

std::optional<double> unixTime(std::optional<double> sinceReference)
{
    if (!sinceReference)
        return std::nullopt;
    return *sinceReference + double(referenceEpochSeconds);
}

QList<Metric> metrics()
{
    return {
        {"quillbank_container_capacity_bytes", "Capacity of the container at the last reading.",
         [](const ContainerTrend &t, double) { return double(t.container.capacity); }},
        {"quillbank_container_free_bytes", "Free space of the container at the last reading.",
         [](const ContainerTrend &t, double) { return double(t.container.free); }},
        {"quillbank_container_used_bytes",
         "Space in use by the container's volumes at the last reading.",
         [](const ContainerTrend &t, double) { return double(t.container.totalUsed); }},
        {"quillbank_container_growth_bytes_per_second",
         "Recent growth of the used space: the median slope of the last 30 days' readings.",
         [](const ContainerTrend &t, double) {
             return t.trend.fit ? std::optional(t.trend.fit->slope) : std::nullopt;
         }},
        {"quillbank_container_fill_timestamp_seconds",
         "When the container fills at its recent growth, in Unix time.",
         [](const ContainerTrend &t, double) {
             return unixTime(t.trend.fit ? t.trend.fit->full : std::nullopt);
         }},
        {"quillbank_last_reading_timestamp_seconds",
         "When the history's last reading was taken, in Unix time.",
         [](const ContainerTrend &, double lastDate) { return unixTime(lastDate); }},
    };
}

// A label value with backslash, double quote and line feed escaped.
QString labelValue(QString text)
{
    return text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'\n', QStringLiteral("\\n"));
}

QString labels(const ContainerInfo &c)
{
    return QStringLiteral("{container_uuid=\"%1\",container=\"%2\",first_volume=\"%3\"}")
        .arg(labelValue(c.conUUID), labelValue(c.conRef), labelValue(c.firstVolName));
}

// Integers in full; others with the digits that read back exactly.
QString sample(double value)
{
    if (std::abs(value) < 9007199254740992.0 && value == std::trunc(value))
        return QString::number(qint64(value));
    return QString::number(value, 'g', 17);
}

QString exposition(const QList<ContainerTrend> &trends, double lastDate)
{
    QString text;
    for (const Metric &metric : metrics()) {
        text += QStringLiteral("# HELP %1 %2\n# TYPE %1 gauge\n")
                    .arg(QLatin1StringView(metric.name), QLatin1StringView(metric.help));
        for (const ContainerTrend &t : trends) {
            const std::optional<double> value = metric.value(t, lastDate);
            if (value && std::isfinite(*value))
                text += QLatin1StringView(metric.name) + labels(t.container) + u' ' +
                        sample(*value) + u'\n';
        }
    }
    return text;
}

int metricsRun(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    CliStore history;
    if (const int status = readHistoryOrFail(history, historyArgument(line), err); status != ExitOk)
        return status;
    const QList<DataPoint> &readings = history.store().globalConData();
    const QString text =
        readings.isEmpty()
            ? QString()
            : exposition(lastReadingTrends(history.store(), std::nullopt), readings.last().date);
    if (!line.isSet(QStringLiteral("o"))) {
        out << text;
        return ExitOk;
    }
    const QString target = line.value(QStringLiteral("o"));
    QString error;
    if (writeFileAtomically(target, text.toUtf8(), &error))
        return ExitOk;
    return fail(err, QStringLiteral("cannot write %1: %2").arg(target, error), ExitCannotWrite);
}

} // namespace

Command metricsCommand()
{
    return {QStringLiteral("metrics"),
            QStringLiteral("[HISTORY] [-o FILE]"),
            QStringLiteral("The containers of the history's last reading in the Prometheus text "
                           "format: capacity, free\nand used bytes, recent growth, fill time and "
                           "the reading's time, labelled by container.\nWith -o the file is "
                           "replaced atomically, as node_exporter's textfile collector needs."),
            {{QStringLiteral("o"), QStringLiteral("Write the metrics to FILE."),
              QStringLiteral("FILE")}},
            0,
            1,
            metricsRun};
}

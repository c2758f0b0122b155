#include "statuslines.h"

#include "units.h"

QStringList helpLines()
{
    return {
        QStringLiteral(
            "If you have already saved a JSON file, click on the Read JSON tool to load it."),
        QStringLiteral("Then click on the Check All tool to fetch current values."),
        QStringLiteral(
            "Select one of the listed containers to plot its values in the charts below."),
        QStringLiteral("Click on the Save As JSON tool to save all the data to a file."),
        QStringLiteral("You can also export data for the selected container to a CSV file, using "
                       "the Save Selection As CSV tool."),
    };
}

QString summaryLine(qint64 maxSizeTotal, double minFree)
{
    // QString::asprintf formats in the C locale.
    return QString::asprintf("Total Used (GB), maximum %lf GB, minimum free %lf GB",
                             static_cast<double>(maxSizeTotal) / double(bytesPerGB),
                             minFree / double(bytesPerGB));
}

QString rateLine(double overallRate)
{
    return QString::asprintf("Rate of Increase in Used Space (GB/week), overall %lf GB/week",
                             overallRate);
}

QString forecastLine(qint64 timeToRun, const QList<RateStats> &series, double overallRate)
{
    const bool notGrowing =
        series.size() > 1 && series.constLast().date > series.constFirst().date && overallRate <= 0;
    const QString start = QStringLiteral(
        "Forecast time for container to fill at current rate of increase in used space: ");
    if (notGrowing)
        return start + u"not growing";
    return start + QString::asprintf("%lld weeks", static_cast<long long>(timeToRun));
}

#include "clistore.h"
#include "clock.h"
#include "commands.h"
#include "lastreading.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace {

// The Monitoring Plugins' exit statuses, which monitoring engines read: they
// differ from the table the other commands use.
enum PluginStatus { PluginOk = 0, PluginWarning = 1, PluginCritical = 2, PluginUnknown = 3 };
constexpr const char *pluginStatusNames[] = {"OK", "WARNING", "CRITICAL", "UNKNOWN"};

// How far ahead of this machine's clock a reading may be dated: clocks of
// the machines that share a history differ a little.
constexpr double clockSkew = 300;

struct Thresholds {
    WeekThresholds weeks;
    double maxAgeHours = 48; // 0: no age test
};

struct Verdict {
    PluginStatus status = PluginOk;
    QString problem;  // for the status line, when not OK
    QString perfdata; // one 'label'=value;warn;crit;min; item
    QString detail;   // the container's own line
};

std::optional<Thresholds> thresholds(const CommandLine &line, QString *error)
{
    Thresholds limits;
    const std::optional<WeekThresholds> weeks = weekThresholds(line, error);
    if (!weeks || !readNumberOption(line, QStringLiteral("max-age"), &limits.maxAgeHours, error))
        return std::nullopt;
    limits.weeks = *weeks;
    return limits;
}

// A monitoring engine reads one line, and perfdata after '|': a name may
// break neither.
QString pluginText(QString text)
{
    for (QChar &c : text) {
        const QChar::Category kind = c.category();
        if (c == u'|' || kind == QChar::Other_Control || kind == QChar::Separator_Line ||
            kind == QChar::Separator_Paragraph)
            c = u' ';
    }
    return text;
}

// Perfdata labels may hold anything but an equals sign and a single quote.
QString perfLabel(const QString &name)
{
    QString label = pluginText(name);
    return label.replace(u'=', u'_').replace(u'\'', u'_');
}

// Rounds to a whole number, the far ends of the range standing for anything
// beyond them: an absurd date must not wrap round.
qint64 saturatedRound(double value)
{
    constexpr double limit = 9.2e18;
    return value >= limit    ? std::numeric_limits<qint64>::max()
           : value <= -limit ? std::numeric_limits<qint64>::min()
                             : qRound64(value);
}

QString weeksText(double weeks)
{
    return QString::number(weeks, 'f', 1);
}

Verdict judge(const ContainerTrend &t, const Thresholds &limits)
{
    const std::optional<double> weeks = t.trend.fit ? t.trend.fit->weeks : std::nullopt;
    const PluginStatus status = !weeks                            ? PluginOk
                                : *weeks < limits.weeks.critWeeks ? PluginCritical
                                : *weeks < limits.weeks.warnWeeks ? PluginWarning
                                                                  : PluginOk;
    const QString growth = !t.trend.fit ? QStringLiteral("no trend yet")
                           : !weeks     ? QStringLiteral("not growing")
                                    : QStringLiteral("fills in %1 weeks").arg(weeksText(*weeks));
    const QString name = t.container.conRef;
    return {
        status, name + u' ' + growth,
        QStringLiteral("'%1 weeks'=%2;%3:;%4:;0;")
            .arg(perfLabel(name), weeks ? QString::number(*weeks, 'g', 6) : QStringLiteral("U"))
            .arg(limits.weeks.warnWeeks)
            .arg(limits.weeks.critWeeks),
        QStringLiteral("%1 (%2) %3: %4")
            .arg(name, t.container.volNames, QLatin1StringView(pluginStatusNames[status]), growth)};
}

int report(QTextStream &out, PluginStatus status, const QString &summary,
           const QStringList &perfdata = {}, const QStringList &details = {})
{
    out << "QUILLBANK " << pluginStatusNames[status] << " - " << pluginText(summary);
    if (!perfdata.isEmpty())
        out << " | " << perfdata.join(u' ');
    out << '\n';
    for (const QString &detail : details)
        out << pluginText(detail) << '\n';
    return status;
}

// Every failure is UNKNOWN, in the status line.
int unknown(QTextStream &out, QTextStream &, const QString &reason, int)
{
    return report(out, PluginUnknown, reason);
}

int judgeAll(QTextStream &out, const QList<ContainerTrend> &trends, double lastDate,
             const Thresholds &limits)
{
    PluginStatus worst = PluginOk;
    QStringList problems, perfdata, details;
    for (const ContainerTrend &t : trends) {
        const Verdict verdict = judge(t, limits);
        worst = std::max(worst, verdict.status);
        if (verdict.status != PluginOk)
            problems.append(verdict.problem);
        perfdata.append(verdict.perfdata);
        details.append(verdict.detail);
    }
    const double ageHours = (SystemClock().now() - lastDate) / 3600;
    if (limits.maxAgeHours > 0 && ageHours > limits.maxAgeHours) {
        worst = std::max(worst, PluginWarning);
        problems.append(QStringLiteral("last reading %1 hours old: is the recorder running?")
                            .arg(saturatedRound(ageHours)));
    }
    perfdata.append(QStringLiteral("'age'=%1s;%2;;0;")
                        .arg(saturatedRound(ageHours * 3600))
                        .arg(limits.maxAgeHours > 0
                                 ? QString::number(qRound64(limits.maxAgeHours * 3600))
                                 : QString()));
    const QString summary = problems.isEmpty()
                                ? QStringLiteral("%1 %2, none fills within %3 weeks")
                                      .arg(trends.size())
                                      .arg(trends.size() == 1 ? u"container" : u"containers")
                                      .arg(limits.weeks.warnWeeks)
                                : problems.join(QStringLiteral("; "));
    return report(out, worst, summary, perfdata, details);
}

int check(const CommandLine &line, QTextStream &out, QTextStream &)
{
    QString error;
    const std::optional<Thresholds> limits = thresholds(line, &error);
    if (!limits)
        return report(out, PluginUnknown, error);
    CliStore history;
    if (history.readHistory(historyArgument(line)) != ExitOk)
        return report(out, PluginUnknown, history.failure());
    if (history.store().globalConData().isEmpty())
        return report(out, PluginUnknown, QStringLiteral("the history holds no readings"));
    const std::optional<QString> wanted =
        line.isSet(QStringLiteral("container"))
            ? std::optional(line.value(QStringLiteral("container")))
            : std::nullopt;
    const QList<ContainerTrend> trends = lastReadingTrends(history.store(), wanted);
    if (wanted && trends.isEmpty())
        return report(out, PluginUnknown,
                      QStringLiteral("the last reading has no container %1").arg(*wanted));
    const double lastDate = history.store().globalConData().last().date;
    if (lastDate > SystemClock().now() + clockSkew)
        return report(out, PluginUnknown, QStringLiteral("last reading is in the future"));
    return judgeAll(out, trends, lastDate, *limits);
}

} // namespace

Command checkCommand()
{
    return {
        QStringLiteral("check"),
        QStringLiteral("[HISTORY] [--container CONUUID] [--warn-weeks N] [--crit-weeks M] "
                       "[--max-age HOURS]"),
        QStringLiteral(
            "A monitoring plugin: judge each container of the history's last reading by its "
            "recent trend's\nweeks until full: WARNING below N weeks (default 12), CRITICAL "
            "below M (default 4); no trend\nor no growth is OK. A last reading older than "
            "HOURS (default 48; 0: no test) is a WARNING.\nPrints one status line with perfdata "
            "after '|', then one line per container. Its exit status\nfollows the plugin "
            "convention, not the table below: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN\n(a "
            "missing or broken history, a last reading dated in the future, a usage error or\n"
            "any other failure)."),
        {{QStringLiteral("container"), QStringLiteral("Check this container only."),
          QStringLiteral("CONUUID")},
         warnWeeksOption(),
         critWeeksOption(),
         {QStringLiteral("max-age"), QStringLiteral("Warn when the last reading is older."),
          QStringLiteral("HOURS")}},
        0,
        1,
        check,
        unknown};
}

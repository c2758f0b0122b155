#include "historysaver.h"

#include <algorithm>

namespace {

QSet<QUuid> idsOf(const QList<DataPoint> &history)
{
    QSet<QUuid> ids;
    ids.reserve(history.size());
    for (const DataPoint &point : history)
        ids.insert(point.id);
    return ids;
}

qsizetype countUnknown(const QList<DataPoint> &file, const QSet<QUuid> &known)
{
    return std::count_if(file.begin(), file.end(),
                         [&](const DataPoint &point) { return !known.contains(point.id); });
}

// A file that turns unreadable between the question and the lock is asked
// about again; one that keeps changing is given up on after a few rounds.
constexpr int saveRounds = 3;

// Tells the save's `working` callback, if any, when the locked part ends.
class Working
{
public:
    explicit Working(const std::function<void(bool)> &tell) : m_tell(tell)
    {
        if (m_tell)
            m_tell(true);
    }
    ~Working()
    {
        if (m_tell)
            m_tell(false);
    }
    Working(const Working &) = delete;
    Working &operator=(const Working &) = delete;

private:
    const std::function<void(bool)> &m_tell;
};

} // namespace

QString unreadableHistory(const QString &path, const QString &reason)
{
    return reason.contains(path) ? reason : path + u": not a valid history: " + reason;
}

qsizetype mergeReadings(QList<DataPoint> &into, const QList<DataPoint> &from,
                        const QSet<QUuid> &skip)
{
    const QSet<QUuid> known = idsOf(into);
    const qsizetype before = into.size();
    for (const DataPoint &point : from) {
        if (!known.contains(point.id) && !skip.contains(point.id))
            into.append(point);
    }
    if (into.size() > before) {
        std::stable_sort(into.begin(), into.end(),
                         [](const DataPoint &a, const DataPoint &b) { return a.date < b.date; });
    }
    return into.size() - before;
}

HistorySaver::HistorySaver(FileAccess &files, Questions questions)
    : m_files(files), m_questions(std::move(questions))
{}

HistorySaver::Outcome HistorySaver::save(const QString &path, QList<DataPoint> &history,
                                         const QByteArray &known)
{
    m_known = known;
    for (int round = 0; round < saveRounds; ++round) {
        m_dropped.clear();
        m_replaceUnreadable = false;
        const Look first = look(path);
        if (const std::optional<Outcome> stop = decide(path, first, history))
            return *stop;
        if (const std::optional<Outcome> done = lockedSave(path, first, history))
            return *done;
    }
    return fail(Outcome::CannotRead, path, m_error);
}

HistorySaver::Look HistorySaver::look(const QString &path)
{
    Look now;
    now.stamp = m_files.historyStamp(path);
    if (now.stamp && !m_known.isEmpty() && *now.stamp == m_known)
        now.history.emplace(); // nothing the history lacks
    else if (now.stamp)
        now.history = m_files.readHistory(path, &now.error);
    return now;
}

// Asks, unlocked, what the person wants done with what the file holds.
std::optional<HistorySaver::Outcome> HistorySaver::decide(const QString &path, const Look &first,
                                                          const QList<DataPoint> &history)
{
    if (first.absent())
        return std::nullopt;
    if (!first.history) {
        if (!m_questions.replaceUnreadable)
            return fail(Outcome::CannotRead, path, first.error);
        if (!m_questions.replaceUnreadable(path, first.error))
            return Outcome::Cancelled;
        m_replaceUnreadable = true;
        return std::nullopt;
    }
    const qsizetype onlyInFile = countUnknown(*first.history, idsOf(history));
    if (onlyInFile == 0 || !m_questions.merge)
        return std::nullopt;
    switch (m_questions.merge(onlyInFile)) {
    case Choice::Merge:
        return std::nullopt;
    case Choice::Replace:
        m_dropped = idsOf(*first.history);
        return std::nullopt;
    case Choice::Cancel:
        break;
    }
    return Outcome::Cancelled;
}

// Nothing when the file turned unreadable since the question: ask again.
std::optional<HistorySaver::Outcome>
HistorySaver::lockedSave(const QString &path, const Look &first, QList<DataPoint> &history)
{
    const Working working(m_questions.working);
    QString error;
    bool busy = false;
    const std::unique_ptr<HistoryGuard> guard = m_files.lockHistory(path, &error, &busy);
    if (!guard)
        return fail(busy ? Outcome::Locked : Outcome::CannotWrite, path, error);
    // An unchanged file need not be read twice: a long history takes a while.
    const std::optional<QByteArray> stamp = m_files.historyStamp(path);
    const bool unchanged = stamp && first.stamp == stamp && !stamp->isEmpty();
    const Look now = unchanged ? first : look(path);
    if (!now.absent() && !now.history && !m_replaceUnreadable) {
        m_error = now.error;
        return std::nullopt;
    }
    if (now.history)
        mergeReadings(history, *now.history, m_dropped);
    if (!m_files.writeHistory(path, history, &error))
        return fail(Outcome::CannotWrite, path, error);
    m_saved = m_files.historyStamp(path).value_or(QByteArray());
    return Outcome::Saved;
}

HistorySaver::Outcome HistorySaver::fail(Outcome outcome, const QString &path,
                                         const QString &reason)
{
    switch (outcome) {
    case Outcome::CannotRead:
        m_error = unreadableHistory(path, reason);
        break;
    case Outcome::CannotWrite:
        m_error = u"cannot write " + path + u": " + reason;
        break;
    default:
        m_error = reason; // the lock's own message names the file and its holder
    }
    return outcome;
}

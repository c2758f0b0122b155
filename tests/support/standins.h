#pragma once

// Stand-ins for what the fronts wire into the store: a clock the test sets,
// a listing source and files that answer as the test says, and file dialogs
// answered from the event loop as a user would.
#include "DiskInfo.h"
#include "clock.h"
#include "filechooser.h"

#include <QTimer>

class FixedClock : public Clock
{
public:
    double now() const override { return time; }
    double time = 0.0;
};

// Check All's source: fails at the tool, fails to decode, or lists these containers.
class StandInListing : public ListingSource
{
public:
    enum class Outcome { Lists, ToolFails, Undecodable } outcome = Outcome::Lists;
    QList<ContainerInfo> containers;
    int runs = 0;

    std::optional<QByteArray> runDiskutil(std::stop_token = {}) override
    {
        ++runs;
        return outcome == Outcome::ToolFails ? std::nullopt : std::optional(QByteArray("x"));
    }
    std::optional<QList<ContainerInfo>> decode(const QByteArray &) override
    {
        return outcome == Outcome::Undecodable ? std::nullopt : std::optional(containers);
    }
    QString errorString() const override { return QStringLiteral("stand-in failure"); }
};

// Files kept in memory; a path listed in failing cannot be read or written,
// one listed in unreadable is there but cannot be read until written.
class StandInFiles : public FileAccess
{
public:
    QHash<QString, QList<DataPoint>> histories;
    QHash<QString, ContainerExport> exports;
    QStringList failing;
    QStringList unreadable;

    std::optional<QList<DataPoint>> readHistory(const QString &path, QString *error) override
    {
        *error = QStringLiteral("cannot");
        if (failing.contains(path) || unreadable.contains(path) || !histories.contains(path))
            return std::nullopt;
        return histories.value(path);
    }
    bool writeHistory(const QString &path, const QList<DataPoint> &h, QString *error) override
    {
        *error = QStringLiteral("cannot");
        if (failing.contains(path))
            return false;
        unreadable.removeAll(path);
        histories.insert(path, h);
        return true;
    }
    bool writeCsv(const QString &path, const ContainerExport &rows, QString *error) override
    {
        *error = QStringLiteral("cannot");
        return !failing.contains(path) && (exports.insert(path, rows), true);
    }
    // Unknown (read again) when there is a file, so that tests may change it.
    std::optional<QByteArray> historyStamp(const QString &path) override
    {
        if (histories.contains(path) || unreadable.contains(path))
            return QByteArray();
        return std::nullopt;
    }
};

// Answers each dialog later, from the event loop, with OK and `path`, or
// Cancel when `path` is empty.
class StandInChooser : public FileChooser
{
public:
    QString path;
    QList<std::pair<Mode, ContentType>> asked;
    int answered = 0;

    void choose(Mode mode, ContentType type, Completion completion) override
    {
        asked.append({mode, type});
        QTimer::singleShot(0, [this, completion, p = path] {
            completion(p.isEmpty() ? Response::Cancel : Response::Ok, QUrl::fromLocalFile(p));
            ++answered;
        });
    }
};

// A store on stand-ins; the pointers stay valid while the store lives.
struct StandInStore {
    FixedClock *clock = new FixedClock;
    StandInListing *listing = new StandInListing;
    StandInFiles *files = new StandInFiles;
    DiskInfo &store =
        *new DiskInfo(std::unique_ptr<Clock>(clock), std::unique_ptr<ListingSource>(listing),
                      std::unique_ptr<FileAccess>(files));
    bool owned = true;

    StandInStore() = default;
    StandInStore(const StandInStore &) = delete;
    StandInStore &operator=(const StandInStore &) = delete;
    ~StandInStore()
    {
        if (owned)
            delete &store;
    }
    // For a window that takes the store over.
    DiskInfo *release() { return owned = false, &store; }
};

// What a store's views hear: each change must come as aboutToChange, then
// changed, of the same property, or a view shows stale or half-made data.
class Announcements
{
public:
    using Property = DiskInfo::Property;
    static unsigned bit(Property p) { return 1u << int(p); }

    explicit Announcements(DiskInfo &store)
    {
        QObject::connect(&store, &DiskInfo::aboutToChange, &m_context, [this](Property p) {
            m_log.append({true, p});
        });
        QObject::connect(&store, &DiskInfo::changed, &m_context, [this](Property p) {
            m_log.append({false, p});
        });
    }
    // The bits of the properties heard of; ~0u when one was not announced in pairs.
    unsigned properties() const
    {
        unsigned heard = 0;
        for (qsizetype i = 0; i < m_log.size(); i += 2) {
            if (!m_log[i].first || i + 1 == m_log.size() ||
                m_log[i + 1] != std::pair{false, m_log[i].second})
                return ~0u;
            heard |= bit(m_log[i].second);
        }
        return heard;
    }

private:
    QObject m_context;
    QList<std::pair<bool, Property>> m_log;
};

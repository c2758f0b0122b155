#pragma once

#include "datapoint.h"
#include "fileaccess.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// The one way a history is saved, by the window and by record alike. A person
// may take minutes over a question, and a scheduled record must not wait that
// long, so the lock is never held while anyone decides:
//   1. read the file and ask (merge, or replace an unreadable file), unlocked;
//   2. take the lock;
//   3. read again, and merge in whatever arrived meanwhile, by reading id;
//   4. write, and release.
// Without questions (the command line) readings only in the file are merged
// in, and a file that cannot be read is never written over.
class HistorySaver
{
public:
    enum class Choice { Merge, Replace, Cancel };
    struct Questions {
        // The file holds this many readings that the history lacks.
        std::function<Choice(qsizetype readingsOnlyInFile)> merge;
        // The file at path exists but cannot be read, for reason: write over it?
        std::function<bool(const QString &path, const QString &reason)> replaceUnreadable;
        // Told true when the locked read and write begin, false when they end,
        // so that a window can show it is busy, but never during a question.
        std::function<void(bool working)> working;
    };
    enum class Outcome { Saved, Cancelled, Locked, CannotRead, CannotWrite };

    explicit HistorySaver(FileAccess &files, Questions questions = {});

    // Saves history to path; on Saved, history holds what was written: its
    // own readings and those merged in from the file, in date order. A file
    // whose stamp is `known` holds nothing history lacks, and is not read.
    Outcome save(const QString &path, QList<DataPoint> &history, const QByteArray &known = {});
    // The stamp of the file as saved, taken before the lock was released.
    const QByteArray &savedStamp() const { return m_saved; }
    // Why save() did not save, in one line naming the file.
    const QString &errorString() const { return m_error; }

private:
    // What is on disk at one look: nothing, a history, or an unreadable file.
    struct Look {
        std::optional<QByteArray> stamp;
        std::optional<QList<DataPoint>> history;
        QString error;
        bool absent() const { return !stamp; }
    };
    Look look(const QString &path);
    std::optional<Outcome> decide(const QString &path, const Look &first,
                                  const QList<DataPoint> &history);
    std::optional<Outcome> lockedSave(const QString &path, const Look &first,
                                      QList<DataPoint> &history);
    Outcome fail(Outcome outcome, const QString &path, const QString &reason);

    FileAccess &m_files;
    Questions m_questions;
    QSet<QUuid> m_dropped; // readings the person chose to write over
    bool m_replaceUnreadable = false;
    QByteArray m_known;
    QByteArray m_saved;
    QString m_error;
};

// The one line for a history at path that could not be read for reason. A
// reason that names the file already (memory ran out, say: no fault of the
// file's) stands alone; any other says the file is no valid history.
QString unreadableHistory(const QString &path, const QString &reason);

// The readings of `from` whose ids are neither in `into` nor in `skip` are
// appended to `into`, which is then put in date order; returns how many.
qsizetype mergeReadings(QList<DataPoint> &into, const QList<DataPoint> &from,
                        const QSet<QUuid> &skip = {});

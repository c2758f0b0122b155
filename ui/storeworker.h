#pragma once

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <deque>
#include <functional>

template <typename T>
class QFutureWatcher;

// The window's worker for the store's slow work (see DiskInfo::Worker): the
// jobs run one at a time on a thread of their own, and their results are
// handed back on the window's thread in the order the jobs came. A result
// waits while a modal dialog is open, so that a question asked in the middle
// of a save never sees the history change under it.
class StoreWorker : public QObject
{
    Q_OBJECT
public:
    explicit StoreWorker(QObject *parent = nullptr);
    // Waits for the job under way; the jobs not started and the results not
    // handed back are dropped.
    ~StoreWorker() override;

    void run(std::function<void()> work, std::function<void()> done);
    // From a job's start until the last result is handed back.
    bool isBusy() const { return !m_jobs.empty(); }

signals:
    void busyChanged(bool busy);

private:
    void handBack();

    struct Job {
        QFutureWatcher<void> *watcher;
        std::function<void()> done;
    };
    QThreadPool m_pool;
    std::deque<Job> m_jobs;
    QTimer m_modalWait;
};

#include "storeworker.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QtConcurrent>

#include <chrono>

using namespace std::chrono_literals;

StoreWorker::StoreWorker(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
    m_modalWait.setSingleShot(true);
    m_modalWait.setInterval(100ms);
    connect(&m_modalWait, &QTimer::timeout, this, &StoreWorker::handBack);
}

StoreWorker::~StoreWorker()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void StoreWorker::run(std::function<void()> work, std::function<void()> done)
{
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, &StoreWorker::handBack);
    m_jobs.push_back({watcher, std::move(done)});
    watcher->setFuture(QtConcurrent::run(&m_pool, std::move(work)));
    if (m_jobs.size() == 1)
        emit busyChanged(true);
}

void StoreWorker::handBack()
{
    while (!m_jobs.empty() && m_jobs.front().watcher->isFinished()) {
        if (QApplication::activeModalWidget()) {
            m_modalWait.start();
            return;
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        job.watcher->deleteLater();
        job.done();
        if (m_jobs.empty())
            emit busyChanged(false);
    }
}

#pragma once

#include "clock.h"
#include "listingsource.h"

#include <QByteArray>

#include <optional>

// A clock that reads whatever the test sets.
class FixedClock : public Clock
{
public:
    explicit FixedClock(double now = 0.0) : m_now(now) {}
    double now() const override { return m_now; }
    void set(double now) { m_now = now; }

private:
    double m_now;
};

// A listing source that returns canned bytes, or fails.
class CannedListing : public ListingSource
{
public:
    explicit CannedListing(std::optional<QByteArray> bytes = std::nullopt)
        : m_bytes(std::move(bytes))
    {}
    std::optional<QByteArray> runDiskutil() override
    {
        ++m_runs;
        return m_bytes;
    }
    QString errorString() const override { return QStringLiteral("canned failure"); }
    void set(std::optional<QByteArray> bytes) { m_bytes = std::move(bytes); }
    int runs() const { return m_runs; }

private:
    std::optional<QByteArray> m_bytes;
    int m_runs = 0;
};

#pragma once

// The current instant, as seconds since 2001-01-01 00:00:00 UTC. Behind an
// interface so tests can fix the time a reading is stamped with.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

class SystemClock : public Clock
{
public:
    double now() const override;
};
